#include "graphics/Texture.hpp"

#include <algorithm>
#include <bit>

std::uint32_t mipLevelCount(std::uint32_t width, std::uint32_t height, bool mipmaps)
{
    if (!mipmaps)
    {
        return 1;
    }
    // floor(log2(side)) + 1 is the bit width of the side, exactly and without
    // the undefined conversion of log2(0) for an empty image.
    return std::max<std::uint32_t>(1, static_cast<std::uint32_t>(std::bit_width(std::max(width, height))));
}
