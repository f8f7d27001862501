#include "graphics/VertexLayouts.hpp"

#include <gtest/gtest.h>

#include <cstddef>

namespace
{
struct Attribute
{
    std::uint32_t location;
    std::uint32_t binding;
    VkFormat format;
    std::uint32_t offset;
};

void expectAttributes(const std::vector<VkVertexInputAttributeDescription>& actual,
                      const std::vector<Attribute>& expected)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
    {
        SCOPED_TRACE(i);
        EXPECT_EQ(actual[i].location, expected[i].location);
        EXPECT_EQ(actual[i].binding, expected[i].binding);
        EXPECT_EQ(actual[i].format, expected[i].format);
        EXPECT_EQ(actual[i].offset, expected[i].offset);
    }
}

constexpr VkFormat vec2 = VK_FORMAT_R32G32_SFLOAT;
constexpr VkFormat vec3 = VK_FORMAT_R32G32B32_SFLOAT;
constexpr VkFormat vec4 = VK_FORMAT_R32G32B32A32_SFLOAT;

TEST(VertexLayoutsTest, VertexAttributesSitOnTheirFieldsAndInstanceColumnsFollowThemOnBindingOne)
{
    const VertexInput model = buildVertexInput<ModelVertex, TwoMatrixInstance>();
    std::vector<Attribute> expected{{0, 0, vec3, offsetof(ModelVertex, position)},
                                    {1, 0, vec2, offsetof(ModelVertex, texCoord)},
                                    {2, 0, vec3, offsetof(ModelVertex, normal)},
                                    {3, 0, vec3, offsetof(ModelVertex, tangent)}};
    for (std::uint32_t column = 0; column < 8; ++column)
    {
        expected.push_back({4 + column, 1, vec4, 16 * column});
    }
    expectAttributes(model.attributes, expected);
    EXPECT_EQ(expected[8].offset, offsetof(TwoMatrixInstance, normalMatrix));
    ASSERT_EQ(model.bindings.size(), 2u);
    EXPECT_EQ(model.bindings[0].inputRate, VK_VERTEX_INPUT_RATE_VERTEX);
    EXPECT_EQ(model.bindings[1].binding, 1u);
    EXPECT_EQ(model.bindings[1].stride, sizeof(TwoMatrixInstance));
    EXPECT_EQ(model.bindings[1].inputRate, VK_VERTEX_INPUT_RATE_INSTANCE);
    expectAttributes(buildVertexInput<PositionVertex, PointLightInstance>().attributes,
                     {{0, 0, vec3, 0}, {1, 1, vec4, 0}, {2, 1, vec4, 16}});

    EXPECT_EQ(buildVertexInput<ScreenVertex>().bindings.size(), 1u);
    EXPECT_TRUE(buildVertexInput<NoVertex>().bindings.empty());
    EXPECT_EQ(vertexAttributeFormat(static_cast<VertexAttributeKind>(9)), VK_FORMAT_UNDEFINED);
    EXPECT_EQ(vertexAttributeSize(static_cast<VertexAttributeKind>(9)), 0u);
}
}
