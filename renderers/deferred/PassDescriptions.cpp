#include "renderers/deferred/PassDescriptions.hpp"

#include <cstddef>

namespace
{
constexpr VkShaderStageFlags vertexStage = VK_SHADER_STAGE_VERTEX_BIT;
constexpr VkShaderStageFlags fragmentStage = VK_SHADER_STAGE_FRAGMENT_BIT;
constexpr VkShaderStageFlags evaluationStage = VK_SHADER_STAGE_TESSELLATION_EVALUATION_BIT;

const char* const screenQuadShader = "Assets/QuorlDemoScene/Shaders/Screen Quad Shader.vert.spv";
const char* const gBufferFragmentShader = "Assets/ZavikDemoScene/Shaders/G-Buffer Shader.frag.spv";
// The model's material record.
constexpr std::uint32_t materialPushSize = 56;

PipelineDescriptorBinding uniform(VkShaderStageFlags stages)
{
    return {VK_DESCRIPTOR_TYPE_UNIFORM_BUFFER, stages};
}

PipelineDescriptorBinding image()
{
    return {VK_DESCRIPTOR_TYPE_COMBINED_IMAGE_SAMPLER, fragmentStage};
}

void addImages(PipelineDescription& description, std::size_t count)
{
    description.descriptorBindings.insert(description.descriptorBindings.end(), count, image());
}

PipelineDescription describe(std::vector<PipelineShader> shaders, VkCullModeFlags cullMode, BlendMode blendMode,
                             VkAttachmentLoadOp colourLoadOp, VkAttachmentLoadOp depthLoadOp, bool depth)
{
    PipelineDescription description;
    description.shaders = std::move(shaders);
    description.cullMode = cullMode;
    description.depthTest = true;
    description.depthWrite = true;
    description.blendMode = blendMode;
    description.colourLoadOp = colourLoadOp;
    description.depthLoadOp = depthLoadOp;
    description.hasDepthAttachment = depth;
    return description;
}

PipelineDescription describeScreenPass(const char* fragmentShader, BlendMode blendMode)
{
    return describe({{VK_SHADER_STAGE_VERTEX_BIT, screenQuadShader}, {VK_SHADER_STAGE_FRAGMENT_BIT, fragmentShader}},
                    VK_CULL_MODE_BACK_BIT, blendMode, VK_ATTACHMENT_LOAD_OP_CLEAR, VK_ATTACHMENT_LOAD_OP_DONT_CARE,
                    false);
}
}

PipelineDescription describeGBufferPass()
{
    PipelineDescription description =
        describe({{VK_SHADER_STAGE_VERTEX_BIT, "Assets/ZavikDemoScene/Shaders/Basic Shader PBR.vert.spv"},
                  {VK_SHADER_STAGE_FRAGMENT_BIT, gBufferFragmentShader}},
                 VK_CULL_MODE_BACK_BIT, BlendMode::Opaque, VK_ATTACHMENT_LOAD_OP_CLEAR, VK_ATTACHMENT_LOAD_OP_CLEAR,
                 true);
    description.descriptorBindings = {uniform(vertexStage)};
    addImages(description, 3);
    description.pushConstantRanges = {{fragmentStage, materialPushSize}};
    return description;
}

PipelineDescription describeGBufferTessellationPass(VkAttachmentLoadOp loadOp)
{
    PipelineDescription description =
        describe({{VK_SHADER_STAGE_VERTEX_BIT, "Assets/Shaders/Model Tessellation Shader.vert.spv"},
                  {VK_SHADER_STAGE_TESSELLATION_CONTROL_BIT, "Assets/Shaders/Model Tessellation Shader.tesc.spv"},
                  {VK_SHADER_STAGE_TESSELLATION_EVALUATION_BIT, "Assets/Shaders/Model Tessellation Shader.tese.spv"},
                  {VK_SHADER_STAGE_FRAGMENT_BIT, gBufferFragmentShader}},
                 VK_CULL_MODE_BACK_BIT, BlendMode::Opaque, loadOp, loadOp, true);
    description.topology = VK_PRIMITIVE_TOPOLOGY_PATCH_LIST;
    description.descriptorBindings = {uniform(evaluationStage)};
    addImages(description, 3);
    description.pushConstantRanges = {{fragmentStage, materialPushSize}, {evaluationStage, 4}};
    return description;
}

PipelineDescription describeOceanPass()
{
    PipelineDescription description =
        describe({{VK_SHADER_STAGE_VERTEX_BIT, "Assets/ZavikDemoScene/Shaders/Ocean Shader.vert.spv"},
                  {VK_SHADER_STAGE_FRAGMENT_BIT, "Assets/ZavikDemoScene/Shaders/Ocean Shader.frag.spv"}},
                 VK_CULL_MODE_NONE, BlendMode::Opaque, VK_ATTACHMENT_LOAD_OP_LOAD, VK_ATTACHMENT_LOAD_OP_DONT_CARE,
                 false);
    description.descriptorBindings = {uniform(vertexStage | fragmentStage)};
    addImages(description, 3);
    description.pushConstantRanges = {{fragmentStage, 20}};
    return description;
}

PipelineDescription describeSsaoPass()
{
    PipelineDescription description =
        describeScreenPass("Assets/ZavikDemoScene/Shaders/SSAO Shader.frag.spv", BlendMode::Opaque);
    description.descriptorBindings = {uniform(fragmentStage), uniform(fragmentStage)};
    addImages(description, 2);
    return description;
}

PipelineDescription describePointLightPass()
{
    PipelineDescription description =
        describe({{VK_SHADER_STAGE_VERTEX_BIT, "Assets/ZavikDemoScene/Shaders/PBR Lighting Shader.vert.spv"},
                  {VK_SHADER_STAGE_FRAGMENT_BIT, "Assets/ZavikDemoScene/Shaders/PBR Lighting Shader.frag.spv"}},
                 VK_CULL_MODE_FRONT_BIT, BlendMode::Additive, VK_ATTACHMENT_LOAD_OP_CLEAR,
                 VK_ATTACHMENT_LOAD_OP_DONT_CARE, false);
    description.descriptorBindings = {uniform(vertexStage | fragmentStage)};
    addImages(description, 4);
    description.pushConstantRanges = {{fragmentStage, 4}};
    return description;
}

PipelineDescription describeDirectionalLightPass()
{
    PipelineDescription description =
        describe({{VK_SHADER_STAGE_VERTEX_BIT, "Assets/ZavikDemoScene/Shaders/Directional Light.vert.spv"},
                  {VK_SHADER_STAGE_FRAGMENT_BIT, "Assets/ZavikDemoScene/Shaders/Directional Light.frag.spv"}},
                 VK_CULL_MODE_FRONT_BIT, BlendMode::Opaque, VK_ATTACHMENT_LOAD_OP_CLEAR, VK_ATTACHMENT_LOAD_OP_CLEAR,
                 true);
    description.descriptorBindings = {uniform(vertexStage)};
    return description;
}

PipelineDescription describeCompositePass()
{
    PipelineDescription description =
        describeScreenPass("Assets/ZavikDemoScene/Shaders/Ambient Shader.frag.spv", BlendMode::Additive);
    addImages(description, 9);
    description.descriptorBindings.insert(description.descriptorBindings.end(), 3, uniform(fragmentStage));
    description.pushConstantRanges = {{fragmentStage, 48}};
    return description;
}

PipelineDescription describeBlurPass()
{
    PipelineDescription description =
        describeScreenPass("Assets/ZavikDemoScene/Shaders/Blur Shader.frag.spv", BlendMode::Opaque);
    addImages(description, 1);
    description.pushConstantRanges = {{fragmentStage, 8}};
    return description;
}

PipelineDescription describeColourGradingPass()
{
    PipelineDescription description =
        describeScreenPass("Assets/ZavikDemoScene/Shaders/ColorGrading Shader.frag.spv", BlendMode::Opaque);
    addImages(description, 2);
    description.pushConstantRanges = {{fragmentStage, 20}};
    return description;
}
