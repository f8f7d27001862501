#include "renderers/Hud.hpp"

#include "engine/GraphicsSystem.hpp"
#include "graphics/DescriptorWriting.hpp"
#include "graphics/Pipeline2.hpp"
#include "graphics/PipelineStates.hpp"
#include "graphics/Texture.hpp"


MeshData<ScreenVertex> createHudQuad(float width, float height, float pivotX, float pivotY)
{
    return {{{{-pivotX, -pivotY}, {0.0f, 0.0f}},
             {{-pivotX, height - pivotY}, {0.0f, 1.0f}},
             {{width - pivotX, -pivotY}, {1.0f, 0.0f}},
             {{width - pivotX, height - pivotY}, {1.0f, 1.0f}}},
            {0, 1, 2, 2, 1, 3}};
}

PipelineDescription describeScreenPipeline(const std::string& vertexShader, const std::string& fragmentShader,
                                           VkAttachmentLoadOp colourLoadOp)
{
    PipelineDescription description;
    description.shaders = {{VK_SHADER_STAGE_VERTEX_BIT, vertexShader}, {VK_SHADER_STAGE_FRAGMENT_BIT, fragmentShader}};
    description.cullMode = VK_CULL_MODE_BACK_BIT;
    description.blendMode = BlendMode::AlphaBlend;
    description.descriptorBindings = {{VK_DESCRIPTOR_TYPE_UNIFORM_BUFFER, VK_SHADER_STAGE_VERTEX_BIT},
                                      {VK_DESCRIPTOR_TYPE_COMBINED_IMAGE_SAMPLER, VK_SHADER_STAGE_FRAGMENT_BIT}};
    description.pushConstantRanges = {{VK_SHADER_STAGE_VERTEX_BIT, 64}};
    description.colourLoadOp = colourLoadOp;
    return description;
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
    writeDescriptorSets(pipeline, {uniformInput(uniforms), imageInput(texture, sampler)});
}
