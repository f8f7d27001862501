#include "engine/vulkan/SwapChain.hpp"

#include "engine/Settings.hpp"
#include "engine/vulkan/ObjectWrappers.hpp"

#include <fmt/format.h>

#include <algorithm>
#include <limits>

VkPresentModeKHR choosePresentMode(const Enumeration<VkPresentModeKHR>& modes, PresentMode preferred, LogLines& log)
{
    if (const std::optional<std::string> failure = enumerationFailure(
            modes, "Supported present mode count obtaining has failed.", "Supported present modes obtaining has failed."))
    {
        log.push_back({LogLevel::info, *failure});
        return VK_PRESENT_MODE_FIFO_KHR;
    }
    const auto found = std::find(modes.items.begin(), modes.items.end(), static_cast<VkPresentModeKHR>(preferred));
    return found != modes.items.end() ? *found : VK_PRESENT_MODE_FIFO_KHR;
}

std::optional<VkExtent2D> chooseSwapExtent(const VkSurfaceCapabilitiesKHR& capabilities, VkExtent2D framebufferSize)
{
    VkExtent2D extent = capabilities.currentExtent;
    if (extent.width == std::numeric_limits<std::uint32_t>::max())
    {
        extent.width = std::clamp(framebufferSize.width, capabilities.minImageExtent.width,
                                  capabilities.maxImageExtent.width);
        extent.height = std::clamp(framebufferSize.height, capabilities.minImageExtent.height,
                                   capabilities.maxImageExtent.height);
    }
    if (extent.width == 0 || extent.height == 0)
    {
        return std::nullopt;
    }
    return extent;
}

VkSwapchainCreateInfoKHR makeSwapChainCreateInfo(VkSurfaceKHR surface, const VkSurfaceCapabilitiesKHR& capabilities,
                                                 const PhysicalDeviceInfo& info, VkPresentModeKHR presentMode,
                                                 VkExtent2D extent, std::array<std::uint32_t, 2>& familyStorage)
{
    VkSwapchainCreateInfoKHR createInfo{};
    createInfo.sType = VK_STRUCTURE_TYPE_SWAPCHAIN_CREATE_INFO_KHR;
    createInfo.surface = surface;
    createInfo.minImageCount = capabilities.minImageCount;
    createInfo.imageFormat = info.colourFormat;
    createInfo.imageColorSpace = info.colourSpace;
    createInfo.imageExtent = extent;
    createInfo.imageArrayLayers = 1;
    createInfo.imageUsage = VK_IMAGE_USAGE_COLOR_ATTACHMENT_BIT;
    if (info.graphicsFamily == info.presentFamily)
    {
        createInfo.imageSharingMode = VK_SHARING_MODE_EXCLUSIVE;
    }
    else
    {
        familyStorage = {info.graphicsFamily, info.presentFamily};
        createInfo.imageSharingMode = VK_SHARING_MODE_CONCURRENT;
        createInfo.queueFamilyIndexCount = 2;
        createInfo.pQueueFamilyIndices = familyStorage.data();
    }
    createInfo.preTransform = capabilities.currentTransform;
    createInfo.compositeAlpha = VK_COMPOSITE_ALPHA_OPAQUE_BIT_KHR;
    createInfo.presentMode = presentMode;
    createInfo.clipped = VK_TRUE;
    createInfo.oldSwapchain = VK_NULL_HANDLE;
    return createInfo;
}

VkPresentModeKHR choosePresentMode(VkSurfaceKHR surface, const PhysicalDeviceInfo& info)
{
    const Enumeration<VkPresentModeKHR> modes =
        enumerate<VkPresentModeKHR>([&](std::uint32_t* count, VkPresentModeKHR* items) {
            return vkGetPhysicalDeviceSurfacePresentModesKHR(info.physicalDevice, surface, count, items);
        });
    LogLines log;
    const VkPresentModeKHR mode = choosePresentMode(modes, Settings::getPreferredPresentMode(), log);
    logLines(log);
    return mode;
}

bool createSwapChain(SwapChain& swapChain, VkSurfaceKHR surface, const PhysicalDeviceInfo& info, VkDevice& device,
                     VkExtent2D framebufferSize)
{
    VkSurfaceCapabilitiesKHR capabilities{};
    if (vkGetPhysicalDeviceSurfaceCapabilitiesKHR(info.physicalDevice, surface, &capabilities) != VK_SUCCESS)
    {
        logError("Surface capabilities obtaining has failed.");
        return false;
    }
    const std::optional<VkExtent2D> extent = chooseSwapExtent(capabilities, framebufferSize);
    if (!extent)
    {
        logError("Vulkan swap chain creation has failed.");
        return false;
    }
    const VkPresentModeKHR presentMode = choosePresentMode(surface, info);
    std::array<std::uint32_t, 2> families{};
    const VkSwapchainCreateInfoKHR createInfo =
        makeSwapChainCreateInfo(surface, capabilities, info, presentMode, *extent, families);

    VkSwapchainKHR created = VK_NULL_HANDLE;
    if (vkCreateSwapchainKHR(device, &createInfo, nullptr, &created) != VK_SUCCESS)
    {
        logError("Vulkan swap chain creation has failed.");
        return false;
    }
    swapChain.swapChain = created;
    swapChain.extent = *extent;

    const std::vector<VkImage> images = getSwapChainImages(swapChain, device);
    if (images.empty())
    {
        return false;
    }
    swapChain.imageViews.reserve(images.size());
    for (const VkImage image : images)
    {
        VkImageView view = VK_NULL_HANDLE;
        const VkComponentMapping identity{VK_COMPONENT_SWIZZLE_IDENTITY, VK_COMPONENT_SWIZZLE_IDENTITY,
                                          VK_COMPONENT_SWIZZLE_IDENTITY, VK_COMPONENT_SWIZZLE_IDENTITY};
        if (!createImageView(view, device, image, VK_IMAGE_VIEW_TYPE_2D, info.colourFormat, identity,
                             {VK_IMAGE_ASPECT_COLOR_BIT, 0, 1, 0, 1}))
        {
            return false;
        }
        swapChain.imageViews.push_back(view);
    }
    logDebug("Swap chain was created.");
    logDebug(fmt::format("Present mode {} is being used.", presentModeName(presentMode)));
    return true;
}

void destroySwapChain(SwapChain& swapChain, VkDevice& device)
{
    for (VkImageView& view : swapChain.imageViews)
    {
        destroyImageView(view, device);
    }
    swapChain.imageViews.clear();
    if (swapChain.swapChain == VK_NULL_HANDLE)
    {
        return;
    }
    vkDestroySwapchainKHR(device, swapChain.swapChain, nullptr);
    swapChain.swapChain = VK_NULL_HANDLE;
    logDebug("Swap chain was destroyed.");
}

std::vector<VkImage> getSwapChainImages(SwapChain& swapChain, VkDevice& device)
{
    const Enumeration<VkImage> images = enumerate<VkImage>([&](std::uint32_t* count, VkImage* items) {
        return vkGetSwapchainImagesKHR(device, swapChain.swapChain, count, items);
    });
    if (const std::optional<std::string> failure = enumerationFailure(
            images, "Swap chain image count obtaining has failed.", "Swap chain images obtaining has failed."))
    {
        logError(*failure);
        return {};
    }
    if (images.items.empty())
    {
        logError("No swap chain images were obtained.");
        return {};
    }
    return images.items;
}
