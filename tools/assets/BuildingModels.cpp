#include "tools/assets/ModelMeshes.hpp"

#include <glm/gtc/constants.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include <cmath>

namespace
{

// A deck on stilts that reach from below the water up to floor level.
void addStilts(Mesh& mesh, glm::vec2 halfSize, float depth, float floor, AtlasRegion region)
{
    constexpr float deck = 0.3f;
    const float postTop = floor - deck;
    addBox(mesh, glm::vec3(0.0f, floor - 0.5f * deck, 0.0f), glm::vec3(halfSize.x, 0.5f * deck, halfSize.y), region);
    for (const float x : {-1.0f, 0.0f, 1.0f})
    {
        for (const float z : {-1.0f, 1.0f})
        {
            addBox(mesh, glm::vec3(x * (halfSize.x - 0.3f), 0.5f * (postTop - depth), z * (halfSize.y - 0.3f)),
                   glm::vec3(0.14f, 0.5f * (postTop + depth), 0.14f), region);
        }
    }
}

void addWindow(Mesh& mesh, glm::vec3 centre, glm::vec3 outward, AtlasRegion region)
{
    // A pane in a slightly deeper frame, both standing proud of the wall.
    const glm::vec3 flat = glm::vec3(1.0f) - glm::abs(outward);
    addBox(mesh, centre + outward * 0.04f, flat * 0.5f + glm::abs(outward) * 0.06f, region);
    addBox(mesh, centre + outward * 0.1f, flat * 0.4f + glm::abs(outward) * 0.03f, region);
}

} // namespace

Mesh buildLightHouse(const TrackModel& row)
{
    Mesh mesh;
    // The whitewashed rock it stands on, from the sea bed to a flat top at y = 0.
    const RadialRing rock[] = {{0.0f, -row.depth, lighthouseWhite},
                               {0.92f, -row.depth, lighthouseWhite},
                               {1.0f, -0.4f * row.depth, lighthouseWhite},
                               {0.93f, -0.6f, lighthouseWhite},
                               {0.82f, 0.0f, lighthouseWhite},
                               {0.0f, 0.0f, lighthouseWhite}};
    addRadialSolid(mesh, rock, 10, 61, 0.06f, row.halfWidth, row.halfLength);

    // The tapering tower takes the picture's red and white rings, four pairs
    // up its height; its foot starts inside the rock, so the two share no face.
    constexpr float towerTop = 21.0f;
    constexpr glm::vec2 foot(2.6f, -0.3f);
    constexpr glm::vec2 shoulder(1.8f, towerTop);
    const float slant = glm::length(shoulder - foot);
    const ProfilePoint tower[] = {{foot.x, foot.y, repeating(0.5f * slant), true},
                                  {shoulder.x, shoulder.y, repeating(0.5f * slant), true}};
    addLathe(mesh, tower, 12, false);

    // The gallery, the lantern with the lamp at lighthouseLampHeight, and the roof.
    const float lampBottom = lighthouseLampHeight - 2.2f;
    const float lampTop = lighthouseLampHeight + 1.8f;
    const ProfilePoint head[] = {
        {2.6f, towerTop - 0.2f, lighthouseRed, true}, {2.6f, towerTop + 0.6f, lighthouseRed, true},
        {1.6f, towerTop + 0.6f, lighthouseRed, true}, {1.6f, lampBottom, lighthouseRed, true},
        {1.5f, lampBottom, lighthouseWhite, true},    {1.5f, lampTop, lighthouseRed, true},
        {1.9f, lampTop, lighthouseRed, true},         {0.0f, row.height, lighthouseRed},
    };
    addLathe(mesh, head, 12, false);
    // A door facing +Z.
    addBox(mesh, glm::vec3(0.0f, 1.0f, 2.5f), glm::vec3(0.5f, 1.0f, 0.15f), lighthouseRed);
    return mesh;
}

Mesh buildHouse1(const TrackModel& row)
{
    Mesh mesh;
    // A cottage on stilts under a gable roof with a chimney, its door toward +Z.
    constexpr float floor = 1.1f;
    constexpr float wallTop = floor + 3.5f;
    addStilts(mesh, glm::vec2(3.3f, 2.8f), row.depth, floor, houseWalls);
    addBox(mesh, glm::vec3(0.0f, 0.5f * (floor + wallTop), 0.0f), glm::vec3(3.0f, 0.5f * (wallTop - floor), 2.5f),
           houseWalls);
    const glm::vec2 gable[] = {{-row.halfLength, wallTop - 0.2f}, {row.halfLength, wallTop - 0.2f}, {0.0f, row.height}};
    addPrismX(mesh, gable, -row.halfWidth, row.halfWidth, std::span(&houseRoof, 1), houseWalls);
    addBox(mesh, glm::vec3(1.6f, row.height - 1.3f, -0.8f), glm::vec3(0.3f, 1.3f, 0.3f), houseWalls);
    addBox(mesh, glm::vec3(0.9f, floor + 1.05f, 2.5f), glm::vec3(0.5f, 1.05f, 0.12f), houseWalls);
    for (const float z : {2.5f, -2.5f})
    {
        addWindow(mesh, glm::vec3(z > 0.0f ? -1.3f : 0.0f, floor + 1.9f, z),
                  glm::vec3(0.0f, 0.0f, z > 0.0f ? 1.0f : -1.0f), houseWalls);
    }
    for (const float x : {3.0f, -3.0f})
    {
        addWindow(mesh, glm::vec3(x, floor + 1.9f, 0.0f), glm::vec3(x > 0.0f ? 1.0f : -1.0f, 0.0f, 0.0f), houseWalls);
    }
    return mesh;
}

Mesh buildHouse2(const TrackModel& row)
{
    Mesh mesh;
    // Two storeys on stilts under a pyramid roof, door toward +Z.
    constexpr float floor = 1.1f;
    constexpr float wallTop = floor + 6.0f;
    constexpr float eaves = wallTop - 0.2f;
    addStilts(mesh, glm::vec2(3.8f, 3.3f), row.depth, floor, house2Walls);
    addBox(mesh, glm::vec3(0.0f, 0.5f * (floor + wallTop), 0.0f), glm::vec3(3.5f, 0.5f * (wallTop - floor), 3.0f),
           house2Walls);
    // A four-sided lathe is a pyramid with its corners on the axes; a turn of
    // an eighth and a stretch put its edges along X and Z at the eaves' size.
    const ProfilePoint roofProfile[] = {{1.0f, eaves, house2Roof, true}, {0.0f, row.height, house2Roof}};
    Mesh roof;
    addLathe(roof, roofProfile, 4, false);
    const float diagonal = std::sqrt(2.0f);
    const glm::mat4 stretch =
        glm::scale(glm::mat4(1.0f), glm::vec3(row.halfWidth * diagonal, 1.0f, row.halfLength * diagonal));
    appendTransformed(mesh, roof,
                      stretch * glm::rotate(glm::mat4(1.0f), glm::quarter_pi<float>(), glm::vec3(0.0f, 1.0f, 0.0f)));
    addBox(mesh, glm::vec3(0.0f, floor + 1.1f, 3.0f), glm::vec3(0.6f, 1.1f, 0.12f), house2Walls);
    for (const float y : {floor + 1.7f, floor + 4.4f})
    {
        for (const float x : {-2.0f, 2.0f})
        {
            if (y > floor + 3.0f || x < 0.0f)
            {
                addWindow(mesh, glm::vec3(x, y, 3.0f), glm::vec3(0.0f, 0.0f, 1.0f), house2Walls);
            }
            addWindow(mesh, glm::vec3(x, y, -3.0f), glm::vec3(0.0f, 0.0f, -1.0f), house2Walls);
        }
        for (const float x : {3.5f, -3.5f})
        {
            addWindow(mesh, glm::vec3(x, y, 0.0f), glm::vec3(x > 0.0f ? 1.0f : -1.0f, 0.0f, 0.0f), house2Walls);
        }
    }
    return mesh;
}

Mesh buildPirateShip(const TrackModel& row)
{
    Mesh mesh;
    const AtlasRegion wood = repeating(4.0f);
    // The hull: U-shaped sections from the transom (-Z) to the bow (+Z), the
    // deck along their tops, the keel row.depth under the waterline.
    const HullStation stations[] = {
        {-8.5f, 2.2f, -1.6f, 2.6f},     {-6.0f, 2.5f, -2.3f, 2.3f}, {-2.0f, 2.6f, -row.depth, 2.0f},
        {2.0f, 2.6f, -row.depth, 2.0f}, {5.5f, 2.1f, -2.2f, 2.1f},  {7.5f, 1.2f, -1.6f, 2.4f},
        {8.5f, 0.15f, -0.6f, 2.7f},
    };
    const AtlasRegion bands[] = {wood, wood, wood, wood, wood, wood, wood};
    addHullZ(
        mesh, stations,
        [](const HullStation& s) -> std::vector<glm::vec2> {
            const float depth = s.deck - s.keel;
            return {{0.6f * s.halfBeam, s.keel + 0.15f * depth},
                    {0.95f * s.halfBeam, s.keel + 0.5f * depth},
                    {s.halfBeam, s.deck}};
        },
        bands, wood);
    // The stern castle, with a rail along its top.
    addBox(mesh, glm::vec3(0.0f, 2.85f, -6.85f), glm::vec3(2.1f, 0.65f, 1.6f), wood);
    addBox(mesh, glm::vec3(0.0f, 3.45f, -6.85f), glm::vec3(2.15f, 0.05f, 1.62f), wood);

    // Three masts with their yards and square sails, and the bowsprit.
    struct Mast
    {
        float z;
        float top;
        float sailHalfWidth;
    };
    const Mast masts[] = {{-5.5f, 11.0f, 2.4f}, {0.5f, row.height, row.halfWidth - 0.4f}, {5.0f, 12.5f, 3.0f}};
    for (const Mast& mast : masts)
    {
        addTube(mesh, glm::vec3(0.0f, 1.5f, mast.z), glm::vec3(0.0f, mast.top, mast.z), 0.22f, 0.12f, 6, wood);
        const float low = 4.5f;
        const float high = mast.top - 1.6f;
        const float split = low + 0.55f * (high - low);
        const float yardReach = mast.sailHalfWidth + 0.4f;
        for (const float y : {split + 0.1f, high + 0.2f})
        {
            addBox(mesh, glm::vec3(0.0f, y, mast.z + 0.25f), glm::vec3(yardReach, 0.09f, 0.09f), wood);
        }
        addBox(mesh, glm::vec3(0.0f, 0.5f * (low + split), mast.z + 0.45f),
               glm::vec3(mast.sailHalfWidth, 0.5f * (split - low), 0.06f), shipSailcloth);
        addBox(mesh, glm::vec3(0.0f, 0.5f * (split + 0.2f + high), mast.z + 0.45f),
               glm::vec3(0.85f * mast.sailHalfWidth, 0.5f * (high - split - 0.2f), 0.06f), shipSailcloth);
    }
    addTube(mesh, glm::vec3(0.0f, 2.4f, 8.0f), glm::vec3(0.0f, 3.6f, row.halfLength), 0.16f, 0.08f, 6, wood);
    // The flag at the main mast's top.
    addBox(mesh, glm::vec3(0.55f, row.height - 0.5f, 0.5f), glm::vec3(0.5f, 0.32f, 0.03f), wood);
    return mesh;
}

Mesh buildDragon(const TrackModel& row)
{
    Mesh mesh;
    // Scales all over, plinth included: the layer's picture is nothing else.
    const AtlasRegion scales = repeating(1.5f);
    // A plinth with a dragon on it, head toward +Z, wings spread.
    // The plinth stands in the water, its foot below the surface.
    addBox(mesh, glm::vec3(0.0f, 0.5f * (1.2f - row.depth), 0.0f),
           glm::vec3(2.2f, 0.5f * (1.2f + row.depth), row.halfLength), scales);
    addGeodesic(mesh, glm::vec3(0.0f, 2.6f, -0.4f), glm::vec3(1.25f, 1.15f, 1.7f), 1, scales);
    addTube(mesh, glm::vec3(0.0f, 3.2f, 0.6f), glm::vec3(0.0f, 5.3f, 1.4f), 0.55f, 0.4f, 6, scales);
    addGeodesic(mesh, glm::vec3(0.0f, 5.8f, 1.8f), glm::vec3(0.55f, 0.5f, 0.8f), 1, scales);
    addBox(mesh, glm::vec3(0.0f, 5.62f, 2.55f), glm::vec3(0.3f, 0.22f, 0.4f), scales);
    for (const float side : {-1.0f, 1.0f})
    {
        // Horns and eyes.
        addTube(mesh, glm::vec3(0.3f * side, 6.1f, 1.6f), glm::vec3(0.45f * side, row.height, 1.1f), 0.12f, 0.02f, 5,
                scales);
        addBox(mesh, glm::vec3(0.4f * side, 5.95f, 2.2f), glm::vec3(0.08f), scales);
        // Legs standing on the plinth.
        addTube(mesh, glm::vec3(0.7f * side, 2.3f, 0.6f), glm::vec3(0.8f * side, 1.1f, 0.9f), 0.3f, 0.22f, 6, scales);
        addTube(mesh, glm::vec3(0.8f * side, 2.1f, -1.4f), glm::vec3(0.9f * side, 1.1f, -1.2f), 0.34f, 0.24f, 6,
                scales);
        // A wing: a membrane fanned from the shoulder, its leading edge a bone.
        const glm::vec3 shoulder(0.6f * side, 3.5f, -0.2f);
        const glm::vec3 tip(row.halfWidth * side, 6.4f, -0.4f);
        const glm::vec3 wing[] = {shoulder,
                                  {1.2f * side, 3.9f, 0.2f},
                                  tip,
                                  {3.4f * side, 4.6f, -1.4f},
                                  {2.2f * side, 3.6f, -1.6f},
                                  {1.0f * side, 3.2f, -1.2f}};
        addSheet(mesh, wing, scales, glm::vec3(2.3f * side, 4.8f, -0.7f), 4.0f);
        addTube(mesh, shoulder, tip - glm::vec3(0.1f * side, 0.1f, 0.0f), 0.12f, 0.05f, 5, scales);
    }
    // The tail curls round on the plinth; spikes run along the back.
    addTube(mesh, glm::vec3(0.0f, 2.0f, -1.9f), glm::vec3(0.0f, 1.5f, -2.8f), 0.45f, 0.32f, 6, scales);
    addTube(mesh, glm::vec3(0.0f, 1.5f, -2.8f), glm::vec3(0.9f, 1.35f, -2.9f), 0.32f, 0.2f, 6, scales);
    addTube(mesh, glm::vec3(0.9f, 1.35f, -2.9f), glm::vec3(1.6f, 1.3f, -2.4f), 0.2f, 0.04f, 6, scales);
    for (int i = 0; i < 4; ++i)
    {
        const float z = 0.6f - 0.6f * float(i);
        const float y = 3.55f + 0.15f * std::cos(float(i));
        addTube(mesh, glm::vec3(0.0f, y, z), glm::vec3(0.0f, y + 0.45f, z - 0.2f), 0.15f, 0.01f, 4, scales);
    }
    return mesh;
}
