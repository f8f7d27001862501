#pragma once

#include "game/physics/PhysicsResources.hpp"
#include "game/physics/PhysicsWorld.hpp"
#include "game/race/TrackLayout.hpp"

#include <glm/gtc/quaternion.hpp>
#include <glm/vec3.hpp>

#include <vector>

class Boat;
class LapTracker;

// Where the player's boat waits for the start, a little behind the start line.
inline constexpr glm::vec3 raceStartPosition{-11.9752f, 90.867f, 47.0393f};
glm::quat raceStartRotation();

// The race's physics without a window: the track's bodies, the radial gravity,
// the checkpoints and the boat at the start, driven frame by frame through the
// keyboard as the race scene drives it.
class RaceWorld
{
public:
    // The convex hulls from the given points; by default the boxes round the drawn models.
    explicit RaceWorld(const HullPoints& hullPoints = boundingHullPoints);
    ~RaceWorld();
    RaceWorld(const RaceWorld&) = delete;
    RaceWorld& operator=(const RaceWorld&) = delete;

    // One race frame: the boat's controls from the keyboard, the fixed
    // sub-steps, the boat's per-frame forces and the checkpoint test.
    void frame(float deltaTime);
    // The boat at rest on the checkpoint passed last, as the race's R key puts it.
    void resetBoatToCheckpoint();

    Boat& boat() const;
    const LapTracker& lapTracker() const;
    PhysicsWorld& world();
    // The track's bodies, in placement order.
    const std::vector<PhysicsBody*>& bodies() const;
    float interpolationFactor() const;

private:
    PhysicsResources resources;
    PhysicsWorld physicsWorld;
    Boat* playerBoat = nullptr;
    LapTracker* tracker = nullptr;
    std::vector<PhysicsBody*> trackBodies;
    float factor = 0.0f;
};
