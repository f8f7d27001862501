#include "renderers/deferred/SsaoKernel.hpp"

#include "engine/GraphicsSystem.hpp"
#include "engine/Log.hpp"
#include "graphics/UniformBuffers.hpp"
#include "renderers/deferred/DeferredRenderer.hpp"
#include "renderers/deferred/DescriptorWriters.hpp"

#include <cmath>
#include <cstring>

SsaoKernelUniforms computeSsaoKernel()
{
    SsaoKernelUniforms kernel;
    for (std::size_t i = 0; i < kernel.samples.size(); ++i)
    {
        const float t = static_cast<float>(i) * 0.0625f;
        const float theta = std::acos(2.0f * t - 1.0f);
        const float phi = (static_cast<float>(i) * 6.2831855f) / 2.618034f;
        const float length = t * t * 0.9f + 0.1f;
        kernel.samples[i] = {std::cos(phi) * std::sin(theta) * length, std::sin(phi) * std::sin(theta) * length,
                             std::abs(std::cos(theta)) * length, 0.0f};
    }
    return kernel;
}

bool DeferredRenderer::initialiseSsaoPass()
{
    if (!createTextureRenderTargetPipeline2<NoVertex>(ssaoPipeline, ssaoDescription, {ssaoTarget}))
    {
        return false;
    }
    std::optional<UniformBufferCollection> kernelBuffers =
        createUniformBufferCollection<sizeof(SsaoKernelUniforms)>(*graphics);
    if (!kernelBuffers)
    {
        logError("Ambient occlusion kernel uniform buffers could not be created.");
        return false;
    }
    ssaoKernelUniforms = *kernelBuffers;
    const SsaoKernelUniforms kernel = computeSsaoKernel();
    for (const UniformBuffer& buffer : ssaoKernelUniforms.buffers)
    {
        std::memcpy(buffer.mapped, &kernel, sizeof(kernel));
    }
    writeSsaoDescriptorSets(ssaoPipeline, cameraUniforms, ssaoKernelUniforms, gBufferTarget1, gBufferTarget2,
                            nearestSampler);
    return true;
}
