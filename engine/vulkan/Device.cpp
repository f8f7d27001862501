#include "engine/vulkan/Device.hpp"

#include "engine/Log.hpp"

#include <fmt/format.h>

#include <set>

std::vector<std::uint32_t> deviceQueueFamilies(std::uint32_t graphicsFamily, std::uint32_t presentFamily)
{
    const std::set<std::uint32_t> families{graphicsFamily, presentFamily};
    return {families.begin(), families.end()};
}

bool createDevice(LogicalDevice& logicalDevice, const PhysicalDeviceInfo& info)
{
    const float priority = 1.0f;
    std::vector<VkDeviceQueueCreateInfo> queues;
    for (const std::uint32_t family : deviceQueueFamilies(info.graphicsFamily, info.presentFamily))
    {
        VkDeviceQueueCreateInfo queue{};
        queue.sType = VK_STRUCTURE_TYPE_DEVICE_QUEUE_CREATE_INFO;
        queue.queueFamilyIndex = family;
        queue.queueCount = 1;
        queue.pQueuePriorities = &priority;
        queues.push_back(queue);
    }

    VkPhysicalDeviceFeatures features{};
    vkGetPhysicalDeviceFeatures(info.physicalDevice, &features);
    const char* extension = requiredDeviceExtension;

    VkDeviceCreateInfo createInfo{};
    createInfo.sType = VK_STRUCTURE_TYPE_DEVICE_CREATE_INFO;
    createInfo.queueCreateInfoCount = static_cast<std::uint32_t>(queues.size());
    createInfo.pQueueCreateInfos = queues.data();
    createInfo.enabledExtensionCount = 1;
    createInfo.ppEnabledExtensionNames = &extension;
    createInfo.pEnabledFeatures = &features;

    VkDevice created = VK_NULL_HANDLE;
    if (vkCreateDevice(info.physicalDevice, &createInfo, nullptr, &created) != VK_SUCCESS)
    {
        logError("Vulkan device creation has failed.");
        return false;
    }
    logicalDevice.device = created;
    logicalDevice.graphicsQueue = createQueue(logicalDevice, info.graphicsFamily);
    logicalDevice.presentQueue = createQueue(logicalDevice, info.presentFamily);
    logDebug("Device was created.");
    return true;
}

VkQueue createQueue(LogicalDevice& logicalDevice, std::uint32_t familyIndex)
{
    VkQueue queue = VK_NULL_HANDLE;
    vkGetDeviceQueue(logicalDevice.device, familyIndex, 0, &queue);
    logDebug(fmt::format("Queue (family index: {}) was created", familyIndex));
    return queue;
}

void destroyDevice(VkDevice& device)
{
    if (device == VK_NULL_HANDLE)
    {
        return;
    }
    vkDestroyDevice(device, nullptr);
    device = VK_NULL_HANDLE;
    logDebug("Device was destroyed.");
}

bool waitQueueIdle(LogicalDevice& logicalDevice)
{
    if (vkQueueWaitIdle(logicalDevice.graphicsQueue) != VK_SUCCESS)
    {
        logError("Graphics queue waiting for idle has failed.");
        return false;
    }
    return true;
}
