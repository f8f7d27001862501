#include "graphics/VertexLayouts.hpp"

std::vector<VkVertexInputAttributeDescription> buildVertexAttributes(std::span<const VertexAttributeKind> kinds)
{
    std::vector<VkVertexInputAttributeDescription> attributes;
    attributes.reserve(kinds.size());
    std::uint32_t offset = 0;
    for (VertexAttributeKind kind : kinds)
    {
        const auto location = static_cast<std::uint32_t>(attributes.size());
        attributes.push_back({location, vertexBinding, vertexAttributeFormat(kind), offset});
        offset += vertexAttributeSize(kind);
    }
    return attributes;
}

std::vector<VkVertexInputAttributeDescription> modelVertexAttributes()
{
    return buildVertexAttributes(ModelVertex::attributeKinds);
}

void addVec4InstanceAttribute(std::vector<VkVertexInputAttributeDescription>& attributes, std::uint32_t& location,
                              std::uint32_t binding, std::uint32_t& offset)
{
    attributes.push_back({location, binding, VK_FORMAT_R32G32B32A32_SFLOAT, offset});
    location += 1;
    offset += instanceColumnSize;
}

void addMat4InstanceAttributes(std::vector<VkVertexInputAttributeDescription>& attributes, std::uint32_t& location,
                               std::uint32_t binding, std::uint32_t& offset)
{
    for (int column = 0; column < 4; ++column)
    {
        addVec4InstanceAttribute(attributes, location, binding, offset);
    }
}

VkPipelineVertexInputStateCreateInfo vertexInputState(const VertexInput& input)
{
    VkPipelineVertexInputStateCreateInfo state{};
    state.sType = VK_STRUCTURE_TYPE_PIPELINE_VERTEX_INPUT_STATE_CREATE_INFO;
    state.vertexBindingDescriptionCount = static_cast<std::uint32_t>(input.bindings.size());
    state.pVertexBindingDescriptions = input.bindings.data();
    state.vertexAttributeDescriptionCount = static_cast<std::uint32_t>(input.attributes.size());
    state.pVertexAttributeDescriptions = input.attributes.data();
    return state;
}
