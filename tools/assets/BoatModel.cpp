#include "tools/assets/ModelMeshes.hpp"

#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>
#include <array>

namespace
{
// One station of the runabout's hull: the common hull station, then where the
// deck's top meets the inside of the gunwale (as a share of the half beam)
// and how far above the sheer it lies: below it in the cockpit, a little
// above it where the aft deck and the crowned foredeck are.
struct RunaboutStation
{
    HullStation hull;
    float deckInset;
    float deckRise;
};

// The gunwale's width round the cockpit, and the depth of the rub rail under the sheer.
constexpr float gunwale = 0.11f;
constexpr float rubRail = 0.05f;

// From the transom (-Z) to the raked stem at the bow (+Z): the sheer sweeps up
// to the bow while the forefoot rises to meet it; the closely spaced pairs of
// stations are the cockpit's aft and forward walls.
constexpr std::array<RunaboutStation, 11> stations{{
    {{-1.25f, 0.74f, 0.05f, 0.6f}, 0.4f, 0.02f},
    {{-1.02f, 0.76f, 0.02f, 0.61f}, 0.4f, 0.02f},
    {{-0.98f, 0.765f, 0.02f, 0.61f}, 0.0f, -0.16f},
    {{-0.2f, 0.79f, 0.0f, 0.63f}, 0.0f, -0.16f},
    {{0.1f, 0.78f, 0.0f, 0.645f}, 0.0f, -0.16f},
    {{0.14f, 0.775f, 0.0f, 0.65f}, 0.45f, 0.03f},
    {{0.6f, 0.72f, 0.02f, 0.68f}, 0.4f, 0.06f},
    {{1.0f, 0.56f, 0.1f, 0.71f}, 0.4f, 0.07f},
    {{1.3f, 0.35f, 0.25f, 0.735f}, 0.4f, 0.06f},
    {{1.48f, 0.15f, 0.45f, 0.755f}, 0.4f, 0.04f},
    {{1.55f, 0.03f, 0.64f, 0.765f}, 0.4f, 0.01f},
}};

// A cockpit station's deck point lies a gunwale's width inside the sheer.
float deckX(const RunaboutStation& station)
{
    const float beam = station.hull.halfBeam;
    return station.deckInset > 0.0f ? station.deckInset * beam : beam - gunwale;
}

// The starboard half of a station: the chine a third of the way up the V
// (lower at the bow, where the V closes), the rub rail under the sheer, and
// the deck's edge.
std::vector<glm::vec2> starboard(const RunaboutStation& station)
{
    const HullStation& hull = station.hull;
    const float railTop = hull.deck - rubRail;
    const float chine = hull.keel + std::min(0.16f, 0.6f * (railTop - hull.keel));
    return {{0.72f * hull.halfBeam, chine},
            {hull.halfBeam, railTop},
            {hull.halfBeam, hull.deck},
            {deckX(station), hull.deck + station.deckRise}};
}

// A faceted ellipsoid turned about X by `tilt` radians (positive leans its top aft).
void addPad(Mesh& mesh, glm::vec3 centre, glm::vec3 radii, float tilt, AtlasRegion region)
{
    Mesh pad;
    addGeodesic(pad, glm::vec3(0.0f), radii, 2, region);
    const glm::mat4 place = glm::rotate(glm::translate(glm::mat4(1.0f), centre), -tilt, glm::vec3(1.0f, 0.0f, 0.0f));
    appendTransformed(mesh, pad, place);
}
} // namespace

Mesh buildBoat()
{
    Mesh mesh;
    // The V bottom in red bottom paint, the topsides and the transom striped by
    // height, a chrome rub rail along the sheer, white gunwales and a teak deck
    // that is the cockpit's sole between them.
    std::vector<HullStation> hulls;
    for (const RunaboutStation& station : stations)
    {
        hulls.push_back(station.hull);
    }
    const AtlasRegion bands[] = {boatBottom, boatSides, boatRubRail, boatWhite, boatTeak,
                                 boatWhite,  boatRubRail, boatSides, boatBottom};
    // The builder hands back the stations it was given, so a station's place
    // in them finds its runabout details.
    addHullZ(
        mesh, hulls,
        [&hulls](const HullStation& hull) {
            return starboard(stations[static_cast<std::size_t>(&hull - hulls.data())]);
        },
        bands, boatSides);

    // A tinted windscreen raked back from the foredeck and wrapped round to
    // the gunwales; thin enough to be a sheet.
    const glm::vec3 screen[] = {{0.36f, 0.66f, 0.16f}, {0.72f, 0.62f, -0.12f}, {0.62f, 0.9f, -0.36f},
                                {0.33f, 0.98f, -0.12f}, {-0.33f, 0.98f, -0.12f}, {-0.62f, 0.9f, -0.36f},
                                {-0.72f, 0.62f, -0.12f}, {-0.36f, 0.66f, 0.16f}};
    const glm::vec3 glassCentre(0.0f, 0.8f, -0.1f);
    addSheet(mesh, std::array{screen[7], screen[0], screen[3], screen[4]}, boatGlass, glassCentre, 1.5f);
    addSheet(mesh, std::array{screen[0], screen[1], screen[2], screen[3]}, boatGlass, glassCentre, 1.5f);
    addSheet(mesh, std::array{screen[7], screen[4], screen[5], screen[6]}, boatGlass, glassCentre, 1.5f);

    // The dashboard under the windscreen and two bucket seats in red vinyl
    // whose backs show over the aft deck.
    const glm::vec2 dashboard[] = {{-0.06f, 0.45f}, {0.13f, 0.45f}, {0.13f, 0.67f}, {-0.06f, 0.72f}};
    addPrismX(mesh, dashboard, -0.66f, 0.66f, std::span(&boatWhite, 1), boatWhite);
    for (const float x : {-0.3f, 0.3f})
    {
        addPad(mesh, glm::vec3(x, 0.52f, -0.45f), glm::vec3(0.17f, 0.06f, 0.18f), 0.0f, boatUpholstery);
        addPad(mesh, glm::vec3(x, 0.7f, -0.64f), glm::vec3(0.17f, 0.19f, 0.05f), 0.25f, boatUpholstery);
    }

    // The outboard motor on its bracket behind the transom: a black cowling,
    // taller than it is wide and sloping down at its front, over a leg that
    // reaches down to the keel's depth.
    const glm::vec2 cowling[] = {{-1.46f, 0.62f}, {-1.3f, 0.62f}, {-1.27f, 0.68f}, {-1.27f, 0.86f},
                                 {-1.33f, 0.95f}, {-1.47f, 0.97f}, {-1.54f, 0.9f}, {-1.54f, 0.72f}};
    addPrismX(mesh, cowling, -0.12f, 0.12f, std::span(&boatEngine, 1), boatEngine);
    addBox(mesh, glm::vec3(0.0f, 0.55f, -1.27f), glm::vec3(0.06f, 0.08f, 0.04f), boatEngine);
    addTube(mesh, glm::vec3(0.0f, 0.63f, -1.42f), glm::vec3(0.0f, 0.08f, -1.42f), 0.05f, 0.035f, 8, boatEngine);
    addBox(mesh, glm::vec3(0.0f, 0.17f, -1.42f), glm::vec3(0.1f, 0.01f, 0.09f), boatEngine);
    return mesh;
}
