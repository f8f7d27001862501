#include "graphics/Texture.hpp"

#include <gtest/gtest.h>

#include <limits>

namespace
{
TEST(MipLevelCountTest, CountsLevelsDownToOnePixelAlongTheLongerSide)
{
    EXPECT_EQ(mipLevelCount(1024, 512, true), 11u);
    EXPECT_EQ(mipLevelCount(512, 1024, true), 11u);
    EXPECT_EQ(mipLevelCount(1000, 600, true), 10u);
    EXPECT_EQ(mipLevelCount(1023, 1, true), 10u);
    EXPECT_EQ(mipLevelCount(std::numeric_limits<std::uint32_t>::max(), 1, true), 32u);
    EXPECT_EQ(mipLevelCount(0, 0, true), 1u);
    EXPECT_EQ(mipLevelCount(1024, 512, false), 1u);
}

TEST(RenderTargetSettingsTest, OnlyTheThreeDepthFormatsBecomeDepthAttachments)
{
    // With the neighbours of the range: a packed colour format and stencil alone.
    for (VkFormat format : {VK_FORMAT_D16_UNORM, VK_FORMAT_X8_D24_UNORM_PACK32, VK_FORMAT_D32_SFLOAT,
                            VK_FORMAT_R16_SFLOAT, VK_FORMAT_B10G11R11_UFLOAT_PACK32, VK_FORMAT_S8_UINT})
    {
        const bool depth = format == VK_FORMAT_D16_UNORM || format == VK_FORMAT_X8_D24_UNORM_PACK32 ||
                           format == VK_FORMAT_D32_SFLOAT;
        const ImageSettings settings = renderTargetSettings(format);
        EXPECT_EQ(settings.usage, depth ? 0x27u : 0x17u) << format;
        EXPECT_EQ(settings.aspect, static_cast<VkImageAspectFlags>(depth ? VK_IMAGE_ASPECT_DEPTH_BIT
                                                                         : VK_IMAGE_ASPECT_COLOR_BIT))
            << format;
    }
}

TEST(SamplerTest, FormatsWithoutLinearFilteringAreSampledNearestWithoutAnisotropy)
{
    const SamplerFiltering linear{};
    const SamplerFiltering nearest{VK_FILTER_NEAREST, VK_FILTER_NEAREST, VK_SAMPLER_MIPMAP_MODE_NEAREST, false};
    const VkFormatFeatureFlags depthOnly =
        VK_FORMAT_FEATURE_SAMPLED_IMAGE_BIT | VK_FORMAT_FEATURE_DEPTH_STENCIL_ATTACHMENT_BIT;
    EXPECT_EQ(filteringForFormat(depthOnly, linear), nearest);
    EXPECT_EQ(filteringForFormat(depthOnly | VK_FORMAT_FEATURE_SAMPLED_IMAGE_FILTER_LINEAR_BIT, linear), linear);

    EXPECT_EQ(describeSampler(60, linear, 16.0f).maxAnisotropy, 16.0f);
    EXPECT_EQ(describeSampler(1, nearest, 16.0f).anisotropyEnable, VK_FALSE);
    EXPECT_EQ(describeSampler(1, nearest, 16.0f).maxAnisotropy, 1.0f);
}
}
