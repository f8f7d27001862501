#include "graphics/PipelineStates.hpp"

#include <gtest/gtest.h>

namespace
{
TEST(PipelineStatesTest, PushConstantRangesArePackedInOrder)
{
    PipelineDescription description;
    EXPECT_TRUE(buildPushConstantRanges(description).empty());

    description.pushConstantRanges = {{VK_SHADER_STAGE_VERTEX_BIT, 64},
                                      {VK_SHADER_STAGE_FRAGMENT_BIT, 4},
                                      {VK_SHADER_STAGE_FRAGMENT_BIT, 16}};
    const std::vector<VkPushConstantRange> ranges = buildPushConstantRanges(description);
    ASSERT_EQ(ranges.size(), 3u);
    EXPECT_EQ(ranges[0].stageFlags, VK_SHADER_STAGE_VERTEX_BIT);
    EXPECT_EQ(ranges[0].offset, 0u);
    EXPECT_EQ(ranges[0].size, 64u);
    EXPECT_EQ(ranges[1].stageFlags, VK_SHADER_STAGE_FRAGMENT_BIT);
    EXPECT_EQ(ranges[1].offset, 64u);
    EXPECT_EQ(ranges[1].size, 4u);
    EXPECT_EQ(ranges[2].offset, 68u);
}

TEST(PipelineStatesTest, BlendModesSetColourFactorsAndKeepAlphaAndWriteMask)
{
    struct Expected
    {
        BlendMode mode;
        VkBool32 enable;
        VkBlendFactor source;
        VkBlendFactor destination;
    };
    const Expected cases[] = {
        {BlendMode::Additive, VK_TRUE, VK_BLEND_FACTOR_SRC_ALPHA, VK_BLEND_FACTOR_ONE},
        {BlendMode::AlphaBlend, VK_TRUE, VK_BLEND_FACTOR_SRC_ALPHA, VK_BLEND_FACTOR_ONE_MINUS_SRC_ALPHA},
        {BlendMode::Opaque, VK_FALSE, VK_BLEND_FACTOR_ONE, VK_BLEND_FACTOR_ZERO},
        {static_cast<BlendMode>(7), VK_TRUE, VK_BLEND_FACTOR_SRC_ALPHA, VK_BLEND_FACTOR_ONE},
    };
    for (const Expected& expected : cases)
    {
        SCOPED_TRACE(static_cast<std::uint32_t>(expected.mode));
        const VkPipelineColorBlendAttachmentState state = colourBlendAttachmentState(expected.mode);
        EXPECT_EQ(state.blendEnable, expected.enable);
        EXPECT_EQ(state.srcColorBlendFactor, expected.source);
        EXPECT_EQ(state.dstColorBlendFactor, expected.destination);
        EXPECT_EQ(state.colorBlendOp, VK_BLEND_OP_ADD);
        EXPECT_EQ(state.srcAlphaBlendFactor, VK_BLEND_FACTOR_ONE);
        EXPECT_EQ(state.dstAlphaBlendFactor, VK_BLEND_FACTOR_ZERO);
        EXPECT_EQ(state.alphaBlendOp, VK_BLEND_OP_ADD);
        EXPECT_EQ(state.colorWriteMask, 15u);
    }
}

TEST(PipelineStatesTest, DepthClearValueFollowsTheColourValuesOnlyWithADepthAttachment)
{
    PipelineDescription description;
    std::vector<VkClearValue> clearValues;
    appendColourClearValues(clearValues, 3);
    appendDepthClearValue(clearValues, description);
    EXPECT_EQ(clearValues.size(), 3u);

    description.hasDepthAttachment = true;
    appendDepthClearValue(clearValues, description);
    ASSERT_EQ(clearValues.size(), 4u);
    for (int i = 0; i < 3; ++i)
    {
        for (float channel : clearValues[i].color.float32)
        {
            EXPECT_EQ(channel, 0.0f);
        }
    }
    EXPECT_EQ(clearValues[3].depthStencil.depth, 1.0f);
    EXPECT_EQ(clearValues[3].depthStencil.stencil, 0u);
}

TEST(PipelineStatesTest, OnlyPatchListsAreTessellated)
{
    PipelineDescription description;
    EXPECT_FALSE(tessellationState(description).has_value());
    description.topology = VK_PRIMITIVE_TOPOLOGY_PATCH_LIST;
    const auto tessellation = tessellationState(description);
    ASSERT_TRUE(tessellation.has_value());
    EXPECT_EQ(tessellation->patchControlPoints, 3u);
    EXPECT_EQ(inputAssemblyState(description).topology, VK_PRIMITIVE_TOPOLOGY_PATCH_LIST);
}
}
