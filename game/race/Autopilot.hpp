#pragma once

#include "game/physics/BoatControls.hpp"
#include "game/race/TrackLayout.hpp"

#include <glm/vec3.hpp>

#include <cstddef>
#include <vector>

class Boat;

// How well the autopilot drives: how fast it goes on the straights and how
// much it slows for a bend.
struct AutopilotSkill
{
    float topSpeedKmh = 120.0f;
    // Bends sharper than this (radians) are taken at cornerSpeedKmh at most.
    float cornerAngle = 0.3f;
    float cornerSpeedKmh = 75.0f;
};

// What the autopilot sees of the boat.
struct BoatState
{
    glm::vec3 position;
    glm::vec3 forward;
    // Radians per second, in the world.
    glm::vec3 angularVelocity;
    float speedKmh;
};

BoatState boatState(const Boat& boat);

// Turns the boat toward a target on the planet and keeps it near the allowed
// speed, at full lock, full throttle or full astern, as a player does with the keys.
BoatControls steerFor(const BoatState& boat, const glm::vec3& target, float allowedSpeedKmh);

// Drives a boat along a racing line lap after lap: the controls for each
// coming frame. A boat that has run into something backs away from it; one
// that cannot move at all (its hull aground after a jump) asks, as a player
// would press R, to be put back on its last checkpoint.
class Autopilot
{
public:
    Autopilot(const AutopilotSkill& skill, std::vector<CourseWaypoint> course);

    // With reset set when the boat is stranded.
    BoatControls drive(const Boat& boat, float deltaTime);
    std::size_t nextWaypoint() const;

private:
    BoatControls decide(const BoatState& boat, float deltaTime);
    BoatControls followCourse(const BoatState& boat);
    const CourseWaypoint& waypoint(std::size_t index) const;
    // How fast the boat may go this far before the next waypoint.
    float allowedSpeed(float distance) const;

    AutopilotSkill skill;
    std::vector<CourseWaypoint> course;
    std::size_t next = 0;
    // How long the throttle has been held without the boat moving.
    float stuckTime = 0.0f;
    float reversingTime = 0.0f;
    // How long the boat has not moved, whatever the keys.
    float standingTime = 0.0f;
};
