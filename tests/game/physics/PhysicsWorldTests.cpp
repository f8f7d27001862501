#include "engine/Timer.hpp"
#include "game/physics/BulletConversions.hpp"
#include "game/physics/PhysicsResources.hpp"
#include "game/physics/PhysicsWorld.hpp"
#include "game/physics/RaceCourse.hpp"

#include <btBulletDynamicsCommon.h>
#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

namespace
{
const glm::quat identity(1.0f, 0.0f, 0.0f, 0.0f);

void expectMatrixNear(const glm::mat4& actual, const glm::mat4& expected)
{
    for (int column = 0; column < 4; ++column)
    {
        for (int row = 0; row < 4; ++row)
        {
            EXPECT_NEAR(actual[column][row], expected[column][row], 1e-5f) << "column " << column << " row " << row;
        }
    }
}

class PhysicsWorldTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Timer::resetForTesting();
        world.setRadialGravity(glm::vec3(0.0f), 10.0f);
    }

    void TearDown() override
    {
        world.removeAllObjects();
        Timer::resetForTesting();
    }

    PhysicsBody* addBall(const glm::vec3& position, float mass)
    {
        PhysicsBody* body = resources.createRigidBody(resources.createSphereShape(0.5f), mass, gameBodyMaterial);
        world.addRigidBody(body, position, identity);
        return body;
    }

    PhysicsResources resources;
    PhysicsWorld world;
};

TEST_F(PhysicsWorldTest, OnlyWholeSubStepsAreSimulatedAndTheLeftoverIsReturned)
{
    PhysicsBody* ball = addBall(glm::vec3(0.0f, 10.0f, 0.0f), 1.0f);

    Timer::tickBy(0.0005);
    EXPECT_FLOAT_EQ(world.step(), 0.512f);
    EXPECT_EQ(ball->getLinearVelocity().length(), 0.0f);

    // The two halves make one sub-step with a little left over.
    Timer::tickBy(0.0005);
    EXPECT_NEAR(world.step(), 0.024f, 1e-4f);
    EXPECT_LT(ball->getLinearVelocity().y(), 0.0f);
}

TEST_F(PhysicsWorldTest, ExactlyOneSubStepLeavesNothingOver)
{
    PhysicsBody* ball = addBall(glm::vec3(0.0f, 10.0f, 0.0f), 1.0f);
    Timer::tickBy(1.0 / 1024.0);
    EXPECT_EQ(world.step(), 0.0f);
    EXPECT_NEAR(ball->getLinearVelocity().y(), -10.0f / 1024.0f, 1e-5f);
    EXPECT_EQ(ball->previousTransform.getOrigin(), btVector3(0.0f, 10.0f, 0.0f));
    EXPECT_EQ(ball->currentTransform.getOrigin(), ball->getWorldTransform().getOrigin());
}

TEST_F(PhysicsWorldTest, ALongFrameRunsEverySubStepItHolds)
{
    PhysicsBody* ball = addBall(glm::vec3(0.0f, 50.0f, 0.0f), 1.0f);
    Timer::tickBy(0.1);
    // 102 sub-steps and 0.4 of one.
    EXPECT_NEAR(world.step(), 0.4f, 1e-3f);
    EXPECT_NEAR(ball->getLinearVelocity().y(), -10.0f * 102.0f / 1024.0f, 0.01f);
}

TEST_F(PhysicsWorldTest, RadialGravityPullsOnlyDynamicBodiesTowardTheCentre)
{
    PhysicsBody* dynamicBall = addBall(glm::vec3(3.0f, 4.0f, 0.0f), 1.0f);
    PhysicsBody* staticBall = addBall(glm::vec3(0.0f, -20.0f, 0.0f), 0.0f);
    PhysicsBody* kinematicBall = resources.createRigidBody(resources.createSphereShape(0.5f), 0.0f, gameBodyMaterial);
    kinematicBall->setCollisionFlags(kinematicBall->getCollisionFlags() | btCollisionObject::CF_KINEMATIC_OBJECT);
    world.addRigidBody(kinematicBall, glm::vec3(20.0f, 0.0f, 0.0f), identity);
    PhysicsBody* centredBall = addBall(glm::vec3(0.0f), 1.0f);
    centredBall->setGravity(btVector3(1.0f, 2.0f, 3.0f));

    Timer::tickBy(1.0 / 1024.0);
    world.step();
    EXPECT_NEAR(dynamicBall->getGravity().x(), -6.0f, 1e-5f);
    EXPECT_NEAR(dynamicBall->getGravity().y(), -8.0f, 1e-5f);
    EXPECT_EQ(staticBall->getGravity(), btVector3(0.0f, 0.0f, 0.0f));
    EXPECT_EQ(kinematicBall->getGravity(), btVector3(0.0f, 0.0f, 0.0f));
    EXPECT_EQ(centredBall->getGravity(), btVector3(1.0f, 2.0f, 3.0f));
    EXPECT_EQ(staticBall->getWorldTransform().getOrigin(), btVector3(0.0f, -20.0f, 0.0f));

    world.setRadialGravity(glm::vec3(0.0f), 0.0f);
    Timer::tickBy(1.0 / 1024.0);
    world.step();
    EXPECT_EQ(dynamicBall->getGravity(), btVector3(0.0f, 0.0f, 0.0f));
}

TEST_F(PhysicsWorldTest, ANewBodyIsDrawnAtItsStartPoseWhateverTheFactor)
{
    const glm::vec3 position(1.0f, 2.0f, 3.0f);
    const glm::quat rotation = glm::angleAxis(0.7f, glm::normalize(glm::vec3(1.0f, 1.0f, 0.0f)));
    PhysicsBody* body = resources.createRigidBody(resources.createBoxShape(glm::vec3(1.0f)), 1.0f, gameBodyMaterial);
    world.addRigidBody(body, position, rotation);
    const glm::mat4 expected = glm::translate(glm::mat4(1.0f), position) * glm::mat4_cast(rotation);
    for (const float factor : {0.0f, 0.5f, 0.99f})
    {
        expectMatrixNear(interpolatedTransformMatrix(body, factor), expected);
    }
}

TEST_F(PhysicsWorldTest, PosesAreBlendedBetweenTheLastTwoSubSteps)
{
    PhysicsBody* body = addBall(glm::vec3(0.0f), 1.0f);
    body->previousTransform = toBulletTransform(identity, glm::vec3(0.0f, 0.0f, 0.0f));
    const glm::quat turned = glm::angleAxis(glm::radians(90.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    body->currentTransform = toBulletTransform(turned, glm::vec3(2.0f, 4.0f, 0.0f));

    const glm::quat halfway = glm::angleAxis(glm::radians(45.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    const glm::quat blended = interpolatedRotation(body, 0.5f);
    EXPECT_NEAR(std::abs(glm::dot(blended, halfway)), 1.0f, 1e-5f);
    expectMatrixNear(interpolatedTransformMatrix(body, 0.5f),
                     glm::translate(glm::mat4(1.0f), glm::vec3(1.0f, 2.0f, 0.0f)) * glm::mat4_cast(halfway));
}

TEST_F(PhysicsWorldTest, RemovingABodyKeepsTheOthersInOrder)
{
    PhysicsBody* first = addBall(glm::vec3(0.0f, 10.0f, 0.0f), 1.0f);
    PhysicsBody* second = addBall(glm::vec3(0.0f, 20.0f, 0.0f), 1.0f);
    PhysicsBody* third = addBall(glm::vec3(0.0f, 30.0f, 0.0f), 1.0f);
    world.removeRigidBody(second);
    EXPECT_EQ(world.bodies(), (std::vector<PhysicsBody*>{first, third}));
    EXPECT_EQ(world.dynamicsWorld()->getNumCollisionObjects(), 2);

    // A body the list does not hold is only taken out of the Bullet world.
    PhysicsBody* stray = resources.createRigidBody(resources.createSphereShape(1.0f), 1.0f, gameBodyMaterial);
    world.dynamicsWorld()->addRigidBody(stray);
    world.removeRigidBody(stray);
    EXPECT_EQ(world.bodies().size(), 2u);
    EXPECT_EQ(world.dynamicsWorld()->getNumCollisionObjects(), 2);
}

TEST_F(PhysicsWorldTest, RemoveAllObjectsEmptiesTheWorldAndDeletesNothing)
{
    addBall(glm::vec3(0.0f, 10.0f, 0.0f), 1.0f);
    PhysicsBody* planet = addBall(glm::vec3(0.0f), 0.0f);
    PhysicsBody* hinged = addBall(glm::vec3(5.0f, 5.0f, 0.0f), 1.0f);
    btPoint2PointConstraint constraint(*hinged, btVector3(0.0f, 1.0f, 0.0f));
    world.dynamicsWorld()->addConstraint(&constraint);
    createRaceBoat(resources, world);
    createRaceCheckpoints(resources, world);
    Timer::tickBy(0.01);
    world.step();

    world.removeAllObjects();
    EXPECT_EQ(world.dynamicsWorld()->getNumCollisionObjects(), 0);
    EXPECT_EQ(world.dynamicsWorld()->getNumConstraints(), 0);
    EXPECT_TRUE(world.bodies().empty());
    // Stepping an empty world is harmless, and the objects can go back in.
    world.step();
    world.addRigidBody(planet, glm::vec3(0.0f), identity);
    EXPECT_EQ(world.dynamicsWorld()->getNumCollisionObjects(), 1);
}
}
