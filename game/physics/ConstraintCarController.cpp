#include "game/physics/ConstraintCarController.hpp"

#include "engine/Keyboard.hpp"
#include "game/physics/BulletConversions.hpp"

#include <BulletDynamics/ConstraintSolver/btGeneric6DofSpring2Constraint.h>
#include <BulletDynamics/Dynamics/btRigidBody.h>

#include <algorithm>

namespace
{
constexpr float steeringRate = 12.566371f; // radians per second
constexpr float steeringFadeSpeed = 50.0f;
constexpr float minimumSteeringShare = 0.2f;
constexpr float driveImpulse = 600.0f;
constexpr float reverseImpulse = 250.0f;
constexpr float brakeImpulse = 800.0f;
}

ConstraintCarController::ConstraintCarController(std::int16_t forward, std::int16_t backward, std::int16_t left,
                                                 std::int16_t right, btRigidBody* carBody,
                                                 const WheelConstraints& wheelConstraints)
    : keyForward(forward), keyBackward(backward), keyLeft(left), keyRight(right), body(carBody),
      constraints(wheelConstraints)
{
}

void ConstraintCarController::preStep(float deltaTime)
{
    const float rate = deltaTime * steeringRate;
    const bool left = Keyboard::isKeyPressed(keyLeft);
    const bool right = Keyboard::isKeyPressed(keyRight);
    if (left)
    {
        steering = std::max(steering - rate, -maximumSteeringAngle);
    }
    if (right)
    {
        steering = std::min(steering + rate, maximumSteeringAngle);
    }
    if (!left && !right)
    {
        steering = steering > 0.0f ? std::max(steering - rate, 0.0f) : std::min(steering + rate, 0.0f);
    }

    const float speed = body->getLinearVelocity().length();
    const float steered = steering * std::clamp(1.0f - speed / steeringFadeSpeed, minimumSteeringShare, 1.0f);
    for (std::size_t wheel = 0; wheel < 2; ++wheel)
    {
        // The spin axis is free (lower above upper), the steering axis held at the angle.
        constraints[wheel]->setAngularLowerLimit(btVector3(1.0f, steered, -0.01f));
        constraints[wheel]->setAngularUpperLimit(btVector3(0.0f, steered, 0.01f));
    }

    const btVector3 forwardAxis = toBulletVector(carAxes.forward());
    if (Keyboard::isKeyPressed(keyForward))
    {
        body->applyImpulse(forwardAxis * driveImpulse * deltaTime, -forwardAxis);
    }
    const float forwardSpeed = body->getLinearVelocity().dot(forwardAxis);
    const bool rollingBackwards = forwardSpeed < 0.0f;
    const float cap = rollingBackwards ? reverseSpeedCap : forwardSpeedCap;
    if (Keyboard::isKeyPressed(keyBackward))
    {
        const float impulse = rollingBackwards ? reverseImpulse : brakeImpulse;
        body->applyImpulse(forwardAxis * -impulse * deltaTime, forwardAxis);
    }
    const btVector3 velocity = body->getLinearVelocity();
    const float finalSpeed = velocity.length();
    if (finalSpeed > cap)
    {
        body->setLinearVelocity(velocity / finalSpeed * cap);
    }
}

void ConstraintCarController::postStep()
{
    btQuaternion rotation;
    body->getWorldTransform().getBasis().getRotation(rotation);
    carAxes.rotate(fromBulletQuaternion(rotation));
}

const ConstraintCarController::WheelConstraints& ConstraintCarController::wheelConstraints() const
{
    return constraints;
}

float ConstraintCarController::steeringAngle() const
{
    return steering;
}

const BoatAxes& ConstraintCarController::axes() const
{
    return carAxes;
}
