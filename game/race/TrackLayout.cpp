#include "game/race/TrackLayout.hpp"

#include "engine/ScreenMaths.hpp"
#include "game/assets/AssetPaths.hpp"
#include "game/physics/PhysicsResources.hpp"
#include "game/physics/PhysicsWorld.hpp"

#include <glm/geometric.hpp>
#include <glm/gtc/quaternion.hpp>
#include <glm/mat3x3.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

// The level is authored along its racing line: most things stand at a point
// of a leg (the great circle from one checkpoint to the next), some distance to
// its left (+) or right (-), turned from the leg's direction. The placements
// that the track is known by are given in world coordinates as they are.
namespace
{
constexpr std::size_t checkpointCount = 5;
// The checkpoints' centres, as the lap tracker places them.
const std::array<glm::vec3, checkpointCount> checkpointCentres{
    glm::vec3(-8.5582f, 83.9632f, 53.6162f), glm::vec3(65.8098f, 18.8162f, 74.9557f),
    glm::vec3(62.9669f, 0.737f, -79.6113f), glm::vec3(-60.0356f, 38.1032f, -72.4376f),
    glm::vec3(-60.8877f, 81.2145f, -0.472f)};

constexpr float degrees = 0.017453292f;
const glm::vec3 boatLightColour(0.0f, 0.0f, 1.0f);
const glm::vec3 courseLightColour(1.0f, 0.8f, 0.8f);
const glm::vec3 white(1.0f);

glm::vec3 checkpointDirection(std::size_t checkpoint)
{
    return glm::normalize(checkpointCentres[checkpoint % checkpointCount]);
}

struct SurfaceFrame
{
    glm::vec3 up;
    glm::vec3 forward;
    glm::vec3 left;
};

float legLength(std::size_t leg)
{
    const float cosine = glm::dot(checkpointDirection(leg), checkpointDirection(leg + 1));
    return waterRadius * std::acos(std::clamp(cosine, -1.0f, 1.0f));
}

// Up, the direction of travel and its left at a fraction t of a leg.
SurfaceFrame legFrame(std::size_t leg, float t)
{
    const glm::vec3 from = checkpointDirection(leg);
    const glm::vec3 to = checkpointDirection(leg + 1);
    const float angle = std::acos(std::clamp(glm::dot(from, to), -1.0f, 1.0f));
    const glm::vec3 up =
        glm::normalize((std::sin((1.0f - t) * angle) * from + std::sin(t * angle) * to) / std::sin(angle));
    const glm::vec3 forward = glm::normalize(glm::cross(glm::normalize(glm::cross(from, to)), up));
    return {up, forward, glm::cross(up, forward)};
}

// The frame at a surface direction, its forward as close to the given one as the surface allows.
SurfaceFrame frameAt(const glm::vec3& direction, const glm::vec3& forwardHint)
{
    const glm::vec3 up = glm::normalize(direction);
    const glm::vec3 forward = glm::normalize(forwardHint - glm::dot(forwardHint, up) * up);
    return {up, forward, glm::cross(up, forward)};
}

// A model's +Y up and its +Z turned by the heading (degrees, toward the left) from the frame's forward.
glm::quat orientation(const SurfaceFrame& frame, float headingDegrees)
{
    const float heading = headingDegrees * degrees;
    const glm::vec3 z = std::cos(heading) * frame.forward + std::sin(heading) * frame.left;
    return glm::quat_cast(glm::mat3(glm::cross(frame.up, z), frame.up, z));
}

struct LegSpot
{
    std::size_t leg;
    float t;
    // Metres to the left of the line; negative to the right.
    float lateral;
    float heading;
};

struct Pose
{
    glm::vec3 position;
    glm::quat rotation;
};

// The base of a model at the spot, height metres above the water.
Pose poseAt(const LegSpot& spot, float height = 0.0f)
{
    const SurfaceFrame line = legFrame(spot.leg, spot.t);
    const SurfaceFrame frame = frameAt(line.up + (spot.lateral / waterRadius) * line.left, line.forward);
    return {frame.up * (waterRadius + height), orientation(frame, spot.heading)};
}

// A pose in the frame of another: offset in the other's model axes.
Pose poseOn(const Pose& base, const glm::vec3& offset, float heading)
{
    const glm::vec3 position = base.position + base.rotation * offset;
    const SurfaceFrame frame = frameAt(position, base.rotation * glm::vec3(0.0f, 0.0f, 1.0f));
    return {position, orientation(frame, heading)};
}

class LayoutBuilder
{
public:
    void place(TrackModelId model, const Pose& pose, double mass = 0.0)
    {
        layout.placements.push_back({model, pose.position, pose.rotation, mass});
    }

    void place(TrackModelId model, const glm::vec3& position, const glm::vec3& eulerDegrees, double mass = 0.0)
    {
        place(model, {position, quaternionFromEulerDegrees(eulerDegrees.x, eulerDegrees.y, eulerDegrees.z)}, mass);
    }

    void light(const glm::vec3& position, const glm::vec3& colour, float radius)
    {
        layout.lights.push_back({position, colour, radius});
    }

    TrackLayout layout;
};

// Scenery beside the line: where it stands, and what stands on it. Nothing
// stands within 20 m of the line, nor within the last or first quarter of a
// leg near it, where the boats cut and run wide through the bends.
const LegSpot iceSpots[]{{0, 0.5f, -34.0f, 20.0f}, {1, 0.3f, -36.0f, 60.0f}, {2, 0.55f, 32.0f, -30.0f},
                         {3, 0.4f, -32.0f, 45.0f}};
const LegSpot ice2Spots[]{{2, 0.3f, -36.0f, 10.0f}, {1, 0.7f, 34.0f, 80.0f}};
const LegSpot ice3Spot{1, 0.6f, -48.0f, 15.0f};
const LegSpot shipSpots[]{{0, 0.7f, -30.0f, 0.0f},  {1, 0.3f, 26.0f, 180.0f}, {1, 0.5f, -27.0f, 0.0f},
                          {2, 0.4f, 26.0f, 10.0f},  {2, 0.68f, -27.0f, 170.0f}, {3, 0.5f, 27.0f, -10.0f},
                          {4, 0.5f, -28.0f, 0.0f}};
const LegSpot island1Spots[]{{1, 0.45f, 50.0f, 0.0f}, {2, 0.5f, -50.0f, 30.0f}, {0, 0.4f, 48.0f, -20.0f}};
const LegSpot island2Spots[]{{0, 0.3f, -30.0f, 0.0f}, {1, 0.42f, -30.0f, 40.0f}, {2, 0.7f, 30.0f, 0.0f},
                             {3, 0.6f, -32.0f, 70.0f}, {1, 0.62f, 32.0f, 10.0f},  {2, 0.35f, -32.0f, 0.0f}};
const LegSpot volcanoSpots[]{{1, 0.5f, -75.0f, 0.0f}, {2, 0.6f, 70.0f, 0.0f}, {0, 0.5f, -70.0f, 0.0f}};
const LegSpot dragonSpots[]{{0, 0.55f, -20.0f, -90.0f}, {2, 0.25f, 20.0f, 90.0f}, {4, 0.6f, -20.0f, -90.0f}};
// Houses stand on stilts in the water, in four small villages.
const LegSpot house1Spots[]{{4, 0.42f, 20.0f, -90.0f}, {4, 0.55f, 21.0f, -90.0f}, {2, 0.45f, -20.0f, 90.0f},
                            {2, 0.52f, -21.0f, 90.0f}, {0, 0.3f, 20.0f, -90.0f},  {0, 0.42f, 21.0f, -90.0f}};
const LegSpot house2Spots[]{{4, 0.68f, 22.0f, -90.0f}, {2, 0.38f, -21.0f, 90.0f}, {2, 0.59f, -22.0f, 90.0f},
                            {0, 0.5f, 20.0f, -90.0f},  {0, 0.58f, 21.0f, -90.0f}, {1, 0.62f, -30.0f, 90.0f},
                            {1, 0.7f, -31.0f, 90.0f},  {1, 0.78f, -30.0f, 90.0f}, {2, 0.31f, -21.0f, 90.0f}};
// Straight on the line, in the middle of the three legs after the first, sunk
// so that the jump off the crest lands a boat on its keel.
const LegSpot rampSpots[]{{1, 0.5f, 0.0f, 0.0f}, {2, 0.45f, 0.0f, 0.0f}, {3, 0.5f, 0.0f, 0.0f}};
constexpr float rampSinking = 1.5f;
// Signs stand on the left of the line, facing it, their arrows toward the next checkpoint.
constexpr std::size_t signsPerLeg[checkpointCount]{5, 8, 7, 5, 4};
constexpr float signLateral = 14.0f;
constexpr std::size_t crateRows = 2;
const LegSpot crateSpots[]{{1, 0.25f, 0.0f, 0.0f}, {2, 0.75f, 0.0f, 0.0f}};
// Barriers: an arc round the outside of each bend, and a chute either side of the start line.
constexpr std::size_t barriersPerBend = 13;
constexpr float barrierArcRadius = 32.0f;
constexpr float barrierSpacing = 4.2f;
constexpr float startChuteLateral = 18.0f;
constexpr std::size_t courseLightsPerLeg[checkpointCount]{4, 6, 5, 4, 3};
constexpr float courseLightLateral = 9.0f;
constexpr std::size_t smallLampCount = 29;
constexpr float crateSpacing = 2.2f;
// How near the boats come to each checkpoint's centre before they turn for the
// next: the start line must be crossed, the bends are taken early.
constexpr float checkpointReach[checkpointCount]{4.0f, 16.0f, 10.0f, 16.0f, 14.0f};

// Where the palms stand on an island, in its frame.
const glm::vec3 island1PalmSpots[]{{-5.0f, 0.0f, 3.0f}, {6.0f, 0.0f, -2.0f}};
const glm::vec3 island2PalmSpots[]{{-2.0f, 0.0f, 1.5f}, {2.5f, 0.0f, -1.0f}};

// Barriers along both sides of the straight through the start line.
void placeStartChute(LayoutBuilder& builder, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i)
    {
        const float along = (static_cast<float>(i / 2) - 0.5f * static_cast<float>((count - 1) / 2)) * barrierSpacing;
        const float lateral = i % 2 == 0 ? -startChuteLateral : startChuteLateral;
        // Long side along the course; before the line the chute stands along the last leg.
        const std::size_t leg = along < 0.0f ? checkpointCount - 1 : 0;
        const float t = along < 0.0f ? 1.0f + along / legLength(leg) : along / legLength(0);
        builder.place(TrackModelId::Barrier, poseAt({leg, t, lateral, -90.0f}));
    }
}

// Barriers round the outside of the bend at a checkpoint, tangent to an arc about its centre.
void placeBend(LayoutBuilder& builder, std::size_t checkpoint, std::size_t count)
{
    const glm::vec3 up = checkpointDirection(checkpoint);
    const glm::vec3 arriving = legFrame(checkpoint + checkpointCount - 1, 1.0f).forward;
    const glm::vec3 leaving = legFrame(checkpoint, 0.0f).forward;
    const glm::vec3 outside = glm::normalize(arriving - leaving);
    const float step = barrierSpacing / barrierArcRadius;
    for (std::size_t i = 0; i < count; ++i)
    {
        const float angle = (static_cast<float>(i) - 0.5f * static_cast<float>(count - 1)) * step;
        const glm::vec3 radial = glm::angleAxis(angle, up) * outside;
        const glm::vec3 position =
            glm::normalize(up + (barrierArcRadius / waterRadius) * radial) * waterRadius;
        const SurfaceFrame frame = frameAt(position, radial);
        builder.place(TrackModelId::Barrier, {position, orientation(frame, 0.0f)});
    }
}

TrackLayout buildLayout()
{
    LayoutBuilder builder;

    builder.place(TrackModelId::PlanetFloor, {glm::vec3(0.0f), glm::quat(1.0f, 0.0f, 0.0f, 0.0f)});

    builder.place(TrackModelId::Ice1, glm::vec3(42.6274f, 87.8801f, 17.3854f),
                  glm::vec3(-22.0537f, 0.0f, -120.464f));
    for (const LegSpot& spot : iceSpots)
    {
        builder.place(TrackModelId::Ice1, poseAt(spot));
    }
    builder.place(TrackModelId::Ice2, glm::vec3(1.53807f, 102.207f, 17.3636f),
                  glm::vec3(-5.58844f, -6.22666f, -142.582f));
    for (const LegSpot& spot : ice2Spots)
    {
        builder.place(TrackModelId::Ice2, poseAt(spot));
    }
    builder.place(TrackModelId::Ice3, poseAt(ice3Spot));
    for (const LegSpot& spot : shipSpots)
    {
        builder.place(TrackModelId::PirateShip, poseAt(spot));
    }
    std::vector<Pose> island1s;
    for (const LegSpot& spot : island1Spots)
    {
        island1s.push_back(poseAt(spot));
        builder.place(TrackModelId::Island1, island1s.back());
    }
    std::vector<Pose> island2s;
    for (const LegSpot& spot : island2Spots)
    {
        island2s.push_back(poseAt(spot));
        builder.place(TrackModelId::Island2, island2s.back());
    }
    // The last island carries the known palm.
    const Pose knownPalm{glm::vec3(65.9227f, 51.1213f, 56.9843f),
                         quaternionFromEulerDegrees(0.001718f, 59.6011f, -40.8385f)};
    island2s.push_back({glm::normalize(knownPalm.position) * waterRadius, knownPalm.rotation});
    builder.place(TrackModelId::Island2, island2s.back());
    const Pose lighthouse{glm::vec3(-83.8179f, 64.564f, 17.5455f),
                          quaternionFromEulerDegrees(36.0494f, -46.062f, -32.5457f)};
    builder.place(TrackModelId::LightHouse, lighthouse);
    for (const LegSpot& spot : volcanoSpots)
    {
        builder.place(TrackModelId::Volcano, poseAt(spot));
    }
    for (const LegSpot& spot : dragonSpots)
    {
        builder.place(TrackModelId::Dragon, poseAt(spot));
    }
    for (const LegSpot& spot : house1Spots)
    {
        builder.place(TrackModelId::House1, poseAt(spot));
    }
    for (const LegSpot& spot : house2Spots)
    {
        builder.place(TrackModelId::House2, poseAt(spot));
    }

    builder.place(TrackModelId::Ramp, glm::vec3(41.1348f, 26.3768f, 88.5353f),
                  glm::vec3(-74.4957f, -12.6387f, -158.553f));
    for (const LegSpot& spot : rampSpots)
    {
        builder.place(TrackModelId::Ramp, poseAt(spot, -rampSinking));
    }

    builder.place(TrackModelId::Palm, knownPalm);
    const float island1Top = trackModel(TrackModelId::Island1).height - 0.5f;
    for (const Pose& island : island1s)
    {
        for (const glm::vec3& spot : island1PalmSpots)
        {
            builder.place(TrackModelId::Palm, poseOn(island, spot + glm::vec3(0.0f, island1Top, 0.0f), 0.0f));
        }
    }
    const float island2Top = trackModel(TrackModelId::Island2).height - 0.4f;
    for (std::size_t i = 0; i < island2s.size(); ++i)
    {
        // Two palms on the first two islands, one on the others: 16 in all.
        const std::size_t palms = i < 2 ? 2 : 1;
        for (std::size_t p = 0; p < palms; ++p)
        {
            builder.place(TrackModelId::Palm,
                          poseOn(island2s[i], island2PalmSpots[p] + glm::vec3(0.0f, island2Top, 0.0f), 0.0f));
        }
    }

    builder.place(TrackModelId::Barrier, glm::vec3(-68.1301f, 72.5646f, 12.3495f),
                  glm::vec3(15.7209f, -41.2709f, -12.8354f));
    placeStartChute(builder, barriersPerBend);
    for (std::size_t checkpoint = 1; checkpoint < checkpointCount; ++checkpoint)
    {
        // The known barrier already stands at the last bend.
        placeBend(builder, checkpoint, checkpoint + 1 == checkpointCount ? barriersPerBend - 1 : barriersPerBend);
    }

    for (std::size_t leg = 0; leg < checkpointCount; ++leg)
    {
        const std::size_t count = signsPerLeg[leg];
        for (std::size_t i = 0; i < count; ++i)
        {
            const float t = (static_cast<float>(i) + 0.5f) / static_cast<float>(count);
            builder.place(TrackModelId::Sign, poseAt({leg, t, signLateral, -90.0f}));
        }
    }
    builder.place(TrackModelId::BigSign, fromZUp(-8.5582f, -53.6162f, 83.9632f),
                  glm::vec3(27.4576f, -2.85641f, -5.82112f));

    builder.place(TrackModelId::Crate, fromZUp(-18.7845f, -87.1437f, 47.9182f),
                  glm::vec3(61.0852f, -11.6996f, -5.7734f), crateMass);
    // Two loose stacks on the line, the boat's to push through: rows of 4 and 3.
    for (const LegSpot& spot : crateSpots)
    {
        for (std::size_t row = 0; row < crateRows; ++row)
        {
            const std::size_t inRow = 4 - row;
            for (std::size_t i = 0; i < inRow; ++i)
            {
                const float across = (static_cast<float>(i) - 0.5f * static_cast<float>(inRow - 1)) * crateSpacing;
                const float t = spot.t + crateSpacing * static_cast<float>(row) / legLength(spot.leg);
                // Just above the planet's surface, to settle on it.
                const Pose pose = poseAt({spot.leg, t, across, 15.0f * static_cast<float>(i)}, -0.25f);
                builder.place(TrackModelId::Crate, pose, crateMass);
            }
        }
    }

    // Slot 0 is the boat's own light, moved with it during the race.
    builder.light(glm::vec3(-2.0f, 100.5f, 0.0f), boatLightColour, 8.0f);
    builder.light(glm::vec3(93.3921f, 50.774f, -21.5937f), courseLightColour, 8.0f);
    // Along the line, alternately left and right, 4 m up.
    std::size_t courseLight = 0;
    for (std::size_t leg = 0; leg < checkpointCount; ++leg)
    {
        for (std::size_t i = 0; i < courseLightsPerLeg[leg]; ++i, ++courseLight)
        {
            const float t = (static_cast<float>(i) + 0.5f) / static_cast<float>(courseLightsPerLeg[leg]);
            const float lateral = courseLight % 2 == 0 ? courseLightLateral : -courseLightLateral;
            builder.light(poseAt({leg, t, lateral, 0.0f}, 4.0f).position, courseLightColour, 8.0f);
        }
    }
    builder.light(lighthouse.position + lighthouse.rotation * glm::vec3(0.0f, lighthouseLampHeight, 0.0f), white,
                  40.0f);
    // Small lamps over the houses and every fourth barrier, as many as there are slots.
    builder.light(glm::vec3(-41.007f, 75.486f, 60.1902f), white, 5.0f);
    // Too few leaves the slots short, which the light count shows, rather
    // than filling them with lamps at the planet's centre.
    if (const std::optional<std::vector<glm::vec3>> lamps =
            smallLampPositions(builder.layout.placements, smallLampCount))
    {
        for (const glm::vec3& position : *lamps)
        {
            builder.light(position, white, 5.0f);
        }
    }
    // Over the ramps, the first by the known ramp.
    builder.light(glm::vec3(41.9342f, 26.8894f, 90.2559f), white, 8.0f);
    for (const LegSpot& spot : rampSpots)
    {
        builder.light(poseAt(spot, rampCrestHeight + 3.0f).position, white, 8.0f);
    }

    // The racing line: each checkpoint, and a run-up to each ramp on the line.
    auto& course = builder.layout.course;
    for (std::size_t checkpoint = 0; checkpoint < checkpointCount; ++checkpoint)
    {
        course.push_back({checkpointCentres[checkpoint], checkpointReach[checkpoint]});
        for (const LegSpot& spot : rampSpots)
        {
            if (spot.leg == checkpoint)
            {
                course.push_back({poseAt({spot.leg, spot.t - 0.12f, 0.0f, 0.0f}).position, 8.0f});
                course.push_back({poseAt(spot).position, 6.0f});
            }
        }
    }
    return builder.layout;
}
}

const TrackLayout& trackLayout()
{
    static const TrackLayout layout = buildLayout();
    return layout;
}

std::optional<std::vector<glm::vec3>> smallLampPositions(const std::vector<TrackPlacement>& placements,
                                                        std::size_t count)
{
    std::vector<glm::vec3> lamps;
    std::size_t barrier = 0;
    for (const TrackPlacement& placement : placements)
    {
        if (lamps.size() == count)
        {
            break;
        }
        if (placement.model == TrackModelId::House1 || placement.model == TrackModelId::House2)
        {
            lamps.push_back(placement.position +
                            placement.rotation * glm::vec3(0.0f, trackModel(placement.model).height + 1.0f, 0.0f));
        }
        else if (placement.model == TrackModelId::Barrier && barrier++ % 4 == 0)
        {
            lamps.push_back(placement.position + placement.rotation * glm::vec3(0.0f, 2.0f, 0.0f));
        }
    }
    if (lamps.size() < count)
    {
        return std::nullopt;
    }
    return lamps;
}

glm::vec3 fromZUp(float x, float y, float z)
{
    return glm::vec3(x, z, -y);
}

std::string trackModelPath(TrackModelId model)
{
    return inAssets(trackModelFile(trackModel(model)));
}

bool hasBody(const TrackPlacement& placement)
{
    return trackModel(placement.model).bodyKind != TrackBodyKind::None;
}

PlacementBody placementBody(const TrackPlacement& placement)
{
    const TrackModel& model = trackModel(placement.model);
    if (model.bodyKind == TrackBodyKind::None || model.bodies.empty())
    {
        return {};
    }
    PlacementBody body{model.bodyKind == TrackBodyKind::Compound ? PlacementBodyKind::Compound
                                                                  : PlacementBodyKind::Single,
                       {model.bodies.begin(), model.bodies.end()}};
    body.descriptions.front().mass = placement.mass;
    return body;
}

std::vector<PhysicsBody*> addTrackBodies(const TrackLayout& layout, PhysicsResources& resources,
                                         PhysicsWorld& world, const HullPoints& hullPoints)
{
    std::vector<PhysicsBody*> bodies;
    bodies.reserve(layout.placements.size());
    for (const TrackPlacement& placement : layout.placements)
    {
        const PlacementBody body = placementBody(placement);
        PhysicsBody* made = nullptr;
        if (body.kind == PlacementBodyKind::Compound)
        {
            made = createCompoundInstanceBody(resources, world, body.descriptions, placement.position,
                                              placement.rotation);
        }
        else if (body.kind == PlacementBodyKind::Single)
        {
            const BodyDescription& description = body.descriptions.front();
            const std::vector<glm::vec3> hull =
                description.kind == BodyKind::ConvexHull ? hullPoints(placement.model) : std::vector<glm::vec3>{};
            made = createInstanceBody(resources, world, description, placement.position, placement.rotation, hull);
        }
        bodies.push_back(made);
    }
    return bodies;
}
