#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Decoded pixels, row after row from the top. A 0 x 0 image is the empty image,
// which the texture creators refuse.
template <typename Pixel>
struct ImageData
{
    std::vector<Pixel> pixels;
    std::uint32_t width = 0;
    std::uint32_t height = 0;

    ImageData() = default;

    // Zero pixels; either side 0 makes the empty image.
    ImageData(std::uint32_t width, std::uint32_t height)
    {
        if (width == 0 || height == 0)
        {
            return;
        }
        this->width = width;
        this->height = height;
        // A 32-bit product would wrap for large sides and leave fewer pixels
        // than the sides promise to whoever copies width x height of them.
        pixels.resize(static_cast<std::size_t>(width) * height);
    }
};
