#pragma once

#include "game/race/TrackLayout.hpp"

#include <glm/gtc/quaternion.hpp>
#include <glm/vec3.hpp>

#include <vector>

class Boat;
class GhostRecording;
class LapTracker;
class PhysicsBody;
class PhysicsResources;
class PhysicsWorld;

// Where the player's boat waits for the start, a little behind the start line.
inline constexpr glm::vec3 raceStartPosition{-11.9752f, 90.867f, 47.0393f};
glm::quat raceStartRotation();

// What the race's physics is made of, in the world and resources it was built
// into: the race scene's and a race without a window have the same.
struct RacePhysics
{
    // One per placement of the layout, in its order; null where a placement has no body.
    std::vector<PhysicsBody*> trackBodies;
    Boat* boat = nullptr;
    LapTracker* lapTracker = nullptr;
};

// The race's physics from the layout: the radial gravity toward the planet's
// centre, the track's bodies in placement order (the convex hulls of the given
// points), the boat at rest at the start, then the five checkpoints.
RacePhysics buildRacePhysics(const TrackLayout& layout, PhysicsWorld& world, PhysicsResources& resources,
                             const HullPoints& hullPoints);

// The boat at rest on the checkpoint passed last (the start line before the first).
void resetBoatToCheckpoint(const RacePhysics& race);

// A race frame's physics once the boat's controls are applied: the world's
// fixed sub-steps for the frame's time, the boat's per-frame forces, then the
// checkpoint test. Gives the interpolation factor of the world's step.
float stepRace(PhysicsWorld& world, const RacePhysics& race);

// The boat into its ghost at the pose that a frame at the factor shows, the
// recording's time moving on by the frame's.
void recordBoat(GhostRecording& recording, float deltaTime, const Boat& boat, float factor);
