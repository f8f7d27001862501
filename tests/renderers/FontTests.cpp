#include "engine/FileIo.hpp"
#include "engine/Log.hpp"
#include "renderers/Font.hpp"
#include "support/StdoutCapture.hpp"
#include "support/TemporaryFolder.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>

namespace
{
const std::filesystem::path fontFolder = "/usr/share/fonts/truetype/dejavu";
const std::filesystem::path sans = fontFolder / "DejaVuSans.ttf";
const std::u32string textSet =
    U"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789.,-;:_\u00E2\u201A\u00AC!\"%&/()=[] ";

Font* createQuietly(std::vector<std::unique_ptr<Font>>& fonts, const std::filesystem::path& path,
                    std::uint32_t pointSize, const std::u32string& codePoints)
{
    StdoutCapture capture;
    Font* font = createFont(fonts, path, pointSize, codePoints).value_or(nullptr);
    EXPECT_EQ(capture.text(), "");
    EXPECT_FALSE(hasErrors());
    return font;
}

// Each glyph's rectangle has its box's size and lies inside the atlas, apart
// from the others, with its ink; the atlas has no ink elsewhere.
void expectPacked(const Font& font)
{
    const ImageData<std::uint8_t>& atlas = font.getAtlas();
    ASSERT_TRUE(std::has_single_bit(atlas.width) && std::has_single_bit(atlas.height));
    EXPECT_TRUE(atlas.width == atlas.height || atlas.width == 2 * atlas.height);
    std::vector<int> owners(atlas.pixels.size(), 0);
    for (const auto& [codePoint, glyph] : font.glyphs)
    {
        const auto left = std::lround(glyph.u * static_cast<float>(atlas.width));
        const auto top = std::lround(glyph.v * static_cast<float>(atlas.height));
        const auto width = std::lround(glyph.du * static_cast<float>(atlas.width));
        const auto height = std::lround(glyph.dv * static_cast<float>(atlas.height));
        EXPECT_EQ(std::pair(width, height),
                  std::pair(std::lround(glyph.x1 - glyph.x0), std::lround(glyph.y1 - glyph.y0)));
        ASSERT_TRUE(left + width <= atlas.width && top + height <= atlas.height);
        int ink = width * height == 0 ? 255 : 0;
        for (long y = top; y < top + height; ++y)
        {
            for (long x = left; x < left + width; ++x)
            {
                ASSERT_EQ(owners[y * atlas.width + x]++, 0);
                ink = std::max<int>(ink, atlas.pixels[y * atlas.width + x]);
            }
        }
        EXPECT_GT(ink, 128);
    }
    for (std::size_t index = 0; index < owners.size(); ++index)
    {
        ASSERT_TRUE(owners[index] == 1 || atlas.pixels[index] == 0);
    }
}

TEST(FontTests, CodePointSetsPackIntoPowerOfTwoAtlasesAndLackingOnesGetEmptyGlyphs)
{
    std::vector<std::unique_ptr<Font>> fonts;
    const Font* text = createQuietly(fonts, sans, 12, textSet);
    const std::u32string odd{U'A', U'\u0378', U'A', char32_t{0xD800}, char32_t{0x110000}, char32_t{0xFFFFFFFF}};
    const Font* lacking = createQuietly(fonts, sans, 16, odd);
    const Font* empty = createQuietly(fonts, sans, 16, U"");
    ASSERT_TRUE(text && lacking && empty);
    for (const Font* font : {text, lacking, empty})
    {
        expectPacked(*font);
    }
    EXPECT_EQ(text->glyphs.size(), 82u);
    EXPECT_LE(text->atlas.width, 256u);
    EXPECT_GT(text->glyphs.at(U' ').advance, 0.0f);
    EXPECT_LT(text->glyphs.at(U'A').kerning.at(U'V'), 0.0f);

    EXPECT_EQ(lacking->glyphs.size(), 5u);
    EXPECT_EQ(lacking->glyphs.at(U'A').kerning.size(), 1u);
    for (const char32_t codePoint : odd.substr(3))
    {
        EXPECT_EQ(lacking->glyphs.at(codePoint).advance, 0.0f);
        EXPECT_TRUE(lacking->glyphs.at(codePoint).kerning.empty());
    }
    EXPECT_EQ(empty->atlas.pixels, std::vector<std::uint8_t>{0});
}

TEST(FontTests, UnreadableFilesAndOversizedFacesGiveNothingAndLeaveAnEmptyFont)
{
    TemporaryFolder folder;
    const std::string face = readFile(sans).value();
    ASSERT_TRUE(writeFile("Cut.ttf", face.substr(0, face.size() / 2), false));
    ASSERT_TRUE(writeFile("Empty.ttf", "", false));
    ASSERT_TRUE(writeFile("Words.ttf", "Not a font, only some words of text.", false));
    std::vector<std::unique_ptr<Font>> fonts;
    const std::vector<std::pair<std::filesystem::path, std::uint32_t>> refused{
        {"Missing.ttf", 12}, {"Empty.ttf", 12}, {"Words.ttf", 12}, {"Cut.ttf", 12}, {sans, 100000}};
    for (const auto& [path, pointSize] : refused)
    {
        EXPECT_EQ(createQuietly(fonts, path, pointSize, U"AB"), nullptr) << path;
        EXPECT_TRUE(fonts.back()->glyphs.empty() && fonts.back()->atlas.pixels.empty());
    }
    EXPECT_EQ(fonts.size(), refused.size());
}

TEST(FontTests, PackingGrowsForGlyphsWiderThanTheAtlasUpToItsLargestSide)
{
    const auto sized = [](float width, float height) {
        Glyph glyph;
        glyph.du = width;
        glyph.dv = height;
        return glyph;
    };
    std::unordered_map<char32_t, Glyph> wide{{U'w', sized(10, 1)}};
    const std::optional<AtlasSize> grown = packAtlas(wide, U"w");
    ASSERT_TRUE(grown);
    EXPECT_LE(wide.at(U'w').u + 10.0f, static_cast<float>(grown->width));
    std::unordered_map<char32_t, Glyph> huge{{U'h', sized(maxAtlasSide + 1.0f, 1)}};
    EXPECT_FALSE(packAtlas(huge, U"h"));
}
}
