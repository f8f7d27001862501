#pragma once

#include <glm/vec2.hpp>

// Where the generated models take their colours from the pictures of their
// texture layers (drawn by the materials writer). Most pictures are one
// surface that repeats without a seam, and a model repeats it across itself
// every so many metres. A few pictures hold several things, and a part that
// wants one of them fits its texture coordinates into that part of the
// picture. Coordinates are in image space: u to the right, t down the rows.

struct AtlasRegion
{
    glm::vec2 min;
    glm::vec2 max;
    // Above 0 the whole picture repeats every this many metres (min offsets
    // it); otherwise the part is fitted once into min..max.
    float repeatMetres = 0.0f;
};

inline constexpr AtlasRegion wholePicture{{0.0f, 0.0f}, {1.0f, 1.0f}};

constexpr AtlasRegion repeating(float metres, glm::vec2 offset = glm::vec2(0.0f))
{
    return {offset, offset + glm::vec2(1.0f), metres};
}

// The houses: each layer's picture is one surface (plaster, roof tiles), so
// walls and roof repeat the same one; were a picture to hold both, these are
// the places to point the parts at their halves.
inline constexpr AtlasRegion houseWalls = repeating(3.0f);
inline constexpr AtlasRegion houseRoof = repeating(3.0f);
inline constexpr AtlasRegion house2Walls = repeating(3.0f);
inline constexpr AtlasRegion house2Roof = repeating(3.0f);

// The lighthouse: red and white rings, two pairs down the picture.
inline constexpr AtlasRegion lighthouseWhite{{0.05f, 0.03f}, {0.95f, 0.22f}};
inline constexpr AtlasRegion lighthouseRed{{0.05f, 0.28f}, {0.95f, 0.47f}};

// The palm: fronds in the upper half (u along the frond, its midrib across
// the middle of that half), the trunk's rings in the lower half.
inline constexpr AtlasRegion palmFrond{{0.0f, 0.0f}, {1.0f, 0.5f}};
inline constexpr AtlasRegion palmTrunk{{0.0f, 0.5f}, {1.0f, 1.0f}};

// The ship: one row of planks, stretched over a sail it reads as canvas.
inline constexpr AtlasRegion shipSailcloth{{0.02f, 0.01f}, {0.98f, 0.11f}};

// The sign: yellow with black chevrons pointing along +u and a black border
// along its top and bottom edges.
inline constexpr AtlasRegion signBorder{{0.02f, 0.005f}, {0.98f, 0.045f}};

// The start banner: a row of black and white checks along its top, the
// lettered band across the middle.
inline constexpr AtlasRegion bannerDarkCheck{{0.005f, 0.005f}, {0.057f, 0.057f}};
inline constexpr AtlasRegion bannerLightCheck{{0.068f, 0.005f}, {0.12f, 0.057f}};
inline constexpr AtlasRegion bannerCheckRow{{0.0f, 0.005f}, {1.0f, 0.057f}};

// The crate: a face of boards inside its frame; the frame's own wood along the edge.
inline constexpr AtlasRegion crateFrame{{0.015f, 0.2f}, {0.085f, 0.8f}};

// The ramp. Its deck, above, is fitted once onto the slope, the picture's
// top at the crest and its u across the width: pale grey tread plate with red
// and white kerbs down both edges and red chevrons pointing up the slope.
// Below it, upright red and white bars, rampBarPairs pairs across the
// picture, which repeat round it sideways: the back and the sides lay them
// along their length every rampBarMetres, fitted by height into the band.
inline constexpr AtlasRegion rampDeck{{0.0f, 0.02f}, {1.0f, 0.68f}};
inline constexpr AtlasRegion rampBars{{0.0f, 0.74f}, {1.0f, 0.98f}};
inline constexpr float rampBarPairs = 4.0f;
inline constexpr float rampBarMetres = 4.0f;

// The boat. The upper half of its picture is the hull's side seen by height:
// row t paints the height 1 - 2t metres above the keel (red bottom paint,
// white topsides with a navy and a turquoise stripe), the
// same along the whole row, so repeating it every 2 m from this offset lays
// the stripes level round the topsides and the transom. The lower half holds
// plain cells for the parts that have a colour of their own.
inline constexpr AtlasRegion boatSides = repeating(2.0f, glm::vec2(0.0f, 0.5f));
inline constexpr AtlasRegion boatGlass{{0.03f, 0.53f}, {0.22f, 0.73f}};
inline constexpr AtlasRegion boatWhite{{0.28f, 0.53f}, {0.47f, 0.73f}};
inline constexpr AtlasRegion boatBottom{{0.53f, 0.53f}, {0.72f, 0.73f}};
inline constexpr AtlasRegion boatUpholstery{{0.78f, 0.53f}, {0.97f, 0.73f}};
inline constexpr AtlasRegion boatTeak{{0.03f, 0.78f}, {0.22f, 0.97f}};
inline constexpr AtlasRegion boatEngine{{0.28f, 0.78f}, {0.47f, 0.97f}};
inline constexpr AtlasRegion boatRubRail{{0.53f, 0.78f}, {0.72f, 0.97f}};
