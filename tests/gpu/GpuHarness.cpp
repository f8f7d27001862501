#include "gpu/GpuHarness.hpp"

#include "engine/FileIo.hpp"
#include "engine/Log.hpp"
#include "engine/vulkan/Commands.hpp"
#include "engine/vulkan/Memory.hpp"
#include "support/StdoutCapture.hpp"
#include "support/TemporaryFolder.hpp"

#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <utility>

namespace
{
GraphicsSystem* graphicsSystem = nullptr;
std::vector<std::string> capturedBringUpLines;

// Access masks that cover whatever used the image before or after.
constexpr VkAccessFlags anyAccess = VK_ACCESS_MEMORY_READ_BIT | VK_ACCESS_MEMORY_WRITE_BIT;

// The bytes that `copy` puts into a host-visible buffer of the size; none if any step fails.
std::vector<std::uint8_t> readBack(GraphicsSystem& system, VkDeviceSize size,
                                   const std::function<bool(VkBuffer)>& copy)
{
    std::optional<Buffer> target =
        system.createBuffer(size, VK_BUFFER_USAGE_TRANSFER_DST_BIT,
                            VK_MEMORY_PROPERTY_HOST_VISIBLE_BIT | VK_MEMORY_PROPERTY_HOST_COHERENT_BIT);
    if (!target)
    {
        return {};
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    if (copy(target->buffer) && copyFromMemory(target->memory, system.logicalDevice.device, size, bytes.data()))
    {
        unmapMemory(target->memory, system.logicalDevice.device);
    }
    else
    {
        bytes.clear();
    }
    system.destroyBuffer(*target);
    return bytes;
}
}

GraphicsSystem& testGraphicsSystem()
{
    return *graphicsSystem;
}

const std::vector<std::string>& bringUpLines()
{
    return capturedBringUpLines;
}

std::vector<std::uint8_t> readBuffer(GraphicsSystem& system, VkBuffer buffer, VkDeviceSize size)
{
    return readBack(system, size, [&](VkBuffer target) { return system.copyBuffer(buffer, target, size); });
}

namespace
{
std::vector<std::uint8_t> readImageAspect(GraphicsSystem& system, VkImage image, VkImageLayout layout,
                                          std::uint32_t width, std::uint32_t height, std::uint32_t bytesPerPixel,
                                          std::uint32_t mipLevel, std::uint32_t layer, VkImageAspectFlags aspect)
{
    return readBack(system, VkDeviceSize{width} * height * bytesPerPixel, [&](VkBuffer target) {
        std::optional<VkCommandBuffer> commandBuffer = system.beginSingleTimeCommands();
        if (!commandBuffer)
        {
            return false;
        }
        VkImageMemoryBarrier barrier{VK_STRUCTURE_TYPE_IMAGE_MEMORY_BARRIER, nullptr, anyAccess,
                                     VK_ACCESS_TRANSFER_READ_BIT, layout, VK_IMAGE_LAYOUT_TRANSFER_SRC_OPTIMAL,
                                     VK_QUEUE_FAMILY_IGNORED, VK_QUEUE_FAMILY_IGNORED, image,
                                     {aspect, mipLevel, 1, layer, 1}};
        vkCmdPipelineBarrier(*commandBuffer, VK_PIPELINE_STAGE_ALL_COMMANDS_BIT, VK_PIPELINE_STAGE_TRANSFER_BIT, 0, 0,
                             nullptr, 0, nullptr, 1, &barrier);
        const VkBufferImageCopy region{0, 0, 0, {aspect, mipLevel, layer, 1}, {}, {width, height, 1}};
        vkCmdCopyImageToBuffer(*commandBuffer, image, VK_IMAGE_LAYOUT_TRANSFER_SRC_OPTIMAL, target, 1, &region);
        std::swap(barrier.srcAccessMask, barrier.dstAccessMask);
        std::swap(barrier.oldLayout, barrier.newLayout);
        vkCmdPipelineBarrier(*commandBuffer, VK_PIPELINE_STAGE_TRANSFER_BIT, VK_PIPELINE_STAGE_ALL_COMMANDS_BIT, 0, 0,
                             nullptr, 0, nullptr, 1, &barrier);
        return system.endSingleTimeCommands(*commandBuffer);
    });
}
}

std::vector<std::uint8_t> readImage(GraphicsSystem& system, VkImage image, VkImageLayout layout, std::uint32_t width,
                                    std::uint32_t height, std::uint32_t bytesPerPixel, std::uint32_t mipLevel,
                                    std::uint32_t layer)
{
    return readImageAspect(system, image, layout, width, height, bytesPerPixel, mipLevel, layer,
                           VK_IMAGE_ASPECT_COLOR_BIT);
}

std::vector<float> readDepthImage(GraphicsSystem& system, VkImage image, VkImageLayout layout, std::uint32_t width,
                                  std::uint32_t height)
{
    const std::vector<std::uint8_t> bytes =
        readImageAspect(system, image, layout, width, height, sizeof(float), 0, 0, VK_IMAGE_ASPECT_DEPTH_BIT);
    std::vector<float> depths(bytes.size() / sizeof(float));
    std::memcpy(depths.data(), bytes.data(), bytes.size());
    return depths;
}

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (::testing::GTEST_FLAG(list_tests))
    {
        return RUN_ALL_TESTS();
    }

    TemporaryFolder folder;
    writeFile("Settings.txt", "Window-Width: 160\nWindow-Height: 120\nFullscreen: false\nPreferredPresentMode: FIFO\n",
              false);
    std::unique_ptr<GraphicsSystem> system;
    {
        StdoutCapture capture;
        system = std::make_unique<GraphicsSystem>();
        capturedBringUpLines = capture.messages();
    }
    if (hasErrors())
    {
        for (const std::string& line : capturedBringUpLines)
        {
            std::printf("%s\n", line.c_str());
        }
        std::printf("The graphics system could not be brought up.\n");
        return 1;
    }
    graphicsSystem = system.get();
    const int result = RUN_ALL_TESTS();
    system.reset();
    return result;
}
