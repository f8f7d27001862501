#include "engine/GraphicsSystem.hpp"

#include "engine/Log.hpp"
#include "engine/Settings.hpp"
#include "engine/Window.hpp"
#include "engine/vulkan/Commands.hpp"
#include "engine/vulkan/Instance.hpp"
#include "engine/vulkan/ObjectWrappers.hpp"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include <algorithm>

GraphicsSystem::GraphicsSystem()
{
    if (!createWindow(window) || !createInstance(instance) || !createSurface(surface, window, instance) ||
        !selectPhysicalDevice(physicalDeviceInfo, instance, surface) ||
        !createDevice(logicalDevice, physicalDeviceInfo) || !createSwapChainForWindow() ||
        !createCommandPool(commandPool, logicalDevice.device, physicalDeviceInfo.graphicsFamily) || !createFrames() ||
        !matchRenderFinishedSemaphores() || !createDepthImages())
    {
        return;
    }
    logDebug("Graphics system was created.");
}

GraphicsSystem::~GraphicsSystem()
{
    VkDevice& device = logicalDevice.device;
    waitIdle();
    destroyDepthImages();
    for (VkSemaphore& semaphore : renderFinishedSemaphores)
    {
        destroySemaphore(semaphore, device);
    }
    renderFinishedSemaphores.clear();
    for (FrameData& frame : frames)
    {
        destroySemaphore(frame.imageAvailableSemaphore, device);
        destroyFence(frame.inFlightFence, device);
    }
    destroyCommandPool(commandPool, device);
    destroySwapChain(swapChain, device);
    destroyDevice(device);
    destroySurface(surface, instance);
    destroyInstance(instance);
    destroyWindow(window);
    logDebug("Graphics system was destroyed.");
}

void GraphicsSystem::waitIdle()
{
    if (logicalDevice.device != VK_NULL_HANDLE)
    {
        ++queueWaits;
        vkDeviceWaitIdle(logicalDevice.device);
        releasePendingWork(true);
    }
}

std::uint32_t GraphicsSystem::getCurrentFrame() const
{
    return currentFrame;
}

std::uint64_t GraphicsSystem::queueWaitCount() const
{
    return queueWaits;
}

const FrameHandOver& GraphicsSystem::frameHandOver() const
{
    return handOver;
}

bool GraphicsSystem::createFrames()
{
    for (FrameData& frame : frames)
    {
        if (!allocateCommandBuffer(frame.commandBuffer, logicalDevice.device, commandPool) ||
            !createFence(frame.inFlightFence, logicalDevice.device, true) ||
            !createSemaphore(frame.imageAvailableSemaphore, logicalDevice.device))
        {
            return false;
        }
    }
    return true;
}

bool GraphicsSystem::matchRenderFinishedSemaphores()
{
    const std::size_t imageCount = swapChain.imageViews.size();
    while (renderFinishedSemaphores.size() > imageCount)
    {
        destroySemaphore(renderFinishedSemaphores.back(), logicalDevice.device);
        renderFinishedSemaphores.pop_back();
    }
    while (renderFinishedSemaphores.size() < imageCount)
    {
        VkSemaphore semaphore = VK_NULL_HANDLE;
        if (!createSemaphore(semaphore, logicalDevice.device))
        {
            return false;
        }
        renderFinishedSemaphores.push_back(semaphore);
    }
    return true;
}

bool GraphicsSystem::createDepthImages()
{
    for (std::size_t index = 0; index < swapChain.imageViews.size(); ++index)
    {
        const std::optional<ImageResource> depthImage = createImageResource(
            swapChain.extent.width, swapChain.extent.height, 1, physicalDeviceInfo.depthFormat, VK_IMAGE_TILING_OPTIMAL,
            VK_IMAGE_USAGE_DEPTH_STENCIL_ATTACHMENT_BIT, VK_MEMORY_PROPERTY_DEVICE_LOCAL_BIT, VK_IMAGE_ASPECT_DEPTH_BIT, 1);
        if (!depthImage)
        {
            return false;
        }
        depthImages.push_back(*depthImage);
    }
    return true;
}

void GraphicsSystem::destroyDepthImages()
{
    for (ImageResource& depthImage : depthImages)
    {
        destroyImageResource(depthImage);
    }
    depthImages.clear();
}

VkExtent2D GraphicsSystem::framebufferSize() const
{
    int width = 0;
    int height = 0;
    glfwGetFramebufferSize(window, &width, &height);
    return {static_cast<std::uint32_t>(std::max(width, 0)), static_cast<std::uint32_t>(std::max(height, 0))};
}

bool GraphicsSystem::createSwapChainForWindow()
{
    if (!createSwapChain(swapChain, surface, physicalDeviceInfo, logicalDevice.device, framebufferSize()))
    {
        return false;
    }
    // Full screen picks a mode and the surface decides the size: whatever was
    // asked for, cameras and screen projections must see the real one.
    Settings::setWindowSize(swapChain.extent.width, swapChain.extent.height);
    return true;
}
