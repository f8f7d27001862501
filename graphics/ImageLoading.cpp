#include "graphics/ImageLoading.hpp"

#include "engine/Log.hpp"

#include <bit>
#include <cstring>
#include <fmt/format.h>
#include <stb_image.h>
#include <string>
#include <system_error>

namespace
{
constexpr int requestedChannels = 4;

bool imageFileExists(const std::filesystem::path& path)
{
    std::error_code error;
    if (std::filesystem::exists(path, error))
    {
        return true;
    }
    logError(fmt::format("Image file \"{}\" could not be found.", path.string()));
    return false;
}
}

std::optional<ImageData<std::uint32_t>> loadImage(const std::filesystem::path& path)
{
    if (!imageFileExists(path))
    {
        return std::nullopt;
    }
    int width = 0;
    int height = 0;
    int channelsInFile = 0;
    stbi_uc* decoded = stbi_load(path.string().c_str(), &width, &height, &channelsInFile, requestedChannels);
    if (decoded == nullptr)
    {
        logError("Image loading has failed.");
        return std::nullopt;
    }

    ImageData<std::uint32_t> image(static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height));
    // The bytes keep their order in memory, which is what the GPU reads.
    std::memcpy(image.pixels.data(), decoded, image.pixels.size() * sizeof(std::uint32_t));
    stbi_image_free(decoded);
    logDebug("Image was loaded.");
    return image;
}

std::optional<ImageData<std::uint64_t>> loadImageFloat(const std::filesystem::path& path)
{
    if (!imageFileExists(path))
    {
        return std::nullopt;
    }
    int width = 0;
    int height = 0;
    int channelsInFile = 0;
    float* decoded = stbi_loadf(path.string().c_str(), &width, &height, &channelsInFile, requestedChannels);
    if (decoded == nullptr)
    {
        logError("Image loading has failed.");
        return std::nullopt;
    }

    ImageData<std::uint64_t> image(static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height));
    for (std::size_t pixel = 0; pixel < image.pixels.size(); ++pixel)
    {
        std::uint16_t halves[requestedChannels];
        for (int channel = 0; channel < requestedChannels; ++channel)
        {
            halves[channel] = floatToHalf(decoded[pixel * requestedChannels + channel]);
        }
        std::memcpy(&image.pixels[pixel], halves, sizeof(halves));
    }
    stbi_image_free(decoded);
    logDebug("Image was loaded.");
    return image;
}

std::uint16_t floatToHalf(float value)
{
    const std::uint32_t bits = std::bit_cast<std::uint32_t>(value);
    const auto sign = static_cast<std::uint16_t>((bits >> 16) & 0x8000u);
    const std::uint32_t exponent = (bits >> 23) & 0xFFu;
    const std::uint32_t mantissa = bits & 0x7FFFFFu;
    constexpr std::uint16_t infinity = 0x7C00;

    if (exponent == 255)
    {
        if (mantissa != 0)
        {
            return static_cast<std::uint16_t>(sign | 0x7C01u | (mantissa >> 13));
        }
        return sign | infinity;
    }
    if (exponent < 102)
    {
        return sign;
    }
    if (exponent <= 112)
    {
        return static_cast<std::uint16_t>(sign | (((mantissa | 0x800000u) >> (113 - exponent)) >> 13));
    }
    if (exponent <= 142)
    {
        const std::uint32_t rounded = mantissa + 0x0FFFu + ((mantissa >> 13) & 1u);
        std::uint32_t halfExponent = exponent - 112;
        std::uint32_t halfMantissa = rounded >> 13;
        if (rounded >= 0x800000u)
        {
            halfExponent = exponent - 111;
            halfMantissa = 0;
        }
        if (halfExponent >= 31)
        {
            return sign | infinity;
        }
        return static_cast<std::uint16_t>(sign | (halfExponent << 10) | halfMantissa);
    }
    return sign | infinity;
}
