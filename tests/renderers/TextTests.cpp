#include "renderers/Hud.hpp"
#include "renderers/Text.hpp"

#include <gtest/gtest.h>

namespace
{
Glyph glyph(float x0, float x1, float advance, float u)
{
    Glyph result;
    result.x0 = x0;
    result.x1 = x1;
    result.y0 = -10.0f;
    result.advance = advance;
    result.u = u;
    result.du = 0.25f;
    result.dv = 0.5f;
    return result;
}

// A kerns before V; the blank has an advance and no box.
Font testFont()
{
    Font font;
    font.ascent = 10.0f;
    font.descent = -3.0f;
    font.lineGap = 2.0f;
    font.glyphs[U'A'] = glyph(0.0f, 8.0f, 9.0f, 0.0f);
    font.glyphs[U'A'].kerning = {{U'A', 0.0f}, {U'V', -2.0f}};
    font.glyphs[U'V'] = glyph(1.0f, 9.0f, 10.0f, 0.5f);
    font.glyphs[U' '].advance = 4.0f;
    return font;
}

std::vector<float> flatten(const MeshData<ScreenVertex>& mesh)
{
    std::vector<float> values;
    for (const ScreenVertex& vertex : mesh.vertices)
    {
        values.insert(values.end(), {vertex.position.x, vertex.position.y, vertex.texCoord.x, vertex.texCoord.y});
    }
    return values;
}

TEST(TextTests, QuadsFollowThePenWithKerningLineFeedsAndBlanks)
{
    const Font font = testFont();
    const MeshData<ScreenVertex> kerned = buildTextMesh(font, U"AV", textAlignLeft);
    EXPECT_EQ(flatten(kerned), (std::vector<float>{0, 0, 0, 0, 0, 10, 0, 0.5f, 8, 0, 0.25f, 0, 8, 10, 0.25f, 0.5f,
                                                   8, 0, 0.5f, 0, 8, 10, 0.5f, 0.5f, 16, 0, 0.75f, 0, 16, 10, 0.75f,
                                                   0.5f}));
    EXPECT_EQ(kerned.indices, (std::vector<std::uint32_t>{0, 1, 2, 2, 1, 3, 4, 5, 6, 6, 5, 7}));

    // The next line starts at the left, lower by ascent, descent and gap.
    const MeshData<ScreenVertex> twoLines = buildTextMesh(font, U"A\nV", textAlignLeft);
    ASSERT_EQ(twoLines.vertices.size(), 8u);
    EXPECT_EQ(twoLines.vertices[4].position, glm::vec2(1.0f, 15.0f));

    // A blank's quad has no size; a character outside the set neither moves
    // the pen nor lets the kerning around it act.
    const MeshData<ScreenVertex> spaced = buildTextMesh(font, U" A\u00E9V", textAlignLeft);
    ASSERT_EQ(spaced.vertices.size(), 16u);
    EXPECT_EQ(spaced.vertices[3].position, glm::vec2(0.0f, 10.0f));
    EXPECT_EQ(spaced.vertices[4].position.x, 4.0f);
    EXPECT_EQ(spaced.vertices[8].position, spaced.vertices[11].position);
    EXPECT_EQ(spaced.vertices[12].position.x, 14.0f);

    const MeshData<ScreenVertex> empty = createText(font, "", textAlignRight);
    EXPECT_TRUE(empty.vertices.empty() && empty.indices.empty());
}

TEST(TextTests, AlignmentShiftsEveryLineByTheWidestRightEdgeAndHudQuadsSitAroundThePivot)
{
    const Font font = testFont();
    // Right edges: 16 for "AV"; 33 for "AVAV" (A at 0, V at 7, A at 17, V at 24).
    const std::vector<float> left = flatten(buildTextMesh(font, U"AV\nAVAV", textAlignLeft));
    for (const auto& [alignment, shift] : std::vector<std::pair<std::uint32_t, float>>{
             {textAlignCentre, 16.5f}, {textAlignRight, 33.0f}, {7, 0.0f}})
    {
        std::vector<float> expected = left;
        for (std::size_t x = 0; x < expected.size(); x += 4)
        {
            expected[x] -= shift;
        }
        EXPECT_EQ(flatten(buildTextMesh(font, U"AV\nAVAV", alignment)), expected) << alignment;
    }

    const MeshData<ScreenVertex> hud = createHudQuad(100.0f, 50.0f, 50.0f, 25.0f);
    EXPECT_EQ(flatten(hud), (std::vector<float>{-50, -25, 0, 0, -50, 25, 0, 1, 50, -25, 1, 0, 50, 25, 1, 1}));
    EXPECT_EQ(hud.indices, (std::vector<std::uint32_t>{0, 1, 2, 2, 1, 3}));
}
}
