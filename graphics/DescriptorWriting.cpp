#include "graphics/DescriptorWriting.hpp"

#include "engine/GraphicsSystem.hpp"

#include <cstdint>

DescriptorInput uniformInput(const UniformBufferCollection& collection, VkDeviceSize blockSize)
{
    DescriptorInput input;
    input.type = VK_DESCRIPTOR_TYPE_UNIFORM_BUFFER;
    input.buffers = {collection.buffers[0].buffer, collection.buffers[1].buffer};
    input.range = blockSize;
    return input;
}

DescriptorInput imageInput(const TextureCollection& collection, VkSampler sampler)
{
    DescriptorInput input;
    input.type = VK_DESCRIPTOR_TYPE_COMBINED_IMAGE_SAMPLER;
    for (std::size_t frame = 0; frame < input.views.size(); ++frame)
    {
        input.views[frame] = collection.textures[frame] != nullptr ? collection.textures[frame]->image.view
                                                                   : VK_NULL_HANDLE;
    }
    input.sampler = sampler;
    return input;
}

DescriptorInput imageInput(const Texture& texture, VkSampler sampler)
{
    DescriptorInput input;
    input.type = VK_DESCRIPTOR_TYPE_COMBINED_IMAGE_SAMPLER;
    input.views = {texture.image.view, texture.image.view};
    input.sampler = sampler;
    return input;
}

void writeDescriptorSets(Pipeline2& pipeline, const std::vector<DescriptorInput>& inputs)
{
    const VkDevice device = pipeline.graphicsSystem->logicalDevice.device;
    for (std::uint32_t frame = 0; frame < framesInFlight; ++frame)
    {
        // A pipeline whose creation failed before its sets were allocated has
        // none; the driver must not be handed a null set.
        if (pipeline.descriptorSets[frame] == VK_NULL_HANDLE)
        {
            continue;
        }
        // Sized up front: the writes point into these lists.
        std::vector<VkDescriptorBufferInfo> bufferInfos(inputs.size());
        std::vector<VkDescriptorImageInfo> imageInfos(inputs.size());
        std::vector<VkWriteDescriptorSet> writes;
        writes.reserve(inputs.size());
        for (std::uint32_t binding = 0; binding < inputs.size(); ++binding)
        {
            const DescriptorInput& input = inputs[binding];
            VkWriteDescriptorSet write{};
            write.sType = VK_STRUCTURE_TYPE_WRITE_DESCRIPTOR_SET;
            write.dstSet = pipeline.descriptorSets[frame];
            write.dstBinding = binding;
            write.dstArrayElement = 0;
            write.descriptorCount = 1;
            write.descriptorType = input.type;
            if (input.type == VK_DESCRIPTOR_TYPE_UNIFORM_BUFFER)
            {
                bufferInfos[binding] = {input.buffers[frame], 0, input.range};
                write.pBufferInfo = &bufferInfos[binding];
            }
            else
            {
                imageInfos[binding] = {input.sampler, input.views[frame], VK_IMAGE_LAYOUT_SHADER_READ_ONLY_OPTIMAL};
                write.pImageInfo = &imageInfos[binding];
            }
            writes.push_back(write);
        }
        vkUpdateDescriptorSets(device, static_cast<std::uint32_t>(writes.size()), writes.data(), 0, nullptr);
    }
}
