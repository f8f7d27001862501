#include "game/assets/AssetPaths.hpp"
#include "game/scenes/SceneLoading.hpp"
#include "renderers/Font.hpp"

#include <gtest/gtest.h>

namespace
{
namespace fs = std::filesystem;

const fs::path assets = KELVANE_ASSETS_DIR;

TEST(FontAssetsTest, EachFontHasAGlyphForEveryCodePointItsSceneAsksFor)
{
    const std::pair<fs::path, std::u32string> fonts[] = {
        {assets / menuFontFile, textCodePoints},
        {assets / debugFontFile, textCodePoints},
        {assets / clockFontFile, clockCodePoints},
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
