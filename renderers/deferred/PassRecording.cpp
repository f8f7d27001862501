#include "engine/GraphicsSystem.hpp"
#include "graphics/ModelCollection.hpp"
#include "renderers/deferred/DeferredRenderer.hpp"
#include "renderers/deferred/OceanSphere.hpp"
#include "renderers/deferred/PointLightCulling.hpp"

#include <algorithm>
#include <initializer_list>

namespace
{
template <typename Block>
void pushFragmentConstants(VkCommandBuffer commandBuffer, const Pipeline2& pipeline, const Block& block)
{
    vkCmdPushConstants(commandBuffer, pipeline.pipelineLayout, VK_SHADER_STAGE_FRAGMENT_BIT, 0, sizeof(Block), &block);
}

// The full-screen passes make their triangle in the vertex shader.
void drawScreenTriangle(VkCommandBuffer commandBuffer)
{
    vkCmdDraw(commandBuffer, 3, 1, 0, 0);
}

void recordScreenPass(TextureRenderTargetPipeline2& pipeline, const FrameInfo& frame)
{
    beginTextureRenderTargetPipeline2(pipeline, frame.commandBuffer, frame.frameIndex);
    drawScreenTriangle(frame.commandBuffer);
    endTextureRenderTargetPipeline2(pipeline, frame.commandBuffer);
}

// Only the lights that can change the frame's view are drawn, packed into the
// front of the frame's instance records; the renderer's slots and its light
// count stay as the scene set them. Where the sea is drawn, a light beyond its
// horizon lights nothing that shows: the ocean pass covers all behind it.
void drawLightsInView(DeferredRenderer& renderer, const FrameInfo& frame)
{
    InstancedMesh& mesh = *renderer.pointLightMesh;
    std::optional<Occlusion> sea;
    if (renderer.compositePushConstants.oceanDisabled == 0)
    {
        sea = Occlusion{renderer.frameEyes[frame.frameIndex], glm::vec3(0.0f), oceanRadius - oceanSag};
    }
    const std::vector<PointLight> inView =
        lightsInView(renderer.pointLights, instanceCount(mesh), renderer.frameViewProjections[frame.frameIndex], sea,
                     lightViewOf(renderer.pointLightMode));
    const auto count = static_cast<std::uint32_t>(inView.size());
    updateInstances(mesh, *renderer.graphics, inView.data(), count * static_cast<std::uint32_t>(sizeof(PointLight)));
    drawInstancedMesh(mesh, frame, count);
}

// Push constants go ahead of their pass, whose begin binds the pipeline. The
// model passes are the scene's to fill between their begin and end.
void recordScenelessPass(DeferredRenderer& renderer, PassKind pass, const FrameInfo& frame, float time)
{
    const VkCommandBuffer commandBuffer = frame.commandBuffer;
    switch (pass)
    {
    case PassKind::geometry:
    case PassKind::sunShadow:
        break;
    case PassKind::ocean:
        // A disabled ocean keeps the last time it was given.
        if (renderer.compositePushConstants.oceanDisabled == 0)
        {
            renderer.oceanPushConstants.time = time;
            pushFragmentConstants(commandBuffer, renderer.oceanPipeline, renderer.oceanPushConstants);
            beginTextureRenderTargetPipeline2(renderer.oceanPipeline, commandBuffer, frame.frameIndex);
            drawMesh(*renderer.oceanMesh, frame);
            endTextureRenderTargetPipeline2(renderer.oceanPipeline, commandBuffer);
        }
        break;
    case PassKind::ambientOcclusion:
        recordScreenPass(renderer.ssaoPipeline, frame);
        break;
    case PassKind::pointLights:
        pushFragmentConstants(commandBuffer, renderer.pointLightPipeline, renderer.pointLightMode);
        beginTextureRenderTargetPipeline2(renderer.pointLightPipeline, commandBuffer, frame.frameIndex);
        drawLightsInView(renderer, frame);
        endTextureRenderTargetPipeline2(renderer.pointLightPipeline, commandBuffer);
        break;
    case PassKind::composite:
        pushFragmentConstants(commandBuffer, renderer.compositePipeline, renderer.compositePushConstants);
        recordScreenPass(renderer.compositePipeline, frame);
        break;
    case PassKind::blurAcross:
        pushFragmentConstants(commandBuffer, renderer.firstBlurPipeline, BlurPushConstants{1, 1.5f});
        recordScreenPass(renderer.firstBlurPipeline, frame);
        break;
    case PassKind::blurDown:
        pushFragmentConstants(commandBuffer, renderer.secondBlurPipeline, BlurPushConstants{0, 1.5f});
        recordScreenPass(renderer.secondBlurPipeline, frame);
        break;
    case PassKind::colourGrading:
        pushFragmentConstants(commandBuffer, renderer.colourGradingPipeline, renderer.colourGradingPushConstants);
        beginPipeline2(renderer.colourGradingPipeline, commandBuffer, frame.frameIndex, frame.imageIndex);
        drawScreenTriangle(commandBuffer);
        vkCmdEndRenderPass(commandBuffer);
        break;
    }
}

void callPassHook(const DeferredRenderer& renderer, VkCommandBuffer commandBuffer)
{
    if (renderer.passHook)
    {
        renderer.passHook(commandBuffer, renderer.passesRecorded);
    }
}

void finishPass(DeferredRenderer& renderer, VkCommandBuffer commandBuffer)
{
    ++renderer.passesRecorded;
    callPassHook(renderer, commandBuffer);
}

// The frame's passes of the given kinds in the frame's order, each followed
// by the hook, so that its count always matches framePasses and its names.
void recordListedPasses(DeferredRenderer& renderer, const FrameInfo& frame, float time,
                        std::initializer_list<PassKind> kinds)
{
    for (const FramePass& pass : framePasses(renderer.blurIterations))
    {
        if (std::find(kinds.begin(), kinds.end(), pass.kind) != kinds.end())
        {
            recordScenelessPass(renderer, pass.kind, frame, time);
            finishPass(renderer, frame.commandBuffer);
        }
    }
}
}

void DeferredRenderer::beginGeometryPass(VkCommandBuffer commandBuffer, std::uint32_t frameIndex)
{
    passesRecorded = 0;
    callPassHook(*this, commandBuffer);
    beginTextureRenderTargetPipeline2(gBufferPipeline, commandBuffer, frameIndex);
}

void DeferredRenderer::endGeometryPass(VkCommandBuffer commandBuffer)
{
    endTextureRenderTargetPipeline2(gBufferPipeline, commandBuffer);
    finishPass(*this, commandBuffer);
}

void DeferredRenderer::recordLightingPasses(VkCommandBuffer commandBuffer, std::uint32_t frameIndex, float time)
{
    // No pass of these draws onto the swap chain, so no image index is needed.
    recordListedPasses(*this, {commandBuffer, frameIndex, 0}, time,
                       {PassKind::ocean, PassKind::ambientOcclusion, PassKind::pointLights});
}

void DeferredRenderer::beginSecondPass(VkCommandBuffer commandBuffer, std::uint32_t frameIndex)
{
    beginTextureRenderTargetPipeline2(directionalLightPipeline, commandBuffer, frameIndex);
}

void DeferredRenderer::endSecondPass(VkCommandBuffer commandBuffer)
{
    endTextureRenderTargetPipeline2(directionalLightPipeline, commandBuffer);
    finishPass(*this, commandBuffer);
}

void DeferredRenderer::recordPostProcessPasses(VkCommandBuffer commandBuffer, std::uint32_t frameIndex,
                                               std::uint32_t imageIndex)
{
    recordListedPasses(*this, {commandBuffer, frameIndex, imageIndex}, 0.0f,
                       {PassKind::composite, PassKind::blurAcross, PassKind::blurDown, PassKind::colourGrading});
}

void DeferredRenderer::recordFrame(const FrameInfo& frame, float time, const ModelDraws& drawModels)
{
    beginGeometryPass(frame.commandBuffer, frame.frameIndex);
    drawModels(frame, PassKind::geometry);
    endGeometryPass(frame.commandBuffer);
    recordLightingPasses(frame.commandBuffer, frame.frameIndex, time);
    beginSecondPass(frame.commandBuffer, frame.frameIndex);
    drawModels(frame, PassKind::sunShadow);
    endSecondPass(frame.commandBuffer);
    recordPostProcessPasses(frame.commandBuffer, frame.frameIndex, frame.imageIndex);
}

void drawModelCollection(const DeferredRenderer& renderer, const ModelCollection& collection, const FrameInfo& frame,
                         PassKind pass, bool clearFlag)
{
    for (std::size_t model = 0; model < collection.meshes.size(); ++model)
    {
        const InstancedMesh& mesh = *collection.meshes[model];
        if (instanceCount(mesh) == 0)
        {
            continue;
        }
        if (pass == PassKind::geometry)
        {
            ModelMaterial material = collection.materials[model];
            material.flag = material.flag && !clearFlag;
            pushFragmentConstants(frame.commandBuffer, renderer.gBufferPipeline, material);
        }
        drawInstancedMesh(mesh, frame);
    }
}
