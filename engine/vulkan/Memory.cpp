#include "engine/vulkan/Memory.hpp"

#include "engine/Log.hpp"

#include <cstring>

std::optional<std::uint32_t> findMemoryType(const VkPhysicalDeviceMemoryProperties& properties, std::uint32_t typeBits,
                                            VkMemoryPropertyFlags required)
{
    for (std::uint32_t index = 0; index < properties.memoryTypeCount && index < VK_MAX_MEMORY_TYPES; ++index)
    {
        if ((typeBits & (1u << index)) != 0 && (properties.memoryTypes[index].propertyFlags & required) == required)
        {
            return index;
        }
    }
    return std::nullopt;
}

bool allocateMemory(VkDeviceMemory& memory, VkPhysicalDevice physicalDevice, VkDevice& device,
                    const VkMemoryRequirements& requirements, VkMemoryPropertyFlags required)
{
    VkPhysicalDeviceMemoryProperties properties{};
    vkGetPhysicalDeviceMemoryProperties(physicalDevice, &properties);
    const std::optional<std::uint32_t> type = findMemoryType(properties, requirements.memoryTypeBits, required);
    if (!type)
    {
        logError("Memory type index obtaining has failed.");
        return false;
    }
    VkMemoryAllocateInfo allocateInfo{};
    allocateInfo.sType = VK_STRUCTURE_TYPE_MEMORY_ALLOCATE_INFO;
    allocateInfo.allocationSize = requirements.size;
    allocateInfo.memoryTypeIndex = *type;
    VkDeviceMemory allocated = VK_NULL_HANDLE;
    if (vkAllocateMemory(device, &allocateInfo, nullptr, &allocated) != VK_SUCCESS)
    {
        logError("Vulkan device memory allocation has failed.");
        return false;
    }
    memory = allocated;
    return true;
}

bool bindBufferMemory(VkDeviceMemory& memory, VkDevice& device, VkBuffer buffer)
{
    if (vkBindBufferMemory(device, buffer, memory, 0) != VK_SUCCESS)
    {
        logError("Device memory binding (buffer) has failed.");
        return false;
    }
    return true;
}

bool bindImageMemory(VkDeviceMemory& memory, VkDevice& device, VkImage image)
{
    if (vkBindImageMemory(device, image, memory, 0) != VK_SUCCESS)
    {
        logError("Device memory binding (image) has failed.");
        return false;
    }
    logDebug("Device memory was bound (image).");
    return true;
}

bool mapMemory(VkDeviceMemory& memory, VkDevice& device, VkDeviceSize size, void*& mapped)
{
    if (memory == VK_NULL_HANDLE)
    {
        return false;
    }
    void* pointer = nullptr;
    if (size == 0 || vkMapMemory(device, memory, 0, size, 0, &pointer) != VK_SUCCESS)
    {
        logError("Device memory mapping has failed.");
        return false;
    }
    mapped = pointer;
    return true;
}

bool mapUniformBuffer(VkDeviceMemory& memory, VkDevice& device, UniformBuffer& uniformBuffer, VkDeviceSize size)
{
    return mapMemory(memory, device, size, uniformBuffer.mapped);
}

bool copyToMemory(VkDeviceMemory& memory, VkDevice& device, VkDeviceSize size, const void* source)
{
    void* mapped = nullptr;
    if (!mapMemory(memory, device, size, mapped))
    {
        return false;
    }
    std::memcpy(mapped, source, static_cast<std::size_t>(size));
    return true;
}

bool copyFromMemory(VkDeviceMemory& memory, VkDevice& device, VkDeviceSize size, void* destination)
{
    void* mapped = nullptr;
    if (!mapMemory(memory, device, size, mapped))
    {
        return false;
    }
    std::memcpy(destination, mapped, static_cast<std::size_t>(size));
    return true;
}

void unmapMemory(VkDeviceMemory& memory, VkDevice& device)
{
    if (memory != VK_NULL_HANDLE)
    {
        vkUnmapMemory(device, memory);
    }
}

void freeMemory(VkDeviceMemory& memory, VkDevice& device)
{
    if (memory == VK_NULL_HANDLE)
    {
        return;
    }
    vkFreeMemory(device, memory, nullptr);
    memory = VK_NULL_HANDLE;
}
