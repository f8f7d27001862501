#include "graphics/PipelineStates.hpp"

std::vector<VkPushConstantRange> buildPushConstantRanges(const PipelineDescription& description)
{
    std::vector<VkPushConstantRange> ranges;
    ranges.reserve(description.pushConstantRanges.size());
    std::uint32_t offset = 0;
    for (const PipelinePushConstantRange& range : description.pushConstantRanges)
    {
        ranges.push_back({range.stageFlags, offset, range.size});
        offset += range.size;
    }
    return ranges;
}

std::vector<VkDynamicState> copyDynamicStates(const PipelineDescription& description)
{
    return description.dynamicStates;
}

std::vector<VkDescriptorType> buildDescriptorTypes(const PipelineDescription& description)
{
    std::vector<VkDescriptorType> types;
    types.reserve(description.descriptorBindings.size());
    for (const PipelineDescriptorBinding& binding : description.descriptorBindings)
    {
        types.push_back(binding.descriptorType);
    }
    return types;
}

void appendColourClearValues(std::vector<VkClearValue>& clearValues, std::uint32_t colourAttachmentCount)
{
    VkClearValue colour{};
    colour.color = {{0.0f, 0.0f, 0.0f, 0.0f}};
    clearValues.insert(clearValues.end(), colourAttachmentCount, colour);
}

void appendDepthClearValue(std::vector<VkClearValue>& clearValues, const PipelineDescription& description)
{
    if (description.hasDepthAttachment)
    {
        VkClearValue depth{};
        depth.depthStencil = {1.0f, 0};
        clearValues.push_back(depth);
    }
}

VkViewport viewportCovering(VkExtent2D extent)
{
    return {0.0f, 0.0f, static_cast<float>(extent.width), static_cast<float>(extent.height), 0.0f, 1.0f};
}

VkRect2D scissorCovering(VkExtent2D extent)
{
    return {{0, 0}, extent};
}

VkPipelineViewportStateCreateInfo viewportState(const std::vector<VkViewport>& viewports,
                                                const std::vector<VkRect2D>& scissors)
{
    VkPipelineViewportStateCreateInfo state{};
    state.sType = VK_STRUCTURE_TYPE_PIPELINE_VIEWPORT_STATE_CREATE_INFO;
    state.viewportCount = static_cast<std::uint32_t>(viewports.size());
    state.pViewports = viewports.data();
    state.scissorCount = static_cast<std::uint32_t>(scissors.size());
    state.pScissors = scissors.data();
    return state;
}

VkPipelineInputAssemblyStateCreateInfo inputAssemblyState(const PipelineDescription& description)
{
    VkPipelineInputAssemblyStateCreateInfo state{};
    state.sType = VK_STRUCTURE_TYPE_PIPELINE_INPUT_ASSEMBLY_STATE_CREATE_INFO;
    state.topology = description.topology;
    state.primitiveRestartEnable = VK_FALSE;
    return state;
}

std::optional<VkPipelineTessellationStateCreateInfo> tessellationState(const PipelineDescription& description)
{
    if (description.topology != VK_PRIMITIVE_TOPOLOGY_PATCH_LIST)
    {
        return std::nullopt;
    }
    VkPipelineTessellationStateCreateInfo state{};
    state.sType = VK_STRUCTURE_TYPE_PIPELINE_TESSELLATION_STATE_CREATE_INFO;
    state.patchControlPoints = 3;
    return state;
}

VkPipelineRasterizationStateCreateInfo rasterisationState(const PipelineDescription& description)
{
    VkPipelineRasterizationStateCreateInfo state{};
    state.sType = VK_STRUCTURE_TYPE_PIPELINE_RASTERIZATION_STATE_CREATE_INFO;
    state.depthClampEnable = VK_FALSE;
    state.rasterizerDiscardEnable = VK_FALSE;
    state.polygonMode = description.polygonMode;
    state.cullMode = description.cullMode;
    state.frontFace = description.frontFace;
    state.depthBiasEnable = VK_FALSE;
    state.lineWidth = description.lineWidth;
    return state;
}

VkPipelineMultisampleStateCreateInfo multisampleState()
{
    VkPipelineMultisampleStateCreateInfo state{};
    state.sType = VK_STRUCTURE_TYPE_PIPELINE_MULTISAMPLE_STATE_CREATE_INFO;
    state.rasterizationSamples = VK_SAMPLE_COUNT_1_BIT;
    state.sampleShadingEnable = VK_FALSE;
    state.alphaToCoverageEnable = VK_FALSE;
    state.alphaToOneEnable = VK_FALSE;
    return state;
}

VkPipelineDepthStencilStateCreateInfo depthStencilState(const PipelineDescription& description)
{
    VkPipelineDepthStencilStateCreateInfo state{};
    state.sType = VK_STRUCTURE_TYPE_PIPELINE_DEPTH_STENCIL_STATE_CREATE_INFO;
    state.depthTestEnable = description.depthTest ? VK_TRUE : VK_FALSE;
    state.depthWriteEnable = description.depthWrite ? VK_TRUE : VK_FALSE;
    state.depthCompareOp = description.depthCompareOp;
    state.depthBoundsTestEnable = VK_FALSE;
    state.stencilTestEnable = VK_FALSE;
    return state;
}

VkPipelineColorBlendAttachmentState colourBlendAttachmentState(BlendMode mode)
{
    VkPipelineColorBlendAttachmentState state{};
    state.colorBlendOp = VK_BLEND_OP_ADD;
    state.srcAlphaBlendFactor = VK_BLEND_FACTOR_ONE;
    state.dstAlphaBlendFactor = VK_BLEND_FACTOR_ZERO;
    state.alphaBlendOp = VK_BLEND_OP_ADD;
    state.colorWriteMask = VK_COLOR_COMPONENT_R_BIT | VK_COLOR_COMPONENT_G_BIT | VK_COLOR_COMPONENT_B_BIT |
                           VK_COLOR_COMPONENT_A_BIT;
    switch (mode)
    {
    case BlendMode::AlphaBlend:
        state.blendEnable = VK_TRUE;
        state.srcColorBlendFactor = VK_BLEND_FACTOR_SRC_ALPHA;
        state.dstColorBlendFactor = VK_BLEND_FACTOR_ONE_MINUS_SRC_ALPHA;
        break;
    case BlendMode::Opaque:
        state.blendEnable = VK_FALSE;
        state.srcColorBlendFactor = VK_BLEND_FACTOR_ONE;
        state.dstColorBlendFactor = VK_BLEND_FACTOR_ZERO;
        break;
    case BlendMode::Additive:
    default:
        state.blendEnable = VK_TRUE;
        state.srcColorBlendFactor = VK_BLEND_FACTOR_SRC_ALPHA;
        state.dstColorBlendFactor = VK_BLEND_FACTOR_ONE;
        break;
    }
    return state;
}

VkPipelineColorBlendStateCreateInfo colourBlendState(
    const std::vector<VkPipelineColorBlendAttachmentState>& attachments)
{
    VkPipelineColorBlendStateCreateInfo state{};
    state.sType = VK_STRUCTURE_TYPE_PIPELINE_COLOR_BLEND_STATE_CREATE_INFO;
    state.logicOpEnable = VK_FALSE;
    state.logicOp = VK_LOGIC_OP_COPY;
    state.attachmentCount = static_cast<std::uint32_t>(attachments.size());
    state.pAttachments = attachments.data();
    return state;
}

VkPipelineDynamicStateCreateInfo dynamicState(const std::vector<VkDynamicState>& dynamicStates)
{
    VkPipelineDynamicStateCreateInfo state{};
    state.sType = VK_STRUCTURE_TYPE_PIPELINE_DYNAMIC_STATE_CREATE_INFO;
    state.dynamicStateCount = static_cast<std::uint32_t>(dynamicStates.size());
    state.pDynamicStates = dynamicStates.data();
    return state;
}
