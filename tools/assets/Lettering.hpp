#pragma once

#include "tools/assets/Raster.hpp"

#include <stb_truetype.h>

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

// The faces the pictures are lettered in: Debian's DejaVu fonts, read by path
// at build time (the game's own font files are copies of the same faces).
inline const std::filesystem::path letteringFontFolder = "/usr/share/fonts/truetype/dejavu";

struct Typeface
{
    std::vector<unsigned char> data;
    stbtt_fontinfo info{};
};

// No value (and a line on stderr) when the file cannot be read or parsed.
std::optional<Typeface> loadTypeface(const std::string_view fileName);

enum class TextAnchor
{
    Left,
    Centre,
    Right,
};

// Width in pixels of one line of text (ASCII) at the given pixel height.
float textWidth(const Typeface& face, std::string_view text, float pixelHeight);

// Draws one line with its baseline at `origin.y`; `origin.x` is the left end,
// the middle or the right end by `anchor`.
void drawText(Canvas& canvas, const Typeface& face, std::string_view text, float pixelHeight, glm::vec2 origin,
              TextAnchor anchor, glm::vec4 colour);
