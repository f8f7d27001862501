#pragma once

#include <vulkan/vulkan.h>

#include <cstdint>
#include <string>
#include <vector>

// Every attachment of a pipeline blends the same way.
enum class BlendMode : std::uint32_t
{
    Additive = 0,
    AlphaBlend = 1,
    Opaque = 2,
};

struct PipelineShader
{
    VkShaderStageFlagBits stage;
    std::string path;
};

// The binding number is the position in the description's list.
struct PipelineDescriptorBinding
{
    VkDescriptorType descriptorType;
    VkShaderStageFlags stageFlags;
};

// Ranges are packed: each starts where the one before it ends.
struct PipelinePushConstantRange
{
    VkShaderStageFlags stageFlags;
    std::uint32_t size;
};

// The fixed-function state that differs between pipelines; owners fill it field
// by field. The defaults only keep an unset field valid.
struct PipelineDescription
{
    std::vector<PipelineShader> shaders;
    VkPrimitiveTopology topology = VK_PRIMITIVE_TOPOLOGY_TRIANGLE_LIST;
    VkPolygonMode polygonMode = VK_POLYGON_MODE_FILL;
    VkCullModeFlags cullMode = VK_CULL_MODE_NONE;
    VkFrontFace frontFace = VK_FRONT_FACE_COUNTER_CLOCKWISE;
    float lineWidth = 1.0f;
    bool depthTest = false;
    bool depthWrite = false;
    VkCompareOp depthCompareOp = VK_COMPARE_OP_LESS;
    BlendMode blendMode = BlendMode::Opaque;
    std::vector<VkDynamicState> dynamicStates;
    std::vector<PipelineDescriptorBinding> descriptorBindings;
    std::vector<PipelinePushConstantRange> pushConstantRanges;
    VkAttachmentLoadOp colourLoadOp = VK_ATTACHMENT_LOAD_OP_CLEAR;
    VkAttachmentLoadOp depthLoadOp = VK_ATTACHMENT_LOAD_OP_DONT_CARE;
    bool hasDepthAttachment = false;
};
