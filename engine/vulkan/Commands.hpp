#pragma once

#include "engine/vulkan/Device.hpp"

#include <vulkan/vulkan.h>

#include <array>
#include <cstdint>

bool createCommandPool(VkCommandPool& pool, VkDevice& device, std::uint32_t queueFamilyIndex);
void destroyCommandPool(VkCommandPool& pool, VkDevice& device);
bool allocateCommandBuffer(VkCommandBuffer& commandBuffer, VkDevice& device, VkCommandPool& pool);
void freeCommandBuffer(VkCommandBuffer& commandBuffer, VkDevice& device, VkCommandPool& pool);
bool beginCommandBuffer(VkCommandBuffer& commandBuffer);
bool beginSingleTimeCommandBuffer(VkCommandBuffer& commandBuffer);
bool endCommandBuffer(VkCommandBuffer& commandBuffer);
bool resetCommandBuffer(VkCommandBuffer& commandBuffer);
// The fence, when given, is signalled once the commands are done.
bool submitCommandBuffer(VkCommandBuffer& commandBuffer, LogicalDevice& logicalDevice, VkFence fence = VK_NULL_HANDLE);

// Face i of a cube (array layer i) lies at i times the face's byte size.
std::array<VkBufferImageCopy, 6> cubeFaceCopyRegions(std::uint32_t width, std::uint32_t height,
                                                     std::uint32_t faceByteSize, std::uint32_t mipLevel);

void recordCopyBuffer(VkCommandBuffer& commandBuffer, VkBuffer source, VkBuffer destination, VkDeviceSize size);
void recordCopyBufferToImage(VkCommandBuffer& commandBuffer, VkBuffer buffer, VkImage image, std::uint32_t width,
                             std::uint32_t height, bool depth);
void recordCopyBufferToCubeImage(VkCommandBuffer& commandBuffer, VkBuffer buffer, VkImage image, std::uint32_t width,
                                 std::uint32_t height, std::uint32_t faceByteSize);
void recordCopyImageToBuffer(VkCommandBuffer& commandBuffer, VkBuffer buffer, VkImage image, std::uint32_t width,
                             std::uint32_t height, std::uint32_t faceByteSize, std::uint32_t mipLevel);
void recordBlitImage(VkCommandBuffer& commandBuffer, VkImage source, std::uint32_t sourceMipLevel,
                     std::uint32_t sourceWidth, std::uint32_t sourceHeight, VkImage destination,
                     std::uint32_t destinationMipLevel, std::uint32_t destinationWidth, std::uint32_t destinationHeight,
                     std::uint32_t layerCount);
void recordImageMemoryBarrier(VkCommandBuffer& commandBuffer, VkImage image, std::uint32_t baseMipLevel,
                              std::uint32_t levelCount, std::uint32_t layerCount, VkImageLayout oldLayout,
                              VkImageLayout newLayout, VkAccessFlags sourceAccess, VkAccessFlags destinationAccess,
                              VkPipelineStageFlags sourceStage, VkPipelineStageFlags destinationStage, bool depth);
