#pragma once

#include "engine/GraphicsSystem.hpp"
#include "support/ErrorFlagTest.hpp"

#include <cstdint>
#include <string>
#include <vector>

// One GraphicsSystem per test program, brought up by the harness's main in a
// temporary working folder whose "Settings.txt" asks for a small window.
GraphicsSystem& testGraphicsSystem();
// What the bring-up printed, time stamps removed.
const std::vector<std::string>& bringUpLines();

// Each test starts and ends with a clear error flag.
class GpuTest : public ErrorFlagTest
{
protected:
    GraphicsSystem& system = testGraphicsSystem();
};

// The bytes of one mip level and layer of a colour image, tightly packed; the
// image is left in the layout it had.
std::vector<std::uint8_t> readImage(GraphicsSystem& system, VkImage image, VkImageLayout layout, std::uint32_t width,
                                    std::uint32_t height, std::uint32_t bytesPerPixel, std::uint32_t mipLevel = 0,
                                    std::uint32_t layer = 0);
// The depths of a 32-bit float depth image, row by row; the image is left in
// the layout it had.
std::vector<float> readDepthImage(GraphicsSystem& system, VkImage image, VkImageLayout layout, std::uint32_t width,
                                  std::uint32_t height);
// The bytes of a buffer, through a host-visible copy.
std::vector<std::uint8_t> readBuffer(GraphicsSystem& system, VkBuffer buffer, VkDeviceSize size);
