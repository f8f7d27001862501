#include "renderers/deferred/EnvironmentLighting.hpp"

#include "engine/GraphicsSystem.hpp"
#include "engine/Log.hpp"
#include "engine/vulkan/Memory.hpp"
#include "graphics/ImageLoading.hpp"
#include "graphics/UniformBuffers.hpp"
#include "renderers/deferred/DeferredRenderer.hpp"

#include <fmt/format.h>
#include <glm/geometric.hpp>
#include <glm/gtc/color_space.hpp>
#include <glm/gtc/packing.hpp>

#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>

std::optional<std::vector<std::uint8_t>> readCubeMapLevel(GraphicsSystem&, const Texture&, std::uint32_t,
                                                          std::uint32_t, std::uint32_t, std::uint32_t);

namespace
{
constexpr std::size_t faceCount = 6;

CubeLevelReader cubeLevelReader = readCubeMapLevel;

glm::vec3 texelColour(const std::uint8_t* texel, bool halfFloat)
{
    if (halfFloat)
    {
        std::uint16_t halves[3];
        std::memcpy(halves, texel, sizeof(halves));
        return {glm::unpackHalf1x16(halves[0]), glm::unpackHalf1x16(halves[1]), glm::unpackHalf1x16(halves[2])};
    }
    return glm::convertSRGBToLinear(glm::vec3(texel[0], texel[1], texel[2]) / 255.0f);
}

// The direction of a texel centre, by the cube's face conventions.
glm::vec3 texelDirection(std::size_t face, float u, float v)
{
    switch (face)
    {
    case 0:
        return {1.0f, -v, -u};
    case 1:
        return {-1.0f, -v, u};
    case 2:
        return {u, 1.0f, v};
    case 3:
        return {u, -1.0f, -v};
    case 4:
        return {u, -v, 1.0f};
    default:
        return {-u, -v, -1.0f};
    }
}

// Every face loaded with one loader, or nothing at the first that fails.
template <typename Pixel, typename Loader>
std::optional<std::array<ImageData<Pixel>, 6>> loadFaces(const std::array<std::string, 6>& paths, Loader load)
{
    std::array<ImageData<Pixel>, 6> faces;
    for (std::size_t face = 0; face < faceCount; ++face)
    {
        std::optional<ImageData<Pixel>> image = load(paths[face]);
        if (!image)
        {
            return std::nullopt;
        }
        faces[face] = std::move(*image);
    }
    return faces;
}

template <typename Pixel>
Texture* createEnvironmentCube(TextureContainer& textures, const std::array<ImageData<Pixel>, 6>& faces,
                               VkFormat format)
{
    if (!cubeFaceSizeFits(faces[0].width, faces[0].height))
    {
        logError("Cube map faces must be square, a power of two and at least 64 pixels wide.");
        return nullptr;
    }
    for (const ImageData<Pixel>& face : faces)
    {
        if (face.width != faces[0].width || face.height != faces[0].height)
        {
            logError("Cube map faces must all have the same size.");
            return nullptr;
        }
    }
    std::array<const ImageData<Pixel>*, 6> pointers{};
    for (std::size_t face = 0; face < faceCount; ++face)
    {
        pointers[face] = &faces[face];
    }
    Texture* cube = createCubeTexture(textures, pointers, format, true);
    if (cube == nullptr)
    {
        logError("Cube map creation has failed.");
    }
    return cube;
}
}

std::optional<CubeFaceKind> cubeFaceKind(const std::string& firstPath)
{
    if (firstPath.ends_with(".png"))
    {
        return CubeFaceKind::EightBit;
    }
    if (firstPath.ends_with("hdr"))
    {
        return CubeFaceKind::HalfFloat;
    }
    return std::nullopt;
}

bool cubeFaceSizeFits(std::uint32_t width, std::uint32_t height)
{
    return width == height && width >= irradianceLevelSize && std::has_single_bit(width);
}

SphericalHarmonicsUniforms projectIrradianceSH(const std::vector<std::uint8_t>& pixels, bool halfFloat)
{
    SphericalHarmonicsUniforms sums;
    const std::size_t bytesPerPixel = halfFloat ? 8 : 4;
    const std::size_t side = irradianceLevelSize;
    if (pixels.size() < faceCount * side * side * bytesPerPixel)
    {
        return sums;
    }
    const float texelStep = 1.0f / static_cast<float>(side);
    const float texelCount = static_cast<float>(side * side);
    for (std::size_t face = 0; face < faceCount; ++face)
    {
        for (std::size_t row = 0; row < side; ++row)
        {
            for (std::size_t column = 0; column < side; ++column)
            {
                const float v = ((static_cast<float>(row) + 0.5f) * texelStep) * 2.0f - 1.0f;
                const float u = ((static_cast<float>(column) + 0.5f) * texelStep) * 2.0f - 1.0f;
                const glm::vec3 colour =
                    texelColour(&pixels[((face * side + row) * side + column) * bytesPerPixel], halfFloat);
                const float s = std::sqrt(u * u + 1.0f + v * v);
                const glm::vec3 direction = texelDirection(face, u, v) * (1.0f / std::sqrt(1.0f + u * u + v * v));
                const float weight = 4.0f / (s * s * s * texelCount);
                const float x = direction.x;
                const float y = direction.y;
                const float z = direction.z;
                const float basis[9] = {0.282095f,
                                        0.488603f * y,
                                        0.488603f * z,
                                        0.488603f * x,
                                        1.092548f * x * y,
                                        1.092548f * y * z,
                                        0.315392f * (3.0f * z * z - 1.0f),
                                        1.092548f * x * z,
                                        0.546274f * (x * x - y * y)};
                for (std::size_t k = 0; k < 9; ++k)
                {
                    sums.coefficients[k] += glm::vec4(basis[k] * colour * weight, 0.0f);
                }
            }
        }
    }
    const float lobes[9] = {3.141593f, 2.094395f, 2.094395f, 2.094395f, 0.785398f,
                            0.785398f, 0.785398f, 0.785398f, 0.785398f};
    for (std::size_t k = 0; k < 9; ++k)
    {
        sums.coefficients[k] *= lobes[k];
    }
    return sums;
}

std::optional<std::vector<std::uint8_t>> readCubeMapLevel(GraphicsSystem& graphics, const Texture& cube,
                                                          std::uint32_t width, std::uint32_t height,
                                                          std::uint32_t bytesPerPixel, std::uint32_t levelsFromEnd)
{
    const std::uint32_t faceSize = width * height * bytesPerPixel;
    const VkDeviceSize size = VkDeviceSize{faceSize} * faceCount;
    // A cube with fewer levels has no such level to copy from.
    if (cube.mipLevels < levelsFromEnd || size == 0)
    {
        return std::nullopt;
    }
    const std::uint32_t level = cube.mipLevels - levelsFromEnd;

    std::optional<Buffer> staging = graphics.createBuffer(
        size, VK_BUFFER_USAGE_TRANSFER_DST_BIT, VK_MEMORY_PROPERTY_HOST_VISIBLE_BIT | VK_MEMORY_PROPERTY_HOST_COHERENT_BIT);
    if (!staging)
    {
        std::printf("stagingBufferSpherical error-----------------------\n");
        return std::nullopt;
    }
    const auto fail = [&](const char* line) {
        std::printf("%s", line);
        graphics.waitIdle();
        graphics.destroyBuffer(*staging);
        return std::nullopt;
    };
    const VkImage image = cube.image.image;
    if (!graphics.recordPipelineBarrier(image, level, 6, VK_IMAGE_LAYOUT_SHADER_READ_ONLY_OPTIMAL,
                                        VK_IMAGE_LAYOUT_TRANSFER_SRC_OPTIMAL, VK_ACCESS_SHADER_READ_BIT,
                                        VK_ACCESS_TRANSFER_READ_BIT, VK_PIPELINE_STAGE_FRAGMENT_SHADER_BIT,
                                        VK_PIPELINE_STAGE_TRANSFER_BIT, false))
    {
        return fail("CubeMap transitioned error-----------------------\n");
    }
    const bool copied = graphics.copyImageToBuffer(staging->buffer, image, width, height, faceSize, level);
    // Back to where the cube was, whether the copy worked or not.
    const bool returned = graphics.recordPipelineBarrier(
        image, level, 6, VK_IMAGE_LAYOUT_TRANSFER_SRC_OPTIMAL, VK_IMAGE_LAYOUT_SHADER_READ_ONLY_OPTIMAL,
        VK_ACCESS_TRANSFER_READ_BIT, VK_ACCESS_SHADER_READ_BIT, VK_PIPELINE_STAGE_TRANSFER_BIT,
        VK_PIPELINE_STAGE_FRAGMENT_SHADER_BIT, false);
    if (!copied)
    {
        return fail("data copied error-----------------------\n");
    }
    if (!returned)
    {
        return fail("CubeMap transitioned back to shader error-----------------------\n");
    }

    graphics.waitIdle();
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(size));
    if (!copyFromMemory(staging->memory, graphics.logicalDevice.device, size, pixels.data()))
    {
        return fail("memory mapped error-----------------------\n");
    }
    unmapMemory(staging->memory, graphics.logicalDevice.device);
    graphics.destroyBuffer(*staging);
    return pixels;
}

void setCubeLevelReaderForTesting(CubeLevelReader reader)
{
    cubeLevelReader = reader != nullptr ? reader : readCubeMapLevel;
}

std::optional<SphericalHarmonicsUniforms> computeIrradianceSH(DeferredRenderer& renderer, bool halfFloat)
{
    const std::optional<std::vector<std::uint8_t>> pixels =
        cubeLevelReader(*renderer.graphics, renderer.environmentCubeTexture, irradianceLevelSize, irradianceLevelSize,
                        halfFloat ? 8 : 4, irradianceLevelsFromEnd);
    if (!pixels)
    {
        return std::nullopt;
    }
    return projectIrradianceSH(*pixels, halfFloat);
}

bool DeferredRenderer::loadEnvironment(const std::array<std::string, 6>& paths)
{
    // A second cube and uniform buffers would leak the first ones.
    if (environmentCubeTexture.image.view != VK_NULL_HANDLE || shUniforms.buffers[0].buffer != VK_NULL_HANDLE)
    {
        logError("The environment is loaded already; the renderer must be released first.");
        return false;
    }
    const std::optional<CubeFaceKind> kind = cubeFaceKind(paths[0]);
    if (!kind)
    {
        logError(fmt::format("Cube map face \"{}\" is neither a PNG nor a Radiance HDR image.", paths[0]));
        return false;
    }
    const bool halfFloat = *kind == CubeFaceKind::HalfFloat;
    Texture* cube = nullptr;
    if (halfFloat)
    {
        const auto faces = loadFaces<std::uint64_t>(paths, [](const std::string& path) { return loadImageFloat(path); });
        cube = faces ? createEnvironmentCube(textures, *faces, VK_FORMAT_R16G16B16A16_SFLOAT) : nullptr;
    }
    else
    {
        // 8-bit faces hold sRGB values, as the irradiance projection reads them.
        const auto faces = loadFaces<std::uint32_t>(paths, [](const std::string& path) { return loadImage(path); });
        cube = faces ? createEnvironmentCube(textures, *faces, VK_FORMAT_R8G8B8A8_SRGB) : nullptr;
    }
    if (cube == nullptr)
    {
        return false;
    }
    environmentCubeTexture = *cube;
    const std::optional<SphericalHarmonicsUniforms> irradiance = computeIrradianceSH(*this, halfFloat);
    if (!irradiance)
    {
        logError("The environment's irradiance could not be read back.");
        return false;
    }
    shCoefficients = *irradiance;

    std::optional<UniformBufferCollection> buffers =
        createUniformBufferCollection<sizeof(SphericalHarmonicsUniforms)>(*graphics);
    if (!buffers)
    {
        logError("Irradiance uniform buffers could not be created.");
        return false;
    }
    shUniforms = *buffers;
    for (const UniformBuffer& buffer : shUniforms.buffers)
    {
        std::memcpy(buffer.mapped, &shCoefficients, sizeof(shCoefficients));
    }
    return true;
}
