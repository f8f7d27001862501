#include "engine/GraphicsSystem.hpp"
#include "engine/Log.hpp"
#include "engine/vulkan/Commands.hpp"
#include "engine/vulkan/ImageBarriers.hpp"
#include "engine/vulkan/Memory.hpp"
#include "engine/vulkan/ObjectWrappers.hpp"

#include <fmt/format.h>

namespace
{
constexpr VkComponentMapping identitySwizzles{VK_COMPONENT_SWIZZLE_IDENTITY, VK_COMPONENT_SWIZZLE_IDENTITY,
                                              VK_COMPONENT_SWIZZLE_IDENTITY, VK_COMPONENT_SWIZZLE_IDENTITY};
}

std::optional<Buffer> GraphicsSystem::createBuffer(VkDeviceSize size, VkBufferUsageFlags usage,
                                                   VkMemoryPropertyFlags properties)
{
    VkDevice& device = logicalDevice.device;
    Buffer buffer;
    if (!createBufferHandle(buffer.buffer, device, size, usage))
    {
        return std::nullopt;
    }
    VkMemoryRequirements requirements{};
    vkGetBufferMemoryRequirements(device, buffer.buffer, &requirements);
    if (!allocateMemory(buffer.memory, physicalDeviceInfo.physicalDevice, device, requirements, properties) ||
        !bindBufferMemory(buffer.memory, device, buffer.buffer))
    {
        destroyBuffer(buffer);
        return std::nullopt;
    }
    return buffer;
}

std::optional<Buffer> GraphicsSystem::createDeviceLocalBuffer(VkDeviceSize size, VkBufferUsageFlags usage,
                                                              const void* data)
{
    VkDevice& device = logicalDevice.device;
    std::optional<Buffer> staging = createBuffer(size, VK_BUFFER_USAGE_TRANSFER_SRC_BIT,
                                                 VK_MEMORY_PROPERTY_HOST_VISIBLE_BIT | VK_MEMORY_PROPERTY_HOST_COHERENT_BIT);
    if (!staging)
    {
        return std::nullopt;
    }
    if (!copyToMemory(staging->memory, device, size, data))
    {
        destroyBuffer(*staging);
        return std::nullopt;
    }
    unmapMemory(staging->memory, device);

    std::optional<Buffer> target = createBuffer(size, usage, VK_MEMORY_PROPERTY_DEVICE_LOCAL_BIT);
    if (!target)
    {
        destroyBuffer(*staging);
        return std::nullopt;
    }
    // A new buffer, which no frame in flight reads: the copy is not waited for.
    const VkBuffer source = staging->buffer;
    const VkBuffer destination = target->buffer;
    if (!submitSingleTimeCommands(
            [&](VkCommandBuffer& commandBuffer) {
                recordCopyBuffer(commandBuffer, source, destination, size);
                // Nothing waits for the copy, so the draws after it must.
                VkBufferMemoryBarrier barrier{};
                barrier.sType = VK_STRUCTURE_TYPE_BUFFER_MEMORY_BARRIER;
                barrier.srcAccessMask = VK_ACCESS_TRANSFER_WRITE_BIT;
                barrier.dstAccessMask = VK_ACCESS_VERTEX_ATTRIBUTE_READ_BIT | VK_ACCESS_INDEX_READ_BIT |
                                        VK_ACCESS_UNIFORM_READ_BIT | VK_ACCESS_SHADER_READ_BIT;
                barrier.srcQueueFamilyIndex = VK_QUEUE_FAMILY_IGNORED;
                barrier.dstQueueFamilyIndex = VK_QUEUE_FAMILY_IGNORED;
                barrier.buffer = destination;
                barrier.size = VK_WHOLE_SIZE;
                vkCmdPipelineBarrier(commandBuffer, VK_PIPELINE_STAGE_TRANSFER_BIT,
                                     VK_PIPELINE_STAGE_VERTEX_INPUT_BIT | VK_PIPELINE_STAGE_VERTEX_SHADER_BIT |
                                         VK_PIPELINE_STAGE_FRAGMENT_SHADER_BIT,
                                     0, 0, nullptr, 1, &barrier, 0, nullptr);
                return true;
            },
            {*staging}))
    {
        destroyBuffer(*target);
        return std::nullopt;
    }
    return target;
}

std::optional<ImageResource> GraphicsSystem::createImageResource(std::uint32_t width, std::uint32_t height,
                                                                 std::uint32_t mipLevels, VkFormat format,
                                                                 VkImageTiling tiling, VkImageUsageFlags usage,
                                                                 VkMemoryPropertyFlags properties,
                                                                 VkImageAspectFlags aspect, std::uint32_t layerCount)
{
    VkDevice& device = logicalDevice.device;
    ImageResource resource;
    if (!createImage(resource.image, device, width, height, format, mipLevels, tiling, usage, layerCount))
    {
        return std::nullopt;
    }
    VkMemoryRequirements requirements{};
    vkGetImageMemoryRequirements(device, resource.image, &requirements);
    const VkImageViewType viewType = layerCount == 1 ? VK_IMAGE_VIEW_TYPE_2D : VK_IMAGE_VIEW_TYPE_2D_ARRAY;
    if (!allocateMemory(resource.memory, physicalDeviceInfo.physicalDevice, device, requirements, properties) ||
        !bindImageMemory(resource.memory, device, resource.image) ||
        !createImageView(resource.view, device, resource.image, viewType, format, identitySwizzles,
                         {aspect, 0, mipLevels, 0, layerCount}))
    {
        destroyImageResource(resource);
        return std::nullopt;
    }
    logDebug("Image resource was created.");
    return resource;
}

std::optional<ImageResource> GraphicsSystem::createCubeImageResource(std::uint32_t width, std::uint32_t height,
                                                                     std::uint32_t mipLevels, VkFormat format,
                                                                     VkImageUsageFlags usage,
                                                                     VkMemoryPropertyFlags properties,
                                                                     VkImageAspectFlags aspect)
{
    VkDevice& device = logicalDevice.device;
    ImageResource resource;
    if (!createCubeImage(resource.image, device, width, height, format, mipLevels, usage))
    {
        return std::nullopt;
    }
    VkMemoryRequirements requirements{};
    vkGetImageMemoryRequirements(device, resource.image, &requirements);
    if (!allocateMemory(resource.memory, physicalDeviceInfo.physicalDevice, device, requirements, properties) ||
        !bindImageMemory(resource.memory, device, resource.image) ||
        !createImageView(resource.view, device, resource.image, VK_IMAGE_VIEW_TYPE_CUBE, format, identitySwizzles,
                         {aspect, 0, mipLevels, 0, 6}))
    {
        destroyImageResource(resource);
        return std::nullopt;
    }
    logDebug("Image resource was created.");
    return resource;
}

std::optional<UniformBuffer> GraphicsSystem::createUniformBuffer(VkDeviceSize size, VkBufferUsageFlags usage,
                                                                 VkMemoryPropertyFlags properties)
{
    const std::optional<Buffer> buffer = createBuffer(size, usage, properties);
    if (!buffer)
    {
        return std::nullopt;
    }
    UniformBuffer uniformBuffer{buffer->buffer, buffer->memory, nullptr};
    if (!mapUniformBuffer(uniformBuffer.memory, logicalDevice.device, uniformBuffer, size))
    {
        destroyUniformBuffer(uniformBuffer);
        return std::nullopt;
    }
    logDebug("Uniform buffer was created.");
    return uniformBuffer;
}

void GraphicsSystem::destroyBuffer(Buffer& buffer)
{
    if (buffer.buffer != VK_NULL_HANDLE)
    {
        finishPendingWork();
    }
    releaseBuffer(buffer);
}

void GraphicsSystem::releaseBuffer(Buffer& buffer)
{
    destroyBufferHandle(buffer.buffer, logicalDevice.device);
    freeMemory(buffer.memory, logicalDevice.device);
}

void GraphicsSystem::destroyImageResource(ImageResource& imageResource)
{
    if (imageResource.image != VK_NULL_HANDLE)
    {
        finishPendingWork();
    }
    destroyImageView(imageResource.view, logicalDevice.device);
    destroyImage(imageResource.image, logicalDevice.device);
    freeMemory(imageResource.memory, logicalDevice.device);
    logDebug("Image resource was destroyed.");
}

void GraphicsSystem::destroyUniformBuffer(UniformBuffer& uniformBuffer)
{
    if (uniformBuffer.buffer != VK_NULL_HANDLE)
    {
        finishPendingWork();
    }
    if (uniformBuffer.mapped != nullptr)
    {
        unmapMemory(uniformBuffer.memory, logicalDevice.device);
        uniformBuffer.mapped = nullptr;
    }
    destroyBufferHandle(uniformBuffer.buffer, logicalDevice.device);
    freeMemory(uniformBuffer.memory, logicalDevice.device);
    logDebug("Uniform buffer was destroyed.");
}

void GraphicsSystem::destroyUniformBuffers(UniformBufferCollection& collection)
{
    for (UniformBuffer& uniformBuffer : collection.buffers)
    {
        destroyUniformBuffer(uniformBuffer);
    }
    logDebug("Uniform buffer collection was destroyed.");
}

std::optional<VkCommandBuffer> GraphicsSystem::beginSingleTimeCommands()
{
    VkCommandBuffer commandBuffer = VK_NULL_HANDLE;
    if (!allocateCommandBuffer(commandBuffer, logicalDevice.device, commandPool))
    {
        return std::nullopt;
    }
    if (!beginSingleTimeCommandBuffer(commandBuffer))
    {
        freeCommandBuffer(commandBuffer, logicalDevice.device, commandPool);
        return std::nullopt;
    }
    return commandBuffer;
}

bool GraphicsSystem::endSingleTimeCommands(VkCommandBuffer& commandBuffer)
{
    // The queue is idle before the submission too: a frame still in flight
    // may read what these commands overwrite.
    const bool finished = endCommandBuffer(commandBuffer) && waitForQueue() &&
                          submitCommandBuffer(commandBuffer, logicalDevice) && waitForQueue();
    freeCommandBuffer(commandBuffer, logicalDevice.device, commandPool);
    return finished;
}

bool GraphicsSystem::waitForQueue()
{
    ++queueWaits;
    const bool idle = waitQueueIdle(logicalDevice);
    releasePendingWork(true);
    return idle;
}

bool GraphicsSystem::submitSingleTimeCommands(const std::function<bool(VkCommandBuffer&)>& record,
                                              std::vector<Buffer> buffers)
{
    releasePendingWork(false);
    PendingWork work{VK_NULL_HANDLE, VK_NULL_HANDLE, std::move(buffers)};
    const std::optional<VkCommandBuffer> commandBuffer = beginSingleTimeCommands();
    if (commandBuffer)
    {
        work.commandBuffer = *commandBuffer;
    }
    const bool submitted = commandBuffer && record(work.commandBuffer) && endCommandBuffer(work.commandBuffer) &&
                           createFence(work.fence, logicalDevice.device, false) &&
                           submitCommandBuffer(work.commandBuffer, logicalDevice, work.fence);
    if (!submitted)
    {
        releaseWork(work);
        return false;
    }
    pendingWork.push_back(std::move(work));
    return true;
}

void GraphicsSystem::releasePendingWork(bool queueIdle)
{
    std::erase_if(pendingWork, [&](PendingWork& work) {
        if (!queueIdle && vkGetFenceStatus(logicalDevice.device, work.fence) != VK_SUCCESS)
        {
            return false;
        }
        releaseWork(work);
        return true;
    });
}

void GraphicsSystem::releaseWork(PendingWork& work)
{
    VkDevice& device = logicalDevice.device;
    freeCommandBuffer(work.commandBuffer, device, commandPool);
    destroyFence(work.fence, device);
    // Not through destroyBuffer, which would wait for this very work.
    for (Buffer& buffer : work.buffers)
    {
        releaseBuffer(buffer);
    }
}

void GraphicsSystem::finishPendingWork()
{
    if (!pendingWork.empty())
    {
        waitForQueue();
    }
}

bool GraphicsSystem::runSingleTimeCommands(const std::function<void(VkCommandBuffer&)>& record)
{
    std::optional<VkCommandBuffer> commandBuffer = beginSingleTimeCommands();
    if (!commandBuffer)
    {
        return false;
    }
    record(*commandBuffer);
    return endSingleTimeCommands(*commandBuffer);
}

bool GraphicsSystem::copyBuffer(VkBuffer source, VkBuffer destination, VkDeviceSize size)
{
    if (size == 0)
    {
        logError("Buffer copying has failed.");
        return false;
    }
    return runSingleTimeCommands(
        [&](VkCommandBuffer& commandBuffer) { recordCopyBuffer(commandBuffer, source, destination, size); });
}

bool GraphicsSystem::copyBufferToImage(VkBuffer buffer, VkImage image, std::uint32_t width, std::uint32_t height,
                                       bool depth)
{
    if (width == 0 || height == 0)
    {
        logError("Image copying has failed.");
        return false;
    }
    return runSingleTimeCommands([&](VkCommandBuffer& commandBuffer) {
        recordCopyBufferToImage(commandBuffer, buffer, image, width, height, depth);
    });
}

bool GraphicsSystem::copyBufferToCubeImage(VkBuffer buffer, VkImage image, std::uint32_t width, std::uint32_t height,
                                           std::uint32_t faceByteSize)
{
    if (width == 0 || height == 0 || faceByteSize == 0)
    {
        logError("Image copying has failed.");
        return false;
    }
    return runSingleTimeCommands([&](VkCommandBuffer& commandBuffer) {
        recordCopyBufferToCubeImage(commandBuffer, buffer, image, width, height, faceByteSize);
    });
}

bool GraphicsSystem::copyImageToBuffer(VkBuffer buffer, VkImage image, std::uint32_t width, std::uint32_t height,
                                       std::uint32_t faceByteSize, std::uint32_t mipLevel)
{
    if (width == 0 || height == 0 || faceByteSize == 0)
    {
        logError("Image copying has failed.");
        return false;
    }
    return runSingleTimeCommands([&](VkCommandBuffer& commandBuffer) {
        recordCopyImageToBuffer(commandBuffer, buffer, image, width, height, faceByteSize, mipLevel);
    });
}

bool GraphicsSystem::transitionImageLayout(VkImage image, std::uint32_t levelCount, std::uint32_t layerCount,
                                           VkImageLayout oldLayout, VkImageLayout newLayout, bool depth)
{
    return runSingleTimeCommands([&](VkCommandBuffer& commandBuffer) {
        recordImageLayoutTransition(commandBuffer, image, levelCount, layerCount, oldLayout, newLayout, depth);
    });
}

void GraphicsSystem::recordImageLayoutTransition(VkCommandBuffer& commandBuffer, VkImage image,
                                                 std::uint32_t levelCount, std::uint32_t layerCount,
                                                 VkImageLayout oldLayout, VkImageLayout newLayout, bool depth)
{
    const std::optional<LayoutTransition> transition = layoutTransition(oldLayout, newLayout);
    if (!transition)
    {
        logError(fmt::format("Transition (from {} to {}) is not supported.", static_cast<int>(oldLayout),
                             static_cast<int>(newLayout)));
        return;
    }
    recordImageMemoryBarrier(commandBuffer, image, 0, levelCount, layerCount, oldLayout, newLayout,
                             transition->sourceAccess, transition->destinationAccess, transition->sourceStage,
                             transition->destinationStage, depth);
}

bool GraphicsSystem::recordPipelineBarrier(VkImage image, std::uint32_t baseMipLevel, std::uint32_t layerCount,
                                           VkImageLayout oldLayout, VkImageLayout newLayout,
                                           VkAccessFlags sourceAccess, VkAccessFlags destinationAccess,
                                           VkPipelineStageFlags sourceStage, VkPipelineStageFlags destinationStage,
                                           bool depth)
{
    return runSingleTimeCommands([&](VkCommandBuffer& commandBuffer) {
        recordImageMemoryBarrier(commandBuffer, image, baseMipLevel, 1, layerCount, oldLayout, newLayout, sourceAccess,
                                 destinationAccess, sourceStage, destinationStage, depth);
    });
}

namespace
{
void recordMipmapChain(VkCommandBuffer& commandBuffer, VkImage image, std::uint32_t mipLevels, std::uint32_t width,
                       std::uint32_t height, bool depth, std::uint32_t layerCount)
{
    for (const MipmapBlit& blit : mipmapChain(width, height, mipLevels))
    {
        recordImageMemoryBarrier(commandBuffer, image, blit.sourceLevel, 1, layerCount,
                                 VK_IMAGE_LAYOUT_TRANSFER_DST_OPTIMAL, VK_IMAGE_LAYOUT_TRANSFER_SRC_OPTIMAL,
                                 VK_ACCESS_TRANSFER_WRITE_BIT, VK_ACCESS_TRANSFER_READ_BIT,
                                 VK_PIPELINE_STAGE_TRANSFER_BIT, VK_PIPELINE_STAGE_TRANSFER_BIT, depth);
        recordBlitImage(commandBuffer, image, blit.sourceLevel, blit.sourceWidth, blit.sourceHeight, image,
                        blit.sourceLevel + 1, blit.destinationWidth, blit.destinationHeight, layerCount);
        recordImageMemoryBarrier(commandBuffer, image, blit.sourceLevel, 1, layerCount,
                                 VK_IMAGE_LAYOUT_TRANSFER_SRC_OPTIMAL, VK_IMAGE_LAYOUT_SHADER_READ_ONLY_OPTIMAL,
                                 VK_ACCESS_TRANSFER_READ_BIT, VK_ACCESS_SHADER_READ_BIT,
                                 VK_PIPELINE_STAGE_TRANSFER_BIT, VK_PIPELINE_STAGE_FRAGMENT_SHADER_BIT, depth);
    }
    recordImageMemoryBarrier(commandBuffer, image, mipLevels - 1, 1, layerCount, VK_IMAGE_LAYOUT_TRANSFER_DST_OPTIMAL,
                             VK_IMAGE_LAYOUT_SHADER_READ_ONLY_OPTIMAL, VK_ACCESS_TRANSFER_WRITE_BIT,
                             VK_ACCESS_SHADER_READ_BIT, VK_PIPELINE_STAGE_TRANSFER_BIT,
                             VK_PIPELINE_STAGE_FRAGMENT_SHADER_BIT, depth);
}
}

bool GraphicsSystem::generateMipmaps(VkImage image, VkFormat format, std::uint32_t mipLevels, std::uint32_t width,
                                     std::uint32_t height, bool depth, std::uint32_t layerCount)
{
    if (!canGenerateMipmaps(format, mipLevels, width, height, depth, layerCount))
    {
        return false;
    }
    return runSingleTimeCommands([&](VkCommandBuffer& commandBuffer) {
        recordMipmapChain(commandBuffer, image, mipLevels, width, height, depth, layerCount);
    });
}

bool GraphicsSystem::recordMipmaps(VkCommandBuffer& commandBuffer, VkImage image, VkFormat format,
                                   std::uint32_t mipLevels, std::uint32_t width, std::uint32_t height, bool depth,
                                   std::uint32_t layerCount)
{
    if (!canGenerateMipmaps(format, mipLevels, width, height, depth, layerCount))
    {
        return false;
    }
    recordMipmapChain(commandBuffer, image, mipLevels, width, height, depth, layerCount);
    return true;
}

bool GraphicsSystem::canGenerateMipmaps(VkFormat format, std::uint32_t mipLevels, std::uint32_t width,
                                        std::uint32_t height, bool depth, std::uint32_t layerCount) const
{
    if (mipLevels == 0 || width == 0 || height == 0 || layerCount == 0)
    {
        logError("Mipmap generation has failed.");
        return false;
    }
    // Only a chain of levels needs the linear blit, and depth formats have none.
    if (mipLevels > 1)
    {
        VkFormatProperties properties{};
        vkGetPhysicalDeviceFormatProperties(physicalDeviceInfo.physicalDevice, format, &properties);
        if (depth || (properties.optimalTilingFeatures & VK_FORMAT_FEATURE_SAMPLED_IMAGE_FILTER_LINEAR_BIT) == 0)
        {
            logError("Linear filtering for mipmap generation is not supported.");
            return false;
        }
    }
    return true;
}
