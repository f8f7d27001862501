#pragma once

#include "engine/vulkan/ResourceRecords.hpp"

#include <vulkan/vulkan.h>

#include <cstdint>
#include <optional>

// The lowest type allowed by the requirement's bits that has every required property.
std::optional<std::uint32_t> findMemoryType(const VkPhysicalDeviceMemoryProperties& properties, std::uint32_t typeBits,
                                            VkMemoryPropertyFlags required);

bool allocateMemory(VkDeviceMemory& memory, VkPhysicalDevice physicalDevice, VkDevice& device,
                    const VkMemoryRequirements& requirements, VkMemoryPropertyFlags required);
bool bindBufferMemory(VkDeviceMemory& memory, VkDevice& device, VkBuffer buffer);
bool bindImageMemory(VkDeviceMemory& memory, VkDevice& device, VkImage image);
// The mappings start at offset 0 and stay mapped until unmapMemory. Memory
// read or written through them must be host-visible and host-coherent.
bool mapMemory(VkDeviceMemory& memory, VkDevice& device, VkDeviceSize size, void*& mapped);
bool mapUniformBuffer(VkDeviceMemory& memory, VkDevice& device, UniformBuffer& uniformBuffer, VkDeviceSize size);
bool copyToMemory(VkDeviceMemory& memory, VkDevice& device, VkDeviceSize size, const void* source);
bool copyFromMemory(VkDeviceMemory& memory, VkDevice& device, VkDeviceSize size, void* destination);
void unmapMemory(VkDeviceMemory& memory, VkDevice& device);
void freeMemory(VkDeviceMemory& memory, VkDevice& device);
