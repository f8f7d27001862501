#include "engine/Keys.hpp"
#include "game/physics/BulletConversions.hpp"
#include "game/physics/ConstraintCarController.hpp"
#include "support/PhysicsTest.hpp"

#include <BulletDynamics/ConstraintSolver/btGeneric6DofSpring2Constraint.h>
#include <btBulletDynamicsCommon.h>

#include <memory>
#include <vector>

namespace
{
// A floating chassis on four ball wheels level with its centre, in a world without gravity.
class ConstraintCarControllerTest : public PhysicsTest
{
protected:
    void SetUp() override
    {
        PhysicsTest::SetUp();
        chassis = resources.createRigidBody(resources.createBoxShape(glm::vec3(1.0f, 0.3f, 2.0f)), 10.0f,
                                            gameBodyMaterial);
        world.addRigidBody(chassis, glm::vec3(0.0f), identity);
        ConstraintCarController::WheelConstraints wheels{};
        for (std::size_t i = 0; i < 4; ++i)
        {
            const glm::vec3 offset(i % 2 == 0 ? 1.2f : -1.2f, 0.0f, i < 2 ? 1.5f : -1.5f);
            PhysicsBody* wheel = addBall(offset, 0.3f, 1.0f);
            constraints.push_back(std::make_unique<btGeneric6DofSpring2Constraint>(
                *chassis, *wheel, toBulletTransform(identity, offset), btTransform::getIdentity()));
            world.dynamicsWorld()->addConstraint(constraints.back().get(), true);
            wheels[i] = constraints.back().get();
        }
        controller =
            std::make_unique<ConstraintCarController>(Key::up, Key::down, Key::left, Key::right, chassis, wheels);
        world.addController(controller.get());
    }

    void subSteps(int count)
    {
        for (int i = 0; i < count; ++i)
        {
            controller->preStep(PhysicsWorld::subStep);
        }
    }

    // The highest speed over the sub-steps while moving along the given direction of the car's forward axis.
    float highestSpeed(int count, float direction)
    {
        float highest = 0.0f;
        for (int i = 0; i < count; ++i)
        {
            stepBy(PhysicsWorld::subStep);
            const btVector3 velocity = chassis->getLinearVelocity();
            if (velocity.dot(toBulletVector(controller->axes().forward())) * direction > 0.0f)
            {
                highest = std::max(highest, velocity.length());
            }
        }
        return highest;
    }

    float steeringLimit(std::size_t wheel) const
    {
        btVector3 lower;
        constraints[wheel]->getAngularLowerLimit(lower);
        return lower.y();
    }

    std::vector<std::unique_ptr<btGeneric6DofSpring2Constraint>> constraints;
    PhysicsBody* chassis = nullptr;
    std::unique_ptr<ConstraintCarController> controller;
};

TEST_F(ConstraintCarControllerTest, SteeringStopsAtFullLockShrinksWithSpeedAndReturnsToZero)
{
    Keyboard::setKeyHeldForTesting(Key::left, true);
    subSteps(200);
    const float full = -ConstraintCarController::maximumSteeringAngle;
    EXPECT_FLOAT_EQ(controller->steeringAngle(), full);
    EXPECT_FLOAT_EQ(steeringLimit(1), full);
    // A fifth of it at 40 m/s and above.
    chassis->setLinearVelocity(btVector3(0.0f, 0.0f, 45.0f));
    subSteps(1);
    EXPECT_NEAR(steeringLimit(0), 0.2f * full, 1e-5f);

    Keyboard::releaseAllKeysForTesting();
    subSteps(200);
    EXPECT_EQ(controller->steeringAngle(), 0.0f);
}

TEST_F(ConstraintCarControllerTest, SpeedIsCappedForwardAndBackward)
{
    Keyboard::setKeyHeldForTesting(Key::up, true);
    const float forward = highestSpeed(600, 1.0f);
    EXPECT_GT(forward, 20.0f);
    EXPECT_LE(forward, ConstraintCarController::forwardSpeedCap * 1.0001f);

    // Braking, then rolling backwards.
    Keyboard::setKeyHeldForTesting(Key::up, false);
    Keyboard::setKeyHeldForTesting(Key::down, true);
    const float backward = highestSpeed(800, -1.0f);
    EXPECT_GT(backward, 5.0f);
    EXPECT_LE(backward, ConstraintCarController::reverseSpeedCap * 1.0001f);
}
}
