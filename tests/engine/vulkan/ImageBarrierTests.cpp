#include "engine/vulkan/ImageBarriers.hpp"

#include <gtest/gtest.h>

namespace
{
TEST(ImageBarrierTest, TransitionsCoverTheEngineLayoutsAndUseTheCombinedDepthLayout)
{
    EXPECT_TRUE(layoutTransition(VK_IMAGE_LAYOUT_UNDEFINED, VK_IMAGE_LAYOUT_TRANSFER_DST_OPTIMAL));
    const std::optional<LayoutTransition> depthRead =
        layoutTransition(VK_IMAGE_LAYOUT_DEPTH_STENCIL_ATTACHMENT_OPTIMAL, VK_IMAGE_LAYOUT_SHADER_READ_ONLY_OPTIMAL);
    ASSERT_TRUE(depthRead.has_value());
    EXPECT_EQ(depthRead->sourceStage, static_cast<VkPipelineStageFlags>(VK_PIPELINE_STAGE_LATE_FRAGMENT_TESTS_BIT));
    const std::optional<LayoutTransition> depthWrite =
        layoutTransition(VK_IMAGE_LAYOUT_SHADER_READ_ONLY_OPTIMAL, VK_IMAGE_LAYOUT_DEPTH_STENCIL_ATTACHMENT_OPTIMAL);
    ASSERT_TRUE(depthWrite.has_value());
    EXPECT_EQ(depthWrite->destinationStage,
              static_cast<VkPipelineStageFlags>(VK_PIPELINE_STAGE_EARLY_FRAGMENT_TESTS_BIT));

    EXPECT_FALSE(layoutTransition(VK_IMAGE_LAYOUT_DEPTH_ATTACHMENT_OPTIMAL, VK_IMAGE_LAYOUT_SHADER_READ_ONLY_OPTIMAL));
    EXPECT_FALSE(layoutTransition(VK_IMAGE_LAYOUT_GENERAL, VK_IMAGE_LAYOUT_SHADER_READ_ONLY_OPTIMAL));
    EXPECT_FALSE(layoutTransition(VK_IMAGE_LAYOUT_SHADER_READ_ONLY_OPTIMAL, VK_IMAGE_LAYOUT_UNDEFINED));
}

TEST(ImageBarrierTest, MipChainsHalveEachSideDownToOne)
{
    const std::vector<MipmapBlit> chain = mipmapChain(256, 64, 9);
    const std::vector<std::pair<std::uint32_t, std::uint32_t>> sizes{{256, 64}, {128, 32}, {64, 16}, {32, 8}, {16, 4},
                                                                     {8, 2},    {4, 1},    {2, 1},   {1, 1}};
    ASSERT_EQ(chain.size(), 8u);
    for (std::uint32_t level = 0; level < chain.size(); ++level)
    {
        EXPECT_EQ(chain[level], (MipmapBlit{level, sizes[level].first, sizes[level].second, sizes[level + 1].first,
                                            sizes[level + 1].second}));
    }
    EXPECT_TRUE(mipmapChain(256, 64, 1).empty());
    EXPECT_TRUE(mipmapChain(256, 64, 0).empty());
}
}
