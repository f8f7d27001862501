#include "renderers/Font.hpp"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace
{
// The scenes' text set, with a code point outside Unicode and one the seed lacks.
const std::u32string codePoints =
    U"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789.,-;:_\u00E2\u201A\u00AC!\"%&/()=[] "
    U"\U0010FFFF\uFFFD";
}

// Whatever the bytes, a font is refused or made whole: every glyph's
// rectangle lies inside its atlas, whose sides are powers of two.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Font font;
    if (!rasteriseFont(font, std::string_view(reinterpret_cast<const char*>(data), size), 12, codePoints))
    {
        return 0;
    }
    const ImageData<std::uint8_t>& atlas = font.getAtlas();
    if (atlas.width == 0 || atlas.width > maxAtlasSide || atlas.height > maxAtlasSide ||
        atlas.pixels.size() != std::size_t{atlas.width} * atlas.height)
    {
        std::abort();
    }
    for (const auto& [codePoint, glyph] : font.glyphs)
    {
        if (!(glyph.u >= 0.0f && glyph.v >= 0.0f && glyph.u + glyph.du <= 1.0001f && glyph.v + glyph.dv <= 1.0001f) ||
            !std::isfinite(glyph.advance))
        {
            std::abort();
        }
    }
    return 0;
}
