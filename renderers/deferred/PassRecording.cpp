#include "engine/GraphicsSystem.hpp"
#include "graphics/ModelCollection.hpp"
#include "renderers/deferred/DeferredRenderer.hpp"

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

void recordScreenPass(TextureRenderTargetPipeline2& pipeline, VkCommandBuffer commandBuffer, std::uint32_t frameIndex)
{
    beginTextureRenderTargetPipeline2(pipeline, commandBuffer, frameIndex);
    drawScreenTriangle(commandBuffer);
    endTextureRenderTargetPipeline2(pipeline, commandBuffer);
}
}

void DeferredRenderer::beginGeometryPass(VkCommandBuffer commandBuffer, std::uint32_t frameIndex)
{
    beginTextureRenderTargetPipeline2(gBufferPipeline, commandBuffer, frameIndex);
}

void DeferredRenderer::endGeometryPass(VkCommandBuffer commandBuffer)
{
    endTextureRenderTargetPipeline2(gBufferPipeline, commandBuffer);
}

void DeferredRenderer::recordLightingPasses(VkCommandBuffer commandBuffer, std::uint32_t frameIndex, float time)
{
    const FrameInfo frame{commandBuffer, frameIndex, 0};
    if (compositePushConstants.oceanDisabled == 0)
    {
        oceanPushConstants.time = time;
        pushFragmentConstants(commandBuffer, oceanPipeline, oceanPushConstants);
        beginTextureRenderTargetPipeline2(oceanPipeline, commandBuffer, frameIndex);
        drawMesh(*oceanMesh, frame);
        endTextureRenderTargetPipeline2(oceanPipeline, commandBuffer);
    }

    recordScreenPass(ssaoPipeline, commandBuffer, frameIndex);

    pushFragmentConstants(commandBuffer, pointLightPipeline, pointLightMode);
    beginTextureRenderTargetPipeline2(pointLightPipeline, commandBuffer, frameIndex);
    drawInstancedMesh(*pointLightMesh, frame);
    endTextureRenderTargetPipeline2(pointLightPipeline, commandBuffer);
}

void DeferredRenderer::beginSecondPass(VkCommandBuffer commandBuffer, std::uint32_t frameIndex)
{
    beginTextureRenderTargetPipeline2(directionalLightPipeline, commandBuffer, frameIndex);
}

void DeferredRenderer::endSecondPass(VkCommandBuffer commandBuffer)
{
    endTextureRenderTargetPipeline2(directionalLightPipeline, commandBuffer);
}

void DeferredRenderer::recordPostProcessPasses(VkCommandBuffer commandBuffer, std::uint32_t frameIndex,
                                               std::uint32_t imageIndex)
{
    pushFragmentConstants(commandBuffer, compositePipeline, compositePushConstants);
    recordScreenPass(compositePipeline, commandBuffer, frameIndex);

    for (std::int32_t iteration = 0; iteration < blurIterations; ++iteration)
    {
        pushFragmentConstants(commandBuffer, firstBlurPipeline, BlurPushConstants{1, 1.5f});
        recordScreenPass(firstBlurPipeline, commandBuffer, frameIndex);
        pushFragmentConstants(commandBuffer, secondBlurPipeline, BlurPushConstants{0, 1.5f});
        recordScreenPass(secondBlurPipeline, commandBuffer, frameIndex);
    }

    pushFragmentConstants(commandBuffer, colourGradingPipeline, colourGradingPushConstants);
    beginPipeline2(colourGradingPipeline, commandBuffer, frameIndex, imageIndex);
    drawScreenTriangle(commandBuffer);
    vkCmdEndRenderPass(commandBuffer);
}

void drawModelCollection(const DeferredRenderer& renderer, const ModelCollection& collection, const FrameInfo& frame,
                         bool withMaterials)
{
    for (std::size_t model = 0; model < collection.meshes.size(); ++model)
    {
        const InstancedMesh& mesh = *collection.meshes[model];
        if (instanceCount(mesh) == 0)
        {
            continue;
        }
        if (withMaterials)
        {
            pushFragmentConstants(frame.commandBuffer, renderer.gBufferPipeline, collection.materials[model]);
        }
        drawInstancedMesh(mesh, frame);
    }
}
