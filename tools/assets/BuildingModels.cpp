#include "tools/assets/ModelMeshes.hpp"

#include <glm/gtc/constants.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include <cmath>

namespace {

void addWindow(Mesh& mesh, glm::vec3 centre, glm::vec3 outward, AtlasRegion glass, AtlasRegion frame) {
    // A pane in a slightly deeper frame, both standing proud of the wall.
    const glm::vec3 flat = glm::vec3(1.0f) - glm::abs(outward);
    addBox(mesh, centre + outward * 0.04f, flat * 0.5f + glm::abs(outward) * 0.06f, frame);
    addBox(mesh, centre + outward * 0.1f, flat * 0.4f + glm::abs(outward) * 0.03f, glass);
}

} // namespace

Mesh buildLightHouse(const TrackModel& row) {
    Mesh mesh;
    // The rock it stands on, from the sea bed to a flat top at y = 0.
    const RadialRing rock[] = {{0.0f, -row.depth, bottomLeft}, {0.92f, -row.depth, bottomLeft},
                               {1.0f, -0.4f * row.depth, bottomLeft}, {0.93f, -0.6f, bottomLeft},
                               {0.82f, 0.0f, bottomLeft}, {0.0f, 0.0f, bottomLeft}};
    addRadialSolid(mesh, rock, 10, 61, 0.06f, row.halfWidth, row.halfLength);

    // The tower in red and white bands, the gallery, the lantern with the lamp
    // at lighthouseLampHeight, and the roof.
    constexpr float towerTop = 21.0f;
    constexpr int bands = 6;
    std::vector<ProfilePoint> tower;
    for (int band = 0; band <= bands; ++band) {
        const float y = towerTop * float(band) / bands;
        // The foot starts inside the rock, so the two never share a face.
        tower.push_back({2.6f - 0.8f * y / towerTop, band == 0 ? -0.3f : y, band % 2 == 0 ? topLeft : topRight, true});
    }
    const float lampBottom = lighthouseLampHeight - 2.2f;
    const float lampTop = lighthouseLampHeight + 1.8f;
    const ProfilePoint head[] = {
        {2.6f, towerTop, topRight, true},       {2.6f, towerTop + 0.6f, topLeft, true},
        {1.6f, towerTop + 0.6f, topLeft, true}, {1.6f, lampBottom, topLeft, true},
        {1.5f, lampBottom, bottomRight, true},  {1.5f, lampTop, topLeft, true},
        {1.9f, lampTop, topLeft, true},         {0.0f, row.height, topLeft},
    };
    tower.back().region = topLeft;
    tower.insert(tower.end(), std::begin(head), std::end(head));
    addLathe(mesh, tower, 12, false);
    // A door facing +Z.
    addBox(mesh, glm::vec3(0.0f, 1.0f, 2.5f), glm::vec3(0.5f, 1.0f, 0.15f), topLeft);
    return mesh;
}

Mesh buildHouse1(const TrackModel& row) {
    Mesh mesh;
    // A plastered cottage under a tiled gable roof, its door toward +Z.
    constexpr float wallTop = 3.5f;
    addBox(mesh, glm::vec3(0.0f, 0.5f * wallTop, 0.0f), glm::vec3(3.0f, 0.5f * wallTop, 2.5f), topLeft);
    const glm::vec2 gable[] = {{-row.halfLength, wallTop - 0.2f}, {row.halfLength, wallTop - 0.2f}, {0.0f, row.height}};
    addPrismX(mesh, gable, -row.halfWidth, row.halfWidth, std::span(&topRight, 1), topLeft);
    addBox(mesh, glm::vec3(1.6f, 4.7f, -0.8f), glm::vec3(0.3f, 1.3f, 0.3f), bottomRight);
    addBox(mesh, glm::vec3(0.9f, 1.05f, 2.5f), glm::vec3(0.5f, 1.05f, 0.12f), bottomRight);
    for (const float z : {2.5f, -2.5f}) {
        addWindow(mesh, glm::vec3(z > 0.0f ? -1.3f : 0.0f, 1.9f, z), glm::vec3(0.0f, 0.0f, z > 0.0f ? 1.0f : -1.0f),
                  bottomLeft, bottomRight);
    }
    for (const float x : {3.0f, -3.0f}) {
        addWindow(mesh, glm::vec3(x, 1.9f, 0.0f), glm::vec3(x > 0.0f ? 1.0f : -1.0f, 0.0f, 0.0f), bottomLeft,
                  bottomRight);
    }
    return mesh;
}

Mesh buildHouse2(const TrackModel& row) {
    Mesh mesh;
    // Two storeys of painted planks under a slate pyramid roof, door toward +Z.
    constexpr float wallTop = 6.0f;
    constexpr float eaves = 5.8f;
    addBox(mesh, glm::vec3(0.0f, 0.5f * wallTop, 0.0f), glm::vec3(3.5f, 0.5f * wallTop, 3.0f), topLeft);
    // A four-sided lathe is a pyramid with its corners on the axes; a turn of
    // an eighth and a stretch put its edges along X and Z at the eaves' size.
    const ProfilePoint roofProfile[] = {{1.0f, eaves, topRight, true}, {0.0f, row.height, topRight}};
    Mesh roof;
    addLathe(roof, roofProfile, 4, false);
    const float diagonal = std::sqrt(2.0f);
    const glm::mat4 stretch = glm::scale(glm::mat4(1.0f), glm::vec3(row.halfWidth * diagonal, 1.0f,
                                                                     row.halfLength * diagonal));
    appendTransformed(mesh, roof,
                      stretch * glm::rotate(glm::mat4(1.0f), glm::quarter_pi<float>(), glm::vec3(0.0f, 1.0f, 0.0f)));
    addBox(mesh, glm::vec3(0.0f, 1.1f, 3.0f), glm::vec3(0.6f, 1.1f, 0.12f), bottomRight);
    for (const float y : {1.7f, 4.4f}) {
        for (const float x : {-2.0f, 2.0f}) {
            if (y > 3.0f || x < 0.0f) {
                addWindow(mesh, glm::vec3(x, y, 3.0f), glm::vec3(0.0f, 0.0f, 1.0f), bottomLeft, bottomRight);
            }
            addWindow(mesh, glm::vec3(x, y, -3.0f), glm::vec3(0.0f, 0.0f, -1.0f), bottomLeft, bottomRight);
        }
        for (const float x : {3.5f, -3.5f}) {
            addWindow(mesh, glm::vec3(x, y, 0.0f), glm::vec3(x > 0.0f ? 1.0f : -1.0f, 0.0f, 0.0f), bottomLeft,
                      bottomRight);
        }
    }
    return mesh;
}

Mesh buildPirateShip(const TrackModel& row) {
    Mesh mesh;
    // The hull: U-shaped sections from the transom (-Z) to the bow (+Z), the
    // deck along their tops, the keel row.depth under the waterline.
    struct Station {
        float z;
        float halfBeam;
        float keel;
        float deck;
    };
    const Station stations[] = {
        {-8.5f, 2.2f, -1.6f, 2.6f}, {-6.0f, 2.5f, -2.3f, 2.3f}, {-2.0f, 2.6f, -row.depth, 2.0f},
        {2.0f, 2.6f, -row.depth, 2.0f}, {5.5f, 2.1f, -2.2f, 2.1f}, {7.5f, 1.2f, -1.6f, 2.4f},
        {8.5f, 0.15f, -0.6f, 2.7f},
    };
    std::vector<std::vector<glm::vec2>> sections;
    std::vector<float> zs;
    for (const Station& s : stations) {
        const float depth = s.deck - s.keel;
        sections.push_back({{0.0f, s.keel},
                            {0.6f * s.halfBeam, s.keel + 0.15f * depth},
                            {0.95f * s.halfBeam, s.keel + 0.5f * depth},
                            {s.halfBeam, s.deck},
                            {-s.halfBeam, s.deck},
                            {-0.95f * s.halfBeam, s.keel + 0.5f * depth},
                            {-0.6f * s.halfBeam, s.keel + 0.15f * depth}});
        zs.push_back(s.z);
    }
    const AtlasRegion bands[] = {topLeft, topLeft, topLeft, bottomLeft, topLeft, topLeft, topLeft};
    addLoftZ(mesh, sections, zs, bands, topLeft);
    // The stern castle, with a black rail along its top.
    addBox(mesh, glm::vec3(0.0f, 2.85f, -6.85f), glm::vec3(2.1f, 0.65f, 1.6f), topLeft);
    addBox(mesh, glm::vec3(0.0f, 3.45f, -6.85f), glm::vec3(2.15f, 0.05f, 1.62f), bottomRight);

    // Three masts with their yards and square sails, and the bowsprit.
    struct Mast {
        float z;
        float top;
        float sailHalfWidth;
    };
    const Mast masts[] = {{-5.5f, 11.0f, 2.4f}, {0.5f, row.height, row.halfWidth - 0.4f}, {5.0f, 12.5f, 3.0f}};
    for (const Mast& mast : masts) {
        addTube(mesh, glm::vec3(0.0f, 1.5f, mast.z), glm::vec3(0.0f, mast.top, mast.z), 0.22f, 0.12f, 6, topLeft);
        const float low = 4.5f;
        const float high = mast.top - 1.6f;
        const float split = low + 0.55f * (high - low);
        const float yardReach = mast.sailHalfWidth + 0.4f;
        for (const float y : {split + 0.1f, high + 0.2f}) {
            addBox(mesh, glm::vec3(0.0f, y, mast.z + 0.25f), glm::vec3(yardReach, 0.09f, 0.09f), bottomRight);
        }
        addBox(mesh, glm::vec3(0.0f, 0.5f * (low + split), mast.z + 0.45f),
               glm::vec3(mast.sailHalfWidth, 0.5f * (split - low), 0.06f), topRight);
        addBox(mesh, glm::vec3(0.0f, 0.5f * (split + 0.2f + high), mast.z + 0.45f),
               glm::vec3(0.85f * mast.sailHalfWidth, 0.5f * (high - split - 0.2f), 0.06f), topRight);
    }
    addTube(mesh, glm::vec3(0.0f, 2.4f, 8.0f), glm::vec3(0.0f, 3.6f, row.halfLength), 0.16f, 0.08f, 6, topLeft);
    // The black flag at the main mast's top.
    addBox(mesh, glm::vec3(0.55f, row.height - 0.5f, 0.5f), glm::vec3(0.5f, 0.32f, 0.03f), bottomRight);
    return mesh;
}

Mesh buildDragon(const TrackModel& row) {
    Mesh mesh;
    // A stone plinth with a jade dragon on it, head toward +Z, red wings spread.
    addBox(mesh, glm::vec3(0.0f, 0.6f, 0.0f), glm::vec3(2.2f, 0.6f, row.halfLength), bottomLeft);
    addGeodesic(mesh, glm::vec3(0.0f, 2.6f, -0.4f), glm::vec3(1.25f, 1.15f, 1.7f), 1, topLeft);
    addTube(mesh, glm::vec3(0.0f, 3.2f, 0.6f), glm::vec3(0.0f, 5.3f, 1.4f), 0.55f, 0.4f, 6, topLeft);
    addGeodesic(mesh, glm::vec3(0.0f, 5.8f, 1.8f), glm::vec3(0.55f, 0.5f, 0.8f), 1, topLeft);
    addBox(mesh, glm::vec3(0.0f, 5.62f, 2.55f), glm::vec3(0.3f, 0.22f, 0.4f), topLeft);
    for (const float side : {-1.0f, 1.0f}) {
        // Horns and eyes in gold.
        addTube(mesh, glm::vec3(0.3f * side, 6.1f, 1.6f), glm::vec3(0.45f * side, row.height, 1.1f), 0.12f, 0.02f, 5,
                bottomRight);
        addBox(mesh, glm::vec3(0.4f * side, 5.95f, 2.2f), glm::vec3(0.08f), bottomRight);
        // Legs standing on the plinth.
        addTube(mesh, glm::vec3(0.7f * side, 2.3f, 0.6f), glm::vec3(0.8f * side, 1.1f, 0.9f), 0.3f, 0.22f, 6, topLeft);
        addTube(mesh, glm::vec3(0.8f * side, 2.1f, -1.4f), glm::vec3(0.9f * side, 1.1f, -1.2f), 0.34f, 0.24f, 6,
                topLeft);
        // A wing: a membrane fanned from the shoulder, its leading edge a bone.
        const glm::vec3 shoulder(0.6f * side, 3.5f, -0.2f);
        const glm::vec3 tip(row.halfWidth * side, 6.4f, -0.4f);
        const glm::vec3 wing[] = {shoulder, {1.2f * side, 3.9f, 0.2f}, tip, {3.4f * side, 4.6f, -1.4f},
                                  {2.2f * side, 3.6f, -1.6f}, {1.0f * side, 3.2f, -1.2f}};
        addSheet(mesh, wing, topRight, glm::vec3(2.3f * side, 4.8f, -0.7f), 4.0f);
        addTube(mesh, shoulder, tip - glm::vec3(0.1f * side, 0.1f, 0.0f), 0.12f, 0.05f, 5, topLeft);
    }
    // The tail curls round on the plinth; gold spikes run along the back.
    addTube(mesh, glm::vec3(0.0f, 2.0f, -1.9f), glm::vec3(0.0f, 1.5f, -2.8f), 0.45f, 0.32f, 6, topLeft);
    addTube(mesh, glm::vec3(0.0f, 1.5f, -2.8f), glm::vec3(0.9f, 1.35f, -2.9f), 0.32f, 0.2f, 6, topLeft);
    addTube(mesh, glm::vec3(0.9f, 1.35f, -2.9f), glm::vec3(1.6f, 1.3f, -2.4f), 0.2f, 0.04f, 6, topLeft);
    for (int i = 0; i < 4; ++i) {
        const float z = 0.6f - 0.6f * float(i);
        const float y = 3.55f + 0.15f * std::cos(float(i));
        addTube(mesh, glm::vec3(0.0f, y, z), glm::vec3(0.0f, y + 0.45f, z - 0.2f), 0.15f, 0.01f, 4, bottomRight);
    }
    return mesh;
}
