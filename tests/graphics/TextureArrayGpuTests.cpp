#include "engine/Log.hpp"
#include "gpu/TextureTest.hpp"
#include "graphics/TextureArray.hpp"
#include "support/StdoutCapture.hpp"

#include <stb_image_write.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <string>

namespace
{
using TextureArrayTest = TextureTest;

// One colour per layer, so that every level of a layer must hold exactly that colour.
std::array<std::uint8_t, 4> layerColour(std::uint32_t layer)
{
    return {static_cast<std::uint8_t>(40 + layer * 50), static_cast<std::uint8_t>(200 - layer * 30),
            static_cast<std::uint8_t>(layer * 90), static_cast<std::uint8_t>(255 - layer * 10)};
}

std::vector<std::uint8_t> filled(std::uint32_t layer, std::uint32_t pixels)
{
    const std::array<std::uint8_t, 4> colour = layerColour(layer);
    std::vector<std::uint8_t> bytes;
    for (std::uint32_t pixel = 0; pixel < pixels; ++pixel)
    {
        bytes.insert(bytes.end(), colour.begin(), colour.end());
    }
    return bytes;
}

// 16 x 8 pictures below the working folder, as the game reads them: "Assets/{name}{suffix}.png".
std::array<std::string, 3> writeLayers(const std::string& folder, const std::string& suffix, std::uint32_t count = 3)
{
    std::filesystem::create_directories("Assets/" + folder);
    std::array<std::string, 3> names;
    for (std::uint32_t layer = 0; layer < 3; ++layer)
    {
        names[layer] = folder + "/Layer " + std::to_string(layer);
        const std::string path = "Assets/" + names[layer] + suffix + ".png";
        EXPECT_TRUE(layer >= count || stbi_write_png(path.c_str(), 16, 8, 4, filled(layer, 16 * 8).data(), 16 * 4));
    }
    return names;
}

TEST_F(TextureArrayTest, GeneratedPicturesBecomeLayersWithAFullMipChain)
{
    Texture* array = loadNormalTextureArray<3>(container, writeLayers("Normals", " Normal"), true);
    ASSERT_NE(array, nullptr);
    EXPECT_EQ(array->mipLevels, 5u);
    EXPECT_EQ(array->format, VK_FORMAT_R8G8B8A8_UNORM);
    for (std::uint32_t layer = 0; layer < 3; ++layer)
    {
        for (std::uint32_t level = 0; level < array->mipLevels; ++level)
        {
            const std::uint32_t width = 16 >> level;
            const std::uint32_t height = std::max(8u >> level, 1u);
            EXPECT_EQ(readImage(system, array->image.image, VK_IMAGE_LAYOUT_SHADER_READ_ONLY_OPTIMAL, width, height, 4,
                                level, layer),
                      filled(layer, width * height))
                << "layer " << layer << ", level " << level;
        }
    }
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
