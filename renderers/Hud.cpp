#include "renderers/Hud.hpp"

#include "engine/GraphicsSystem.hpp"
#include "graphics/Pipeline2.hpp"
#include "graphics/PipelineStates.hpp"
#include "graphics/Texture.hpp"

#include <array>

MeshData<ScreenVertex> createHudQuad(float width, float height, float pivotX, float pivotY)
{
    return {{{{-pivotX, -pivotY}, {0.0f, 0.0f}},
             {{-pivotX, height - pivotY}, {0.0f, 1.0f}},
             {{width - pivotX, -pivotY}, {1.0f, 0.0f}},
             {{width - pivotX, height - pivotY}, {1.0f, 1.0f}}},
            {0, 1, 2, 2, 1, 3}};
}

bool createHudPipeline(Pipeline2& pipeline, const PipelineDescription& description)
{
    appendColourClearValues(pipeline.clearValues, 1);
    const VkExtent2D extent = pipeline.graphicsSystem->swapChain.extent;
    return createPipeline2<ScreenVertex>(pipeline, description, {viewportCovering(extent)}, {scissorCovering(extent)});
}

void writeHudDescriptorSets(Pipeline2& pipeline, const UniformBufferCollection& uniforms, const Texture& texture,
                            VkSampler sampler)
{
    VkDevice device = pipeline.graphicsSystem->logicalDevice.device;
    for (std::size_t frame = 0; frame < pipeline.descriptorSets.size(); ++frame)
    {
        const VkDescriptorBufferInfo bufferInfo{uniforms.buffers[frame].buffer, 0, VK_WHOLE_SIZE};
        const VkDescriptorImageInfo imageInfo{sampler, texture.image.view, VK_IMAGE_LAYOUT_SHADER_READ_ONLY_OPTIMAL};
        std::array<VkWriteDescriptorSet, 2> writes{};
        for (VkWriteDescriptorSet& write : writes)
        {
            write.sType = VK_STRUCTURE_TYPE_WRITE_DESCRIPTOR_SET;
            write.dstSet = pipeline.descriptorSets[frame];
            write.descriptorCount = 1;
        }
        writes[0].dstBinding = 0;
        writes[0].descriptorType = VK_DESCRIPTOR_TYPE_UNIFORM_BUFFER;
        writes[0].pBufferInfo = &bufferInfo;
        writes[1].dstBinding = 1;
        writes[1].descriptorType = VK_DESCRIPTOR_TYPE_COMBINED_IMAGE_SAMPLER;
        writes[1].pImageInfo = &imageInfo;
        vkUpdateDescriptorSets(device, static_cast<std::uint32_t>(writes.size()), writes.data(), 0, nullptr);
    }
}
