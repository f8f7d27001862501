#pragma once

#include "engine/Camera.hpp"

#include <glm/vec2.hpp>

// A free-flying camera steered by the mouse and a movement vector.
class CameraController
{
public:
    CameraController(float fieldOfView, float nearPlane, float farPlane);

    // mouse in window pixels; input as the camera sees it: x right, y up, z
    // back; timeStep in seconds (scaled by the caller's speed).
    void update(glm::vec2 mouse, const glm::vec3& input, float timeStep);

    const glm::vec3& getPosition() const;
    const glm::vec3& getTarget() const;
    const glm::mat4& getView() const;
    const glm::mat4& getProjection() const;
    const glm::mat4& getViewProjection() const;

private:
    glm::vec2 previousMouse{0.0f};
    float yaw = 0.0f;
    float pitch = 0.0f;
    Camera camera;
};
