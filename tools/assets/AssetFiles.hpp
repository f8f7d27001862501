#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>

// The file formats the generator writes. Each creates the folders on the way,
// replaces a file only with the whole of its new content, reports a failure on
// stderr with the path and returns false.

// 8-bit pixels, rows top to bottom, channels 1 to 4.
bool writePng(const std::filesystem::path& path, int width, int height, int channels,
              std::span<const std::uint8_t> pixels);
// Linear RGB floats, rows top to bottom.
bool writeHdr(const std::filesystem::path& path, int width, int height, std::span<const float> rgb);
// Interleaved 16-bit PCM.
bool writeWav(const std::filesystem::path& path, int sampleRate, int channels, std::span<const std::int16_t> samples);
bool writeText(const std::filesystem::path& path, std::string_view text);
