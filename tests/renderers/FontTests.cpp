#include "engine/FileIo.hpp"
#include "engine/Log.hpp"
#include "engine/Window.hpp"
#include "renderers/Font.hpp"
#include "support/StdoutCapture.hpp"
#include "support/TemporaryFolder.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>

namespace
{
const std::filesystem::path fontFolder = "/usr/share/fonts/truetype/dejavu";
const std::filesystem::path sansFont = fontFolder / "DejaVuSans.ttf";
const std::u32string clockSet = U"0123456789:.";
const std::u32string textSet = U"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789.,-;:_\u00E2\u201A\u00AC!\"%&/()=[] ";

struct PixelRect
{
    std::uint32_t left;
    std::uint32_t top;
    std::uint32_t right;
    std::uint32_t bottom;
};

PixelRect atlasRect(const Font& font, const Glyph& glyph)
{
    const float width = static_cast<float>(font.atlas.width);
    const float height = static_cast<float>(font.atlas.height);
    return {static_cast<std::uint32_t>(std::lround(glyph.u * width)),
            static_cast<std::uint32_t>(std::lround(glyph.v * height)),
            static_cast<std::uint32_t>(std::lround((glyph.u + glyph.du) * width)),
            static_cast<std::uint32_t>(std::lround((glyph.v + glyph.dv) * height))};
}

// Every glyph's rectangle has the size of its box, lies inside the atlas,
// apart from the others, and holds ink; the atlas has none outside them.
void expectPackedGlyphs(const Font& font)
{
    const ImageData<std::uint8_t>& atlas = font.getAtlas();
    ASSERT_TRUE(std::has_single_bit(atlas.width) && std::has_single_bit(atlas.height));
    EXPECT_TRUE(atlas.width == atlas.height || atlas.width == 2 * atlas.height);
    std::vector<std::uint8_t> covered(atlas.pixels.size(), 0);
    for (const auto& [codePoint, glyph] : font.glyphs)
    {
        if (glyph.du == 0.0f)
        {
            continue;
        }
        const PixelRect rect = atlasRect(font, glyph);
        EXPECT_EQ(rect.right - rect.left, static_cast<std::uint32_t>(glyph.x1 - glyph.x0)) << static_cast<std::uint32_t>(codePoint);
        EXPECT_EQ(rect.bottom - rect.top, static_cast<std::uint32_t>(glyph.y1 - glyph.y0)) << static_cast<std::uint32_t>(codePoint);
        ASSERT_LE(rect.right, atlas.width);
        ASSERT_LE(rect.bottom, atlas.height);
        std::uint8_t ink = 0;
        for (std::uint32_t y = rect.top; y < rect.bottom; ++y)
        {
            for (std::uint32_t x = rect.left; x < rect.right; ++x)
            {
                EXPECT_EQ(covered[y * atlas.width + x]++, 0) << "overlap at " << x << ", " << y;
                ink = std::max(ink, atlas.pixels[y * atlas.width + x]);
            }
        }
        EXPECT_GT(ink, 128) << static_cast<std::uint32_t>(codePoint);
    }
    for (std::size_t index = 0; index < atlas.pixels.size(); ++index)
    {
        if (covered[index] == 0)
        {
            ASSERT_EQ(atlas.pixels[index], 0) << "ink outside the glyphs at " << index;
        }
    }
}

Font* createQuietly(std::vector<std::unique_ptr<Font>>& fonts, const std::filesystem::path& path,
                    std::uint32_t pointSize, const std::u32string& codePoints)
{
    StdoutCapture capture;
    Font* font = createFont(fonts, path, pointSize, codePoints).value_or(nullptr);
    EXPECT_EQ(capture.text(), "");
    EXPECT_FALSE(hasErrors());
    return font;
}

TEST(FontTests, SetsPackIntoPowerOfTwoAtlasesOfSeparateGlyphRectangles)
{
    std::vector<std::unique_ptr<Font>> fonts;
    const Font* clock = createQuietly(fonts, fontFolder / "DejaVuSansMono.ttf", 24, clockSet);
    ASSERT_NE(clock, nullptr);
    EXPECT_EQ(clock->glyphs.size(), 12u);
    expectPackedGlyphs(*clock);
    EXPECT_LE(clock->atlas.width, 256u);
    EXPECT_GT(clock->ascent, 0.0f);
    EXPECT_LT(clock->descent, 0.0f);
    EXPECT_EQ(clock->glyphs.at(U'0').advance, clock->glyphs.at(U'.').advance);

    const Font* text = createQuietly(fonts, sansFont, 12, textSet);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->glyphs.size(), 82u);
    expectPackedGlyphs(*text);
    const Glyph& space = text->glyphs.at(U' ');
    EXPECT_EQ(space.du, 0.0f);
    EXPECT_GT(space.advance, 0.0f);
    EXPECT_EQ(text->glyphs.at(U'\u201A').kerning.size(), 82u);
    EXPECT_EQ(fonts.size(), 2u);
}

TEST(FontTests, LackingRepeatedAndNonUnicodeCodePointsAndTheEmptySet)
{
    std::vector<std::unique_ptr<Font>> fonts;
    const std::u32string codePoints{U'A', U'\u0378', U'A', char32_t{0xD800}, char32_t{0x110000}, char32_t{0xFFFFFFFF}};
    const Font* font = createQuietly(fonts, sansFont, 16, codePoints);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->glyphs.size(), 5u);
    for (const char32_t lacking : codePoints.substr(1))
    {
        if (lacking == U'A')
        {
            continue;
        }
        const Glyph& glyph = font->glyphs.at(lacking);
        EXPECT_EQ(glyph.advance, 0.0f);
        EXPECT_EQ(glyph.x1 - glyph.x0, 0.0f);
        EXPECT_EQ(glyph.du + glyph.dv, 0.0f);
        EXPECT_TRUE(glyph.kerning.empty());
    }
    // Placed once: its coordinates are divided by the atlas size once.
    const Glyph& a = font->glyphs.at(U'A');
    EXPECT_EQ(a.kerning.size(), 1u);
    EXPECT_LE(a.u + a.du, 1.0f);
    EXPECT_LE(a.v + a.dv, 1.0f);
    expectPackedGlyphs(*font);

    const Font* empty = createQuietly(fonts, sansFont, 16, U"");
    ASSERT_NE(empty, nullptr);
    EXPECT_TRUE(empty->glyphs.empty());
    EXPECT_EQ(empty->atlas.pixels, std::vector<std::uint8_t>{0});
}

TEST(FontTests, UnreadableFilesAndOversizedFacesGiveNothingAndLeaveAnEmptyFont)
{
    TemporaryFolder folder;
    const std::string face = readFile(sansFont).value();
    ASSERT_TRUE(writeFile("Truncated.ttf", face.substr(0, face.size() / 2), false));
    ASSERT_TRUE(writeFile("Empty.ttf", "", false));
    ASSERT_TRUE(writeFile("Text.ttf", "Not a font, only some words of text.", false));

    std::vector<std::unique_ptr<Font>> fonts;
    const std::vector<std::pair<std::filesystem::path, std::uint32_t>> refused{
        {"Missing.ttf", 12}, {"Empty.ttf", 12}, {"Text.ttf", 12}, {"Truncated.ttf", 12}, {sansFont, 100000}};
    for (const auto& [path, pointSize] : refused)
    {
        EXPECT_EQ(createQuietly(fonts, path, pointSize, U"AB"), nullptr) << path;
        EXPECT_TRUE(fonts.back()->glyphs.empty());
        EXPECT_TRUE(fonts.back()->atlas.pixels.empty());
    }
    EXPECT_EQ(fonts.size(), refused.size());
}

TEST(FontTests, ContentScaleOfTwoDoublesMetricsGlyphsAndAtlas)
{
    std::vector<std::unique_ptr<Font>> fonts;
    const Font* single = createQuietly(fonts, sansFont, 12, textSet);
    windowContentScale = {2.0f, 2.0f};
    const Font* doubled = createQuietly(fonts, sansFont, 12, textSet);
    windowContentScale = {1.0f, 1.0f};
    ASSERT_NE(single, nullptr);
    ASSERT_NE(doubled, nullptr);

    EXPECT_EQ(doubled->ascent, 2.0f * single->ascent);
    EXPECT_EQ(doubled->descent, 2.0f * single->descent);
    EXPECT_EQ(doubled->lineGap, 2.0f * single->lineGap);
    const Glyph& a = single->glyphs.at(U'A');
    const Glyph& a2 = doubled->glyphs.at(U'A');
    EXPECT_EQ(a2.advance, 2.0f * a.advance);
    EXPECT_LT(a.kerning.at(U'V'), 0.0f);
    EXPECT_EQ(a2.kerning.at(U'V'), 2.0f * a.kerning.at(U'V'));
    EXPECT_NEAR(a2.x1 - a2.x0, 2.0f * (a.x1 - a.x0), 2.0f);
    EXPECT_NEAR(a2.y1 - a2.y0, 2.0f * (a.y1 - a.y0), 2.0f);
    EXPECT_EQ(doubled->atlas.width, 2 * single->atlas.width);
    EXPECT_EQ(doubled->atlas.height, 2 * single->atlas.height);
}

Glyph sized(float width, float height)
{
    Glyph glyph;
    glyph.du = width;
    glyph.dv = height;
    return glyph;
}

TEST(FontTests, PackingLeavesGapsAfterBlanksAndGrowsForGlyphsWiderThanTheAtlas)
{
    std::unordered_map<char32_t, Glyph> glyphs{{U'a', sized(3, 2)}, {U' ', sized(0, 0)}, {U'b', sized(2, 2)}};
    const std::optional<AtlasSize> size = packAtlas(glyphs, U"a b?");
    ASSERT_TRUE(size);
    EXPECT_EQ(glyphs.at(U'b').u, glyphs.at(U'a').u + 5.0f);
    EXPECT_EQ(glyphs.at(U'b').v, glyphs.at(U'a').v);
    EXPECT_EQ(glyphs.at(U'?').du, 0.0f);

    std::unordered_map<char32_t, Glyph> wide{{U'w', sized(10, 1)}};
    const std::optional<AtlasSize> grown = packAtlas(wide, U"w");
    ASSERT_TRUE(grown);
    EXPECT_GE(grown->width, 10u);
    EXPECT_LE(wide.at(U'w').u + 10.0f, static_cast<float>(grown->width));

    std::unordered_map<char32_t, Glyph> none;
    const std::optional<AtlasSize> smallest = packAtlas(none, U"");
    ASSERT_TRUE(smallest);
    EXPECT_EQ(smallest->width * smallest->height, 1u);

    std::unordered_map<char32_t, Glyph> huge{{U'h', sized(static_cast<float>(maxAtlasSide) + 1.0f, 1)}};
    EXPECT_FALSE(packAtlas(huge, U"h"));
}
}
