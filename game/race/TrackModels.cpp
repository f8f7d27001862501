#include "game/race/TrackModels.hpp"

#include "game/assets/AssetPaths.hpp"

#include <glm/gtc/quaternion.hpp>

#include <cmath>

namespace
{

BodyDescription box(glm::vec3 halfExtents, glm::vec3 centre)
{
    BodyDescription body;
    body.kind = BodyKind::Box;
    body.halfExtents = halfExtents;
    body.positionOffset = centre;
    return body;
}

BodyDescription sphere(float radius, glm::vec3 centre)
{
    BodyDescription body;
    body.kind = BodyKind::Sphere;
    body.radius = radius;
    body.positionOffset = centre;
    return body;
}

BodyDescription cylinder(float radius, float halfHeight, glm::vec3 centre)
{
    BodyDescription body;
    body.kind = BodyKind::CylinderY;
    body.halfExtents = glm::vec3(radius, halfHeight, radius);
    body.positionOffset = centre;
    return body;
}

BodyDescription convexHull()
{
    BodyDescription body;
    body.kind = BodyKind::ConvexHull;
    return body;
}

// A slab under the ramp's slope, its top face on the slope from lip to crest,
// so a boat drives up the slab where it sees the ramp.
BodyDescription rampSlab()
{
    constexpr float halfThickness = 0.5f;
    const float rise = rampCrestHeight + rampLipDepth;
    const float run = 2.0f * rampHalfLength;
    const float slope = std::atan2(rise, run);
    const float halfSlopeLength = 0.5f * std::sqrt(rise * rise + run * run);
    const glm::vec3 slopeMiddle(0.0f, 0.5f * (rampCrestHeight - rampLipDepth), 0.0f);
    const glm::vec3 slopeNormal(0.0f, std::cos(slope), -std::sin(slope));
    BodyDescription body = box(glm::vec3(rampHalfWidth, halfThickness, halfSlopeLength),
                               slopeMiddle - halfThickness * slopeNormal);
    // Turning the box's +Z up the slope is a turn of -slope about +X.
    body.rotation = glm::angleAxis(-slope, glm::vec3(1.0f, 0.0f, 0.0f));
    return body;
}

// Centres are given from the base (y = 0) of each model.
const BodyDescription planetFloorBody[] = {sphere(100.0f, glm::vec3(0.0f))};
const BodyDescription hullBody[] = {convexHull()};
// The hull from keel to the top of the stern castle; masts and bowsprit stay out.
const BodyDescription pirateShipBody[] = {box(glm::vec3(2.6f, 3.0f, 8.5f), glm::vec3(0.0f, 0.5f, 0.0f))};
// The rock and the tower, from the rock's foot 12 m under the waterline to the roof.
const BodyDescription lightHouseBody[] = {cylinder(5.0f, 20.25f, glm::vec3(0.0f, 8.25f, 0.0f))};
// Plinth, body, neck, head and tail of the statue, which faces +Z.
const BodyDescription dragonBodies[] = {
    box(glm::vec3(2.2f, 0.6f, 3.2f), glm::vec3(0.0f, 0.6f, 0.0f)),
    sphere(1.5f, glm::vec3(0.0f, 2.6f, -0.4f)),
    box(glm::vec3(0.45f, 1.3f, 0.45f), glm::vec3(0.0f, 4.1f, 1.0f)),
    sphere(0.75f, glm::vec3(0.0f, 5.8f, 1.6f)),
    box(glm::vec3(0.4f, 0.4f, 1.0f), glm::vec3(0.0f, 1.6f, -2.2f)),
};
// From the water up to the top of the walls; the eaves overhang them.
const BodyDescription house1Body[] = {box(glm::vec3(3.0f, 2.3f, 2.5f), glm::vec3(0.0f, 2.3f, 0.0f))};
const BodyDescription house2Body[] = {box(glm::vec3(3.5f, 3.55f, 3.0f), glm::vec3(0.0f, 3.55f, 0.0f))};
const BodyDescription rampBody[] = {rampSlab()};
// The trunk; the fronds above are out of a boat's reach.
const BodyDescription palmBody[] = {cylinder(0.35f, 3.5f, glm::vec3(0.0f, 3.5f, 0.0f))};
const BodyDescription barrierBody[] = {box(glm::vec3(2.0f, 0.6f, 0.4f), glm::vec3(0.0f, 0.6f, 0.0f))};
const BodyDescription crateBody[] = {box(glm::vec3(0.8f), glm::vec3(0.0f, 0.8f, 0.0f))};

} // namespace

// Sizes in metres. The planet's circumference is about 630 m; a course about
// 30 m wide runs round it past islands of 10 to 40 m, a 25 m lighthouse and
// volcanoes of 16 m; a boat is 1.6 m wide and 3.1 m long.
const std::array<TrackModel, trackModelCount> trackModels = {{
    // A sphere about the planet's centre, a few metres under the water, in a
    // new model's material.
    {"PlanetFloor.obj", std::nullopt, TrackBodyKind::Sphere, 1, 97.6f, 97.6f, 97.6f, 97.6f, planetFloorBody},
    {"Ice1.obj", TrackMaterial::Ice, TrackBodyKind::ConvexHull, 5, 7.0f, 5.5f, 2.5f, 8.0f, hullBody},
    {"Ice2.obj", TrackMaterial::Ice2, TrackBodyKind::ConvexHull, 3, 5.0f, 5.0f, 5.0f, 8.0f, hullBody},
    {"Ice3.obj", TrackMaterial::Ice3, TrackBodyKind::ConvexHull, 3, 10.0f, 8.0f, 7.5f, 8.0f, hullBody},
    // Bow toward +Z; the bowsprit and the yards reach past the hull.
    {"PirateShip.obj", TrackMaterial::Ship, TrackBodyKind::Box, 7, 4.0f, 10.5f, 15.0f, 2.5f, pirateShipBody},
    {"Island1.obj", TrackMaterial::Sand, TrackBodyKind::ConvexHull, 3, 18.0f, 14.0f, 3.0f, 8.0f, hullBody},
    {"Island2.obj", TrackMaterial::Sand, TrackBodyKind::ConvexHull, 7, 9.0f, 8.0f, 2.0f, 8.0f, hullBody},
    // The tower stands on its rock at y = 0; the lamp is lighthouseLampHeight up.
    {"LightHouse.obj", TrackMaterial::Lighthouse, TrackBodyKind::Cylinder, 1, 5.2f, 5.2f, 28.5f, 12.0f,
     lightHouseBody},
    // A lava crater at the summit.
    {"Volcano.obj", TrackMaterial::Volcano, TrackBodyKind::ConvexHull, 3, 22.0f, 22.0f, 16.0f, 8.0f, hullBody},
    // The wings span x; the head looks toward +Z.
    {"Dragon.obj", TrackMaterial::Dragon, TrackBodyKind::Compound, 3, 4.0f, 3.2f, 7.0f, 1.5f, dragonBodies},
    // On stilts: the floor 1.1 m above y = 0.
    {"House1.obj", TrackMaterial::House, TrackBodyKind::Box, 6, 3.4f, 2.9f, 7.1f, 2.5f, house1Body},
    {"House2.obj", TrackMaterial::House2, TrackBodyKind::Box, 9, 3.9f, 3.4f, 9.6f, 2.5f, house2Body},
    {"Ramp.obj", TrackMaterial::Ramp, TrackBodyKind::Box, 4, rampHalfWidth, rampHalfLength, rampCrestHeight,
     rampLipDepth, rampBody},
    {"Palm.obj", TrackMaterial::Palm, TrackBodyKind::Cylinder, 18, 3.8f, 3.0f, 7.3f, 0.0f, palmBody},
    // Long along X: a line of barriers runs along the course's edge.
    {"Barrier.obj", TrackMaterial::Barrier, TrackBodyKind::Box, 70, 2.0f, 0.4f, 1.2f, 0.5f, barrierBody},
    // The board faces +Z; its chevrons point along +X, so turn +X toward the next checkpoint.
    {"sign.obj", TrackMaterial::Sign, TrackBodyKind::None, 32, 1.6f, 0.08f, 3.6f, 1.5f, {}},
    // The start banner: posts at both ends of the start line's 32 m box, facing +Z.
    {"bigSign.obj", TrackMaterial::BigSign, TrackBodyKind::None, 1, 16.0f, 0.8f, 10.0f, 1.5f, {}},
    {"crate.obj", TrackMaterial::Crate, TrackBodyKind::Box, 16, 0.8f, 0.8f, 1.6f, 0.0f, crateBody},
}};

const TrackModel& trackModel(TrackModelId id)
{
    return trackModels[static_cast<std::size_t>(id)];
}

std::string trackModelFile(const TrackModel& row)
{
    return std::string(trackModelFolder) + row.file;
}
