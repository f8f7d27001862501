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

TEST(VertexLayoutsTest, VertexAttributesMatchTheFieldsOfEachLayout)
{
    expectAttributes(modelVertexAttributes(), {{0, 0, vec3, offsetof(ModelVertex, position)},
                                               {1, 0, vec2, offsetof(ModelVertex, texCoord)},
                                               {2, 0, vec3, offsetof(ModelVertex, normal)},
                                               {3, 0, vec3, offsetof(ModelVertex, tangent)}});
    EXPECT_EQ(modelVertexAttributes()[3].offset, 32u);
    expectAttributes(buildVertexAttributes(LineVertex::attributeKinds),
                     {{0, 0, vec3, offsetof(LineVertex, position)}, {1, 0, vec3, offsetof(LineVertex, colour)}});
    expectAttributes(buildVertexAttributes(ScreenVertex::attributeKinds),
                     {{0, 0, vec2, offsetof(ScreenVertex, position)}, {1, 0, vec2, offsetof(ScreenVertex, texCoord)}});
    EXPECT_EQ(vertexStride<ModelVertex>(), 44u);
    EXPECT_EQ(vertexStride<LineVertex>(), 24u);
    EXPECT_EQ(vertexStride<ScreenVertex>(), 16u);
    EXPECT_EQ(vertexStride<PositionVertex>(), 12u);
}

TEST(VertexLayoutsTest, UnknownAttributeKindHasNoFormatAndNoSize)
{
    EXPECT_EQ(vertexAttributeFormat(VertexAttributeKind::Uint4), VK_FORMAT_R32G32B32A32_UINT);
    EXPECT_EQ(vertexAttributeSize(VertexAttributeKind::Float4Extra), 16u);
    EXPECT_EQ(vertexAttributeFormat(static_cast<VertexAttributeKind>(9)), VK_FORMAT_UNDEFINED);
    EXPECT_EQ(vertexAttributeSize(static_cast<VertexAttributeKind>(9)), 0u);
}

TEST(VertexLayoutsTest, InstanceColumnsFollowTheVertexLocationsOnBindingOne)
{
    const VertexInput modelInput = buildVertexInput<ModelVertex, ModelInstance>();
    ASSERT_EQ(modelInput.bindings.size(), 2u);
    EXPECT_EQ(modelInput.bindings[0].binding, 0u);
    EXPECT_EQ(modelInput.bindings[0].stride, 44u);
    EXPECT_EQ(modelInput.bindings[0].inputRate, VK_VERTEX_INPUT_RATE_VERTEX);
    EXPECT_EQ(modelInput.bindings[1].binding, 1u);
    EXPECT_EQ(modelInput.bindings[1].stride, 64u);
    EXPECT_EQ(modelInput.bindings[1].inputRate, VK_VERTEX_INPUT_RATE_INSTANCE);
    expectAttributes({modelInput.attributes.begin() + 4, modelInput.attributes.end()},
                     {{4, 1, vec4, 0}, {5, 1, vec4, 16}, {6, 1, vec4, 32}, {7, 1, vec4, 48}});

    const VertexInput twoMatrixInput = buildVertexInput<ModelVertex, TwoMatrixInstance>();
    EXPECT_EQ(twoMatrixInput.bindings[1].stride, 128u);
    ASSERT_EQ(twoMatrixInput.attributes.size(), 12u);
    for (std::uint32_t column = 0; column < 8; ++column)
    {
        EXPECT_EQ(twoMatrixInput.attributes[4 + column].location, 4 + column);
        EXPECT_EQ(twoMatrixInput.attributes[4 + column].offset, 16 * column);
    }
    EXPECT_EQ(offsetof(TwoMatrixInstance, normalMatrix), twoMatrixInput.attributes[8].offset);

    const VertexInput lightInput = buildVertexInput<PositionVertex, PointLightInstance>();
    EXPECT_EQ(lightInput.bindings[0].stride, 12u);
    EXPECT_EQ(lightInput.bindings[1].stride, 32u);
    expectAttributes(lightInput.attributes, {{0, 0, vec3, 0}, {1, 1, vec4, 0}, {2, 1, vec4, 16}});
}

TEST(VertexLayoutsTest, LayoutsWithoutInstancesDeclareOnlyBindingZeroAndNoVertexNone)
{
    const VertexInput screenInput = buildVertexInput<ScreenVertex>();
    ASSERT_EQ(screenInput.bindings.size(), 1u);
    EXPECT_EQ(screenInput.bindings[0].stride, 16u);
    EXPECT_EQ(screenInput.attributes.size(), 2u);

    const VertexInput noInput = buildVertexInput<NoVertex>();
    EXPECT_TRUE(noInput.bindings.empty());
    EXPECT_TRUE(noInput.attributes.empty());

    const VertexInput positionInput = buildVertexInput<PositionVertex>();
    const VkPipelineVertexInputStateCreateInfo state = vertexInputState(positionInput);
    EXPECT_EQ(state.vertexBindingDescriptionCount, 1u);
    EXPECT_EQ(state.pVertexBindingDescriptions, positionInput.bindings.data());
    EXPECT_EQ(state.vertexAttributeDescriptionCount, 1u);
}
}
