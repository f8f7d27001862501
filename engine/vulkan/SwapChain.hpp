#pragma once

#include "engine/Log.hpp"
#include "engine/vulkan/DriverReports.hpp"
#include "engine/vulkan/PhysicalDevice.hpp"
#include "engine/vulkan/PresentModes.hpp"

#include <vulkan/vulkan.h>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

struct SwapChain
{
    VkSwapchainKHR swapChain = VK_NULL_HANDLE;
    std::vector<VkImageView> imageViews;
    VkExtent2D extent{};
};

// The preferred mode when the surface lists it, FIFO otherwise.
VkPresentModeKHR choosePresentMode(const Enumeration<VkPresentModeKHR>& modes, PresentMode preferred, LogLines& log);
// The surface's current extent; when the surface leaves the size to the swap
// chain, the frame buffer's size within the surface's limits. No value for a
// zero size (a minimised window), which no swap chain can have.
std::optional<VkExtent2D> chooseSwapExtent(const VkSurfaceCapabilitiesKHR& capabilities, VkExtent2D framebufferSize);
// familyStorage receives the queue families that the create info points at.
VkSwapchainCreateInfoKHR makeSwapChainCreateInfo(VkSurfaceKHR surface, const VkSurfaceCapabilitiesKHR& capabilities,
                                                 const PhysicalDeviceInfo& info, VkPresentModeKHR presentMode,
                                                 VkExtent2D extent, std::array<std::uint32_t, 2>& familyStorage);

bool createSwapChain(SwapChain& swapChain, VkSurfaceKHR surface, const PhysicalDeviceInfo& info, VkDevice& device,
                     VkExtent2D framebufferSize);
void destroySwapChain(SwapChain& swapChain, VkDevice& device);
std::vector<VkImage> getSwapChainImages(SwapChain& swapChain, VkDevice& device);
VkPresentModeKHR choosePresentMode(VkSurfaceKHR surface, const PhysicalDeviceInfo& info);
