#pragma once

#include <glm/vec2.hpp>
#include <glm/vec3.hpp>

// Where a camera stands and looks; the scene's Camera makes the matrices.
struct CameraView
{
    glm::vec3 position;
    glm::vec3 target;
    glm::vec3 up;
};

// The renderer's directional light.
struct SunLight
{
    glm::vec3 direction;
    glm::vec3 centre;
    glm::vec3 colour{1.0f, 0.96f, 0.87f};
    float intensity = 3.0f;
    float extent = 50.0f;
};

// The camera of the wait: circles the planet about the world's Y axis, 5
// degrees a second, and the sun turns with it.
struct AttractShot
{
    CameraView view;
    SunLight sun;
};
AttractShot attractCamera(double elapsedSeconds);

struct ChaseInput
{
    glm::vec3 boatPosition;
    glm::vec3 boatForward;
    // Window pixels; the cursor is captured, so it may lie outside the window.
    glm::vec2 cursor;
    glm::vec2 windowSize;
    // The side of the previous frame, kept while the boat points straight up or down.
    glm::vec3 previousSide;
};

struct ChaseShot
{
    CameraView view;
    // The boat's forward crossed with the planet's up, of unit length; the next frame's previousSide.
    glm::vec3 side;
};

// The camera 8 units from the boat, behind it with the cursor at the window's
// centre and orbited about it by the cursor's sideways motion; the lower half of
// the window raises it, the upper half never lowers it below the boat.
ChaseShot chaseCamera(const ChaseInput& input);

// The sun's centre 20 units beyond the chased boat, or 20 units ahead of the free camera.
glm::vec3 chaseSunCentre(const CameraView& view);
glm::vec3 freeSunCentre(const CameraView& view);
// The race's sun turns about the world's Z axis with the race clock, once in 2 pi / 0.1 seconds.
SunLight raceSun(float raceClock, const glm::vec3& centre);
