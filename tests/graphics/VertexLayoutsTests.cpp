#include "graphics/VertexLayouts.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cstddef>

namespace
{
// Location, binding, format and offset of each attribute.
using Attributes = std::vector<std::array<std::uint32_t, 4>>;

Attributes attributesOf(const VertexInput& input)
{
    Attributes attributes;
    for (const VkVertexInputAttributeDescription& attribute : input.attributes)
    {
        attributes.push_back(
            {attribute.location, attribute.binding, static_cast<std::uint32_t>(attribute.format), attribute.offset});
    }
    return attributes;
}

constexpr std::uint32_t vec2 = VK_FORMAT_R32G32_SFLOAT;
constexpr std::uint32_t vec3 = VK_FORMAT_R32G32B32_SFLOAT;
constexpr std::uint32_t vec4 = VK_FORMAT_R32G32B32A32_SFLOAT;

TEST(VertexLayoutsTest, VertexAttributesSitOnTheirFieldsInstanceColumnsFollowOnBindingOneAndUnknownKindsTakeNoRoom)
{
    Attributes expected{{0, 0, vec3, offsetof(ModelVertex, position)},
                        {1, 0, vec2, offsetof(ModelVertex, texCoord)},
                        {2, 0, vec3, offsetof(ModelVertex, normal)},
                        {3, 0, vec3, offsetof(ModelVertex, tangent)}};
    for (std::uint32_t column = 0; column < 8; ++column)
    {
        expected.push_back({4 + column, 1, vec4, 16 * column});
    }
    EXPECT_EQ(attributesOf(buildVertexInput<ModelVertex, TwoMatrixInstance>()), expected);
    EXPECT_EQ(expected[8][3], offsetof(TwoMatrixInstance, normalMatrix));
    EXPECT_EQ(attributesOf(buildVertexInput<PositionVertex, PointLightInstance>()),
              (Attributes{{0, 0, vec3, 0}, {1, 1, vec4, 0}, {2, 1, vec4, 16}}));
    EXPECT_EQ(vertexAttributeFormat(static_cast<VertexAttributeKind>(9)), VK_FORMAT_UNDEFINED);
    EXPECT_EQ(vertexAttributeSize(static_cast<VertexAttributeKind>(9)), 0u);
}
}
