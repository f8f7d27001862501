#pragma once

#include "game/physics/Boat.hpp"

#include <array>
#include <cstdint>

class btGeneric6DofSpring2Constraint;
class btRigidBody;

// Drives a body carried by four wheel constraints with impulses from the
// keyboard: steering through the front constraints' angular limits, and a
// speed cap. The physics world calls it around every sub-step.
class ConstraintCarController
{
public:
    // Front wheels first (0, 1), then the rear wheels (2, 3).
    using WheelConstraints = std::array<btGeneric6DofSpring2Constraint*, 4>;

    static constexpr float maximumSteeringAngle = 0.7853982f;
    static constexpr float forwardSpeedCap = 20.833334f;
    static constexpr float reverseSpeedCap = 5.2083335f;

    ConstraintCarController(std::int16_t keyForward, std::int16_t keyBackward, std::int16_t keyLeft,
                            std::int16_t keyRight, btRigidBody* body, const WheelConstraints& wheelConstraints);

    void preStep(float deltaTime);
    void postStep();

    const WheelConstraints& wheelConstraints() const;
    float steeringAngle() const;
    const BoatAxes& axes() const;

private:
    std::int16_t keyForward;
    std::int16_t keyBackward;
    std::int16_t keyLeft;
    std::int16_t keyRight;
    btRigidBody* body;
    WheelConstraints constraints;
    BoatAxes carAxes;
    float steering = 0.0f;
};
