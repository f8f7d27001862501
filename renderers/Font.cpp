#include "renderers/Font.hpp"

#include "engine/FileIo.hpp"
#include "engine/Log.hpp"
#include "engine/Window.hpp"
#include "renderers/FontChecks.hpp"

#include <fmt/format.h>
#include <stb_truetype.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace
{
constexpr float pointsToPixels = 1.3333334f;

bool openFace(const std::string& data, stbtt_fontinfo& info)
{
    // Enough for the header of a font collection, the longest that is read
    // before the table directory.
    constexpr std::size_t smallestHeader = 16;
    if (data.size() < smallestHeader)
    {
        return false;
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(data.data());
    const int fontStart = stbtt_GetFontOffsetForIndex(bytes, 0);
    return fontStart >= 0 && fontTablesFit(data, static_cast<std::size_t>(fontStart)) &&
           stbtt_InitFont(&info, bytes, fontStart) != 0 && faceFits(info, data);
}

// Keeps rasterising bounded: no glyph of the face may be wider or taller than
// an atlas can be.
bool glyphsFitAtlas(const stbtt_fontinfo& info, float scaleX, float scaleY)
{
    int x0 = 0;
    int y0 = 0;
    int x1 = 0;
    int y1 = 0;
    stbtt_GetFontBoundingBox(&info, &x0, &y0, &x1, &y1);
    constexpr auto limit = static_cast<float>(maxAtlasSide);
    // A face of zero units per em gives no finite scale.
    return std::isfinite(scaleX) && std::isfinite(scaleY) && static_cast<float>(x1 - x0) * scaleX <= limit &&
           static_cast<float>(y1 - y0) * scaleY <= limit;
}

bool isUnicodeScalar(char32_t codePoint)
{
    return codePoint <= 0x10FFFF && (codePoint < 0xD800 || codePoint > 0xDFFF);
}

std::u32string withoutRepeats(const std::u32string& codePoints)
{
    std::u32string unique;
    unique.reserve(codePoints.size());
    for (const char32_t codePoint : codePoints)
    {
        if (unique.find(codePoint) == std::u32string::npos)
        {
            unique.push_back(codePoint);
        }
    }
    return unique;
}

bool placeInRows(std::unordered_map<char32_t, Glyph>& glyphs, const std::u32string& codePoints, AtlasSize size)
{
    std::uint32_t x = 0;
    std::uint32_t y = 0;
    std::uint32_t rowHeight = 0;
    for (const char32_t codePoint : codePoints)
    {
        Glyph& glyph = glyphs[codePoint];
        const auto width = static_cast<std::uint32_t>(glyph.du);
        const auto height = static_cast<std::uint32_t>(glyph.dv);
        if (x + width > size.width)
        {
            y += rowHeight + 1;
            x = 0;
            rowHeight = 0;
        }
        glyph.u = static_cast<float>(x);
        glyph.v = static_cast<float>(y);
        // A glyph wider than the atlas would not fit a fresh row either.
        if (x + width > size.width || y + height > size.height)
        {
            return false;
        }
        rowHeight = std::max(rowHeight, height);
        x += width + 1;
    }
    return true;
}

void copyBitmap(ImageData<std::uint8_t>& atlas, const ImageData<std::uint8_t>& bitmap, const Glyph& glyph)
{
    const auto left = static_cast<std::size_t>(glyph.u);
    const auto top = static_cast<std::size_t>(glyph.v);
    for (std::size_t row = 0; row < bitmap.height; ++row)
    {
        std::memcpy(&atlas.pixels[(top + row) * atlas.width + left], &bitmap.pixels[row * bitmap.width],
                    bitmap.width);
    }
}
}

const ImageData<std::uint8_t>& Font::getAtlas() const
{
    return atlas;
}

std::optional<GlyphSet> buildGlyphs(const stbtt_fontinfo& info, std::string_view data,
                                    const std::u32string& codePoints, float scaleX, float scaleY)
{
    std::vector<std::pair<char32_t, int>> present;
    present.reserve(codePoints.size());
    for (const char32_t codePoint : codePoints)
    {
        const int index = isUnicodeScalar(codePoint) ? stbtt_FindGlyphIndex(&info, static_cast<int>(codePoint)) : 0;
        if (index == 0)
        {
            logDebug(fmt::format("Glyph (code point: {}) is not supported.", static_cast<std::uint32_t>(codePoint)));
            continue;
        }
        if (!glyphFits(info, data, index) || !outlineWithinBox(info, index))
        {
            return std::nullopt;
        }
        present.emplace_back(codePoint, index);
    }

    GlyphSet set;
    for (const auto& [codePoint, index] : present)
    {
        if (set.glyphs.contains(codePoint))
        {
            continue;
        }
        int x0 = 0;
        int y0 = 0;
        int x1 = 0;
        int y1 = 0;
        stbtt_GetGlyphBitmapBoxSubpixel(&info, index, scaleX, scaleY, 0.0f, 0.0f, &x0, &y0, &x1, &y1);
        if (!glyphBoxFits(x0, y0, x1, y1))
        {
            return std::nullopt;
        }
        int advanceWidth = 0;
        int leftSideBearing = 0;
        stbtt_GetGlyphHMetrics(&info, index, &advanceWidth, &leftSideBearing);

        Glyph glyph;
        glyph.x0 = static_cast<float>(x0);
        glyph.x1 = static_cast<float>(x1);
        glyph.y0 = static_cast<float>(y0);
        glyph.y1 = static_cast<float>(y1);
        glyph.advance = static_cast<float>(advanceWidth) * scaleX;
        glyph.leftSideBearing = static_cast<float>(leftSideBearing) * scaleX;
        for (const auto& [next, nextIndex] : present)
        {
            glyph.kerning.try_emplace(next, static_cast<float>(stbtt_GetGlyphKernAdvance(&info, index, nextIndex)) *
                                                scaleX);
        }

        const auto width = static_cast<std::uint32_t>(x1 - x0);
        const auto height = static_cast<std::uint32_t>(y1 - y0);
        ImageData<std::uint8_t> bitmap(width, height);
        if (!bitmap.pixels.empty())
        {
            glyph.du = static_cast<float>(width);
            glyph.dv = static_cast<float>(height);
            stbtt_MakeGlyphBitmapSubpixel(&info, bitmap.pixels.data(), static_cast<int>(width),
                                          static_cast<int>(height), static_cast<int>(width), scaleX, scaleY, 0.0f,
                                          0.0f, index);
        }
        set.glyphs.emplace(codePoint, std::move(glyph));
        set.bitmaps.emplace(codePoint, std::move(bitmap));
    }
    return set;
}

std::optional<AtlasSize> packAtlas(std::unordered_map<char32_t, Glyph>& glyphs, const std::u32string& codePoints)
{
    AtlasSize size{1, 1};
    while (!placeInRows(glyphs, codePoints, size))
    {
        if (size.width > size.height)
        {
            size.height *= 2;
        }
        else
        {
            size.width *= 2;
        }
        if (size.width > maxAtlasSide || size.height > maxAtlasSide)
        {
            return std::nullopt;
        }
    }
    return size;
}

bool rasteriseFont(Font& font, std::string_view data, std::uint32_t pointSize, const std::u32string& codePoints)
{
    // The rasteriser keeps pointers into the bytes it is given.
    const std::string bytes(data);
    stbtt_fontinfo info{};
    if (!openFace(bytes, info))
    {
        return false;
    }
    const float scale = stbtt_ScaleForMappingEmToPixels(&info, static_cast<float>(pointSize) * pointsToPixels);
    const float scaleX = scale * windowContentScale.x;
    const float scaleY = scale * windowContentScale.y;
    if (!glyphsFitAtlas(info, scaleX, scaleY))
    {
        return false;
    }
    const std::u32string unique = withoutRepeats(codePoints);
    std::optional<GlyphSet> set = buildGlyphs(info, bytes, unique, scaleX, scaleY);
    const std::optional<AtlasSize> size = set ? packAtlas(set->glyphs, unique) : std::nullopt;
    if (!size)
    {
        return false;
    }

    font.atlas = ImageData<std::uint8_t>(size->width, size->height);
    for (const auto& [codePoint, bitmap] : set->bitmaps)
    {
        copyBitmap(font.atlas, bitmap, set->glyphs.at(codePoint));
    }
    const auto width = static_cast<float>(size->width);
    const auto height = static_cast<float>(size->height);
    for (auto& [codePoint, glyph] : set->glyphs)
    {
        glyph.u /= width;
        glyph.du /= width;
        glyph.v /= height;
        glyph.dv /= height;
    }
    font.glyphs = std::move(set->glyphs);

    int ascent = 0;
    int descent = 0;
    int lineGap = 0;
    stbtt_GetFontVMetrics(&info, &ascent, &descent, &lineGap);
    font.ascent = static_cast<float>(ascent) * scaleY;
    font.descent = static_cast<float>(descent) * scaleY;
    font.lineGap = static_cast<float>(lineGap) * scaleY;
    return true;
}

std::optional<Font*> createFont(std::vector<std::unique_ptr<Font>>& fonts, const std::filesystem::path& path,
                                std::uint32_t pointSize, const std::u32string& codePoints)
{
    Font& font = *fonts.emplace_back(std::make_unique<Font>());
    const std::optional<std::string> data = readFile(path);
    if (!data || !rasteriseFont(font, *data, pointSize, codePoints))
    {
        logDebug("Font creation has failed.");
        return std::nullopt;
    }
    logDebug("Font was created.");
    return &font;
}
