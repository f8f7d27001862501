#include "renderers/deferred/DeferredRenderer.hpp"

#include "engine/GraphicsSystem.hpp"
#include "renderers/deferred/PassDescriptions.hpp"

DeferredRenderer::DeferredRenderer(GraphicsSystem* graphics, std::uint32_t pointLightCapacity, VkSampler sampler)
    : gBufferTessellationPipeline(graphics), gBufferTessellationLoadPipeline(graphics), gBufferPipeline(graphics),
      pointLights(pointLightCapacity), pointLightCapacity(pointLightCapacity), graphics(graphics), sampler(sampler),
      textures{graphics, {}, {}}, meshes{graphics, {}, {}}, oceanPipeline(graphics), ssaoPipeline(graphics),
      pointLightPipeline(graphics), directionalLightPipeline(graphics), compositePipeline(graphics),
      firstBlurPipeline(graphics), secondBlurPipeline(graphics), colourGradingPipeline(graphics),
      gBufferDescription(describeGBufferPass()),
      gBufferTessellationDescription(describeGBufferTessellationPass(VK_ATTACHMENT_LOAD_OP_CLEAR)),
      gBufferTessellationLoadDescription(describeGBufferTessellationPass(VK_ATTACHMENT_LOAD_OP_LOAD)),
      oceanDescription(describeOceanPass()), ssaoDescription(describeSsaoPass()),
      pointLightDescription(describePointLightPass()), directionalLightDescription(describeDirectionalLightPass()),
      compositeDescription(describeCompositePass()), blurDescription(describeBlurPass()),
      colourGradingDescription(describeColourGradingPass())
{
}

DeferredRenderer::~DeferredRenderer() = default;

namespace
{
// The pipeline may be created again afterwards: its targets and clear values
// are appended at creation.
void destroyTargetPipeline(TextureRenderTargetPipeline2& pipeline)
{
    destroyPipeline2(pipeline);
    pipeline.frameTargets = {};
    pipeline.clearValues.clear();
}
}

void DeferredRenderer::release()
{
    destroyMeshes(meshes);
    destroyTextures(textures);
    // The records point into the containers just emptied.
    pointLightMesh = nullptr;
    oceanMesh = nullptr;
    firstWaveTexture = nullptr;
    secondWaveTexture = nullptr;
    brdfLookupTexture = nullptr;
    depthSampler = VK_NULL_HANDLE;
    edgeSampler = VK_NULL_HANDLE;
    linearSampler = VK_NULL_HANDLE;
    materialSampler = VK_NULL_HANDLE;
    nearestSampler = VK_NULL_HANDLE;
    environmentCubeTexture = {};
    renderTargets.reset();
    gBufferTarget0 = gBufferTarget1 = gBufferTarget2 = gBufferTarget3 = depthTarget = {};
    ssaoTarget = pointLightTarget = directionalLightTarget = compositeTarget = bloomTarget = blurTarget = {};

    graphics->destroyUniformBuffers(cameraUniforms);
    graphics->destroyUniformBuffers(ssaoKernelUniforms);
    graphics->destroyUniformBuffers(shUniforms);
    graphics->destroyUniformBuffers(lightUniforms);

    destroyTargetPipeline(gBufferPipeline);
    destroyTargetPipeline(gBufferTessellationLoadPipeline);
    destroyTargetPipeline(gBufferTessellationPipeline);
    destroyTargetPipeline(oceanPipeline);
    destroyTargetPipeline(ssaoPipeline);
    destroyTargetPipeline(pointLightPipeline);
    destroyTargetPipeline(directionalLightPipeline);
    destroyTargetPipeline(compositePipeline);
    destroyTargetPipeline(firstBlurPipeline);
    destroyTargetPipeline(secondBlurPipeline);
    destroyPipeline2(colourGradingPipeline);
    colourGradingPipeline.clearValues.clear();
}
