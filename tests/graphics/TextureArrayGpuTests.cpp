#include "engine/Log.hpp"
#include "gpu/GpuHarness.hpp"
#include "graphics/TextureArray.hpp"
#include "support/StdoutCapture.hpp"

#include <gtest/gtest.h>
#include <stb_image_write.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <string>

namespace
{
class TextureArrayTest : public GpuTest
{
protected:
    void TearDown() override
    {
        destroyTextures(container);
        GpuTest::TearDown();
    }

    TextureContainer container{&system, {}, {}};
};

constexpr std::uint32_t layerWidth = 16;
constexpr std::uint32_t layerHeight = 8;

std::vector<std::uint8_t> layerPicture(std::uint32_t layer)
{
    std::vector<std::uint8_t> bytes;
    for (std::uint32_t y = 0; y < layerHeight; ++y)
    {
        for (std::uint32_t x = 0; x < layerWidth; ++x)
        {
            bytes.push_back(static_cast<std::uint8_t>(x * 16 + layer * 5));
            bytes.push_back(static_cast<std::uint8_t>(y * 32));
            bytes.push_back(static_cast<std::uint8_t>((x + y) * 7 + layer * 40));
            bytes.push_back(static_cast<std::uint8_t>(255 - layer * 10));
        }
    }
    return bytes;
}

// Below the working folder, as the game reads them: "Assets/{name}{suffix}.png".
std::array<std::string, 3> writeLayers(const std::string& folder, const std::string& suffix, std::uint32_t count = 3)
{
    std::filesystem::create_directories("Assets/" + folder);
    std::array<std::string, 3> names;
    for (std::uint32_t layer = 0; layer < 3; ++layer)
    {
        names[layer] = folder + "/Layer " + std::to_string(layer);
        if (layer < count)
        {
            const std::string path = "Assets/" + names[layer] + suffix + ".png";
            EXPECT_NE(stbi_write_png(path.c_str(), layerWidth, layerHeight, 4, layerPicture(layer).data(),
                                     layerWidth * 4),
                      0);
        }
    }
    return names;
}

std::array<double, 4> channelMeans(const std::vector<std::uint8_t>& bytes)
{
    std::array<double, 4> sums{};
    for (std::size_t index = 0; index < bytes.size(); ++index)
    {
        sums[index % 4] += bytes[index];
    }
    for (double& sum : sums)
    {
        sum /= static_cast<double>(bytes.size() / 4);
    }
    return sums;
}

TEST_F(TextureArrayTest, GeneratedPicturesBecomeLayersWithAFullMipChain)
{
    Texture* array = loadNormalTextureArray<3>(container, writeLayers("Normals", " Normal"), true);
    ASSERT_NE(array, nullptr);
    EXPECT_EQ(array->mipLevels, 5u);
    EXPECT_EQ(array->format, VK_FORMAT_R8G8B8A8_UNORM);

    for (std::uint32_t layer = 0; layer < 3; ++layer)
    {
        const std::vector<std::uint8_t> picture = layerPicture(layer);
        EXPECT_EQ(readImage(system, array->image.image, VK_IMAGE_LAYOUT_SHADER_READ_ONLY_OPTIMAL, layerWidth,
                            layerHeight, 4, 0, layer),
                  picture)
            << "layer " << layer;
        // Each level halves the one above it, so every level keeps the picture's mean colour.
        const std::array<double, 4> expected = channelMeans(picture);
        for (std::uint32_t level = 1; level < array->mipLevels; ++level)
        {
            const std::vector<std::uint8_t> bytes =
                readImage(system, array->image.image, VK_IMAGE_LAYOUT_SHADER_READ_ONLY_OPTIMAL,
                          std::max(layerWidth >> level, 1u), std::max(layerHeight >> level, 1u), 4, level, layer);
            ASSERT_FALSE(bytes.empty());
            for (std::size_t channel = 0; channel < 4; ++channel)
            {
                EXPECT_NEAR(channelMeans(bytes)[channel], expected[channel], 2.0) << layer << ", " << level;
            }
        }
    }

    Texture* albedo = loadAlbedoTextureArray<3>(container, writeLayers("Albedo", " Albedo"), false);
    ASSERT_NE(albedo, nullptr);
    EXPECT_EQ(albedo->format, VK_FORMAT_R8G8B8A8_SRGB);
    EXPECT_FALSE(hasErrors());
}

TEST_F(TextureArrayTest, LoadingStopsAtTheFirstMissingPicture)
{
    const std::array<std::string, 3> names = writeLayers("Gaps", " ARME", 1);
    StdoutCapture capture;
    EXPECT_EQ(loadArmeTextureArray<3>(container, names, true), nullptr);
    EXPECT_EQ(capture.messages(),
              std::vector<std::string>{"ERROR: Image file \"Assets/Gaps/Layer 1 ARME.png\" could not be found."});
    EXPECT_TRUE(container.textures.empty());
}

TEST_F(TextureArrayTest, LayersOfDifferentOrNoSizeAreRefused)
{
    using Image = ImageData<std::uint32_t>;
    EXPECT_EQ(createTextureArray<3>(container, {Image(4, 4), Image(4, 4), Image(4, 2)}, VK_FORMAT_R8G8B8A8_UNORM, true,
                                    imageTextureSettings),
              nullptr);
    EXPECT_EQ(createTextureArray<3>(container, {Image(0, 0), Image(0, 0), Image(0, 0)}, VK_FORMAT_R8G8B8A8_UNORM, true,
                                    imageTextureSettings),
              nullptr);
    ASSERT_EQ(container.textures.size(), 2u);
    EXPECT_EQ(container.textures[1]->image.image, VK_NULL_HANDLE);
    EXPECT_FALSE(hasErrors());
}
}
