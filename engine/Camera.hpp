#pragma once

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

// A right-handed look-at view and a perspective projection for Vulkan's clip
// space (depth 0 to 1, Y down). Matrices are recomputed only on request.
class Camera
{
public:
    Camera(float fieldOfView, float nearPlane, float farPlane);

    const glm::vec3& getPosition() const;
    const glm::vec3& getTarget() const;
    const glm::mat4& getView() const;
    const glm::mat4& getProjection() const;
    const glm::mat4& getViewProjection() const;

    void setPosition(const glm::vec3& position);
    void setTarget(const glm::vec3& target);
    void setUp(const glm::vec3& up);
    void updateMatrices();

private:
    float fieldOfView;
    float nearPlane;
    float farPlane;
    float aspectRatio;
    glm::vec3 position{0.0f, 0.0f, 10.0f};
    glm::vec3 target{0.0f};
    glm::vec3 up{0.0f, 1.0f, 0.0f};
    glm::mat4 view{1.0f};
    glm::mat4 projection{1.0f};
    glm::mat4 viewProjection{1.0f};
    bool viewDirty = true;
    bool projectionDirty = true;
};
