#include "renderers/Font.hpp"

#include <gtest/gtest.h>

namespace
{
namespace fs = std::filesystem;

const fs::path assets = KELVANE_ASSETS_DIR;

// The code points the scenes rasterise: every letter, figure and sign of the
// menu and debug texts, and the race clock's.
const std::u32string textSet =
    U"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789.,-;:_\u00E2\u201A\u00AC!\"%&/()=[] ";
const std::u32string clockSet = U"0123456789:.";

TEST(FontAssetsTest, EachFontHasAGlyphForEveryCodePointItsSceneAsksFor)
{
    const std::pair<fs::path, std::u32string> fonts[] = {
        {assets / "QuorlDemoScene/Fonts/Antic-Regular.ttf", textSet},
        {assets / "Fonts/Antic-Regular.ttf", textSet},
        {assets / "Fonts/DMMono-Medium.ttf", clockSet},
    };
    for (const auto& [path, codePoints] : fonts)
    {
        std::vector<std::unique_ptr<Font>> owned;
        const std::optional<Font*> font = createFont(owned, path, 24, codePoints);
        ASSERT_TRUE(font) << path;
        for (const char32_t codePoint : codePoints)
        {
            const auto glyph = (*font)->glyphs.find(codePoint);
            ASSERT_NE(glyph, (*font)->glyphs.end()) << path << " " << static_cast<std::uint32_t>(codePoint);
            // A blank has no ink but still moves the pen; every glyph has an advance.
            EXPECT_GT(glyph->second.advance, 0.0f) << path << " " << static_cast<std::uint32_t>(codePoint);
        }
    }
}
} // namespace
