#include "engine/FrameOutcomes.hpp"
#include "engine/GraphicsSystem.hpp"
#include "engine/Log.hpp"
#include "engine/SwapChainDependents.hpp"
#include "engine/Window.hpp"
#include "engine/vulkan/Commands.hpp"

#include <chrono>
#include <cstdint>
#include <limits>

namespace
{
constexpr std::uint64_t noTimeout = std::numeric_limits<std::uint64_t>::max();

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}
}

std::optional<FrameInfo> GraphicsSystem::beginFrame()
{
    // A minimised window has no size that a swap chain could take; frames
    // resume when it has one again.
    const VkExtent2D size = framebufferSize();
    if (size.width == 0 || size.height == 0)
    {
        return std::nullopt;
    }

    releasePendingWork(false);
    FrameData& frame = frames[currentFrame];
    VkDevice& device = logicalDevice.device;
    const auto waitStart = std::chrono::steady_clock::now();
    if (vkWaitForFences(device, 1, &frame.inFlightFence, VK_TRUE, noTimeout) != VK_SUCCESS)
    {
        requestWindowClose(window);
        logError("Waiting for fence has failed.");
        return std::nullopt;
    }

    std::uint32_t imageIndex = 0;
    const VkResult acquired = vkAcquireNextImageKHR(device, swapChain.swapChain, noTimeout,
                                                    frame.imageAvailableSemaphore, VK_NULL_HANDLE, &imageIndex);
    handOver.waitSeconds += secondsSince(waitStart);
    const AcquireOutcome outcome = acquireOutcome(acquired);
    if (outcome == AcquireOutcome::rebuild)
    {
        if (!recreateSwapChain())
        {
            logError("Swap chain recreation has failed.");
            requestWindowClose(window);
        }
        return std::nullopt;
    }
    if (outcome == AcquireOutcome::fail)
    {
        requestWindowClose(window);
        logError("Next image obtaining has failed.");
        return std::nullopt;
    }
    rebuildAfterPresent = outcome == AcquireOutcome::drawThenRebuild;

    if (vkResetFences(device, 1, &frame.inFlightFence) != VK_SUCCESS)
    {
        requestWindowClose(window);
        logError("Fence resetting has failed.");
        return std::nullopt;
    }
    if (!resetCommandBuffer(frame.commandBuffer) || !beginCommandBuffer(frame.commandBuffer))
    {
        requestWindowClose(window);
        return std::nullopt;
    }
    return FrameInfo{frame.commandBuffer, currentFrame, imageIndex};
}

void GraphicsSystem::endFrame(std::uint32_t imageIndex)
{
    FrameData& frame = frames[currentFrame];
    if (!endCommandBuffer(frame.commandBuffer))
    {
        requestWindowClose(window);
        return;
    }

    const auto submitStart = std::chrono::steady_clock::now();
    const VkPipelineStageFlags waitStage = VK_PIPELINE_STAGE_COLOR_ATTACHMENT_OUTPUT_BIT;
    VkSubmitInfo submitInfo{};
    submitInfo.sType = VK_STRUCTURE_TYPE_SUBMIT_INFO;
    submitInfo.waitSemaphoreCount = 1;
    submitInfo.pWaitSemaphores = &frame.imageAvailableSemaphore;
    submitInfo.pWaitDstStageMask = &waitStage;
    submitInfo.commandBufferCount = 1;
    submitInfo.pCommandBuffers = &frame.commandBuffer;
    submitInfo.signalSemaphoreCount = 1;
    submitInfo.pSignalSemaphores = &renderFinishedSemaphores[imageIndex];
    if (vkQueueSubmit(logicalDevice.graphicsQueue, 1, &submitInfo, frame.inFlightFence) != VK_SUCCESS)
    {
        requestWindowClose(window);
        logError("Graphics queue submitting has failed.");
        return;
    }

    VkPresentInfoKHR presentInfo{};
    presentInfo.sType = VK_STRUCTURE_TYPE_PRESENT_INFO_KHR;
    presentInfo.waitSemaphoreCount = 1;
    presentInfo.pWaitSemaphores = &renderFinishedSemaphores[imageIndex];
    presentInfo.swapchainCount = 1;
    presentInfo.pSwapchains = &swapChain.swapChain;
    presentInfo.pImageIndices = &imageIndex;
    const VkResult presented = vkQueuePresentKHR(logicalDevice.presentQueue, &presentInfo);
    handOver.submitSeconds += secondsSince(submitStart);

    switch (presentOutcome(presented, rebuildAfterPresent))
    {
    case PresentOutcome::advance:
        currentFrame = (currentFrame + 1) % framesInFlight;
        break;
    case PresentOutcome::rebuild:
        if (!recreateSwapChain())
        {
            logError("Swap chain recreation has failed.");
            requestWindowClose(window);
        }
        break;
    case PresentOutcome::fail:
        requestWindowClose(window);
        logError("Presentation queueing has failed.");
        break;
    }
    rebuildAfterPresent = false;
}

bool GraphicsSystem::recreateSwapChain()
{
    VkDevice& device = logicalDevice.device;
    waitIdle();
    // While minimised the old swap chain stays; the next acquire after the
    // window has a size again reports it out of date.
    const VkExtent2D size = framebufferSize();
    if (size.width == 0 || size.height == 0)
    {
        return true;
    }

    const std::vector<SwapChainDependent> dependents = getSwapChainDependents();
    for (const SwapChainDependent& dependent : dependents)
    {
        dependent.destroyFrameBuffers();
    }
    destroyDepthImages();
    destroySwapChain(swapChain, device);
    updateFramebufferSize(window);
    if (!createSwapChainForWindow() || !matchRenderFinishedSemaphores() || !createDepthImages())
    {
        return false;
    }
    for (const SwapChainDependent& dependent : dependents)
    {
        if (!dependent.createFrameBuffers())
        {
            return false;
        }
    }
    return true;
}
