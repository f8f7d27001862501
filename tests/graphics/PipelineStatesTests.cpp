#include "graphics/PipelineStates.hpp"

#include <gtest/gtest.h>

#include <array>
#include <tuple>

namespace
{
TEST(PipelineStatesTest, PushConstantRangesArePackedInOrder)
{
    PipelineDescription description;
    description.pushConstantRanges = {{VK_SHADER_STAGE_VERTEX_BIT, 64},
                                      {VK_SHADER_STAGE_FRAGMENT_BIT, 4},
                                      {VK_SHADER_STAGE_FRAGMENT_BIT, 16}};
    std::vector<std::array<std::uint32_t, 3>> ranges;
    for (const VkPushConstantRange& range : buildPushConstantRanges(description))
    {
        ranges.push_back({range.stageFlags, range.offset, range.size});
    }
    EXPECT_EQ(ranges, (std::vector<std::array<std::uint32_t, 3>>{{VK_SHADER_STAGE_VERTEX_BIT, 0, 64},
                                                                 {VK_SHADER_STAGE_FRAGMENT_BIT, 64, 4},
                                                                 {VK_SHADER_STAGE_FRAGMENT_BIT, 68, 16}}));
}

TEST(PipelineStatesTest, BlendModesSetTheColourFactorsAndAnUnknownModeBlendsAsAdditive)
{
    const std::tuple<BlendMode, VkBool32, VkBlendFactor, VkBlendFactor> cases[] = {
        {BlendMode::Additive, VK_TRUE, VK_BLEND_FACTOR_SRC_ALPHA, VK_BLEND_FACTOR_ONE},
        {BlendMode::AlphaBlend, VK_TRUE, VK_BLEND_FACTOR_SRC_ALPHA, VK_BLEND_FACTOR_ONE_MINUS_SRC_ALPHA},
        {BlendMode::Opaque, VK_FALSE, VK_BLEND_FACTOR_ONE, VK_BLEND_FACTOR_ZERO},
        {static_cast<BlendMode>(7), VK_TRUE, VK_BLEND_FACTOR_SRC_ALPHA, VK_BLEND_FACTOR_ONE},
    };
    for (const auto& [mode, enable, source, destination] : cases)
    {
        SCOPED_TRACE(static_cast<std::uint32_t>(mode));
        const VkPipelineColorBlendAttachmentState state = colourBlendAttachmentState(mode);
        EXPECT_EQ(state.blendEnable, enable);
        EXPECT_EQ(state.srcColorBlendFactor, source);
        EXPECT_EQ(state.dstColorBlendFactor, destination);
    }
}
}
