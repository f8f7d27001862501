#pragma once

#include "engine/vulkan/ResourceRecords.hpp"
#include "graphics/DescriptorWriting.hpp"
#include "graphics/Pipeline2.hpp"
#include "graphics/Texture.hpp"

#include <vulkan/vulkan.h>

#include <array>
#include <vector>

void writeGBufferDescriptorSets(Pipeline2& pipeline, const UniformBufferCollection& camera, const Texture& albedo,
                                const Texture& normal, const Texture& arme, VkSampler sampler);
void writeOceanDescriptorSets(Pipeline2& pipeline, const UniformBufferCollection& camera,
                              const TextureCollection& depth, VkSampler depthSampler, const Texture& firstWave,
                              const Texture& secondWave, VkSampler sampler);
void writeSsaoDescriptorSets(Pipeline2& pipeline, const UniformBufferCollection& camera,
                             const UniformBufferCollection& kernel, const TextureCollection& normals,
                             const TextureCollection& depths, VkSampler sampler);
void writePointLightDescriptorSets(Pipeline2& pipeline, const UniformBufferCollection& camera,
                                   const std::array<TextureCollection, 4>& gBuffer, VkSampler sampler);
void writeDirectionalLightDescriptorSets(Pipeline2& pipeline, const UniformBufferCollection& light);

// The images the composite pass reads, in binding order.
struct CompositeInputs
{
    std::array<TextureCollection, 4> gBuffer;
    TextureCollection ssao;
    TextureCollection pointLights;
    TextureCollection shadow;
    const Texture* environment = nullptr;
    const Texture* brdfLookup = nullptr;
};
// The ambient occlusion and the BRDF table go through `edgeSampler`, the
// environment through `environmentSampler`, the rest through `sampler`.
void writePbrCompositeDescriptorSets(Pipeline2& pipeline, const CompositeInputs& images,
                                     const UniformBufferCollection& sphericalHarmonics,
                                     const UniformBufferCollection& light, const UniformBufferCollection& camera,
                                     VkSampler sampler, VkSampler edgeSampler, VkSampler environmentSampler);
void writeBlurDescriptorSets(Pipeline2& pipeline, const TextureCollection& source, VkSampler sampler);
void writeColourGradingDescriptorSets(Pipeline2& pipeline, const TextureCollection& composite,
                                      const TextureCollection& blur, VkSampler sampler);
