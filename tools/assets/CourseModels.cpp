#include "tools/assets/ModelMeshes.hpp"

#include <array>

Mesh buildRamp(const TrackModel& row) {
    Mesh mesh;
    // A wedge across the whole width: its lip under the water at -Z, its crest
    // at +Z; grip on the slope, orange sides, a yellow back and a metal floor.
    const float lip = -row.depth;
    const glm::vec2 side[] = {{-row.halfLength, lip}, {row.halfLength, lip}, {row.halfLength, row.height}};
    const AtlasRegion faces[] = {bottomLeft, bottomRight, topLeft};
    addPrismX(mesh, side, -row.halfWidth, row.halfWidth, faces, topRight);
    return mesh;
}

Mesh buildBarrier(const TrackModel& row) {
    Mesh mesh;
    // A low wall of the classic road-barrier section on a rubber foot, in
    // blocks of alternating red and white along its length.
    const float w = row.halfLength;
    const float h = row.height;
    const glm::vec2 section[] = {{-w, 0.0f},          {w, 0.0f},           {w, 0.2f * h},        {0.45f * w, 0.38f * h},
                                 {0.38f * w, h},      {-0.38f * w, h},     {-0.45f * w, 0.38f * h}, {-w, 0.2f * h}};
    constexpr int blocks = 4;
    const float blockLength = 2.0f * row.halfWidth / blocks;
    for (int block = 0; block < blocks; ++block) {
        const AtlasRegion paint = block % 2 == 0 ? topLeft : topRight;
        const AtlasRegion faces[] = {bottomLeft, bottomLeft, paint, paint, paint, paint, paint, bottomLeft};
        const float x0 = -row.halfWidth + blockLength * float(block);
        addPrismX(mesh, section, x0, x0 + blockLength, faces, paint);
    }
    return mesh;
}

Mesh buildSign(const TrackModel& row) {
    Mesh mesh;
    // A white board on two posts facing +Z, with a red arrow through it that
    // points along +X on both faces.
    constexpr float boardBottom = 2.2f;
    const float boardHalfHeight = 0.5f * (row.height - boardBottom);
    const float boardCentre = boardBottom + boardHalfHeight;
    for (const float x : {-1.1f, 1.1f}) {
        addBox(mesh, glm::vec3(x, 0.5f * boardBottom + 0.1f, 0.0f), glm::vec3(0.08f, 0.5f * boardBottom + 0.1f, 0.06f),
               bottomLeft);
    }
    addBox(mesh, glm::vec3(0.0f, boardCentre, 0.0f), glm::vec3(row.halfWidth, boardHalfHeight, 0.08f), topLeft);
    addBox(mesh, glm::vec3(-0.45f, boardCentre, 0.0f), glm::vec3(0.75f, 0.16f, row.halfLength), topRight);
    const glm::vec2 head[] = {{0.3f, boardCentre - 0.45f}, {1.35f, boardCentre}, {0.3f, boardCentre + 0.45f}};
    addPrismZ(mesh, head, -row.halfLength, row.halfLength, std::span(&topRight, 1), topRight);
    return mesh;
}

Mesh buildBigSign(const TrackModel& row) {
    Mesh mesh;
    // The start banner: two striped pillars at the ends of the start line, a
    // chequered banner between them facing +Z, and a beam across the top.
    constexpr float footHalf = 0.8f;
    constexpr float pillarHalf = 0.6f;
    const float pillarX = row.halfWidth - footHalf;
    constexpr int stripes = 4;
    // The pillars end inside the beam.
    const float stripeHeight = (row.height - 0.3f) / stripes;
    for (const float side : {-1.0f, 1.0f}) {
        addBox(mesh, glm::vec3(side * pillarX, 0.15f, 0.0f), glm::vec3(footHalf, 0.15f, row.halfLength), bottomRight);
        for (int stripe = 0; stripe < stripes; ++stripe) {
            addBox(mesh, glm::vec3(side * pillarX, stripeHeight * (float(stripe) + 0.5f), 0.0f),
                   glm::vec3(pillarHalf, 0.5f * stripeHeight, pillarHalf), stripe % 2 == 0 ? topRight : bottomLeft);
        }
    }
    const float bannerHalfWidth = pillarX - pillarHalf;
    addBoxFacesFilled(mesh, glm::vec3(0.0f, 0.82f * row.height, 0.0f),
                      glm::vec3(bannerHalfWidth, 0.12f * row.height, 0.2f), topLeft);
    addBox(mesh, glm::vec3(0.0f, row.height - 0.3f, 0.0f), glm::vec3(row.halfWidth, 0.3f, 0.35f), topRight);
    return mesh;
}

Mesh buildCrate(const TrackModel& row) {
    Mesh mesh;
    // Plank faces inside a frame of boards along all twelve edges.
    const float half = row.halfWidth;
    const glm::vec3 centre(0.0f, half, 0.0f);
    constexpr float board = 0.08f;
    addBoxFacesFilled(mesh, centre, glm::vec3(half - 0.06f), topLeft);
    const float edge = half - board;
    for (const float a : {-edge, edge}) {
        for (const float b : {-edge, edge}) {
            addBox(mesh, centre + glm::vec3(0.0f, a, b), glm::vec3(half, board, board), topRight);
            // Slightly thinner boards along Y and Z keep the corner faces apart.
            addBox(mesh, centre + glm::vec3(a, 0.0f, b), glm::vec3(board - 0.005f, half, board - 0.005f), topRight);
            addBox(mesh, centre + glm::vec3(a, b, 0.0f), glm::vec3(board - 0.01f, board - 0.01f, half), topRight);
        }
    }
    return mesh;
}
