#include "engine/ClearScene.hpp"

#include "engine/GraphicsSystem.hpp"
#include "engine/Keyboard.hpp"
#include "engine/SwapChainDependents.hpp"
#include "engine/Window.hpp"
#include "engine/vulkan/ObjectWrappers.hpp"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include <array>

ClearScene::ClearScene(GraphicsSystem* graphicsSystem, SceneManager*) : graphicsSystem(graphicsSystem)
{
}

ClearScene::~ClearScene()
{
    removeSwapChainDependent(this);
}

void ClearScene::load()
{
    VkDevice& device = graphicsSystem->logicalDevice.device;
    const RenderPassOptions options{VK_ATTACHMENT_LOAD_OP_CLEAR, VK_ATTACHMENT_LOAD_OP_CLEAR, true};
    if (!createRenderPass(renderPass, graphicsSystem->physicalDeviceInfo, device, options, {}) || !createFrameBuffers())
    {
        return;
    }
    addSwapChainDependent(
        this, [this] { destroyFrameBuffers(); }, [this] { return createFrameBuffers(); });
}

void ClearScene::initialise()
{
    GraphicsSystem* system = graphicsSystem;
    Keyboard::setKeyPressedCallback([system](std::int16_t key) {
        if (key == GLFW_KEY_ESCAPE)
        {
            requestWindowClose(system->window);
        }
    });
}

void ClearScene::update()
{
}

void ClearScene::render()
{
    const std::optional<FrameInfo> frame = graphicsSystem->beginFrame();
    if (!frame)
    {
        return;
    }
    std::array<VkClearValue, 2> clearValues{};
    clearValues[0].color = clearColour;
    clearValues[1].depthStencil = {1.0f, 0};

    VkRenderPassBeginInfo beginInfo{};
    beginInfo.sType = VK_STRUCTURE_TYPE_RENDER_PASS_BEGIN_INFO;
    beginInfo.renderPass = renderPass;
    beginInfo.framebuffer = frameBuffers[frame->imageIndex];
    beginInfo.renderArea.extent = graphicsSystem->swapChain.extent;
    beginInfo.clearValueCount = static_cast<std::uint32_t>(clearValues.size());
    beginInfo.pClearValues = clearValues.data();
    vkCmdBeginRenderPass(frame->commandBuffer, &beginInfo, VK_SUBPASS_CONTENTS_INLINE);
    vkCmdEndRenderPass(frame->commandBuffer);
    graphicsSystem->endFrame(frame->imageIndex);
}

void ClearScene::unload()
{
    removeSwapChainDependent(this);
    destroyFrameBuffers();
    destroyRenderPass(renderPass, graphicsSystem->logicalDevice.device);
}

bool ClearScene::createFrameBuffers()
{
    const SwapChain& swapChain = graphicsSystem->swapChain;
    for (std::size_t index = 0; index < swapChain.imageViews.size(); ++index)
    {
        const FrameBufferDescription description{swapChain.extent.width, swapChain.extent.height, renderPass,
                                                 {swapChain.imageViews[index], graphicsSystem->depthImages[index].view}};
        VkFramebuffer frameBuffer = VK_NULL_HANDLE;
        if (!createFrameBuffer(frameBuffer, graphicsSystem->logicalDevice.device, description))
        {
            return false;
        }
        frameBuffers.push_back(frameBuffer);
    }
    return true;
}

void ClearScene::destroyFrameBuffers()
{
    for (VkFramebuffer& frameBuffer : frameBuffers)
    {
        destroyFrameBuffer(frameBuffer, graphicsSystem->logicalDevice.device);
    }
    frameBuffers.clear();
}
