#include "engine/vulkan/Commands.hpp"

#include "engine/Log.hpp"

namespace
{
VkImageAspectFlags aspect(bool depth)
{
    return depth ? VK_IMAGE_ASPECT_DEPTH_BIT : VK_IMAGE_ASPECT_COLOR_BIT;
}

bool begin(VkCommandBuffer& commandBuffer, VkCommandBufferUsageFlags flags, const char* failureSentence)
{
    VkCommandBufferBeginInfo beginInfo{};
    beginInfo.sType = VK_STRUCTURE_TYPE_COMMAND_BUFFER_BEGIN_INFO;
    beginInfo.flags = flags;
    if (vkBeginCommandBuffer(commandBuffer, &beginInfo) != VK_SUCCESS)
    {
        logError(failureSentence);
        return false;
    }
    return true;
}
}

bool createCommandPool(VkCommandPool& pool, VkDevice& device, std::uint32_t queueFamilyIndex)
{
    VkCommandPoolCreateInfo createInfo{};
    createInfo.sType = VK_STRUCTURE_TYPE_COMMAND_POOL_CREATE_INFO;
    createInfo.flags = VK_COMMAND_POOL_CREATE_RESET_COMMAND_BUFFER_BIT;
    createInfo.queueFamilyIndex = queueFamilyIndex;
    VkCommandPool created = VK_NULL_HANDLE;
    if (vkCreateCommandPool(device, &createInfo, nullptr, &created) != VK_SUCCESS)
    {
        logError("Vulkan command pool creation has failed.");
        return false;
    }
    pool = created;
    logDebug("Command pool was created.");
    return true;
}

void destroyCommandPool(VkCommandPool& pool, VkDevice& device)
{
    if (pool == VK_NULL_HANDLE)
    {
        return;
    }
    vkDestroyCommandPool(device, pool, nullptr);
    pool = VK_NULL_HANDLE;
    logDebug("Command pool was destroyed.");
}

bool allocateCommandBuffer(VkCommandBuffer& commandBuffer, VkDevice& device, VkCommandPool& pool)
{
    VkCommandBufferAllocateInfo allocateInfo{};
    allocateInfo.sType = VK_STRUCTURE_TYPE_COMMAND_BUFFER_ALLOCATE_INFO;
    allocateInfo.commandPool = pool;
    allocateInfo.level = VK_COMMAND_BUFFER_LEVEL_PRIMARY;
    allocateInfo.commandBufferCount = 1;
    VkCommandBuffer allocated = VK_NULL_HANDLE;
    if (vkAllocateCommandBuffers(device, &allocateInfo, &allocated) != VK_SUCCESS)
    {
        logError("Vulkan command buffer allocation has failed.");
        return false;
    }
    commandBuffer = allocated;
    return true;
}

void freeCommandBuffer(VkCommandBuffer& commandBuffer, VkDevice& device, VkCommandPool& pool)
{
    if (commandBuffer == VK_NULL_HANDLE)
    {
        return;
    }
    vkFreeCommandBuffers(device, pool, 1, &commandBuffer);
    commandBuffer = VK_NULL_HANDLE;
}

bool beginCommandBuffer(VkCommandBuffer& commandBuffer)
{
    return begin(commandBuffer, 0, "Command buffer beginning has failed.");
}

bool beginSingleTimeCommandBuffer(VkCommandBuffer& commandBuffer)
{
    return begin(commandBuffer, VK_COMMAND_BUFFER_USAGE_ONE_TIME_SUBMIT_BIT,
                 "Single time command buffer beginning has failed.");
}

bool endCommandBuffer(VkCommandBuffer& commandBuffer)
{
    if (vkEndCommandBuffer(commandBuffer) != VK_SUCCESS)
    {
        logError("Command buffer ending has failed.");
        return false;
    }
    return true;
}

bool resetCommandBuffer(VkCommandBuffer& commandBuffer)
{
    if (vkResetCommandBuffer(commandBuffer, VK_COMMAND_BUFFER_RESET_RELEASE_RESOURCES_BIT) != VK_SUCCESS)
    {
        logError("Command buffer resetting has failed.");
        return false;
    }
    return true;
}

bool submitCommandBuffer(VkCommandBuffer& commandBuffer, LogicalDevice& logicalDevice, VkFence fence)
{
    VkSubmitInfo submitInfo{};
    submitInfo.sType = VK_STRUCTURE_TYPE_SUBMIT_INFO;
    submitInfo.commandBufferCount = 1;
    submitInfo.pCommandBuffers = &commandBuffer;
    if (vkQueueSubmit(logicalDevice.graphicsQueue, 1, &submitInfo, fence) != VK_SUCCESS)
    {
        logError("Submitting to graphics queue has failed.");
        return false;
    }
    return true;
}

std::array<VkBufferImageCopy, 6> cubeFaceCopyRegions(std::uint32_t width, std::uint32_t height,
                                                     std::uint32_t faceByteSize, std::uint32_t mipLevel)
{
    std::array<VkBufferImageCopy, 6> regions{};
    for (std::uint32_t face = 0; face < regions.size(); ++face)
    {
        VkBufferImageCopy& region = regions[face];
        region.bufferOffset = static_cast<VkDeviceSize>(face) * faceByteSize;
        region.imageSubresource = {VK_IMAGE_ASPECT_COLOR_BIT, mipLevel, face, 1};
        region.imageExtent = {width, height, 1};
    }
    return regions;
}

void recordCopyBuffer(VkCommandBuffer& commandBuffer, VkBuffer source, VkBuffer destination, VkDeviceSize size)
{
    const VkBufferCopy region{0, 0, size};
    vkCmdCopyBuffer(commandBuffer, source, destination, 1, &region);
}

void recordCopyBufferToImage(VkCommandBuffer& commandBuffer, VkBuffer buffer, VkImage image, std::uint32_t width,
                             std::uint32_t height, bool depth)
{
    VkBufferImageCopy region{};
    region.imageSubresource = {aspect(depth), 0, 0, 1};
    region.imageExtent = {width, height, 1};
    vkCmdCopyBufferToImage(commandBuffer, buffer, image, VK_IMAGE_LAYOUT_TRANSFER_DST_OPTIMAL, 1, &region);
}

void recordCopyBufferToCubeImage(VkCommandBuffer& commandBuffer, VkBuffer buffer, VkImage image, std::uint32_t width,
                                 std::uint32_t height, std::uint32_t faceByteSize)
{
    const std::array<VkBufferImageCopy, 6> regions = cubeFaceCopyRegions(width, height, faceByteSize, 0);
    vkCmdCopyBufferToImage(commandBuffer, buffer, image, VK_IMAGE_LAYOUT_TRANSFER_DST_OPTIMAL,
                           static_cast<std::uint32_t>(regions.size()), regions.data());
}

void recordCopyImageToBuffer(VkCommandBuffer& commandBuffer, VkBuffer buffer, VkImage image, std::uint32_t width,
                             std::uint32_t height, std::uint32_t faceByteSize, std::uint32_t mipLevel)
{
    const std::array<VkBufferImageCopy, 6> regions = cubeFaceCopyRegions(width, height, faceByteSize, mipLevel);
    vkCmdCopyImageToBuffer(commandBuffer, image, VK_IMAGE_LAYOUT_TRANSFER_SRC_OPTIMAL, buffer,
                           static_cast<std::uint32_t>(regions.size()), regions.data());
}

void recordBlitImage(VkCommandBuffer& commandBuffer, VkImage source, std::uint32_t sourceMipLevel,
                     std::uint32_t sourceWidth, std::uint32_t sourceHeight, VkImage destination,
                     std::uint32_t destinationMipLevel, std::uint32_t destinationWidth, std::uint32_t destinationHeight,
                     std::uint32_t layerCount)
{
    VkImageBlit blit{};
    blit.srcSubresource = {VK_IMAGE_ASPECT_COLOR_BIT, sourceMipLevel, 0, layerCount};
    blit.srcOffsets[1] = {static_cast<std::int32_t>(sourceWidth), static_cast<std::int32_t>(sourceHeight), 1};
    blit.dstSubresource = {VK_IMAGE_ASPECT_COLOR_BIT, destinationMipLevel, 0, layerCount};
    blit.dstOffsets[1] = {static_cast<std::int32_t>(destinationWidth), static_cast<std::int32_t>(destinationHeight), 1};
    vkCmdBlitImage(commandBuffer, source, VK_IMAGE_LAYOUT_TRANSFER_SRC_OPTIMAL, destination,
                   VK_IMAGE_LAYOUT_TRANSFER_DST_OPTIMAL, 1, &blit, VK_FILTER_LINEAR);
}

void recordImageMemoryBarrier(VkCommandBuffer& commandBuffer, VkImage image, std::uint32_t baseMipLevel,
                              std::uint32_t levelCount, std::uint32_t layerCount, VkImageLayout oldLayout,
                              VkImageLayout newLayout, VkAccessFlags sourceAccess, VkAccessFlags destinationAccess,
                              VkPipelineStageFlags sourceStage, VkPipelineStageFlags destinationStage, bool depth)
{
    VkImageMemoryBarrier barrier{};
    barrier.sType = VK_STRUCTURE_TYPE_IMAGE_MEMORY_BARRIER;
    barrier.srcAccessMask = sourceAccess;
    barrier.dstAccessMask = destinationAccess;
    barrier.oldLayout = oldLayout;
    barrier.newLayout = newLayout;
    barrier.srcQueueFamilyIndex = VK_QUEUE_FAMILY_IGNORED;
    barrier.dstQueueFamilyIndex = VK_QUEUE_FAMILY_IGNORED;
    barrier.image = image;
    barrier.subresourceRange = {aspect(depth), baseMipLevel, levelCount, 0, layerCount};
    vkCmdPipelineBarrier(commandBuffer, sourceStage, destinationStage, 0, 0, nullptr, 0, nullptr, 1, &barrier);
}
