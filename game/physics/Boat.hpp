#pragma once

#include "engine/GamepadState.hpp"
#include "engine/Keys.hpp"
#include "game/physics/BoatControls.hpp"

#include <glm/gtc/quaternion.hpp>
#include <glm/mat3x3.hpp>
#include <glm/vec3.hpp>

#include <array>
#include <cstdint>
#include <memory>

class btDynamicsWorld;
class btDefaultVehicleRaycaster;
class btRaycastVehicle;
class PhysicsBody;

// The defaults are the race's boat.
struct BoatSettings
{
    float frictionSlip = 1.8f;
    float maxSuspensionForce = 9000.0f;
    float maxSuspensionTravel = 1.4f;
    float suspensionCompression = 3.5f;
    float suspensionDamping = 2.0f;
    float suspensionStiffness = 22.0f;
    std::int16_t keyForward = Key::w;
    std::int16_t keyBackward = Key::s;
    std::int16_t keyLeft = Key::a;
    std::int16_t keyRight = Key::d;
    float engineForce = 2000.0f;
    float steeringAmount = 0.39269909f;
    float frontWheelRadius = 0.3675f;
    float rearWheelRadius = 0.3675f;
    float suspensionRestLength = 0.1f;
    // Front +X, front -X, rear +X, rear -X, in the chassis frame.
    std::array<glm::vec3, 4> wheelConnectionPoints{
        glm::vec3(0.932908f, 0.0f, 1.10792f), glm::vec3(-0.932908f, 0.0f, 1.10792f),
        glm::vec3(0.932908f, 0.0f, -1.10792f), glm::vec3(-0.932908f, 0.0f, -1.10792f)};
};

// The controls of the keys held now: the settings' four keys and Left Shift
// to slide. Backward wins over forward, and right over left, when both are
// held. R, which puts the boat back, is a key press that the race's key table
// takes, so reset stays false here.
BoatControls keyboardControls(const BoatSettings& settings);

// A vehicle's local right (+X), up (+Y) and forward (+Z) in the world.
class BoatAxes
{
public:
    void rotate(const glm::quat& rotation);
    glm::vec3 right() const;
    glm::vec3 up() const;
    glm::vec3 forward() const;
    // Right, up and forward as the columns.
    glm::mat3 basis() const;

private:
    glm::vec3 rotatedRight{1.0f, 0.0f, 0.0f};
    glm::vec3 rotatedUp{0.0f, 1.0f, 0.0f};
    glm::vec3 rotatedForward{0.0f, 0.0f, 1.0f};
};

// The player's boat: a raycast vehicle with four wheels under its chassis body,
// with a speed limit and a power slide that ends in a boost.
class Boat
{
public:
    static constexpr float slideBoostTime = 1.2f;

    Boat(PhysicsBody* chassis, const BoatSettings& settings);
    ~Boat();
    Boat(const Boat&) = delete;
    Boat& operator=(const Boat&) = delete;

    // The engine, the steering and the slide of the controls; the engine only
    // below the speed limit. A reset is left to the race.
    void drive(const BoatControls& controls);
    // The keys held now drive the boat.
    void handleKeyboardInput();
    // Joystick 1's state, all zero without a gamepad; it drives the boat
    // unless readOnly. The steering and engine inputs start from zero either way.
    GamepadState handleGamepadInput(bool readOnly);
    void updateSlide(bool slideKeyHeld);
    // Per frame, after the physics step, over the frame's time as the world
    // simulates it: a stall counts no more toward a slide than the world moved.
    void update(float interpolationFactor);
    // At rest at the pose, and drawn there from now on; a slide ends there without a boost.
    void reset(const glm::vec3& position, const glm::quat& rotation);
    // No engine force or steering, and a slide ends without a boost: the boat
    // coasts until the controls are read again.
    void releaseControls();

    float speedKmh() const;
    bool isSliding() const;
    const BoatAxes& axes() const;
    glm::vec3 interpolatedPosition(float factor) const;

    PhysicsBody* chassis() const;
    const BoatSettings& settings() const;
    btRaycastVehicle* vehicle() const;
    // Replaces the vehicle (and its raycaster) by a new one in the given world.
    void buildVehicle(btDynamicsWorld* world);

private:
    void applyControls();
    // Back to the wheels' grip; the slide key must be released before the next slide.
    void endSlide();

    PhysicsBody* chassisBody;
    BoatSettings boatSettings;
    std::unique_ptr<btDefaultVehicleRaycaster> raycaster;
    std::unique_ptr<btRaycastVehicle> raycastVehicle;
    bool sliding = false;
    float steeringInput = 0.0f;
    float engineInput = 0.0f;
    float slideTime = 0.0f;
    std::int32_t slideDirection = 0;
    bool slideNeedsRelease = false;
    float speedLimit = 120.0f;
    BoatAxes boatAxes;
};
