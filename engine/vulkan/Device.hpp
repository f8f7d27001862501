#pragma once

#include "engine/vulkan/PhysicalDevice.hpp"

#include <vulkan/vulkan.h>

#include <cstdint>
#include <vector>

struct LogicalDevice
{
    VkDevice device = VK_NULL_HANDLE;
    VkQueue graphicsQueue = VK_NULL_HANDLE;
    VkQueue presentQueue = VK_NULL_HANDLE;
};

// One queue is made from each distinct family, in ascending family index.
std::vector<std::uint32_t> deviceQueueFamilies(std::uint32_t graphicsFamily, std::uint32_t presentFamily);

bool createDevice(LogicalDevice& logicalDevice, const PhysicalDeviceInfo& info);
VkQueue createQueue(LogicalDevice& logicalDevice, std::uint32_t familyIndex);
void destroyDevice(VkDevice& device);
bool waitQueueIdle(LogicalDevice& logicalDevice);
