#include "engine/CameraController.hpp"

#include "engine/Settings.hpp"

#include <glm/common.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include <cmath>

namespace
{
constexpr float mouseSensitivity = 0.3f;
constexpr float pitchLimit = 1.56f;
constexpr float unitsPerSecond = 20.0f;
constexpr float targetDistance = 10.0f;
}

CameraController::CameraController(float fieldOfView, float nearPlane, float farPlane)
    : camera(fieldOfView, nearPlane, farPlane)
{
    camera.setPosition(glm::vec3(0.0f));
    camera.setTarget(glm::vec3(0.0f, 0.0f, -1.0f));
    camera.updateMatrices();
}

void CameraController::update(glm::vec2 mouse, const glm::vec3& input, float timeStep)
{
    const glm::vec2 normalised(mouse.x / static_cast<float>(Settings::getWindowWidth()) - 0.5f,
                               -(mouse.y / static_cast<float>(Settings::getWindowHeight()) - 0.5f));
    yaw += (normalised.x - previousMouse.x) * mouseSensitivity;
    pitch = glm::clamp(pitch + (normalised.y - previousMouse.y) * mouseSensitivity, -pitchLimit, pitchLimit);
    previousMouse = normalised;

    const glm::mat3 rotation(glm::rotate(glm::mat4(1.0f), -yaw, glm::vec3(0.0f, 1.0f, 0.0f)));
    // Unturned, the camera looks along +Z with -X to its right, so the
    // position moves against the input's x (right) and z (back); up is up.
    const glm::vec3 move = rotation * glm::vec3(input.x, -input.y, input.z);
    const glm::vec3 previousPosition = camera.getPosition();
    const glm::vec3 lookBack(std::sin(yaw) * std::cos(pitch), -std::sin(pitch), -std::cos(yaw) * std::cos(pitch));

    camera.setPosition(previousPosition - move * unitsPerSecond * timeStep);
    camera.setTarget(previousPosition - targetDistance * lookBack);
    camera.setUp(glm::vec3(0.0f, 1.0f, 0.0f));
    camera.updateMatrices();
}

const glm::vec3& CameraController::getPosition() const
{
    return camera.getPosition();
}

const glm::vec3& CameraController::getTarget() const
{
    return camera.getTarget();
}

const glm::mat4& CameraController::getView() const
{
    return camera.getView();
}

const glm::mat4& CameraController::getProjection() const
{
    return camera.getProjection();
}

const glm::mat4& CameraController::getViewProjection() const
{
    return camera.getViewProjection();
}
