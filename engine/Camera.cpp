#include "engine/Camera.hpp"

#include "engine/Settings.hpp"

#include <glm/gtc/matrix_transform.hpp>

Camera::Camera(float fieldOfView, float nearPlane, float farPlane)
    : fieldOfView(fieldOfView), nearPlane(nearPlane), farPlane(farPlane),
      aspectRatio(static_cast<float>(Settings::getWindowWidth()) / static_cast<float>(Settings::getWindowHeight()))
{
    updateMatrices();
}

const glm::vec3& Camera::getPosition() const
{
    return position;
}

const glm::vec3& Camera::getTarget() const
{
    return target;
}

const glm::mat4& Camera::getView() const
{
    return view;
}

const glm::mat4& Camera::getProjection() const
{
    return projection;
}

const glm::mat4& Camera::getViewProjection() const
{
    return viewProjection;
}

void Camera::setPosition(const glm::vec3& newPosition)
{
    position = newPosition;
    viewDirty = true;
}

void Camera::setTarget(const glm::vec3& newTarget)
{
    target = newTarget;
    viewDirty = true;
}

void Camera::setUp(const glm::vec3& newUp)
{
    up = newUp;
    viewDirty = true;
}

void Camera::updateMatrices()
{
    if (!viewDirty && !projectionDirty)
    {
        return;
    }
    if (viewDirty)
    {
        view = glm::lookAtRH(position, target, up);
        viewDirty = false;
    }
    if (projectionDirty)
    {
        projection = glm::perspectiveRH_ZO(fieldOfView, aspectRatio, nearPlane, farPlane);
        projection[1][1] = -projection[1][1];
        projectionDirty = false;
    }
    viewProjection = projection * view;
}
