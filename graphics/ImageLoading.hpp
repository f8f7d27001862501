#pragma once

#include "graphics/ImageData.hpp"

#include <cstdint>
#include <filesystem>
#include <optional>

// 8-bit RGBA: the bytes R, G, B, A of each pixel in that order.
std::optional<ImageData<std::uint32_t>> loadImage(const std::filesystem::path& path);
// RGBA as four IEEE 754 half floats, R first.
std::optional<ImageData<std::uint64_t>> loadImageFloat(const std::filesystem::path& path);

// Rounds to nearest even in the normal range, truncates subnormals and turns
// everything beyond the largest half into infinity.
std::uint16_t floatToHalf(float value);
