#pragma once

#include "engine/vulkan/ResourceRecords.hpp"
#include "graphics/Pipeline2.hpp"
#include "graphics/Texture.hpp"

#include <vulkan/vulkan.h>

#include <array>
#include <vector>

// One input of a pass, per frame in flight: a uniform buffer of the frame, or
// an image (the frame's render target, or one image for both frames).
struct DescriptorInput
{
    VkDescriptorType type = VK_DESCRIPTOR_TYPE_UNIFORM_BUFFER;
    std::array<VkBuffer, 2> buffers{};
    VkDeviceSize range = 0;
    std::array<VkImageView, 2> views{};
    VkSampler sampler = VK_NULL_HANDLE;
};

// The collection keeps no size of its own: without a block size the whole
// buffer is bound.
DescriptorInput uniformInput(const UniformBufferCollection& collection, VkDeviceSize blockSize = VK_WHOLE_SIZE);
DescriptorInput imageInput(const TextureCollection& collection, VkSampler sampler);
DescriptorInput imageInput(const Texture& texture, VkSampler sampler);

// For frame 0 and then frame 1, one write per input into the pipeline's
// descriptor set of that frame, the binding number being the input's position;
// nothing for a set that was never allocated.
void writeDescriptorSets(Pipeline2& pipeline, const std::vector<DescriptorInput>& inputs);
