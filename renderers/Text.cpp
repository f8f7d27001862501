#include "renderers/Text.hpp"

#include "engine/ScreenMaths.hpp"
#include "engine/Timer.hpp"
#include "graphics/Mesh.hpp"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>

namespace
{
constexpr char32_t lineFeed = U'\n';

const Glyph& glyphOf(const Font& font, char32_t character)
{
    static const Glyph blank;
    const auto found = font.glyphs.find(character);
    return found != font.glyphs.end() ? found->second : blank;
}

float kerningBetween(const Glyph& glyph, char32_t next)
{
    const auto found = glyph.kerning.find(next);
    return found != glyph.kerning.end() ? found->second : 0.0f;
}
}

MeshData<ScreenVertex> buildTextMesh(const Font& font, const std::u32string& text, std::uint32_t alignment)
{
    MeshData<ScreenVertex> mesh;
    mesh.vertices.reserve(text.size() * 4);
    mesh.indices.reserve(text.size() * 6);
    const float lineHeight = font.ascent + std::abs(font.descent) + font.lineGap;
    float pen = 0.0f;
    float lineTop = 0.0f;
    float right = 0.0f;
    for (std::size_t index = 0; index < text.size(); ++index)
    {
        const char32_t character = text[index];
        if (character == lineFeed)
        {
            pen = 0.0f;
            lineTop += lineHeight;
            continue;
        }
        const Glyph& glyph = glyphOf(font, character);
        const float baseline = lineTop + font.ascent;
        mesh.vertices.push_back({{pen + glyph.x0, baseline + glyph.y0}, {glyph.u, glyph.v}});
        mesh.vertices.push_back({{pen + glyph.x0, baseline + glyph.y1}, {glyph.u, glyph.v + glyph.dv}});
        mesh.vertices.push_back({{pen + glyph.x1, baseline + glyph.y0}, {glyph.u + glyph.du, glyph.v}});
        mesh.vertices.push_back({{pen + glyph.x1, baseline + glyph.y1}, {glyph.u + glyph.du, glyph.v + glyph.dv}});
        right = std::max(right, pen + glyph.x1);
        pen += glyph.advance;
        if (index + 1 < text.size() && text[index + 1] != lineFeed)
        {
            pen += kerningBetween(glyph, text[index + 1]);
        }
    }

    const float shift = alignment == textAlignCentre ? right * 0.5f : alignment == textAlignRight ? right : 0.0f;
    for (ScreenVertex& vertex : mesh.vertices)
    {
        vertex.position.x -= shift;
    }
    const auto quadCount = static_cast<std::uint32_t>(mesh.vertices.size() / 4);
    for (std::uint32_t quad = 0; quad < quadCount; ++quad)
    {
        const std::uint32_t first = quad * 4;
        mesh.indices.insert(mesh.indices.end(), {first, first + 1, first + 2, first + 2, first + 1, first + 3});
    }
    return mesh;
}

MeshData<ScreenVertex> createText(const Font& font, const std::string& text, std::uint32_t alignment)
{
    return buildTextMesh(font, toUtf32(text), alignment);
}

bool updateTextMesh(Mesh& mesh, const MeshData<ScreenVertex>& text)
{
    if (!updateVertices(mesh, text.vertices.data(),
                        static_cast<std::uint32_t>(text.vertices.size() * sizeof(ScreenVertex))))
    {
        return false;
    }
    mesh.indexCount = static_cast<std::uint32_t>(text.indices.size());
    return true;
}

void refreshFpsText(const Font& font, Mesh& mesh)
{
    const std::string text = fmt::format("FPS: {}", Timer::getFramesPerSecond());
    updateTextMesh(mesh, createText(font, text, textAlignLeft));
}
