#include "game/physics/Boat.hpp"

#include "engine/Keyboard.hpp"
#include "game/Gamepad.hpp"
#include "game/physics/BulletConversions.hpp"
#include "game/physics/PhysicsResources.hpp"
#include "game/physics/PhysicsWorld.hpp"

#include <BulletDynamics/Vehicle/btRaycastVehicle.h>

#include <cmath>
#include <cstdio>

namespace
{
constexpr float slideFrictionSlip = 0.4f;
constexpr float slideMinimumSpeed = 20.0f;
constexpr float slideKickTorque = 300.0f;
constexpr float slideSteeringTorque = 1200.0f;
constexpr float slideThrust = 3000.0f;
constexpr float boostImpulse = 5000.0f;
constexpr float sidewaysDecayRate = 2.0f;
// Not even the longest frame reverses the sideways speed, or grows it.
static_assert(sidewaysDecayRate * PhysicsWorld::longestFrame < 1.0f);
}

void BoatAxes::rotate(const glm::quat& rotation)
{
    rotatedRight = rotation * glm::vec3(1.0f, 0.0f, 0.0f);
    rotatedUp = rotation * glm::vec3(0.0f, 1.0f, 0.0f);
    rotatedForward = rotation * glm::vec3(0.0f, 0.0f, 1.0f);
}

glm::vec3 BoatAxes::right() const
{
    return rotatedRight;
}

glm::vec3 BoatAxes::up() const
{
    return rotatedUp;
}

glm::vec3 BoatAxes::forward() const
{
    return rotatedForward;
}

glm::mat3 BoatAxes::basis() const
{
    return glm::mat3(rotatedRight, rotatedUp, rotatedForward);
}

BoatControls keyboardControls(const BoatSettings& settings)
{
    BoatControls controls;
    if (Keyboard::isKeyPressed(settings.keyForward))
    {
        controls.engine = 1.0f;
    }
    if (Keyboard::isKeyPressed(settings.keyBackward))
    {
        controls.engine = -1.0f;
    }
    if (Keyboard::isKeyPressed(settings.keyLeft))
    {
        controls.steering = 1.0f;
    }
    if (Keyboard::isKeyPressed(settings.keyRight))
    {
        controls.steering = -1.0f;
    }
    controls.slide = Keyboard::isKeyPressed(Key::leftShift);
    return controls;
}

Boat::Boat(PhysicsBody* chassis, const BoatSettings& settings) : chassisBody(chassis), boatSettings(settings)
{
    disableDeactivation(chassisBody);
}

Boat::~Boat() = default;

void Boat::drive(const BoatControls& controls)
{
    engineInput = speedLimit > speedKmh() ? controls.engine * boatSettings.engineForce : 0.0f;
    steeringInput = controls.steering * boatSettings.steeringAmount;
    updateSlide(controls.slide);
    applyControls();
}

void Boat::handleKeyboardInput()
{
    drive(keyboardControls(boatSettings));
}

GamepadState Boat::handleGamepadInput(bool readOnly)
{
    steeringInput = 0.0f;
    engineInput = 0.0f;
    const GamepadState state = readGamepad();
    if (!readOnly)
    {
        drive(gamepadControls(state));
    }
    return state;
}

void Boat::applyControls()
{
    raycastVehicle->applyEngineForce(engineInput, 2);
    raycastVehicle->applyEngineForce(engineInput, 3);
    // While sliding the steering turns the hull as a torque instead (see update).
    const float steering = sliding ? 0.0f : steeringInput;
    raycastVehicle->setSteeringValue(steering, 0);
    raycastVehicle->setSteeringValue(steering, 1);
}

void Boat::updateSlide(bool slideKeyHeld)
{
    if (!slideKeyHeld)
    {
        slideNeedsRelease = false;
    }
    if (slideNeedsRelease)
    {
        return;
    }
    const float speed = speedKmh();
    if (!sliding)
    {
        if (slideKeyHeld && std::fabs(steeringInput) > 0.1f && speed > slideMinimumSpeed)
        {
            slideDirection = steeringInput > 0.0f ? 1 : -1;
            raycastVehicle->getWheelInfo(2).m_frictionSlip = slideFrictionSlip;
            raycastVehicle->getWheelInfo(3).m_frictionSlip = slideFrictionSlip;
            chassisBody->applyTorqueImpulse(
                toBulletVector(boatAxes.up() * slideKickTorque * static_cast<float>(slideDirection)));
            sliding = true;
        }
        return;
    }
    if (slideKeyHeld && speed >= slideMinimumSpeed)
    {
        return;
    }
    if (slideTime > slideBoostTime)
    {
        std::printf("BOOST!\n");
        chassisBody->applyCentralImpulse(toBulletVector(boatAxes.forward() * boostImpulse));
    }
    endSlide();
}

void Boat::endSlide()
{
    slideDirection = 0;
    raycastVehicle->getWheelInfo(2).m_frictionSlip = boatSettings.frictionSlip;
    raycastVehicle->getWheelInfo(3).m_frictionSlip = boatSettings.frictionSlip;
    slideNeedsRelease = true;
    slideTime = 0.0f;
    sliding = false;
}

void Boat::releaseControls()
{
    steeringInput = 0.0f;
    engineInput = 0.0f;
    if (sliding)
    {
        endSlide();
    }
    applyControls();
}

void Boat::update(float interpolationFactor)
{
    const float deltaTime = PhysicsWorld::frameTime();
    if (sliding)
    {
        slideTime += deltaTime;
        chassisBody->applyTorque(
            toBulletVector(boatAxes.up() * slideSteeringTorque * steeringInput / boatSettings.steeringAmount));
        if (speedLimit > speedKmh())
        {
            chassisBody->applyCentralForce(
                toBulletVector(boatAxes.forward() * slideThrust * engineInput / boatSettings.engineForce));
        }
    }
    else
    {
        const glm::mat3 basis = boatAxes.basis();
        glm::vec3 local = glm::transpose(basis) * fromBulletVector(chassisBody->getLinearVelocity());
        if (std::fabs(local.x) > 1.0f)
        {
            const float decay = sidewaysDecayRate * deltaTime;
            local.z += decay * std::fabs(local.x);
            local.x -= decay * local.x;
            chassisBody->setLinearVelocity(toBulletVector(basis * local));
        }
    }
    boatAxes.rotate(interpolatedRotation(chassisBody, interpolationFactor));
}

void Boat::reset(const glm::vec3& position, const glm::quat& rotation)
{
    const btTransform transform = toBulletTransform(rotation, position);
    chassisBody->setWorldTransform(transform);
    chassisBody->getMotionState()->setWorldTransform(transform);
    // Drawn there at once, also while the world stands still: there is nothing
    // to interpolate from.
    chassisBody->previousTransform = transform;
    chassisBody->currentTransform = transform;
    chassisBody->setLinearVelocity(btVector3(0.0f, 0.0f, 0.0f));
    chassisBody->setAngularVelocity(btVector3(0.0f, 0.0f, 0.0f));
    chassisBody->clearForces();
    // A slide would otherwise go on, and end in a boost, on a boat put down at rest.
    if (sliding)
    {
        endSlide();
    }
    raycastVehicle->resetSuspension();
    for (int wheel = 0; wheel < raycastVehicle->getNumWheels(); ++wheel)
    {
        raycastVehicle->updateWheelTransform(wheel, true);
    }
    chassisBody->activate(true);
}

float Boat::speedKmh() const
{
    return std::fabs(raycastVehicle->getCurrentSpeedKmHour());
}

bool Boat::isSliding() const
{
    return sliding;
}

const BoatAxes& Boat::axes() const
{
    return boatAxes;
}

glm::vec3 Boat::interpolatedPosition(float factor) const
{
    const btVector3 previous = chassisBody->previousTransform.getOrigin();
    const btVector3 current = chassisBody->currentTransform.getOrigin();
    return fromBulletVector(previous + (current - previous) * factor);
}

PhysicsBody* Boat::chassis() const
{
    return chassisBody;
}

const BoatSettings& Boat::settings() const
{
    return boatSettings;
}

btRaycastVehicle* Boat::vehicle() const
{
    return raycastVehicle.get();
}

void Boat::buildVehicle(btDynamicsWorld* world)
{
    btRaycastVehicle::btVehicleTuning tuning;
    tuning.m_suspensionStiffness = boatSettings.suspensionStiffness;
    tuning.m_suspensionCompression = boatSettings.suspensionCompression;
    tuning.m_suspensionDamping = boatSettings.suspensionDamping;
    tuning.m_maxSuspensionTravelCm = boatSettings.maxSuspensionTravel * 100.0f;
    tuning.m_frictionSlip = boatSettings.frictionSlip;
    tuning.m_maxSuspensionForce = boatSettings.maxSuspensionForce;

    auto newRaycaster = std::make_unique<btDefaultVehicleRaycaster>(world);
    auto newVehicle = std::make_unique<btRaycastVehicle>(tuning, chassisBody, newRaycaster.get());
    // The old vehicle goes before the raycaster that it uses.
    raycastVehicle = std::move(newVehicle);
    raycaster = std::move(newRaycaster);

    const btVector3 direction(0.0f, -1.0f, 0.0f);
    const btVector3 axle(-1.0f, 0.0f, 0.0f);
    for (int wheel = 0; wheel < 4; ++wheel)
    {
        const bool front = wheel < 2;
        raycastVehicle->addWheel(toBulletVector(boatSettings.wheelConnectionPoints[static_cast<std::size_t>(wheel)]),
                                 direction, axle, boatSettings.suspensionRestLength,
                                 front ? boatSettings.frontWheelRadius : boatSettings.rearWheelRadius, tuning, front);
    }
}
