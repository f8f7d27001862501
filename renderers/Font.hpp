#pragma once

#include "graphics/ImageData.hpp"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct stbtt_fontinfo;

// Pixel measures of one glyph at its font's size; the box is relative to the
// pen on the baseline, y growing downwards.
struct Glyph
{
    float x0 = 0.0f;
    float x1 = 0.0f;
    float y0 = 0.0f;
    float y1 = 0.0f;
    float advance = 0.0f;
    float leftSideBearing = 0.0f;
    // Added to the pen when the keyed code point follows this glyph.
    std::unordered_map<char32_t, float> kerning;
    // The glyph's rectangle in the atlas, in texture coordinates.
    float u = 0.0f;
    float v = 0.0f;
    float du = 0.0f;
    float dv = 0.0f;
};

// A face rasterised once, at one size, for a fixed set of code points; a code
// point of the set that the face lacks has an all-zero glyph.
struct Font
{
    float ascent = 0.0f;
    // Negative for ordinary faces.
    float descent = 0.0f;
    float lineGap = 0.0f;
    std::unordered_map<char32_t, Glyph> glyphs;
    // One byte of coverage per pixel.
    ImageData<std::uint8_t> atlas;

    const ImageData<std::uint8_t>& getAtlas() const;
};

// The largest atlas side, the least that every Vulkan device takes for an
// image; a font whose glyphs need more is refused.
inline constexpr std::uint32_t maxAtlasSide = 4096;

// The new font is appended to `fonts` and stays there when creation fails.
// Failures print nothing and leave the error flag clear. The glyphs grow with
// the window's content scale. A code point listed twice counts once.
std::optional<Font*> createFont(std::vector<std::unique_ptr<Font>>& fonts, const std::filesystem::path& path,
                                std::uint32_t pointSize, const std::u32string& codePoints);

struct GlyphSet
{
    std::unordered_map<char32_t, Glyph> glyphs;
    // Rows top to bottom; blanks have the empty image. The pixel size is in
    // the glyph's du and dv until the atlas is packed.
    std::unordered_map<char32_t, ImageData<std::uint8_t>> bitmaps;
};

// The font from a font file's bytes, as createFont makes it; false, with the
// font unchanged, when the bytes are no TrueType face the rasteriser can read
// safely or its glyphs cannot be packed.
bool rasteriseFont(Font& font, std::string_view data, std::uint32_t pointSize, const std::u32string& codePoints);

// Glyphs the face lacks, and code points outside Unicode, are left out. No
// value when a glyph's outline or bitmap box is damaged (`data` holds the
// bytes the face was opened on).
std::optional<GlyphSet> buildGlyphs(const stbtt_fontinfo& info, std::string_view data,
                                    const std::u32string& codePoints, float scaleX, float scaleY);

struct AtlasSize
{
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

// Rows in list order with a one-pixel gap, on a power-of-two atlas that grows
// from 1 x 1, doubling its width and height in turn. Sets each glyph's u and v
// to its pixel position (a code point without a glyph gets a 0 x 0 one). No
// value when the atlas would outgrow maxAtlasSide.
std::optional<AtlasSize> packAtlas(std::unordered_map<char32_t, Glyph>& glyphs, const std::u32string& codePoints);
