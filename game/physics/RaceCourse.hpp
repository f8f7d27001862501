#pragma once

#include <glm/gtc/quaternion.hpp>
#include <glm/vec3.hpp>

class Boat;
class LapTracker;
class PhysicsResources;
class PhysicsWorld;

// The race pulls twice as hard as the other scenes, toward the planet's centre at the origin.
inline constexpr float raceGravityMagnitude = 19.6133f;
inline constexpr float raceBoatMass = 500.0f;

// The race's gravity in the world: toward the planet's centre at the origin, raceGravityMagnitude strong.
void setRaceGravity(PhysicsWorld& world);
// The race's boat on its hull, added to the world at (0, 105, 0) upright.
Boat* createRaceBoat(PhysicsResources& resources, PhysicsWorld& world);
// The five checkpoints of the course, in the world, start line first.
LapTracker* createRaceCheckpoints(PhysicsResources& resources, PhysicsWorld& world);
