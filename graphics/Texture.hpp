#pragma once

#include <cstdint>

// Levels down to 1 x 1 along the longer side, or 1 without mipmaps.
std::uint32_t mipLevelCount(std::uint32_t width, std::uint32_t height, bool mipmaps);
