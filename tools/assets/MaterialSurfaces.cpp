// The track's materials and the goblets', each a tile drawn from noise,
// stripes, planks, cells and scales. Where a model needs two surfaces from
// one layer (the palm's fronds and trunk) the tile holds both, one above the
// other; the ramp's, the boat's and the start banner's are laid out for their
// models, parts of them fitted once onto a face, as their comments say. Every
// other tile is one surface that may repeat in any direction.
#include "tools/assets/MaterialSurfaces.hpp"

#include "game/assets/MaterialLayers.hpp"
#include "game/race/TrackModels.hpp"
#include "tools/assets/Lettering.hpp"
#include "tools/assets/ModelAtlas.hpp"
#include "tools/assets/Noise.hpp"
#include "tools/assets/Raster.hpp"

#include <glm/common.hpp>
#include <glm/geometric.hpp>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <utility>

namespace
{
constexpr float pi = std::numbers::pi_v<float>;
// About one texel of the 512-texel tiles, for soft pattern edges.
constexpr float edge = 1.0f / 512.0f;

float fract(float value)
{
    return value - std::floor(value);
}

// 1 inside the band of `x` (a repeating coordinate in [0, 1)) from `from` to
// `to`, 0 outside, with soft edges.
float band(float x, float from, float to)
{
    return smoothStep(from - edge, from + edge, x) * (1.0f - smoothStep(to - edge, to + edge, x));
}

glm::vec3 rgb(float r, float g, float b)
{
    return glm::vec3(r, g, b);
}

// Planks along u in `rows` rows, `lengthsPerTile` to a row, each with its own
// shade, their ends staggered from row to row; grain runs along the plank.
struct Plank
{
    float groove = 0.0f;
    float shade = 0.0f;
    float grain = 0.0f;
};

Plank planks(glm::vec2 unit, int rows, int lengthsPerTile, std::uint32_t seed)
{
    const float row = unit.y * static_cast<float>(rows);
    const int rowIndex = static_cast<int>(std::floor(row));
    const float offset = hashUnit(rowIndex, 0, seed);
    const float along = unit.x * static_cast<float>(lengthsPerTile) + offset;
    const int plankIndex = static_cast<int>(std::floor(along)) % lengthsPerTile;
    const float across = fract(row);
    const float end = fract(along);
    const float seamWidth = 0.04f;
    Plank plank;
    const float sideGroove = 1.0f - smoothStep(0.0f, seamWidth, std::min(across, 1.0f - across));
    const float endGroove = 1.0f - smoothStep(0.0f, seamWidth * 0.35f, std::min(end, 1.0f - end));
    plank.groove = std::max(sideGroove, endGroove);
    plank.shade = hashUnit(rowIndex, plankIndex, seed + 7);
    const float rings = unit.y * static_cast<float>(rows) * 9.0f + tileFbm(unit, 4, 3, seed + 13) * 6.0f;
    plank.grain = 0.5f * tileFbm(unit, 8, 4, seed + 11) + 0.25f + 0.25f * std::sin(rings * 2.0f * pi);
    return plank;
}

Surface barrier(glm::vec2 unit)
{
    // Red and white diagonal warning stripes, four pairs across the tile.
    const float stripe = fract((unit.x + unit.y) * 4.0f);
    const float red = band(stripe, 0.0f, 0.5f) + band(stripe, 1.0f, 1.5f);
    const float grime = tileFbm(unit, 8, 5, 101);
    const float scuff = smoothStep(0.62f, 0.75f, tileFbm(unit, 16, 4, 103));
    Surface surface;
    surface.albedo = glm::mix(rgb(0.94f, 0.93f, 0.9f), rgb(0.82f, 0.08f, 0.06f), red) * (0.9f + 0.12f * grime);
    surface.albedo = glm::mix(surface.albedo, rgb(0.45f, 0.43f, 0.4f), scuff * 0.5f);
    surface.height = 0.3f * grime - 0.4f * scuff;
    surface.roughness = 0.4f + 0.2f * grime + 0.25f * scuff;
    return surface;
}

Surface plaster(glm::vec2 unit)
{
    const float bumps = tileFbm(unit, 8, 6, 201);
    const float stain = smoothStep(0.55f, 0.8f, tileFbm(unit, 3, 4, 203));
    const VoronoiCell cells = tileVoronoi(unit, 6, 205);
    const float crack = (1.0f - smoothStep(0.0f, 0.03f, cells.second - cells.nearest)) *
                        smoothStep(0.6f, 0.7f, tileFbm(unit, 4, 3, 207));
    Surface surface;
    surface.albedo = rgb(0.95f, 0.91f, 0.83f) * (0.92f + 0.1f * bumps) - rgb(0.1f, 0.1f, 0.06f) * stain;
    surface.albedo = glm::mix(surface.albedo, rgb(0.55f, 0.5f, 0.45f), crack * 0.6f);
    surface.height = bumps - crack * 0.5f;
    surface.occlusion = 1.0f - 0.4f * crack;
    surface.roughness = 0.85f + 0.1f * bumps;
    return surface;
}

Surface iceSheet(glm::vec2 unit, glm::vec3 light, glm::vec3 deep, float roughness, std::uint32_t seed)
{
    const VoronoiCell cells = tileVoronoi(unit, 5, seed);
    const VoronoiCell fine = tileVoronoi(unit, 14, seed + 1);
    // Cracks run out here and there rather than closing every cell.
    const float crack = (1.0f - smoothStep(0.0f, 0.035f, cells.second - cells.nearest)) *
                        smoothStep(0.35f, 0.55f, tileFbm(unit, 4, 3, seed + 3));
    const float fineCrack = (1.0f - smoothStep(0.0f, 0.03f, fine.second - fine.nearest)) *
                            smoothStep(0.55f, 0.7f, tileFbm(unit, 6, 3, seed + 4)) * 0.7f;
    const float frost = tileFbm(unit, 8, 5, seed + 2);
    Surface surface;
    surface.albedo = glm::mix(light, deep, 0.25f + 0.35f * cells.value) * (0.95f + 0.1f * frost);
    surface.albedo = glm::mix(surface.albedo, deep * 0.7f, std::max(crack, fineCrack * 0.5f));
    surface.height = 0.5f + 0.3f * cells.value + 0.2f * frost - 0.6f * crack - 0.25f * fineCrack;
    surface.occlusion = 1.0f - 0.35f * crack;
    surface.roughness = glm::clamp(roughness + 0.25f * frost + 0.3f * crack, 0.04f, 1.0f);
    return surface;
}

Surface ice(glm::vec2 unit)
{
    return iceSheet(unit, rgb(0.9f, 0.96f, 1.0f), rgb(0.45f, 0.72f, 0.9f), 0.12f, 301);
}

Surface snowyIce(glm::vec2 unit)
{
    Surface surface = iceSheet(unit, rgb(0.97f, 0.98f, 1.0f), rgb(0.62f, 0.8f, 0.93f), 0.3f, 311);
    const float drift = smoothStep(0.42f, 0.62f, tileFbm(unit, 4, 5, 313));
    surface.albedo = glm::mix(surface.albedo, rgb(0.98f, 0.99f, 1.0f), drift);
    surface.height = glm::mix(surface.height, 0.8f + 0.2f * tileFbm(unit, 16, 4, 315), drift);
    surface.roughness = glm::mix(surface.roughness, 0.85f, drift);
    surface.occlusion = glm::mix(surface.occlusion, 1.0f, drift);
    return surface;
}

Surface glacialIce(glm::vec2 unit)
{
    Surface surface = iceSheet(unit, rgb(0.7f, 0.88f, 0.98f), rgb(0.2f, 0.52f, 0.78f), 0.08f, 321);
    // Old snow pressed into layers.
    const float layers = 0.5f + 0.5f * std::sin((unit.y * 6.0f + tileFbm(unit, 4, 4, 323) * 1.5f) * 2.0f * pi);
    surface.albedo = glm::mix(surface.albedo, rgb(0.88f, 0.95f, 1.0f), smoothStep(0.7f, 0.95f, layers) * 0.6f);
    surface.height += 0.15f * layers;
    return surface;
}

Surface sand(glm::vec2 unit)
{
    const float warp = tileFbm(unit, 3, 4, 401);
    const float ripple = 0.5f + 0.5f * std::sin((unit.y * 10.0f + unit.x * 2.0f + warp * 2.5f) * 2.0f * pi);
    const float grain = hashUnit(static_cast<int>(unit.x * 512.0f), static_cast<int>(unit.y * 512.0f), 403);
    const float patches = tileFbm(unit, 4, 5, 405);
    Surface surface;
    surface.albedo = rgb(0.95f, 0.84f, 0.62f) * (0.86f + 0.12f * patches + 0.06f * grain) -
                     rgb(0.05f, 0.05f, 0.04f) * (1.0f - ripple);
    surface.height = 0.55f * ripple + 0.25f * patches + 0.2f * grain;
    surface.occlusion = 0.88f + 0.12f * ripple;
    surface.roughness = 0.9f + 0.08f * grain;
    return surface;
}

Surface lighthouse(glm::vec2 unit)
{
    // Four red and white rings up the tower, over painted brick courses.
    const float ring = fract(unit.y * 2.0f);
    const float red = band(ring, 0.5f, 1.0f);
    const float course = unit.y * 32.0f;
    const int courseIndex = static_cast<int>(std::floor(course));
    const float brick = fract(unit.x * 16.0f + (courseIndex % 2 == 0 ? 0.0f : 0.5f));
    const float mortar = std::max(1.0f - smoothStep(0.0f, 0.08f, std::min(fract(course), 1.0f - fract(course))),
                                  1.0f - smoothStep(0.0f, 0.04f, std::min(brick, 1.0f - brick)));
    const float weather = tileFbm(unit, 6, 5, 501);
    Surface surface;
    surface.albedo = glm::mix(rgb(0.96f, 0.95f, 0.91f), rgb(0.8f, 0.09f, 0.08f), red) * (0.92f + 0.1f * weather);
    surface.albedo *= 1.0f - 0.15f * mortar;
    surface.height = 0.7f - 0.5f * mortar + 0.2f * weather;
    surface.occlusion = 1.0f - 0.3f * mortar;
    surface.roughness = 0.5f + 0.2f * weather;
    return surface;
}

Surface palm(glm::vec2 unit)
{
    Surface surface;
    if (unit.y < 0.5f)
    {
        // Fronds: leaflets slanting off a midrib along u.
        const float local = unit.y * 2.0f;
        const float rib = 1.0f - smoothStep(0.0f, 0.03f, std::abs(local - 0.5f));
        const float leaflet = fract(unit.x * 24.0f + std::abs(local - 0.5f) * 3.0f);
        const float vein = 1.0f - smoothStep(0.0f, 0.12f, std::min(leaflet, 1.0f - leaflet));
        const float tint = tileFbm(unit, 4, 4, 601);
        surface.albedo = glm::mix(rgb(0.2f, 0.55f, 0.16f), rgb(0.42f, 0.7f, 0.2f), tint);
        surface.albedo = glm::mix(surface.albedo, rgb(0.12f, 0.32f, 0.1f), vein * 0.7f);
        surface.albedo = glm::mix(surface.albedo, rgb(0.62f, 0.7f, 0.3f), rib);
        surface.height = 0.6f + 0.4f * rib - 0.4f * vein;
        surface.roughness = 0.55f;
    }
    else
    {
        // Trunk: rings of old leaf scars with fibrous bark between them.
        const float ring = fract(unit.y * 16.0f + 0.1f * std::sin(unit.x * 2.0f * pi));
        const float scar = 1.0f - smoothStep(0.0f, 0.25f, std::min(ring, 1.0f - ring));
        const float fibre = tileFbm(glm::vec2(unit.x, unit.y), 16, 4, 603);
        surface.albedo = glm::mix(rgb(0.55f, 0.42f, 0.28f), rgb(0.33f, 0.24f, 0.16f), scar) * (0.85f + 0.25f * fibre);
        surface.height = 0.8f - 0.6f * scar + 0.2f * fibre;
        surface.occlusion = 1.0f - 0.35f * scar;
        surface.roughness = 0.9f;
    }
    return surface;
}

Surface shipHull(glm::vec2 unit)
{
    const Plank plank = planks(unit, 8, 2, 701);
    const float tar = smoothStep(0.6f, 0.8f, tileFbm(unit, 5, 4, 703));
    Surface surface;
    surface.albedo =
        glm::mix(rgb(0.34f, 0.2f, 0.11f), rgb(0.5f, 0.32f, 0.18f), plank.shade) * (0.78f + 0.3f * plank.grain);
    surface.albedo = glm::mix(surface.albedo, rgb(0.14f, 0.1f, 0.07f), std::max(plank.groove, tar * 0.4f));
    surface.height = 0.8f - 0.7f * plank.groove + 0.15f * plank.grain;
    surface.occlusion = 1.0f - 0.5f * plank.groove;
    surface.roughness = 0.7f + 0.15f * plank.grain;
    return surface;
}

// Tread plate's raised lozenges, one to each unit cell of `point`, turned a
// quarter from cell to cell: 1 on a lozenge, 0 between them.
float treadLozenges(glm::vec2 point)
{
    const glm::ivec2 index(static_cast<int>(std::floor(point.x)), static_cast<int>(std::floor(point.y)));
    glm::vec2 local = glm::vec2(fract(point.x), fract(point.y)) - 0.5f;
    if ((index.x + index.y) % 2 != 0)
    {
        local = glm::vec2(local.y, -local.x);
    }
    const glm::vec2 axis = glm::normalize(glm::vec2(1.0f, 1.0f));
    const float along = glm::dot(local, axis);
    const float across = glm::dot(local, glm::vec2(-axis.y, axis.x));
    const float lozenge = std::abs(along) / 0.38f + std::abs(across) / 0.08f;
    return 1.0f - smoothStep(0.8f, 1.0f, lozenge);
}

// The ramp's picture, laid out as ModelAtlas.hpp describes it: the deck
// above, drawn in metres of the slope it is fitted onto, and the band of bars
// below. Painted rather than bare, so that the slope shows its markings
// instead of mirroring the sky.
Surface paintedRamp(glm::vec2 unit)
{
    const glm::vec3 red = rgb(0.8f, 0.09f, 0.07f);
    const glm::vec3 white = rgb(0.85f, 0.85f, 0.83f);
    const float wear = tileFbm(unit, 8, 5, 901);
    const float scuff = smoothStep(0.62f, 0.76f, tileFbm(unit, 16, 4, 903));
    // The deck's rows end halfway between the regions the model takes, so each has a margin of its own.
    const float deckRows = 0.5f * (rampDeck.max.y + rampBars.min.y);
    Surface surface;
    if (unit.y >= deckRows)
    {
        const float bar = band(fract(unit.x * rampBarPairs), 0.0f, 0.5f);
        surface.albedo = glm::mix(white, red, bar) * (0.9f + 0.12f * wear);
        surface.albedo = glm::mix(surface.albedo, rgb(0.4f, 0.38f, 0.36f), scuff * 0.4f);
        surface.height = 0.3f * wear - 0.3f * scuff;
        surface.roughness = 0.7f + 0.1f * wear + 0.1f * scuff;
        return surface;
    }
    const float width = 2.0f * rampHalfWidth;
    const float slope = std::hypot(2.0f * rampHalfLength, rampCrestHeight + rampLipDepth);
    // Metres out from the centre line and up the slope from the lip.
    const float out = std::abs(unit.x - 0.5f) * width;
    const float up = (rampDeck.max.y - unit.y) / (rampDeck.max.y - rampDeck.min.y) * slope;

    // Kerbs down both edges, six pairs of blocks to the deck's rows, so that its
    // top row and its last (neighbours of the bars) agree.
    constexpr float kerbWidth = 0.8f;
    const float kerb = smoothStep(width * 0.5f - kerbWidth - 0.02f, width * 0.5f - kerbWidth + 0.02f, out);
    const float kerbRed = band(fract(unit.y / deckRows * 6.0f + 0.25f), 0.0f, 0.5f);

    // Three chevrons pointing to the crest, all of them above the water: the
    // lip's part of the slope lies under it. Along the centre line a chevron
    // is thicker than its arms by the arms' slant.
    constexpr float armDrop = 0.6f;
    const float halfWidth = 0.5f * std::sqrt(1.0f + armDrop * armDrop);
    const float reach = width * 0.5f - kerbWidth - 0.5f;
    const float waterLine = slope * rampLipDepth / (rampLipDepth + rampCrestHeight);
    const float lowest = waterLine + armDrop * reach + halfWidth + 0.4f;
    const float highest = slope - halfWidth - 0.8f;
    const float tip = (up + armDrop * std::min(out, reach)) / slope;
    float chevron = 0.0f;
    for (int i = 0; i < 3; ++i)
    {
        const float centre = lowest + (highest - lowest) * 0.5f * static_cast<float>(i);
        chevron = std::max(chevron, band(tip, (centre - halfWidth) / slope, (centre + halfWidth) / slope));
    }
    chevron *= 1.0f - smoothStep(reach - 0.02f, reach + 0.02f, out);

    const float plate = treadLozenges(glm::vec2(unit.x * 24.0f, unit.y / deckRows * 40.0f));
    surface.albedo = rgb(0.7f, 0.66f, 0.6f) * (0.92f + 0.1f * wear) + rgb(0.06f, 0.06f, 0.06f) * plate;
    surface.albedo = glm::mix(surface.albedo, red * (0.95f + 0.08f * wear), chevron);
    surface.albedo = glm::mix(surface.albedo, glm::mix(white, red, kerbRed) * (0.92f + 0.1f * wear), kerb);
    // Hulls take the paint off the lozenges' tops first.
    surface.albedo = glm::mix(surface.albedo, rgb(0.42f, 0.42f, 0.42f), scuff * (0.3f + 0.4f * plate));
    surface.height = 0.7f * plate + 0.1f * wear;
    surface.occlusion = 0.88f + 0.12f * plate;
    surface.roughness = 0.78f - 0.1f * plate * scuff + 0.08f * wear;
    return surface;
}

Surface dragonScales(glm::vec2 unit)
{
    // Rows of round scales, alternate rows shifted by half a scale; each row
    // lies over the top of the row below, so the rounded lower edges show.
    constexpr float rows = 12.0f;
    constexpr float columns = 12.0f;
    float bestRow = 1e9f;
    float bestShade = 0.0f;
    for (int step = -1; step <= 1; ++step)
    {
        const float row = std::floor(unit.y * rows) + static_cast<float>(step);
        const float shift = static_cast<int>(row) % 2 == 0 ? 0.0f : 0.5f;
        const float column = std::floor(unit.x * columns - shift + 0.5f);
        for (int side = -1; side <= 1; ++side)
        {
            const glm::vec2 centre((column + static_cast<float>(side) + shift) / columns, row / rows);
            glm::vec2 delta = unit - centre;
            delta.x = fract(delta.x + 0.5f) - 0.5f;
            delta.y = fract(delta.y + 0.5f) - 0.5f;
            const float distance = glm::length(glm::vec2(delta.x * columns / 0.64f, delta.y * rows / 1.3f));
            if (distance < 1.0f && row < bestRow)
            {
                bestRow = row;
                bestShade = 1.0f - distance;
            }
        }
    }
    const float scale = glm::clamp(bestShade, 0.0f, 1.0f);
    const float tint = tileFbm(unit, 4, 4, 1001);
    Surface surface;
    surface.albedo = glm::mix(rgb(0.06f, 0.3f, 0.2f), rgb(0.2f, 0.62f, 0.38f), scale) * (0.85f + 0.3f * tint);
    surface.albedo = glm::mix(surface.albedo, rgb(0.85f, 0.7f, 0.3f), smoothStep(0.0f, 0.12f, 0.12f - scale) * 0.6f);
    surface.height = std::sqrt(scale);
    surface.occlusion = 0.6f + 0.4f * scale;
    surface.roughness = 0.35f + 0.2f * tint;
    surface.metallic = 0.35f;
    return surface;
}

Surface volcanicRock(glm::vec2 unit)
{
    const VoronoiCell cells = tileVoronoi(unit, 6, 1101);
    const float rock = tileFbm(unit, 8, 6, 1103);
    const float crack = 1.0f - smoothStep(0.0f, 0.08f, cells.second - cells.nearest);
    const float core = 1.0f - smoothStep(0.0f, 0.03f, cells.second - cells.nearest);
    const float glowing = smoothStep(0.3f, 0.55f, tileFbm(unit, 3, 3, 1105));
    const float lava = core * glowing;
    Surface surface;
    surface.albedo = rgb(0.17f, 0.15f, 0.14f) * (0.7f + 0.5f * rock) * (1.0f - 0.5f * crack);
    surface.albedo = glm::mix(surface.albedo, rgb(1.0f, 0.42f, 0.06f), lava);
    surface.albedo = glm::mix(surface.albedo, rgb(0.6f, 0.12f, 0.03f), crack * glowing * (1.0f - lava) * 0.6f);
    surface.height = 0.4f + 0.4f * rock + 0.2f * cells.value - 0.7f * crack;
    surface.occlusion = 1.0f - 0.4f * crack * (1.0f - lava);
    surface.roughness = 0.92f - 0.3f * lava;
    surface.emission = lava;
    return surface;
}

Surface roofTiles(glm::vec2 unit)
{
    // Barrel tiles in eight courses, each course lapping over the next.
    const float course = unit.y * 8.0f;
    const int courseIndex = static_cast<int>(std::floor(course));
    const float shift = courseIndex % 2 == 0 ? 0.0f : 0.5f;
    const float across = fract(unit.x * 8.0f + shift);
    const int tileIndex = static_cast<int>(std::floor(unit.x * 8.0f + shift)) % 8;
    const float down = fract(course);
    const float barrel = std::sin(across * pi);
    const float lap = smoothStep(0.85f, 1.0f, down);
    const float shade = hashUnit(courseIndex, tileIndex, 1201);
    const float weather = tileFbm(unit, 6, 4, 1203);
    Surface surface;
    surface.albedo = glm::mix(rgb(0.7f, 0.3f, 0.17f), rgb(0.82f, 0.42f, 0.24f), shade) * (0.85f + 0.2f * weather);
    surface.albedo *= 0.75f + 0.25f * barrel;
    surface.height = 0.6f * barrel + 0.3f * down - 0.4f * lap;
    surface.occlusion = 0.6f + 0.4f * barrel * (1.0f - lap);
    surface.roughness = 0.7f + 0.15f * weather;
    return surface;
}

Surface chevronSign(glm::vec2 unit)
{
    // Black chevrons on yellow, pointing along +u: the way to go.
    const float chevron = fract(unit.x * 2.0f + std::abs(unit.y - 0.5f) * 1.2f);
    const float black = band(chevron, 0.1f, 0.4f);
    const float border = 1.0f - band(unit.y, 0.06f, 0.94f);
    const float wear = tileFbm(unit, 8, 5, 1301);
    Surface surface;
    surface.albedo = glm::mix(rgb(1.0f, 0.8f, 0.08f), rgb(0.06f, 0.06f, 0.06f), std::max(black, border));
    surface.albedo *= 0.9f + 0.12f * wear;
    surface.height = 0.5f + 0.2f * std::max(black, border) + 0.2f * wear;
    surface.roughness = 0.45f + 0.2f * wear;
    return surface;
}

Surface crate(glm::vec2 unit)
{
    // Vertical boards inside a frame, braced corner to corner.
    const float frameWidth = 0.1f;
    const float inFrame =
        1.0f - band(unit.x, frameWidth, 1.0f - frameWidth) * band(unit.y, frameWidth, 1.0f - frameWidth);
    const float brace = 1.0f - smoothStep(0.05f, 0.06f, std::abs(unit.x - unit.y) * 0.7071f);
    const float board = fract(unit.x * 4.0f);
    const float boardGroove = 1.0f - smoothStep(0.0f, 0.03f, std::min(board, 1.0f - board));
    const float raised = std::max(inFrame, brace);
    const float frameEdge =
        1.0f -
        smoothStep(0.0f, 3.0f * edge, std::abs(std::min({unit.x, unit.y, 1.0f - unit.x, 1.0f - unit.y}) - frameWidth));
    const float grain = tileFbm(glm::vec2(unit.x, unit.y), 4, 5, 1501) * 0.5f +
                        0.5f * (0.5f + 0.5f * std::sin((unit.x * 40.0f + tileFbm(unit, 4, 3, 1503) * 5.0f) * pi));
    const glm::vec2 nailPoint = glm::abs(unit - 0.5f);
    const float nail = 1.0f - smoothStep(0.008f, 0.012f, glm::length(nailPoint - glm::vec2(0.45f)));
    Surface surface;
    surface.albedo = glm::mix(rgb(0.62f, 0.44f, 0.25f), rgb(0.75f, 0.56f, 0.33f), raised) * (0.8f + 0.3f * grain);
    surface.albedo *= 1.0f - 0.4f * boardGroove * (1.0f - raised) - 0.3f * frameEdge;
    surface.albedo = glm::mix(surface.albedo, rgb(0.3f, 0.3f, 0.32f), nail);
    surface.height = 0.4f + 0.4f * raised - 0.3f * boardGroove * (1.0f - raised) + 0.1f * grain + 0.1f * nail;
    surface.occlusion = 1.0f - 0.4f * boardGroove * (1.0f - raised) - 0.3f * frameEdge;
    surface.roughness = 0.8f - 0.4f * nail;
    surface.metallic = nail;
    return surface;
}

// The boat's picture, laid out as ModelAtlas.hpp describes it: the hull's
// side by height in the upper half, the plain cells below.
Surface boatLivery(glm::vec2 unit)
{
    const glm::vec3 white = rgb(0.93f, 0.94f, 0.95f);
    const glm::vec3 red = rgb(0.8f, 0.09f, 0.07f);
    const glm::vec3 navy = rgb(0.04f, 0.1f, 0.3f);
    const float flake = tileFbm(unit, 16, 3, 1601);
    Surface surface;
    surface.roughness = 0.22f + 0.08f * flake;
    if (unit.y < 0.5f)
    {
        const float height = 1.0f - 2.0f * unit.y;
        const float bottom = 1.0f - smoothStep(0.27f - edge, 0.27f + edge, height);
        const float stripe = band(height, 0.42f, 0.49f);
        const float pinstripe = band(height, 0.51f, 0.525f);
        surface.albedo = glm::mix(white, red, bottom);
        surface.albedo = glm::mix(surface.albedo, navy, stripe);
        surface.albedo = glm::mix(surface.albedo, rgb(0.0f, 0.62f, 0.68f), pinstripe);
        surface.albedo *= 0.97f + 0.04f * flake;
        surface.height = 0.5f + 0.05f * flake;
        return surface;
    }
    // The cells, four to a row: glass, white, bottom paint and upholstery
    // above; teak, the engine's black, the chrome rub rail and white again
    // below. Neighbours across the picture's left and right edges differ
    // least, so the picture still tiles.
    const int column = std::min(static_cast<int>(unit.x * 4.0f), 3);
    const int row = unit.y < 0.755f ? 0 : 1;
    const float grain = tileFbm(glm::vec2(unit.x * 0.25f, unit.y * 4.0f), 32, 3, 1603);
    switch (row * 4 + column)
    {
    case 0:
        surface.albedo = rgb(0.07f, 0.1f, 0.13f);
        surface.roughness = 0.05f;
        break;
    case 1:
    case 7:
        surface.albedo = white * (0.97f + 0.04f * flake);
        break;
    case 2:
        surface.albedo = red * (0.97f + 0.04f * flake);
        surface.roughness = 0.35f;
        break;
    case 3:
        // Vinyl, its quilting a few ribs across each cell.
        surface.albedo = rgb(0.72f, 0.1f, 0.08f) * (0.9f + 0.2f * flake);
        surface.height = 0.5f + 0.3f * std::abs(std::sin(unit.y * 40.0f * pi));
        surface.roughness = 0.55f;
        break;
    case 4:
        // Teak planks along the deck with dark caulking between them.
        surface.albedo = glm::mix(rgb(0.55f, 0.35f, 0.19f), rgb(0.66f, 0.45f, 0.26f), grain);
        surface.albedo =
            glm::mix(surface.albedo, rgb(0.12f, 0.09f, 0.07f), band(fract(unit.x * 60.0f + 0.5f), 0.0f, 0.1f));
        surface.roughness = 0.7f;
        break;
    case 5:
        surface.albedo = rgb(0.05f, 0.05f, 0.06f);
        surface.roughness = 0.3f;
        break;
    default:
        surface.albedo = rgb(0.62f, 0.64f, 0.66f);
        surface.metallic = 1.0f;
        surface.roughness = 0.25f;
        break;
    }
    return surface;
}

// The start banner: checks above and below a blue band lettered "START".
std::function<Surface(glm::vec2)> startBanner()
{
    auto lettering = std::make_shared<Canvas>(512, 512, glm::vec4(1.0f, 1.0f, 1.0f, 0.0f));
    if (const std::optional<Typeface> face = loadTypeface("DejaVuSans-Bold.ttf"))
    {
        drawText(*lettering, *face, "START", 150.0f, glm::vec2(256.0f, 256.0f + 54.0f), TextAnchor::Centre,
                 glm::vec4(1.0f));
    }
    return [lettering](glm::vec2 unit) {
        const int x = glm::clamp(static_cast<int>(unit.x * 512.0f), 0, 511);
        const int y = glm::clamp(static_cast<int>(unit.y * 512.0f), 0, 511);
        const float letter = lettering->at(x, y).a;
        const float inBand = band(unit.y, 0.25f, 0.75f);
        const glm::ivec2 check(static_cast<int>(std::floor(unit.x * 16.0f)),
                               static_cast<int>(std::floor(unit.y * 16.0f)));
        const float dark = (check.x + check.y) % 2 == 0 ? 1.0f : 0.0f;
        const float weave = 0.5f + 0.25f * (std::sin(unit.x * 512.0f * pi) + std::sin(unit.y * 512.0f * pi));
        Surface surface;
        const glm::vec3 checks = dark > 0.5f ? rgb(0.05f, 0.05f, 0.06f) : rgb(0.95f, 0.95f, 0.93f);
        const glm::vec3 blue = glm::mix(rgb(0.04f, 0.27f, 0.68f), rgb(1.0f, 1.0f, 1.0f), letter);
        surface.albedo = glm::mix(checks, blue, inBand) * (0.95f + 0.05f * weave);
        surface.height = 0.3f * weave + 0.2f * letter * inBand;
        surface.roughness = 0.85f;
        return surface;
    };
}

Surface goblet(glm::vec2 unit, glm::vec3 metal, float roughness, std::uint32_t seed)
{
    // Polished metal, lightly hammered, with fine brushing around the cup.
    const VoronoiCell dents = tileVoronoi(unit, 10, seed);
    const float brushed = tileFbm(glm::vec2(unit.x, unit.y), 64, 2, seed + 1);
    Surface surface;
    surface.albedo = metal * (0.96f + 0.04f * brushed);
    surface.height = 0.5f * std::min(dents.nearest, 1.0f) + 0.1f * brushed;
    surface.metallic = 1.0f;
    surface.roughness = roughness + 0.08f * brushed;
    return surface;
}
} // namespace

std::vector<MaterialPattern> trackMaterials()
{
    const auto pattern = [](TrackMaterial material, std::function<Surface(glm::vec2)> surface, float depth) {
        return MaterialPattern{materialName(material), std::move(surface), depth};
    };
    return {
        pattern(TrackMaterial::Barrier, barrier, 0.004f),
        pattern(TrackMaterial::House, plaster, 0.006f),
        pattern(TrackMaterial::Ice, ice, 0.01f),
        pattern(TrackMaterial::Ice2, snowyIce, 0.01f),
        pattern(TrackMaterial::Ice3, glacialIce, 0.01f),
        pattern(TrackMaterial::Sand, sand, 0.006f),
        pattern(TrackMaterial::Lighthouse, lighthouse, 0.004f),
        pattern(TrackMaterial::Palm, palm, 0.006f),
        pattern(TrackMaterial::Ship, shipHull, 0.006f),
        pattern(TrackMaterial::Ramp, paintedRamp, 0.004f),
        pattern(TrackMaterial::Dragon, dragonScales, 0.012f),
        pattern(TrackMaterial::Volcano, volcanicRock, 0.015f),
        pattern(TrackMaterial::House2, roofTiles, 0.01f),
        pattern(TrackMaterial::Sign, chevronSign, 0.003f),
        pattern(TrackMaterial::BigSign, startBanner(), 0.002f),
        pattern(TrackMaterial::Crate, crate, 0.008f),
        pattern(TrackMaterial::Boat, boatLivery, 0.002f),
    };
}

std::vector<MaterialPattern> trophyMaterials()
{
    const auto pattern = [](GobletMaterial material, glm::vec3 metal, float roughness, std::uint32_t seed) {
        return MaterialPattern{
            materialName(material), [=](glm::vec2 unit) { return goblet(unit, metal, roughness, seed); }, 0.003f};
    };
    return {
        pattern(GobletMaterial::Gold, rgb(1.0f, 0.78f, 0.34f), 0.15f, 1701),
        pattern(GobletMaterial::Silver, rgb(0.96f, 0.96f, 0.97f), 0.12f, 1711),
        pattern(GobletMaterial::Bronze, rgb(0.8f, 0.5f, 0.27f), 0.25f, 1721),
    };
}
