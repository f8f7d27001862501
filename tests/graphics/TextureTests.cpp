#include "graphics/Texture.hpp"
#include "graphics/TextureArray.hpp"

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
    EXPECT_EQ(mipLevelCount(1, 1, true), 1u);
    EXPECT_EQ(mipLevelCount(std::numeric_limits<std::uint32_t>::max(), 1, true), 32u);
    EXPECT_EQ(mipLevelCount(0, 0, true), 1u);
}

TEST(MipLevelCountTest, WithoutMipmapsThereIsOneLevel)
{
    EXPECT_EQ(mipLevelCount(1024, 512, false), 1u);
    EXPECT_EQ(mipLevelCount(1, 1, false), 1u);
}

TEST(RenderTargetSettingsTest, DepthFormatsBecomeSampledDepthAttachments)
{
    for (VkFormat format : {VK_FORMAT_D16_UNORM, VK_FORMAT_X8_D24_UNORM_PACK32, VK_FORMAT_D32_SFLOAT})
    {
        EXPECT_TRUE(isDepthFormat(format));
        const ImageSettings settings = renderTargetSettings(format);
        EXPECT_EQ(settings.usage, 0x27u);
        EXPECT_EQ(settings.aspect, static_cast<VkImageAspectFlags>(VK_IMAGE_ASPECT_DEPTH_BIT));
        EXPECT_EQ(settings.tiling, VK_IMAGE_TILING_OPTIMAL);
        EXPECT_EQ(settings.memoryProperties, static_cast<VkMemoryPropertyFlags>(VK_MEMORY_PROPERTY_DEVICE_LOCAL_BIT));
        EXPECT_EQ(settings.uploadLayout, VK_IMAGE_LAYOUT_TRANSFER_DST_OPTIMAL);
    }
    // The neighbours of the depth range are colour formats, stencil included.
    for (VkFormat format : {VK_FORMAT_R16_SFLOAT, VK_FORMAT_R8G8B8A8_SRGB, VK_FORMAT_B10G11R11_UFLOAT_PACK32,
                            VK_FORMAT_S8_UINT})
    {
        EXPECT_FALSE(isDepthFormat(format));
        const ImageSettings settings = renderTargetSettings(format);
        EXPECT_EQ(settings.usage, 0x17u);
        EXPECT_EQ(settings.aspect, static_cast<VkImageAspectFlags>(VK_IMAGE_ASPECT_COLOR_BIT));
    }
}

TEST(SamplerTest, DescriptionRepeatsAndKeepsTheRequestedLevelOfDetail)
{
    const VkSamplerCreateInfo info = describeSampler(60, {}, 16.0f);
    EXPECT_EQ(info.maxLod, 60.0f);
    EXPECT_EQ(info.minLod, 0.0f);
    EXPECT_EQ(info.magFilter, VK_FILTER_LINEAR);
    EXPECT_EQ(info.mipmapMode, VK_SAMPLER_MIPMAP_MODE_LINEAR);
    EXPECT_EQ(info.addressModeU, VK_SAMPLER_ADDRESS_MODE_REPEAT);
    EXPECT_EQ(info.addressModeV, VK_SAMPLER_ADDRESS_MODE_REPEAT);
    EXPECT_EQ(info.addressModeW, VK_SAMPLER_ADDRESS_MODE_REPEAT);
    EXPECT_EQ(info.anisotropyEnable, VK_TRUE);
    EXPECT_EQ(info.maxAnisotropy, 16.0f);
    EXPECT_EQ(info.compareEnable, VK_FALSE);
    EXPECT_EQ(info.borderColor, VK_BORDER_COLOR_INT_OPAQUE_BLACK);

    const VkSamplerCreateInfo nearest = describeSampler(1, {VK_FILTER_NEAREST, VK_FILTER_NEAREST,
                                                            VK_SAMPLER_MIPMAP_MODE_NEAREST, false}, 16.0f);
    EXPECT_EQ(nearest.anisotropyEnable, VK_FALSE);
    EXPECT_EQ(nearest.maxAnisotropy, 1.0f);
}

TEST(SamplerTest, FormatsWithoutLinearFilteringAreSampledNearest)
{
    const SamplerFiltering linear{};
    const SamplerFiltering nearest{VK_FILTER_NEAREST, VK_FILTER_NEAREST, VK_SAMPLER_MIPMAP_MODE_NEAREST, false};
    const VkFormatFeatureFlags depthOnly =
        VK_FORMAT_FEATURE_SAMPLED_IMAGE_BIT | VK_FORMAT_FEATURE_DEPTH_STENCIL_ATTACHMENT_BIT;
    EXPECT_EQ(filteringForFormat(depthOnly, linear), nearest);
    EXPECT_EQ(filteringForFormat(0, linear), nearest);
    EXPECT_EQ(filteringForFormat(depthOnly | VK_FORMAT_FEATURE_SAMPLED_IMAGE_FILTER_LINEAR_BIT, linear), linear);
    // A request the format can serve is passed on unchanged.
    const SamplerFiltering mixed{VK_FILTER_NEAREST, VK_FILTER_LINEAR, VK_SAMPLER_MIPMAP_MODE_LINEAR, true};
    EXPECT_EQ(filteringForFormat(VK_FORMAT_FEATURE_SAMPLED_IMAGE_FILTER_LINEAR_BIT, mixed), mixed);
}

TEST(TextureArrayTest, LayerIComesFromItsOwnSliceOfTheStagingBuffer)
{
    const std::vector<VkBufferImageCopy> regions = arrayLayerCopyRegions(256, 128, 256 * 128 * 4, 3,
                                                                         VK_IMAGE_ASPECT_COLOR_BIT);
    ASSERT_EQ(regions.size(), 3u);
    for (std::uint32_t layer = 0; layer < 3; ++layer)
    {
        const VkBufferImageCopy& region = regions[layer];
        EXPECT_EQ(region.bufferOffset, VkDeviceSize{layer} * 256 * 128 * 4);
        EXPECT_EQ(region.bufferRowLength, 0u);
        EXPECT_EQ(region.bufferImageHeight, 0u);
        EXPECT_EQ(region.imageSubresource.aspectMask, static_cast<VkImageAspectFlags>(VK_IMAGE_ASPECT_COLOR_BIT));
        EXPECT_EQ(region.imageSubresource.mipLevel, 0u);
        EXPECT_EQ(region.imageSubresource.baseArrayLayer, layer);
        EXPECT_EQ(region.imageSubresource.layerCount, 1u);
        EXPECT_EQ(region.imageExtent.width, 256u);
        EXPECT_EQ(region.imageExtent.height, 128u);
        EXPECT_EQ(region.imageExtent.depth, 1u);
    }
}
}
