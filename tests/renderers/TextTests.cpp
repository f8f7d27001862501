#include "renderers/Hud.hpp"
#include "renderers/Text.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace
{
Glyph glyph(float x0, float x1, float advance, float u)
{
    Glyph result;
    result.x0 = x0;
    result.x1 = x1;
    result.y0 = -10.0f;
    result.y1 = 0.0f;
    result.advance = advance;
    result.u = u;
    result.du = 0.25f;
    result.dv = 0.5f;
    return result;
}

// A made-up face: A kerns before V, the blank has an advance and no box.
Font testFont()
{
    Font font;
    font.ascent = 10.0f;
    font.descent = -3.0f;
    font.lineGap = 2.0f;
    font.glyphs[U'A'] = glyph(0.0f, 8.0f, 9.0f, 0.0f);
    font.glyphs[U'A'].kerning = {{U'A', 0.0f}, {U'V', -2.0f}};
    font.glyphs[U'V'] = glyph(1.0f, 9.0f, 10.0f, 0.5f);
    font.glyphs[U'\u201A'] = glyph(0.0f, 3.0f, 4.0f, 0.75f);
    font.glyphs[U' '].advance = 4.0f;
    return font;
}

std::vector<float> xs(const MeshData<ScreenVertex>& mesh)
{
    std::vector<float> result;
    for (const ScreenVertex& vertex : mesh.vertices)
    {
        result.push_back(vertex.position.x);
    }
    return result;
}

std::vector<ScreenVertex> quad(float left, float top, float right, float bottom, float u, float v, float du,
                               float dv)
{
    return {{{left, top}, {u, v}},
            {{left, bottom}, {u, v + dv}},
            {{right, top}, {u + du, v}},
            {{right, bottom}, {u + du, v + dv}}};
}

bool sameVertices(const std::vector<ScreenVertex>& actual, const std::vector<ScreenVertex>& expected)
{
    if (actual.size() != expected.size())
    {
        return false;
    }
    for (std::size_t index = 0; index < actual.size(); ++index)
    {
        if (actual[index].position != expected[index].position || actual[index].texCoord != expected[index].texCoord)
        {
            return false;
        }
    }
    return true;
}

TEST(TextTests, QuadsFollowThePenWithKerningLineFeedsAndBlanks)
{
    const Font font = testFont();
    const MeshData<ScreenVertex> kerned = buildTextMesh(font, U"AV", textAlignLeft);
    std::vector<ScreenVertex> expected = quad(0.0f, 0.0f, 8.0f, 10.0f, 0.0f, 0.0f, 0.25f, 0.5f);
    const std::vector<ScreenVertex> v = quad(8.0f, 0.0f, 16.0f, 10.0f, 0.5f, 0.0f, 0.25f, 0.5f);
    expected.insert(expected.end(), v.begin(), v.end());
    EXPECT_TRUE(sameVertices(kerned.vertices, expected));
    EXPECT_EQ(kerned.indices, (std::vector<std::uint32_t>{0, 1, 2, 2, 1, 3, 4, 5, 6, 6, 5, 7}));

    // A second line starts at the left, one line height (ascent, descent and gap) lower.
    const MeshData<ScreenVertex> twoLines = buildTextMesh(font, U"A\nV", textAlignLeft);
    ASSERT_EQ(twoLines.vertices.size(), 8u);
    EXPECT_EQ(twoLines.vertices[4].position, glm::vec2(1.0f, 15.0f));
    EXPECT_EQ(twoLines.indices.size(), 12u);

    // The blank's quad has no size; a character outside the set neither
    // moves the pen nor lets the kerning around it act.
    const MeshData<ScreenVertex> spaced = buildTextMesh(font, U" A\u00E9V", textAlignLeft);
    ASSERT_EQ(spaced.vertices.size(), 16u);
    for (std::size_t corner = 0; corner < 4; ++corner)
    {
        EXPECT_EQ(spaced.vertices[corner].position, glm::vec2(0.0f, 10.0f));
        EXPECT_EQ(spaced.vertices[8 + corner].position, glm::vec2(13.0f, 10.0f));
    }
    EXPECT_EQ(spaced.vertices[4].position.x, 4.0f);
    EXPECT_EQ(spaced.vertices[12].position.x, 14.0f);

    const MeshData<ScreenVertex> empty = buildTextMesh(font, U"", textAlignRight);
    EXPECT_TRUE(empty.vertices.empty());
    EXPECT_TRUE(empty.indices.empty());
    EXPECT_TRUE(createText(font, "", textAlignLeft).vertices.empty());
}

TEST(TextTests, AlignmentShiftsEveryLineByTheWidestRightEdge)
{
    const Font font = testFont();
    // Lines "AV" (right edge 16) and "AVAV" (A at 0, V at 7, A at 17, V at 24: right edge 33).
    const MeshData<ScreenVertex> left = buildTextMesh(font, U"AV\nAVAV", textAlignLeft);
    const std::vector<float> leftXs = xs(left);
    ASSERT_EQ(leftXs.size(), 24u);
    EXPECT_EQ(leftXs.back(), 33.0f);
    for (const auto& [alignment, shift] : std::vector<std::pair<std::uint32_t, float>>{
             {textAlignCentre, 16.5f}, {textAlignRight, 33.0f}, {7, 0.0f}})
    {
        const std::vector<float> shifted = xs(buildTextMesh(font, U"AV\nAVAV", alignment));
        ASSERT_EQ(shifted.size(), leftXs.size());
        for (std::size_t index = 0; index < shifted.size(); ++index)
        {
            EXPECT_EQ(shifted[index], leftXs[index] - shift) << alignment;
        }
    }
}

TEST(TextTests, Utf8TextBecomesCodePointsAndMalformedBytesTakeNoRoom)
{
    const Font font = testFont();
    EXPECT_TRUE(sameVertices(createText(font, "A\xE2\x80\x9A", textAlignLeft).vertices,
                             buildTextMesh(font, U"A\u201A", textAlignLeft).vertices));
    const MeshData<ScreenVertex> malformed = createText(font, "\xFF" "A", textAlignLeft);
    ASSERT_EQ(malformed.vertices.size(), 8u);
    EXPECT_EQ(malformed.vertices[4].position.x, 0.0f);
}

TEST(TextTests, HudQuadSpansItsSizeAroundThePivot)
{
    const MeshData<ScreenVertex> hud = createHudQuad(100.0f, 50.0f, 50.0f, 25.0f);
    EXPECT_TRUE(sameVertices(hud.vertices, quad(-50.0f, -25.0f, 50.0f, 25.0f, 0.0f, 0.0f, 1.0f, 1.0f)));
    EXPECT_EQ(hud.indices, (std::vector<std::uint32_t>{0, 1, 2, 2, 1, 3}));
}
}
