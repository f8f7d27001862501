#include "gpu/GpuHarness.hpp"

#include "engine/FileIo.hpp"
#include "engine/Log.hpp"
#include "engine/vulkan/Commands.hpp"
#include "engine/vulkan/Memory.hpp"
#include "support/StdoutCapture.hpp"
#include "support/TemporaryFolder.hpp"

#include <cstdio>
#include <cstring>
#include <memory>

namespace
{
GraphicsSystem* graphicsSystem = nullptr;
std::vector<std::string> capturedBringUpLines;

// Access and stage masks that cover whatever used the image before or after.
constexpr VkAccessFlags anyAccess = VK_ACCESS_MEMORY_READ_BIT | VK_ACCESS_MEMORY_WRITE_BIT;
}

GraphicsSystem& testGraphicsSystem()
{
    return *graphicsSystem;
}

const std::vector<std::string>& bringUpLines()
{
    return capturedBringUpLines;
}

void GpuTest::SetUp()
{
    resetErrorFlagForTesting();
}

void GpuTest::TearDown()
{
    resetErrorFlagForTesting();
}

std::vector<std::uint8_t> readBuffer(GraphicsSystem& system, VkBuffer buffer, VkDeviceSize size)
{
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    std::optional<Buffer> readBack =
        system.createBuffer(size, VK_BUFFER_USAGE_TRANSFER_DST_BIT,
                            VK_MEMORY_PROPERTY_HOST_VISIBLE_BIT | VK_MEMORY_PROPERTY_HOST_COHERENT_BIT);
    if (!readBack)
    {
        return {};
    }
    if (system.copyBuffer(buffer, readBack->buffer, size) &&
        copyFromMemory(readBack->memory, system.logicalDevice.device, size, bytes.data()))
    {
        unmapMemory(readBack->memory, system.logicalDevice.device);
    }
    else
    {
        bytes.clear();
    }
    system.destroyBuffer(*readBack);
    return bytes;
}

namespace
{
std::vector<std::uint8_t> readImageAspect(GraphicsSystem& system, VkImage image, VkImageLayout layout,
                                          std::uint32_t width, std::uint32_t height, std::uint32_t bytesPerPixel,
                                          std::uint32_t mipLevel, std::uint32_t layer, VkImageAspectFlags aspect)
{
    const VkDeviceSize size = VkDeviceSize{width} * height * bytesPerPixel;
    std::optional<Buffer> readBack =
        system.createBuffer(size, VK_BUFFER_USAGE_TRANSFER_DST_BIT,
                            VK_MEMORY_PROPERTY_HOST_VISIBLE_BIT | VK_MEMORY_PROPERTY_HOST_COHERENT_BIT);
    if (!readBack)
    {
        return {};
    }
    std::optional<VkCommandBuffer> commandBuffer = system.beginSingleTimeCommands();
    if (!commandBuffer)
    {
        system.destroyBuffer(*readBack);
        return {};
    }
    VkImageMemoryBarrier barrier{};
    barrier.sType = VK_STRUCTURE_TYPE_IMAGE_MEMORY_BARRIER;
    barrier.srcAccessMask = anyAccess;
    barrier.dstAccessMask = VK_ACCESS_TRANSFER_READ_BIT;
    barrier.oldLayout = layout;
    barrier.newLayout = VK_IMAGE_LAYOUT_TRANSFER_SRC_OPTIMAL;
    barrier.srcQueueFamilyIndex = VK_QUEUE_FAMILY_IGNORED;
    barrier.dstQueueFamilyIndex = VK_QUEUE_FAMILY_IGNORED;
    barrier.image = image;
    barrier.subresourceRange = {aspect, mipLevel, 1, layer, 1};
    vkCmdPipelineBarrier(*commandBuffer, VK_PIPELINE_STAGE_ALL_COMMANDS_BIT, VK_PIPELINE_STAGE_TRANSFER_BIT, 0, 0,
                         nullptr, 0, nullptr, 1, &barrier);
    VkBufferImageCopy region{};
    region.imageSubresource = {aspect, mipLevel, layer, 1};
    region.imageExtent = {width, height, 1};
    vkCmdCopyImageToBuffer(*commandBuffer, image, VK_IMAGE_LAYOUT_TRANSFER_SRC_OPTIMAL, readBack->buffer, 1, &region);
    barrier.srcAccessMask = VK_ACCESS_TRANSFER_READ_BIT;
    barrier.dstAccessMask = anyAccess;
    barrier.oldLayout = VK_IMAGE_LAYOUT_TRANSFER_SRC_OPTIMAL;
    barrier.newLayout = layout;
    vkCmdPipelineBarrier(*commandBuffer, VK_PIPELINE_STAGE_TRANSFER_BIT, VK_PIPELINE_STAGE_ALL_COMMANDS_BIT, 0, 0,
                         nullptr, 0, nullptr, 1, &barrier);

    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    if (system.endSingleTimeCommands(*commandBuffer) &&
        copyFromMemory(readBack->memory, system.logicalDevice.device, size, bytes.data()))
    {
        unmapMemory(readBack->memory, system.logicalDevice.device);
    }
    else
    {
        bytes.clear();
    }
    system.destroyBuffer(*readBack);
    return bytes;
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
        for (const std::string& line : capture.lines())
        {
            capturedBringUpLines.push_back(withoutTimestamp(line));
        }
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
