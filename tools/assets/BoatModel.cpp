#include "tools/assets/ModelMeshes.hpp"

Mesh buildBoat()
{
    Mesh mesh;
    const glm::vec3 box = boatHullHalfExtents;
    // A V-bottomed hull from the transom (-Z) to a raised bow (+Z), white,
    // with the gel coat's turquoise and red lines along its topsides under
    // the gunwale. The keel touches y = 0.
    const HullStation stations[] = {
        {-1.48f, 0.74f, 0.06f, 0.6f}, {-0.8f, 0.78f, 0.0f, 0.6f}, {0.2f, 0.78f, 0.0f, 0.62f},
        {0.9f, 0.66f, 0.06f, 0.66f},  {1.3f, 0.42f, 0.2f, 0.7f},  {box.z - 0.01f, 0.06f, 0.44f, 0.74f},
    };
    const AtlasRegion bands[] = {boatWhite, boatTopsides, boatWhite, boatTopsides, boatWhite};
    addHullZ(
        mesh, stations,
        [](const HullStation& s) -> std::vector<glm::vec2> {
            return {{0.75f * s.halfBeam, s.keel + 0.16f}, {s.halfBeam, s.deck}};
        },
        bands, boatWhite);

    // The cockpit: a raked windscreen across the deck, a console behind it,
    // two seats with backs, and the outboard motor on the transom.
    // Each stands a little into the deck, so no face lies on the deck's.
    const glm::vec2 windscreen[] = {{0.17f, 0.56f}, {0.29f, 0.56f}, {0.1f, 0.98f}, {0.02f, 0.98f}};
    addPrismX(mesh, windscreen, -0.6f, 0.6f, std::span(&boatWhite, 1), boatWhite);
    addBox(mesh, glm::vec3(0.3f, 0.7f, -0.05f), glm::vec3(0.18f, 0.14f, 0.12f), boatWhite);
    for (const float x : {-0.35f, 0.35f})
    {
        addBox(mesh, glm::vec3(x, 0.68f, -0.55f), glm::vec3(0.22f, 0.12f, 0.22f), boatWhite);
        addBox(mesh, glm::vec3(x, 0.84f, -0.75f), glm::vec3(0.22f, 0.16f, 0.05f), boatWhite);
    }
    addBox(mesh, glm::vec3(0.0f, 0.55f, -box.z + 0.1f), glm::vec3(0.16f, 0.3f, 0.098f), boatWhite);
    return mesh;
}
