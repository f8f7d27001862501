#pragma once

#include "game/physics/InstanceBodies.hpp"
#include "game/race/TrackModels.hpp"

#include <glm/gtc/quaternion.hpp>
#include <glm/vec3.hpp>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class PhysicsBody;
class PhysicsResources;
class PhysicsWorld;

// One model instance of the track.
struct TrackPlacement
{
    TrackModelId model;
    glm::vec3 position;
    glm::quat rotation;
    // 0 for a static body; the crates float free.
    double mass = 0.0;
};

struct TrackLight
{
    glm::vec3 position;
    glm::vec3 colour;
    float radius;
};

// A point of the racing line with how near the boat must come before it
// steers for the next one.
struct CourseWaypoint
{
    glm::vec3 position;
    float reach;
};

// The water planet's track as plain data: every placement in the order the
// scene adds them (model by model, each model's placements together), the point
// lights in slot order, and the racing line through the five checkpoints.
struct TrackLayout
{
    std::vector<TrackPlacement> placements;
    std::vector<TrackLight> lights;
    // Starts at the start line; each lap passes the waypoints in order.
    std::vector<CourseWaypoint> course;
};

inline constexpr std::size_t trackPlacementCount = 179;
inline constexpr std::size_t trackBodyCount = 149;
inline constexpr std::size_t trackLightCount = 59;
inline constexpr std::size_t pointLightCapacity = 75;
inline constexpr double crateMass = 40.0;

const TrackLayout& trackLayout();

// The first `count` small lamps, in placement order: one over each house and
// over every fourth barrier. None when the placements give fewer.
std::optional<std::vector<glm::vec3>> smallLampPositions(const std::vector<TrackPlacement>& placements,
                                                        std::size_t count);

// Positions authored with Z up: (x, y, z) becomes (x, z, -y).
glm::vec3 fromZUp(float x, float y, float z);

// "Assets/ZavikDemoScene/Models/WaterPlanet/<file>", as the scene loads it.
std::string trackModelPath(TrackModelId model);
bool hasBody(const TrackPlacement& placement);

enum class PlacementBodyKind
{
    None,
    // The one description's shape: a box, a sphere, a cylinder or the hull of the model.
    Single,
    // One body of all the descriptions' shapes.
    Compound,
};

// The body that a placement gets, from the size table, with the placement's
// mass: what the race scene's model collection and a race without a window
// both make of the placement.
struct PlacementBody
{
    PlacementBodyKind kind = PlacementBodyKind::None;
    std::vector<BodyDescription> descriptions;
};

PlacementBody placementBody(const TrackPlacement& placement);

// The points of a model's convex-hull body.
using HullPoints = std::function<std::vector<glm::vec3>(TrackModelId)>;

// Every body of the layout, added to the world in placement order: one entry
// per placement, null for a placement without a body or one whose body cannot
// be made (a hull without points).
std::vector<PhysicsBody*> addTrackBodies(const TrackLayout& layout, PhysicsResources& resources,
                                         PhysicsWorld& world, const HullPoints& hullPoints);
