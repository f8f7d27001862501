#include "engine/Log.hpp"
#include "engine/vulkan/Memory.hpp"
#include "gpu/GpuHarness.hpp"
#include "graphics/ImageLoading.hpp"
#include "graphics/Texture.hpp"
#include "graphics/TextureArray.hpp"
#include "support/StdoutCapture.hpp"

#include <glm/gtc/packing.hpp>
#include <gtest/gtest.h>
#include <stb_image_write.h>

#include <cstring>
#include <filesystem>
#include <string>

namespace
{
class TextureTest : public GpuTest
{
protected:
    void TearDown() override
    {
        destroyTextures(container);
        GpuTest::TearDown();
    }

    TextureContainer container{&system, {}, {}};
};

constexpr VkAccessFlags anyAccess = VK_ACCESS_MEMORY_READ_BIT | VK_ACCESS_MEMORY_WRITE_BIT;

// The harness reads colour images only.
std::vector<float> readDepth(GraphicsSystem& system, VkImage image, std::uint32_t width, std::uint32_t height)
{
    const VkDeviceSize size = VkDeviceSize{width} * height * sizeof(float);
    std::optional<Buffer> readBack =
        system.createBuffer(size, VK_BUFFER_USAGE_TRANSFER_DST_BIT,
                            VK_MEMORY_PROPERTY_HOST_VISIBLE_BIT | VK_MEMORY_PROPERTY_HOST_COHERENT_BIT);
    if (!readBack)
    {
        return {};
    }
    std::optional<VkCommandBuffer> commandBuffer = system.beginSingleTimeCommands();
    if (!commandBuffer)
    {
        system.destroyBuffer(*readBack);
        return {};
    }
    VkImageMemoryBarrier barrier{};
    barrier.sType = VK_STRUCTURE_TYPE_IMAGE_MEMORY_BARRIER;
    barrier.srcAccessMask = anyAccess;
    barrier.dstAccessMask = VK_ACCESS_TRANSFER_READ_BIT;
    barrier.oldLayout = VK_IMAGE_LAYOUT_SHADER_READ_ONLY_OPTIMAL;
    barrier.newLayout = VK_IMAGE_LAYOUT_TRANSFER_SRC_OPTIMAL;
    barrier.srcQueueFamilyIndex = VK_QUEUE_FAMILY_IGNORED;
    barrier.dstQueueFamilyIndex = VK_QUEUE_FAMILY_IGNORED;
    barrier.image = image;
    barrier.subresourceRange = {VK_IMAGE_ASPECT_DEPTH_BIT, 0, 1, 0, 1};
    vkCmdPipelineBarrier(*commandBuffer, VK_PIPELINE_STAGE_ALL_COMMANDS_BIT, VK_PIPELINE_STAGE_TRANSFER_BIT, 0, 0,
                         nullptr, 0, nullptr, 1, &barrier);
    VkBufferImageCopy region{};
    region.imageSubresource = {VK_IMAGE_ASPECT_DEPTH_BIT, 0, 0, 1};
    region.imageExtent = {width, height, 1};
    vkCmdCopyImageToBuffer(*commandBuffer, image, VK_IMAGE_LAYOUT_TRANSFER_SRC_OPTIMAL, readBack->buffer, 1, &region);
    std::swap(barrier.oldLayout, barrier.newLayout);
    barrier.srcAccessMask = VK_ACCESS_TRANSFER_READ_BIT;
    barrier.dstAccessMask = anyAccess;
    vkCmdPipelineBarrier(*commandBuffer, VK_PIPELINE_STAGE_TRANSFER_BIT, VK_PIPELINE_STAGE_ALL_COMMANDS_BIT, 0, 0,
                         nullptr, 0, nullptr, 1, &barrier);
    std::vector<float> depths(static_cast<std::size_t>(width) * height);
    if (!system.endSingleTimeCommands(*commandBuffer) ||
        !copyFromMemory(readBack->memory, system.logicalDevice.device, size, depths.data()))
    {
        depths.clear();
    }
    unmapMemory(readBack->memory, system.logicalDevice.device);
    system.destroyBuffer(*readBack);
    return depths;
}

template <typename Pixel>
std::vector<std::uint8_t> bytesOf(const ImageData<Pixel>& image)
{
    std::vector<std::uint8_t> bytes(image.pixels.size() * sizeof(Pixel));
    std::memcpy(bytes.data(), image.pixels.data(), bytes.size());
    return bytes;
}

bool isEmptyRecord(const Texture& texture)
{
    return texture.image.image == VK_NULL_HANDLE && texture.image.memory == VK_NULL_HANDLE &&
           texture.image.view == VK_NULL_HANDLE;
}

TEST_F(TextureTest, RenderTargetsArePairsOfZeroFilledTexturesInTheShaderReadLayout)
{
    std::optional<TextureCollection> depth = createRenderTargetTexture<std::uint32_t>(container, 16, 8,
                                                                                      VK_FORMAT_D32_SFLOAT, false);
    ASSERT_TRUE(depth.has_value());
    EXPECT_NE(depth->textures[0], depth->textures[1]);
    for (Texture* target : depth->textures)
    {
        EXPECT_EQ(target->format, VK_FORMAT_D32_SFLOAT);
        EXPECT_EQ(target->width, 16u);
        EXPECT_EQ(target->height, 8u);
        EXPECT_EQ(target->mipLevels, 1u);
        EXPECT_EQ(target->layerCount, 1u);
        EXPECT_EQ(readDepth(system, target->image.image, 16, 8), std::vector<float>(16 * 8, 0.0f));
    }
    // Sampled in a later pass through whatever filter the driver allows for depth.
    EXPECT_TRUE(createTextureSampler(container, *depth->textures[0], 1, VK_FILTER_LINEAR, VK_FILTER_LINEAR,
                                     VK_SAMPLER_MIPMAP_MODE_LINEAR)
                    .has_value());

    std::optional<TextureCollection> half = createRenderTargetTexture<std::uint16_t>(container, 5, 3,
                                                                                     VK_FORMAT_R16_SFLOAT, false);
    std::optional<TextureCollection> wide = createRenderTargetTexture<std::uint64_t>(
        container, 4, 4, VK_FORMAT_R16G16B16A16_SFLOAT, true);
    ASSERT_TRUE(half && wide);
    EXPECT_EQ(readImage(system, half->textures[1]->image.image, VK_IMAGE_LAYOUT_SHADER_READ_ONLY_OPTIMAL, 5, 3, 2),
              std::vector<std::uint8_t>(5 * 3 * 2, 0));
    EXPECT_EQ(wide->textures[0]->mipLevels, 3u);
    EXPECT_EQ(readImage(system, wide->textures[0]->image.image, VK_IMAGE_LAYOUT_SHADER_READ_ONLY_OPTIMAL, 1, 1, 8, 2),
              std::vector<std::uint8_t>(8, 0));
    EXPECT_EQ(container.textures.size(), 6u);
    EXPECT_EQ(container.samplers.size(), 1u);
    EXPECT_FALSE(hasErrors());
}

TEST_F(TextureTest, RefusalsLeaveAnEmptyRecordInTheContainer)
{
    // A 2-byte pixel for a 4-byte depth texel would let the copy read past the staging buffer.
    EXPECT_FALSE(createRenderTargetTexture<std::uint16_t>(container, 4, 4, VK_FORMAT_D32_SFLOAT, false).has_value());
    EXPECT_EQ(createTexture(container, ImageData<std::uint32_t>(0, 0), VK_FORMAT_R8G8B8A8_UNORM, true,
                            imageTextureSettings),
              nullptr);
    ImageData<std::uint32_t> shortOfPixels(4, 4);
    shortOfPixels.pixels.resize(3);
    EXPECT_EQ(createTexture(container, shortOfPixels, VK_FORMAT_R8G8B8A8_UNORM, false, imageTextureSettings), nullptr);
    EXPECT_FALSE(hasErrors());
    {
        // Depth images have no linear blit for a mip chain; the device layer says so.
        StdoutCapture capture;
        EXPECT_FALSE(createRenderTargetTexture<std::uint32_t>(container, 4, 4, VK_FORMAT_D32_SFLOAT, true).has_value());
        ASSERT_EQ(capture.lines().size(), 1u);
        EXPECT_EQ(withoutTimestamp(capture.lines()[0]), "ERROR: Linear filtering for mipmap generation is not supported.");
    }

    ASSERT_EQ(container.textures.size(), 4u);
    for (const std::unique_ptr<Texture>& texture : container.textures)
    {
        EXPECT_TRUE(isEmptyRecord(*texture));
    }
    destroyTextures(container);
    destroyTextures(container);
    EXPECT_TRUE(container.textures.empty());
}

TEST_F(TextureTest, OddSizedGlyphAtlasRoundTripsAndSamplersAreReleasedWithTheContainer)
{
    ImageData<std::uint8_t> atlas(5, 3);
    for (std::size_t index = 0; index < atlas.pixels.size(); ++index)
    {
        atlas.pixels[index] = static_cast<std::uint8_t>(index * 17 + 1);
    }
    Texture* texture = createTexture(container, atlas, VK_FORMAT_R8_UNORM, false, imageTextureSettings);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(readImage(system, texture->image.image, VK_IMAGE_LAYOUT_SHADER_READ_ONLY_OPTIMAL, 5, 3, 1),
              bytesOf(atlas));
    ASSERT_TRUE(createSampler(container, 60, VK_FILTER_LINEAR, VK_FILTER_LINEAR, VK_SAMPLER_MIPMAP_MODE_LINEAR));
    ASSERT_TRUE(createSampler(container, texture->mipLevels, VK_FILTER_NEAREST, VK_FILTER_NEAREST,
                              VK_SAMPLER_MIPMAP_MODE_NEAREST));
    EXPECT_EQ(container.samplers.size(), 2u);

    destroyTextures(container);
    EXPECT_TRUE(container.samplers.empty());
    EXPECT_TRUE(container.textures.empty());
    EXPECT_NE(createTexture(container, atlas, VK_FORMAT_R8_UNORM, false, imageTextureSettings), nullptr);
    EXPECT_FALSE(hasErrors());
}
}
