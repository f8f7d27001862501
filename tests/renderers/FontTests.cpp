#include "engine/FileIo.hpp"
#include "engine/Log.hpp"
#include "renderers/Font.hpp"
#include "renderers/FontChecks.hpp"
#include "support/StdoutCapture.hpp"
#include "support/TemporaryFolder.hpp"

#include <gtest/gtest.h>
#include <stb_truetype.h>

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


// Damaged copies of a packaged font, in the places the rasteriser trusts and
// at random: each is refused or read, never a crash (the sanitizer build runs
// this too).
class DamagedFontTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        original = readFile(sans).value();
        const auto* bytes = reinterpret_cast<const unsigned char*>(original.data());
        ASSERT_NE(stbtt_InitFont(&info, bytes, 0), 0);
    }

    std::uint32_t readU16(std::size_t at) const
    {
        return static_cast<std::uint8_t>(original[at]) << 8 | static_cast<std::uint8_t>(original[at + 1]);
    }

    std::size_t glyphData(char32_t codePoint) const
    {
        const int glyph = stbtt_FindGlyphIndex(&info, static_cast<int>(codePoint));
        const std::size_t location = info.indexToLocFormat == 0 ? 2 * readU16(info.loca + 2 * glyph)
                                                                : (readU16(info.loca + 4 * glyph) << 16 |
                                                                   readU16(info.loca + 4 * glyph + 2));
        return static_cast<std::size_t>(info.glyf) + location;
    }

    static void put16(std::string& data, std::size_t at, std::uint32_t value)
    {
        data[at] = static_cast<char>(value >> 8);
        data[at + 1] = static_cast<char>(value);
    }

    static bool accepted(const std::string& data, std::uint32_t pointSize = 12)
    {
        Font font;
        return rasteriseFont(font, data, pointSize, textSet);
    }

    std::string original;
    stbtt_fontinfo info{};
};

TEST_F(DamagedFontTest, DamageWhereTheRasteriserTrustsTheFileIsRefused)
{
    ASSERT_TRUE(accepted(original));
    const std::size_t map = static_cast<std::size_t>(info.index_map);
    ASSERT_EQ(readU16(map), 12u) << "segmented coverage";

    // More groups than the file holds, and a group mapping past the glyphs.
    std::string groups = original;
    put16(groups, map + 12, 0x7fff);
    std::string glyphIndex = original;
    const std::size_t groupCount = readU16(map + 12) << 16 | readU16(map + 14);
    for (std::size_t group = 0; group < groupCount; ++group)
    {
        const std::size_t record = map + 16 + 12 * group;
        if (readU16(record + 2) <= U'A' && U'A' <= readU16(record + 6))
        {
            put16(glyphIndex, record + 8, 0x00ff);
        }
    }
    std::string mapOutside = original;
    mapOutside.resize(map + 20);
    std::string unknownFormat = original;
    put16(unknownFormat, map, 2);

    // A glyph box turned inside out, and one wider than any atlas at a large size.
    std::string inverted = original;
    const std::size_t letter = glyphData(U'A');
    put16(inverted, letter + 2, 0x7000);
    std::string enormous = original;
    put16(enormous, letter + 2, 0x8001);
    put16(enormous, letter + 6, 0x7fff);

    // A composite glyph whose component is itself.
    const std::size_t accented = glyphData(U'\u00E2');
    ASSERT_LT(static_cast<std::int16_t>(readU16(accented)), 0) << "a composite glyph";
    std::string recursive = original;
    put16(recursive, accented + 12, static_cast<std::uint32_t>(stbtt_FindGlyphIndex(&info, 0xE2)));

    for (const std::string* damaged : {&groups, &glyphIndex, &mapOutside, &unknownFormat, &inverted, &recursive})
    {
        EXPECT_FALSE(accepted(*damaged)) << damaged->size();
    }
    EXPECT_TRUE(accepted(enormous, 12)) << "about 500 pixels wide";
    EXPECT_FALSE(accepted(enormous, 200));
    EXPECT_TRUE(accepted(original, 200));
}

// The checks refuse only what the rasteriser would mishandle: every packaged
// face passes them, at small and large sizes.
TEST_F(DamagedFontTest, EveryPackagedFaceIsAccepted)
{
    int faces = 0;
    for (const auto& entry : std::filesystem::directory_iterator(fontFolder))
    {
        const std::string face = readFile(entry.path()).value();
        EXPECT_TRUE(accepted(face, 12) && accepted(face, 200)) << entry.path();
        ++faces;
    }
    EXPECT_GT(faces, 1);
}

TEST_F(DamagedFontTest, TruncatedAndScribbledCopiesNeverCrash)
{
    std::uint32_t state = 2463534242u;
    const auto next = [&] {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    };
    int refused = 0;
    for (int copy = 0; copy < 260; ++copy)
    {
        std::string damaged = original;
        if (copy % 4 == 0)
        {
            damaged.resize(next() % original.size());
        }
        else
        {
            for (int change = 0, changes = 1 + copy % 8; change < changes; ++change)
            {
                damaged[next() % damaged.size()] = static_cast<char>(next());
            }
        }
        refused += accepted(damaged) ? 0 : 1;
    }
    EXPECT_GE(refused, 65) << "every truncated copy at least";
}
}

// One glyph of this copy has a contour of a single off-curve point, its
// last: the outline walk would take the contour's start from the point after
// it, one past the glyph's points.
TEST(FontTests, AContourOfOneOffCurvePointIsRefusedBeforeItsOutlineIsWalked)
{
    const std::string data = readFile(KELVANE_TEST_DATA_DIR "/../fuzz/corpus/Font/single-off-curve-point.ttf").value();
    stbtt_fontinfo info{};
    ASSERT_NE(stbtt_InitFont(&info, reinterpret_cast<const unsigned char*>(data.data()), 0), 0);
    int refused = 0;
    for (int glyph = 0; glyph < info.numGlyphs; ++glyph)
    {
        refused += glyphFits(info, data, glyph) ? 0 : 1;
    }
    EXPECT_EQ(refused, 1);
}

// A composite glyph of this copy scales and moves its component past the 16
// bits the rasteriser keeps each point in, which is undefined; the component
// itself is whole.
TEST(FontTests, AComponentMovedPastSixteenBitPointsIsRefused)
{
    const std::string data =
        readFile(KELVANE_TEST_DATA_DIR "/../fuzz/corpus/Font/component-moved-past-sixteen-bits.ttf").value();
    stbtt_fontinfo info{};
    ASSERT_NE(stbtt_InitFont(&info, reinterpret_cast<const unsigned char*>(data.data()), 0), 0);
    std::vector<int> refused;
    for (int glyph = 0; glyph < info.numGlyphs; ++glyph)
    {
        if (!glyphFits(info, data, glyph))
        {
            refused.push_back(glyph);
        }
    }
    EXPECT_EQ(refused.size(), 1u);
}
