#pragma once

#include <vulkan/vulkan.h>

#include <array>

// Plain records owned by whoever asked for them; each holds one allocation of
// its own, bound at offset 0. GraphicsSystem makes and releases them.

struct Buffer
{
    VkBuffer buffer = VK_NULL_HANDLE;
    VkDeviceMemory memory = VK_NULL_HANDLE;
};

struct ImageResource
{
    VkImage image = VK_NULL_HANDLE;
    VkDeviceMemory memory = VK_NULL_HANDLE;
    // Every mip level and layer of the image.
    VkImageView view = VK_NULL_HANDLE;
};

// Mapped from creation to release.
struct UniformBuffer
{
    VkBuffer buffer = VK_NULL_HANDLE;
    VkDeviceMemory memory = VK_NULL_HANDLE;
    void* mapped = nullptr;
};

// One buffer per frame in flight, indexed by the frame index.
struct UniformBufferCollection
{
    std::array<UniformBuffer, 2> buffers;
};
