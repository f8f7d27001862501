#include "tools/assets/ModelMeshes.hpp"

#include <array>
#include <functional>
#include <initializer_list>

namespace
{

// How the back of a board shows its picture: running along +X like the front,
// so an arrow points the same way from either side, or mirrored, so that
// lettering reads left to right from behind too.
enum class BoardBack
{
    SameWay,
    Mirrored
};

// A board facing +Z whose front and back each show the picture `repeats`
// times across; its thin edges take `edge`.
void addBoard(Mesh& mesh, glm::vec3 centre, glm::vec3 half, AtlasRegion face, float repeats, BoardBack backWay,
              AtlasRegion edge)
{
    const glm::vec3 low = centre - half;
    const glm::vec3 high = centre + half;
    const auto uv = [&](float across, float up)
    {
        return glm::vec2(face.min.x + repeats * across * (face.max.x - face.min.x),
                         face.max.y - up * (face.max.y - face.min.y));
    };
    const glm::vec3 front(0.0f, 0.0f, 1.0f);
    const MeshVertex f[] = {{{low.x, low.y, high.z}, uv(0, 0), front},
                            {{high.x, low.y, high.z}, uv(1, 0), front},
                            {{high.x, high.y, high.z}, uv(1, 1), front},
                            {{low.x, high.y, high.z}, uv(0, 1), front}};
    addTriangle(mesh, f[0], f[1], f[2]);
    addTriangle(mesh, f[0], f[2], f[3]);
    const glm::vec3 back(0.0f, 0.0f, -1.0f);
    // Seen from behind, +X runs from right to left.
    const float lowAcross = backWay == BoardBack::Mirrored ? 1.0f : 0.0f;
    const float highAcross = 1.0f - lowAcross;
    const MeshVertex b[] = {{{low.x, low.y, low.z}, uv(lowAcross, 0), back},
                            {{high.x, low.y, low.z}, uv(highAcross, 0), back},
                            {{high.x, high.y, low.z}, uv(highAcross, 1), back},
                            {{low.x, high.y, low.z}, uv(lowAcross, 1), back}};
    addTriangle(mesh, b[0], b[2], b[1]);
    addTriangle(mesh, b[0], b[3], b[2]);
    const float size = 2.0f * std::max(half.x, half.y);
    const glm::vec3 corners[] = {{low.x, low.y, low.z},    {high.x, low.y, low.z}, {high.x, high.y, low.z},
                                 {low.x, high.y, low.z},   {low.x, low.y, high.z}, {high.x, low.y, high.z},
                                 {high.x, high.y, high.z}, {low.x, high.y, high.z}};
    // Bottom, right, top and left edges, each counter-clockwise from outside.
    const int edges[4][4] = {{0, 1, 5, 4}, {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 0, 4, 7}};
    for (const auto& e : edges)
    {
        addFlatQuad(mesh, corners[e[0]], corners[e[1]], corners[e[2]], corners[e[3]], edge, centre, size);
    }
}

// A flat face, a fan from its first corner counter-clockwise from outside,
// each corner at the place in the picture that `uv` gives it.
void addMappedFace(Mesh& mesh, std::initializer_list<glm::vec3> corners, const std::function<glm::vec2(glm::vec3)>& uv)
{
    const glm::vec3* points = corners.begin();
    const glm::vec3 normal = glm::normalize(glm::cross(points[1] - points[0], points[2] - points[0]));
    const auto vertex = [&](glm::vec3 point) { return MeshVertex{point, uv(point), normal}; };
    for (std::size_t i = 1; i + 1 < corners.size(); ++i)
    {
        addTriangle(mesh, vertex(points[0]), vertex(points[i]), vertex(points[i + 1]));
    }
}

} // namespace

Mesh buildRamp(const TrackModel& row)
{
    Mesh mesh;
    // A wedge across the whole width: its lip under the water at -Z, its
    // crest at +Z. Left and right as seen from behind, -X on the left.
    const float w = row.halfWidth;
    const float l = row.halfLength;
    const float lip = -row.depth;
    const float rise = row.height - lip;
    const glm::vec3 crestLeft(-w, row.height, l);
    const glm::vec3 crestRight(w, row.height, l);
    const glm::vec3 backLeft(-w, lip, l);
    const glm::vec3 backRight(w, lip, l);
    const glm::vec3 lipLeft(-w, lip, -l);
    const glm::vec3 lipRight(w, lip, -l);
    // The deck's u runs across the width and its picture's top lies at the
    // crest, so its chevrons point up the slope; seen from the lip, +X is on
    // the left.
    const auto deck = [&](glm::vec3 point) {
        const float across = (w - point.x) / (2.0f * w);
        const float up = (point.z + l) / (2.0f * l);
        return glm::vec2(rampDeck.min.x + across * (rampDeck.max.x - rampDeck.min.x),
                         rampDeck.max.y - up * (rampDeck.max.y - rampDeck.min.y));
    };
    // The bars on an upright face whose u runs along `along`, measured round
    // the wedge from the back's left foot (`start` metres there at the
    // model's origin), so that they run on round its corners. Taking the
    // height off the way round leans them at 45 degrees whatever the face's size.
    const auto bars = [&](glm::vec3 along, float start) {
        return [=](glm::vec3 point) {
            const float height = point.y - lip;
            return glm::vec2(rampBars.min.x + (start + glm::dot(point, along) - height) / rampBarMetres,
                             rampBars.max.y - height / rise * (rampBars.max.y - rampBars.min.y));
        };
    };
    addMappedFace(mesh, {crestLeft, backLeft, backRight, crestRight}, bars(glm::vec3(1.0f, 0.0f, 0.0f), w));
    // The bottom, under the water, reads the deck from below: +X to the right, the crest up.
    addMappedFace(mesh, {backLeft, lipLeft, lipRight, backRight}, [&](glm::vec3 point) {
        return deck(glm::vec3(-point.x, point.y, point.z));
    });
    addMappedFace(mesh, {lipLeft, crestLeft, crestRight, lipRight}, deck);
    addMappedFace(mesh, {crestRight, backRight, lipRight}, bars(glm::vec3(0.0f, 0.0f, -1.0f), 2.0f * w + l));
    addMappedFace(mesh, {crestLeft, lipLeft, backLeft}, bars(glm::vec3(0.0f, 0.0f, 1.0f), -l));
    return mesh;
}

Mesh buildBarrier(const TrackModel& row)
{
    Mesh mesh;
    // A low wall of the classic road-barrier section: a wide foot set into
    // the water, sloped flanks and a narrow top, in the picture's red and
    // white warning stripes.
    const float w = row.halfLength;
    const float h = row.height;
    const glm::vec2 section[] = {{-w, -row.depth}, {w, -row.depth}, {w, 0.2f * h},           {0.45f * w, 0.38f * h},
                                 {0.38f * w, h},   {-0.38f * w, h}, {-0.45f * w, 0.38f * h}, {-w, 0.2f * h}};
    const AtlasRegion stripes = repeating(2.0f);
    addPrismX(mesh, section, -row.halfWidth, row.halfWidth, std::span(&stripes, 1), stripes);
    return mesh;
}

Mesh buildSign(const TrackModel& row)
{
    Mesh mesh;
    // A board on two black posts that stand from below the water, facing +Z;
    // its chevrons point along +X, the way to go, seen from either side.
    constexpr float boardBottom = 2.2f;
    const float boardHalfHeight = 0.5f * (row.height - boardBottom);
    for (const float x : {-1.1f, 1.1f})
    {
        const float postTop = boardBottom + 0.2f;
        addBox(mesh, glm::vec3(x, 0.5f * (postTop - row.depth), 0.0f),
               glm::vec3(0.08f, 0.5f * (postTop + row.depth), 0.06f), signBorder);
    }
    addBoard(mesh, glm::vec3(0.0f, boardBottom + boardHalfHeight, 0.0f),
             glm::vec3(row.halfWidth, boardHalfHeight, row.halfLength), wholePicture, 1.0f, BoardBack::SameWay, signBorder);
    return mesh;
}

Mesh buildBigSign(const TrackModel& row)
{
    Mesh mesh;
    // The start banner: two chequered pillars at the ends of the start line,
    // the lettered banner between them facing +Z, a chequered beam on top.
    constexpr float footHalf = 0.8f;
    constexpr float pillarHalf = 0.6f;
    const float pillarX = row.halfWidth - footHalf;
    constexpr int checks = 8;
    // The pillars end inside the beam.
    const float checkHeight = (row.height - 0.3f) / checks;
    for (const float side : {-1.0f, 1.0f})
    {
        // The feet stand from below the water.
        addBoxFacesFilled(mesh, glm::vec3(side * pillarX, 0.5f * (0.3f - row.depth), 0.0f),
                          glm::vec3(footHalf, 0.5f * (0.3f + row.depth), row.halfLength), bannerDarkCheck);
        for (int check = 0; check < checks; ++check)
        {
            addBoxFacesFilled(mesh, glm::vec3(side * pillarX, checkHeight * (float(check) + 0.5f), 0.0f),
                              glm::vec3(pillarHalf, 0.5f * checkHeight, pillarHalf),
                              check % 2 == 0 ? bannerDarkCheck : bannerLightCheck);
        }
    }
    const float bannerHalfWidth = pillarX - pillarHalf;
    // "START" four times along it, each only a little wider than drawn; the
    // grid sees the banner from behind, so the back reads forwards too.
    addBoard(mesh, glm::vec3(0.0f, 0.78f * row.height, 0.0f), glm::vec3(bannerHalfWidth, 0.16f * row.height, 0.2f),
             wholePicture, 4.0f, BoardBack::Mirrored, bannerDarkCheck);
    addBoxFacesFilled(mesh, glm::vec3(0.0f, row.height - 0.3f, 0.0f), glm::vec3(row.halfWidth, 0.3f, 0.35f),
                      bannerCheckRow);
    return mesh;
}

Mesh buildCrate(const TrackModel& row)
{
    Mesh mesh;
    // Plank faces inside a frame of boards along all twelve edges.
    const float half = row.halfWidth;
    const glm::vec3 centre(0.0f, half, 0.0f);
    constexpr float board = 0.08f;
    addBoxFacesFilled(mesh, centre, glm::vec3(half - 0.06f), wholePicture);
    const float edge = half - board;
    for (const float a : {-edge, edge})
    {
        for (const float b : {-edge, edge})
        {
            // Slightly thinner boards along Y and Z keep the corner faces apart.
            addBoxFacesFilled(mesh, centre + glm::vec3(0.0f, a, b), glm::vec3(half, board, board), crateFrame);
            addBoxFacesFilled(mesh, centre + glm::vec3(a, 0.0f, b), glm::vec3(board - 0.005f, half, board - 0.005f),
                              crateFrame);
            addBoxFacesFilled(mesh, centre + glm::vec3(a, b, 0.0f), glm::vec3(board - 0.01f, board - 0.01f, half),
                              crateFrame);
        }
    }
    return mesh;
}
