#include "game/race/Autopilot.hpp"

#include "game/physics/Boat.hpp"
#include "game/physics/BulletConversions.hpp"
#include "game/physics/PhysicsWorld.hpp"

#include <glm/geometric.hpp>

#include <algorithm>
#include <cmath>

namespace
{
// How fast the boat should turn toward its target per radian of heading error.
constexpr float turnRatePerRadian = 2.5f;
// A turn-rate error (radians per second) within which the wheels stay straight.
constexpr float steeringDeadBand = 0.08f;
// What the boat's reverse thrust takes off its speed, m/s per second, with room to spare.
constexpr float braking = 5.0f;
// Above the allowed speed by this much the autopilot brakes instead of coasting.
constexpr float brakingMarginKmh = 8.0f;
constexpr float kmhPerMetreSecond = 3.6f;
constexpr float headingLookout = 10.0f;
// Throttle held this long (seconds) below this speed means the boat is stuck;
// it then backs away for a while.
constexpr float stuckSpeedKmh = 3.0f;
constexpr float stuckPatience = 1.0f;
constexpr float reversingDuration = 1.5f;
// Still not moving after backing away: stranded.
constexpr float strandedPatience = 4.0f;

glm::vec3 alongSurface(const glm::vec3& vector, const glm::vec3& up)
{
    return vector - glm::dot(vector, up) * up;
}

// The angle (radians) between two directions seen from above.
float turnAngle(const glm::vec3& from, const glm::vec3& to, const glm::vec3& up)
{
    return std::atan2(glm::dot(glm::cross(from, to), up), glm::dot(from, to));
}
}

BoatState boatState(const Boat& boat)
{
    const PhysicsBody* chassis = boat.chassis();
    return {fromBulletVector(chassis->getWorldTransform().getOrigin()), boat.axes().forward(),
            fromBulletVector(chassis->getAngularVelocity()), boat.speedKmh()};
}

BoatControls steerFor(const BoatState& boat, const glm::vec3& target, float allowedSpeedKmh)
{
    const glm::vec3 up = glm::normalize(boat.position);
    // Positive to the left: a turn about the planet's up turns the hull's
    // forward (+Z) toward its left (+X), which positive steering steers for.
    const float error = turnAngle(alongSurface(boat.forward, up), alongSurface(target - boat.position, up), up);
    const float turn = turnRatePerRadian * error - glm::dot(boat.angularVelocity, up);

    BoatControls controls;
    if (std::abs(turn) > steeringDeadBand)
    {
        controls.steering = turn > 0.0f ? 1.0f : -1.0f;
    }
    if (boat.speedKmh < allowedSpeedKmh)
    {
        controls.engine = 1.0f;
    }
    else if (boat.speedKmh > allowedSpeedKmh + brakingMarginKmh)
    {
        controls.engine = -1.0f;
    }
    return controls;
}

Autopilot::Autopilot(const AutopilotSkill& skill, std::vector<CourseWaypoint> course)
    : skill(skill), course(std::move(course))
{
}

BoatControls Autopilot::drive(const Boat& boat, float deltaTime)
{
    const BoatState state = boatState(boat);
    BoatControls controls = decide(state, deltaTime);
    standingTime = state.speedKmh < stuckSpeedKmh ? standingTime + deltaTime : 0.0f;
    if (standingTime > strandedPatience)
    {
        standingTime = 0.0f;
        stuckTime = 0.0f;
        reversingTime = 0.0f;
        controls.reset = true;
    }
    return controls;
}

std::size_t Autopilot::nextWaypoint() const
{
    return next;
}

const CourseWaypoint& Autopilot::waypoint(std::size_t index) const
{
    return course[index % course.size()];
}

float Autopilot::allowedSpeed(float distance) const
{
    const float corner = skill.cornerSpeedKmh / kmhPerMetreSecond;
    return std::min(skill.topSpeedKmh,
                    std::sqrt(corner * corner + 2.0f * braking * std::max(distance, 0.0f)) * kmhPerMetreSecond);
}

BoatControls Autopilot::decide(const BoatState& boat, float deltaTime)
{
    const BoatControls ahead = followCourse(boat);
    if (reversingTime > 0.0f)
    {
        reversingTime -= deltaTime;
        // Backing away, the opposite lock swings the bow toward the target.
        return {-ahead.steering, -1.0f, false, false};
    }
    stuckTime = ahead.engine > 0.0f && boat.speedKmh < stuckSpeedKmh ? stuckTime + deltaTime : 0.0f;
    if (stuckTime > stuckPatience)
    {
        stuckTime = 0.0f;
        reversingTime = reversingDuration;
    }
    return ahead;
}

BoatControls Autopilot::followCourse(const BoatState& boat)
{
    // A waypoint is done when the boat is near it or has passed it.
    for (std::size_t skipped = 0; skipped < course.size(); ++skipped)
    {
        const CourseWaypoint& target = waypoint(next);
        const glm::vec3 arriving = target.position - waypoint(next + course.size() - 1).position;
        const glm::vec3 beyond = boat.position - target.position;
        if (glm::length(beyond) > target.reach && glm::dot(beyond, arriving) < 0.0f)
        {
            break;
        }
        next = (next + 1) % course.size();
    }

    const CourseWaypoint& target = waypoint(next);
    const glm::vec3 up = glm::normalize(target.position);
    const glm::vec3 arriving = alongSurface(target.position - waypoint(next + course.size() - 1).position, up);
    const glm::vec3 leaving = alongSurface(waypoint(next + 1).position - target.position, up);
    const bool bendAhead = std::abs(turnAngle(arriving, leaving, up)) > skill.cornerAngle;
    const glm::vec3 boatUp = glm::normalize(boat.position);
    const glm::vec3 toTarget = target.position - boat.position;
    // Close to a waypoint its direction swings round; that is no bend.
    const bool offHeading =
        glm::length(toTarget) > target.reach + headingLookout &&
        std::abs(turnAngle(alongSurface(boat.forward, boatUp), alongSurface(toTarget, boatUp), boatUp)) >
            skill.cornerAngle;

    float allowed = skill.topSpeedKmh;
    if (offHeading)
    {
        allowed = skill.cornerSpeedKmh;
    }
    else if (bendAhead)
    {
        allowed = allowedSpeed(glm::length(target.position - boat.position) - target.reach);
    }
    return steerFor(boat, target.position, allowed);
}
