#include "engine/Log.hpp"
#include "gpu/TextureTest.hpp"
#include "graphics/ImageLoading.hpp"
#include "support/StdoutCapture.hpp"

#include <stb_image_write.h>

#include <cstring>
#include <string>

namespace
{
template <typename Pixel>
std::vector<std::uint8_t> bytesOf(const ImageData<Pixel>& image)
{
    std::vector<std::uint8_t> bytes(image.pixels.size() * sizeof(Pixel));
    std::memcpy(bytes.data(), image.pixels.data(), bytes.size());
    return bytes;
}

TEST_F(TextureTest, TexturesHoldTheirPixelsAndRenderTargetsArePairsOfZeroFilledTextures)
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

    std::optional<TextureCollection> depth =
        createRenderTargetTexture<std::uint32_t>(container, 16, 8, VK_FORMAT_D32_SFLOAT, false);
    ASSERT_TRUE(depth.has_value());
    EXPECT_NE(depth->textures[0], depth->textures[1]);
    EXPECT_EQ(depth->textures[1]->format, VK_FORMAT_D32_SFLOAT);
    // The software driver cannot filter this format linearly: the sampler falls back to nearest.
    EXPECT_TRUE(createTextureSampler(container, *depth->textures[0], 1, VK_FILTER_LINEAR, VK_FILTER_LINEAR,
                                     VK_SAMPLER_MIPMAP_MODE_LINEAR));

    std::optional<TextureCollection> half =
        createRenderTargetTexture<std::uint16_t>(container, 5, 3, VK_FORMAT_R16_SFLOAT, false);
    ASSERT_TRUE(half.has_value());
    EXPECT_EQ(readImage(system, half->textures[1]->image.image, VK_IMAGE_LAYOUT_SHADER_READ_ONLY_OPTIMAL, 5, 3, 2),
              std::vector<std::uint8_t>(5 * 3 * 2, 0));
    EXPECT_EQ(container.textures.size(), 5u);
    EXPECT_FALSE(hasErrors());
}

TEST_F(TextureTest, RefusalsLeaveRecordsWithNullHandlesInTheContainer)
{
    const ImageData<std::uint32_t> face(4, 4);
    const ImageData<std::uint32_t> narrow(2, 4);
    const ImageData<std::uint32_t> empty(0, 0);
    ImageData<std::uint32_t> shortOfPixels(4, 4);
    shortOfPixels.pixels.resize(3);
    EXPECT_EQ(createTexture(container, empty, VK_FORMAT_R8G8B8A8_UNORM, true, imageTextureSettings), nullptr);
    EXPECT_EQ(createTexture(container, shortOfPixels, VK_FORMAT_R8G8B8A8_UNORM, false, imageTextureSettings), nullptr);
    // A 2-byte pixel for a 4-byte texel would let the copy read past the staging buffer.
    EXPECT_FALSE(createRenderTargetTexture<std::uint16_t>(container, 4, 4, VK_FORMAT_D32_SFLOAT, false));
    using Faces = std::array<const ImageData<std::uint32_t>*, 6>;
    for (const Faces& faces : {Faces{&face, &face, &face, &narrow, &face, &face},
                               Faces{&empty, &empty, &empty, &empty, &empty, &empty},
                               Faces{&face, &face, &face, &face, &face, nullptr}})
    {
        EXPECT_EQ(createCubeTexture(container, faces, VK_FORMAT_R8G8B8A8_UNORM, true), nullptr);
    }
    EXPECT_FALSE(hasErrors());
    {
        // Depth images have no linear blit for a mip chain; the device layer says so.
        StdoutCapture capture;
        EXPECT_FALSE(createRenderTargetTexture<std::uint32_t>(container, 4, 4, VK_FORMAT_D32_SFLOAT, true));
        EXPECT_EQ(capture.messages(),
                  std::vector<std::string>{"ERROR: Linear filtering for mipmap generation is not supported."});
    }

    // The fixture releases them, which must pass over the null handles.
    ASSERT_EQ(container.textures.size(), 7u);
    for (const std::unique_ptr<Texture>& texture : container.textures)
    {
        EXPECT_EQ(texture->image.image, VK_NULL_HANDLE);
    }
}

TEST_F(TextureTest, CubeFromHdrFacesReadsBackFaceByFace)
{
    std::array<ImageData<std::uint64_t>, 6> faces;
    for (std::uint32_t face = 0; face < 6; ++face)
    {
        std::vector<float> rgb;
        for (std::uint32_t pixel = 0; pixel < 16; ++pixel)
        {
            rgb.insert(rgb.end(), {0.25f * static_cast<float>(face + 1), 0.125f * static_cast<float>(pixel % 4),
                                   4.0f + 0.5f * static_cast<float>(pixel / 4)});
        }
        const std::string path = "Face " + std::to_string(face) + ".hdr";
        ASSERT_NE(stbi_write_hdr(path.c_str(), 4, 4, 3, rgb.data()), 0);
        faces[face] = loadImageFloat(path).value();
    }
    Texture* cube = createCubeTexture<std::uint64_t>(
        container, {&faces[0], &faces[1], &faces[2], &faces[3], &faces[4], &faces[5]}, VK_FORMAT_R16G16B16A16_SFLOAT,
        true);
    ASSERT_NE(cube, nullptr);
    EXPECT_EQ(cube->mipLevels, 3u);
    for (std::uint32_t face = 0; face < 6; ++face)
    {
        EXPECT_EQ(readImage(system, cube->image.image, VK_IMAGE_LAYOUT_SHADER_READ_ONLY_OPTIMAL, 4, 4, 8, 0, face),
                  bytesOf(faces[face]))
            << "face " << face;
    }
    EXPECT_FALSE(hasErrors());
}
}
