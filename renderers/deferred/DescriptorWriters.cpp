#include "renderers/deferred/DescriptorWriters.hpp"

#include "engine/GraphicsSystem.hpp"
#include "renderers/deferred/DeferredUniforms.hpp"

#include <cstdint>

namespace
{
constexpr VkDeviceSize cameraBlockSize = sizeof(CameraUniforms);
constexpr VkDeviceSize lightBlockSize = sizeof(LightUniforms);
}

void writeGBufferDescriptorSets(Pipeline2& pipeline, const UniformBufferCollection& camera, const Texture& albedo,
                                const Texture& normal, const Texture& arme, VkSampler sampler)
{
    writeDescriptorSets(pipeline, {uniformInput(camera, cameraBlockSize), imageInput(albedo, sampler),
                                   imageInput(normal, sampler), imageInput(arme, sampler)});
}

void writeOceanDescriptorSets(Pipeline2& pipeline, const UniformBufferCollection& camera,
                              const TextureCollection& depth, VkSampler depthSampler, const Texture& firstWave,
                              const Texture& secondWave, VkSampler sampler)
{
    writeDescriptorSets(pipeline, {uniformInput(camera, cameraBlockSize), imageInput(depth, depthSampler),
                                   imageInput(firstWave, sampler), imageInput(secondWave, sampler)});
}

void writeSsaoDescriptorSets(Pipeline2& pipeline, const UniformBufferCollection& camera,
                             const UniformBufferCollection& kernel, const TextureCollection& normals,
                             const TextureCollection& depths, VkSampler sampler)
{
    writeDescriptorSets(pipeline, {uniformInput(camera, cameraBlockSize),
                                   uniformInput(kernel, sizeof(SsaoKernelUniforms)), imageInput(normals, sampler),
                                   imageInput(depths, sampler)});
}

void writePointLightDescriptorSets(Pipeline2& pipeline, const UniformBufferCollection& camera,
                                   const std::array<TextureCollection, 4>& gBuffer, VkSampler sampler)
{
    std::vector<DescriptorInput> inputs{uniformInput(camera, cameraBlockSize)};
    for (const TextureCollection& target : gBuffer)
    {
        inputs.push_back(imageInput(target, sampler));
    }
    writeDescriptorSets(pipeline, inputs);
}

void writeDirectionalLightDescriptorSets(Pipeline2& pipeline, const UniformBufferCollection& light)
{
    writeDescriptorSets(pipeline, {uniformInput(light, lightBlockSize)});
}

void writePbrCompositeDescriptorSets(Pipeline2& pipeline, const CompositeInputs& images,
                                     const UniformBufferCollection& sphericalHarmonics,
                                     const UniformBufferCollection& light, const UniformBufferCollection& camera,
                                     VkSampler sampler, VkSampler edgeSampler, VkSampler environmentSampler)
{
    std::vector<DescriptorInput> inputs;
    for (const TextureCollection& target : images.gBuffer)
    {
        inputs.push_back(imageInput(target, sampler));
    }
    inputs.push_back(imageInput(images.ssao, edgeSampler));
    inputs.push_back(imageInput(images.pointLights, sampler));
    // Gathered: clamped to the map's edge, so a receiver there does not read the opposite side.
    inputs.push_back(imageInput(images.shadow, edgeSampler));
    inputs.push_back(imageInput(*images.environment, environmentSampler));
    inputs.push_back(imageInput(*images.brdfLookup, edgeSampler));
    inputs.push_back(uniformInput(sphericalHarmonics, sizeof(SphericalHarmonicsUniforms)));
    inputs.push_back(uniformInput(light, lightBlockSize));
    inputs.push_back(uniformInput(camera, cameraBlockSize));
    writeDescriptorSets(pipeline, inputs);
}

void writeBlurDescriptorSets(Pipeline2& pipeline, const TextureCollection& source, VkSampler sampler)
{
    writeDescriptorSets(pipeline, {imageInput(source, sampler)});
}

void writeColourGradingDescriptorSets(Pipeline2& pipeline, const TextureCollection& composite,
                                      const TextureCollection& blur, VkSampler sampler)
{
    writeDescriptorSets(pipeline, {imageInput(composite, sampler), imageInput(blur, sampler)});
}
