#include "game/race/RaceCameras.hpp"

#include "engine/ScreenMaths.hpp"

#include <glm/geometric.hpp>
#include <glm/gtc/quaternion.hpp>

#include <algorithm>
#include <cmath>

namespace
{
constexpr float chaseDistance = 8.0f;
constexpr float sunDistance = 20.0f;
// Below this squared length a side vector is taken as none.
constexpr float degenerateSide = 1.0e-6f;

// Any horizontal direction at the boat, for a first frame that already points straight up.
glm::vec3 anySide(const glm::vec3& up)
{
    const glm::vec3 across = std::abs(up.x) < 0.9f ? glm::vec3(1.0f, 0.0f, 0.0f) : glm::vec3(0.0f, 0.0f, 1.0f);
    return glm::normalize(glm::cross(across, up));
}
}

AttractShot attractCamera(double elapsedSeconds)
{
    const glm::quat turn = quaternionFromEulerDegrees(0.0f, 0.0f, static_cast<float>(elapsedSeconds * 5.0));
    AttractShot shot;
    shot.view = {turn * glm::vec3(-85.38887f, 71.66443f, -321.7508f),
                 turn * glm::vec3(-87.78052f, 70.47006f, -312.11475f), glm::vec3(0.0f, 1.0f, 0.0f)};
    shot.sun.direction = turn * glm::vec3(1.0f, 0.0f, 0.0f);
    shot.sun.centre = glm::vec3(-133.22182f, 47.7771f, -129.02985f);
    return shot;
}

ChaseShot chaseCamera(const ChaseInput& input)
{
    const glm::vec3 boat = input.boatPosition;
    const glm::vec3 forward = input.boatForward;
    const glm::vec3 up = glm::normalize(boat);
    glm::vec3 side = glm::cross(forward, up);
    if (glm::dot(side, side) < degenerateSide)
    {
        // Straight up or down off a ramp: the side of the frame before still
        // orbits the boat, as long as it is not itself along the new up.
        const glm::vec3 previous = input.previousSide - glm::dot(input.previousSide, up) * up;
        side = glm::dot(previous, previous) < degenerateSide ? anySide(up) : previous;
    }
    side = glm::normalize(side);
    // The boat's heading along the water, level even when its nose points up or down.
    const glm::vec3 heading = glm::cross(up, side);

    const float yaw = static_cast<float>(-(static_cast<double>(input.cursor.x) / input.windowSize.x - 0.5));
    const float height = std::min(-(input.cursor.y / input.windowSize.y - 0.5f), 0.0f);
    const glm::vec3 direction = glm::normalize(glm::vec3(std::cos(yaw), std::sin(yaw), height));
    // Yaw 0 puts the eye behind the boat, looking down the course.
    const glm::vec3 offset = chaseDistance * (direction.x * heading - direction.y * side + direction.z * up);
    return {{boat - offset, boat, up}, side};
}

glm::vec3 chaseSunCentre(const CameraView& view)
{
    return view.target + sunDistance * glm::normalize(view.target - view.position);
}

glm::vec3 freeSunCentre(const CameraView& view)
{
    return view.position + sunDistance * glm::normalize(view.target - view.position);
}

SunLight raceSun(float raceClock, const glm::vec3& centre)
{
    const double angle = static_cast<double>(raceClock) * 0.1;
    SunLight sun;
    sun.direction = glm::vec3(static_cast<float>(std::cos(angle)), static_cast<float>(std::sin(angle)), -0.2f);
    sun.centre = centre;
    return sun;
}
