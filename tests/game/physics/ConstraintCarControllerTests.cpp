#include "engine/Keyboard.hpp"
#include "engine/Timer.hpp"
#include "game/physics/BulletConversions.hpp"
#include "game/physics/ConstraintCarController.hpp"
#include "game/physics/PhysicsResources.hpp"
#include "game/physics/PhysicsWorld.hpp"

#include <BulletDynamics/ConstraintSolver/btGeneric6DofSpring2Constraint.h>
#include <btBulletDynamicsCommon.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace
{
constexpr std::int16_t keyUp = 265;
constexpr std::int16_t keyDown = 264;
constexpr std::int16_t keyLeft = 263;
constexpr std::int16_t keyRight = 262;
constexpr float rate = PhysicsWorld::subStep * 12.566371f;
const glm::quat identity(1.0f, 0.0f, 0.0f, 0.0f);

// A floating chassis on four ball wheels level with its centre, in a world without gravity.
class ConstraintCarControllerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Timer::resetForTesting();
        Keyboard::releaseAllKeysForTesting();
        chassis = resources.createRigidBody(resources.createBoxShape(glm::vec3(1.0f, 0.3f, 2.0f)), 10.0f,
                                            gameBodyMaterial);
        world.addRigidBody(chassis, glm::vec3(0.0f), identity);
        const std::vector<glm::vec3> offsets{glm::vec3(1.2f, 0.0f, 1.5f), glm::vec3(-1.2f, 0.0f, 1.5f),
                                             glm::vec3(1.2f, 0.0f, -1.5f), glm::vec3(-1.2f, 0.0f, -1.5f)};
        ConstraintCarController::WheelConstraints wheels{};
        for (std::size_t i = 0; i < 4; ++i)
        {
            PhysicsBody* wheel =
                resources.createRigidBody(resources.createSphereShape(0.3f), 1.0f, gameBodyMaterial);
            world.addRigidBody(wheel, offsets[i], identity);
            btTransform frameInChassis = toBulletTransform(identity, offsets[i]);
            btTransform frameInWheel = toBulletTransform(identity, glm::vec3(0.0f));
            constraints.push_back(
                std::make_unique<btGeneric6DofSpring2Constraint>(*chassis, *wheel, frameInChassis, frameInWheel));
            world.dynamicsWorld()->addConstraint(constraints.back().get(), true);
            wheels[i] = constraints.back().get();
        }
        controller = std::make_unique<ConstraintCarController>(keyUp, keyDown, keyLeft, keyRight, chassis, wheels);
        world.addController(controller.get());
    }

    void TearDown() override
    {
        Keyboard::releaseAllKeysForTesting();
        world.removeAllObjects();
        Timer::resetForTesting();
    }

    void subSteps(int count)
    {
        for (int i = 0; i < count; ++i)
        {
            controller->preStep(PhysicsWorld::subStep);
        }
    }

    float steeringLimit(std::size_t wheel) const
    {
        btVector3 lower;
        constraints[wheel]->getAngularLowerLimit(lower);
        return lower.y();
    }

    PhysicsResources resources;
    std::vector<std::unique_ptr<btGeneric6DofSpring2Constraint>> constraints;
    PhysicsWorld world;
    PhysicsBody* chassis = nullptr;
    std::unique_ptr<ConstraintCarController> controller;
};

TEST_F(ConstraintCarControllerTest, SteeringTurnsAtItsRateWithinAQuarterTurnAndReturnsToZero)
{
    Keyboard::setKeyHeldForTesting(keyRight, true);
    subSteps(24);
    EXPECT_NEAR(controller->steeringAngle(), 24.0f * rate, 1e-5f);
    const float held = controller->steeringAngle();

    // Both keys: one step each way.
    Keyboard::setKeyHeldForTesting(keyLeft, true);
    subSteps(5);
    EXPECT_NEAR(controller->steeringAngle(), held, 1e-5f);

    // Back to zero in the time the angle took to build up (the both-keys steps leave a rounding error).
    Keyboard::releaseAllKeysForTesting();
    subSteps(25);
    EXPECT_EQ(controller->steeringAngle(), 0.0f);
    subSteps(10);
    EXPECT_EQ(controller->steeringAngle(), 0.0f);

    Keyboard::setKeyHeldForTesting(keyLeft, true);
    subSteps(200);
    EXPECT_FLOAT_EQ(controller->steeringAngle(), -ConstraintCarController::maximumSteeringAngle);
    EXPECT_FLOAT_EQ(steeringLimit(0), -ConstraintCarController::maximumSteeringAngle);
    EXPECT_FLOAT_EQ(steeringLimit(1), -ConstraintCarController::maximumSteeringAngle);
}

TEST_F(ConstraintCarControllerTest, SteeringShrinksWithSpeed)
{
    Keyboard::setKeyHeldForTesting(keyRight, true);
    subSteps(200);
    const float full = ConstraintCarController::maximumSteeringAngle;
    EXPECT_FLOAT_EQ(steeringLimit(0), full);

    chassis->setLinearVelocity(btVector3(0.0f, 0.0f, 20.0f));
    subSteps(1);
    EXPECT_NEAR(steeringLimit(0), 0.6f * full, 1e-5f);
    EXPECT_NEAR(steeringLimit(1), 0.6f * full, 1e-5f);

    chassis->setLinearVelocity(btVector3(0.0f, 0.0f, 45.0f));
    subSteps(1);
    EXPECT_NEAR(steeringLimit(0), 0.2f * full, 1e-5f);
}

TEST_F(ConstraintCarControllerTest, SpeedIsCappedForwardAndBackward)
{
    Keyboard::setKeyHeldForTesting(keyUp, true);
    float highest = 0.0f;
    for (int i = 0; i < 600; ++i)
    {
        Timer::tickBy(PhysicsWorld::subStep);
        world.step();
        highest = std::max(highest, chassis->getLinearVelocity().length());
    }
    EXPECT_GT(highest, 20.0f);
    EXPECT_LE(highest, ConstraintCarController::forwardSpeedCap * 1.0001f);

    Keyboard::setKeyHeldForTesting(keyUp, false);
    Keyboard::setKeyHeldForTesting(keyDown, true);
    float highestBackwards = 0.0f;
    for (int i = 0; i < 800; ++i)
    {
        Timer::tickBy(PhysicsWorld::subStep);
        world.step();
        const btVector3 velocity = chassis->getLinearVelocity();
        if (velocity.dot(toBulletVector(controller->axes().forward())) < 0.0f)
        {
            highestBackwards = std::max(highestBackwards, velocity.length());
        }
    }
    EXPECT_GT(highestBackwards, 5.0f);
    EXPECT_LE(highestBackwards, ConstraintCarController::reverseSpeedCap * 1.0001f);
}

TEST_F(ConstraintCarControllerTest, TheAxesFollowTheBodyAfterEachSubStep)
{
    btTransform turned = chassis->getWorldTransform();
    turned.setRotation(btQuaternion(btVector3(0.0f, 1.0f, 0.0f), SIMD_HALF_PI));
    chassis->setWorldTransform(turned);
    controller->postStep();
    EXPECT_NEAR(glm::distance(controller->axes().forward(), glm::vec3(1.0f, 0.0f, 0.0f)), 0.0f, 1e-5f);
    EXPECT_NEAR(glm::distance(controller->axes().right(), glm::vec3(0.0f, 0.0f, -1.0f)), 0.0f, 1e-5f);
}
}
