#include "game/physics/BulletConversions.hpp"
#include "game/physics/RaceCourse.hpp"
#include "support/PhysicsTest.hpp"

#include <BulletCollision/BroadphaseCollision/btBroadphaseProxy.h>
#include <btBulletDynamicsCommon.h>
#include <glm/gtc/matrix_transform.hpp>

namespace
{
void expectMatrixNear(const glm::mat4& actual, const glm::mat4& expected)
{
    for (int element = 0; element < 16; ++element)
    {
        EXPECT_NEAR(actual[element / 4][element % 4], expected[element / 4][element % 4], 1e-5f) << element;
    }
}

class PhysicsWorldTest : public PhysicsTest
{
protected:
    void SetUp() override
    {
        PhysicsTest::SetUp();
        world.setRadialGravity(glm::vec3(0.0f), 10.0f);
    }
};

TEST_F(PhysicsWorldTest, OnlyWholeSubStepsAreSimulatedAndTheLeftoverIsReturned)
{
    PhysicsBody* ball = addBall(glm::vec3(0.0f, 50.0f, 0.0f), 0.5f, 1.0f);
    EXPECT_EQ(stepBy(1.0 / 1024.0), 0.0f);
    EXPECT_NEAR(ball->getLinearVelocity().y(), -10.0f / 1024.0f, 1e-5f);
    EXPECT_EQ(ball->previousTransform.getOrigin(), btVector3(0.0f, 50.0f, 0.0f));
    EXPECT_EQ(ball->currentTransform.getOrigin(), ball->getWorldTransform().getOrigin());

    const btVector3 velocity = ball->getLinearVelocity();
    EXPECT_FLOAT_EQ(stepBy(0.0005), 0.512f);
    EXPECT_EQ(ball->getLinearVelocity(), velocity);
    // Two halves make one sub-step with a little left over.
    EXPECT_NEAR(stepBy(0.0005), 0.024f, 1e-4f);
    // 102 sub-steps more.
    EXPECT_NEAR(stepBy(0.1), 0.424f, 1e-3f);
    EXPECT_NEAR(ball->getLinearVelocity().y(), -10.0f * 104.0f / 1024.0f, 0.01f);
    // A stall of 2 s is a quarter of a second of the world's time: 256 sub-steps
    // (undamped, so each adds the same speed), and the same fraction left over.
    ball->setDamping(0.0f, 0.0f);
    const float before = ball->getLinearVelocity().y();
    EXPECT_NEAR(stepBy(2.0), 0.424f, 1e-3f);
    EXPECT_NEAR(ball->getLinearVelocity().y() - before, -10.0f * 256.0f / 1024.0f, 1e-3f);
}

TEST_F(PhysicsWorldTest, RadialGravityPullsOnlyDynamicBodiesTowardTheCentre)
{
    PhysicsBody* dynamicBall = addBall(glm::vec3(3.0f, 4.0f, 0.0f), 0.5f, 1.0f);
    PhysicsBody* staticBall = addBall(glm::vec3(0.0f, -20.0f, 0.0f), 0.5f, 0.0f);
    PhysicsBody* kinematicBall = addBall(glm::vec3(20.0f, 0.0f, 0.0f), 0.5f, 0.0f);
    kinematicBall->setCollisionFlags(kinematicBall->getCollisionFlags() | btCollisionObject::CF_KINEMATIC_OBJECT);
    // At the centre there is no direction to pull in.
    PhysicsBody* centredBall = addBall(glm::vec3(0.0f), 0.5f, 1.0f);
    centredBall->setGravity(btVector3(1.0f, 2.0f, 3.0f));

    stepBy(1.0 / 1024.0);
    EXPECT_NEAR(dynamicBall->getGravity().distance(btVector3(-6.0f, -8.0f, 0.0f)), 0.0f, 1e-5f);
    EXPECT_EQ(staticBall->getGravity(), btVector3(0.0f, 0.0f, 0.0f));
    EXPECT_EQ(kinematicBall->getGravity(), btVector3(0.0f, 0.0f, 0.0f));
    EXPECT_EQ(centredBall->getGravity(), btVector3(1.0f, 2.0f, 3.0f));
}

TEST_F(PhysicsWorldTest, PosesAreDrawnBetweenTheLastTwoSubSteps)
{
    const glm::quat tilted = glm::angleAxis(0.7f, glm::normalize(glm::vec3(1.0f, 1.0f, 0.0f)));
    PhysicsBody* body = resources.createRigidBody(resources.createBoxShape(glm::vec3(1.0f)), 1.0f, gameBodyMaterial);
    world.addRigidBody(body, glm::vec3(1.0f, 2.0f, 3.0f), tilted);
    expectMatrixNear(interpolatedTransformMatrix(body, 0.5f),
                     glm::translate(glm::mat4(1.0f), glm::vec3(1.0f, 2.0f, 3.0f)) * glm::mat4_cast(tilted));

    body->previousTransform = toBulletTransform(identity, glm::vec3(0.0f));
    body->currentTransform = toBulletTransform(glm::angleAxis(glm::radians(90.0f), glm::vec3(0.0f, 1.0f, 0.0f)),
                                               glm::vec3(2.0f, 4.0f, 0.0f));
    const glm::quat halfway = glm::angleAxis(glm::radians(45.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    expectMatrixNear(interpolatedTransformMatrix(body, 0.5f),
                     glm::translate(glm::mat4(1.0f), glm::vec3(1.0f, 2.0f, 0.0f)) * glm::mat4_cast(halfway));
}

btVector3 boundsCentre(const btCollisionObject* object)
{
    const btBroadphaseProxy* proxy = object->getBroadphaseHandle();
    return (proxy->m_aabbMin + proxy->m_aabbMax) * 0.5f;
}

// The broadphase finds objects by the bounds it holds for them: the step moves
// those of bodies that move, and an object placed by hand gets them at once.
TEST_F(PhysicsWorldTest, BoundsFollowMovingBodiesAndObjectsPlacedByHand)
{
    PhysicsBody* ball = addBall(glm::vec3(0.0f, 50.0f, 0.0f), 0.5f, 1.0f);
    PhysicsBody* rock = addBall(glm::vec3(0.0f, -50.0f, 0.0f), 0.5f, 0.0f);
    stepBy(0.25);
    EXPECT_LT(boundsCentre(ball).y(), 49.8f);
    EXPECT_NEAR(boundsCentre(ball).distance(ball->getWorldTransform().getOrigin()), 0.0f, 0.01f);

    // Static bodies are never refreshed by the step, which is what makes it cheap.
    rock->setWorldTransform(toBulletTransform(identity, glm::vec3(30.0f, 0.0f, 0.0f)));
    stepBy(0.01);
    EXPECT_NEAR(boundsCentre(rock).distance(btVector3(0.0f, -50.0f, 0.0f)), 0.0f, 1e-4f);
    world.placeObject(rock, glm::vec3(30.0f, 0.0f, 0.0f), identity);
    EXPECT_NEAR(boundsCentre(rock).distance(btVector3(30.0f, 0.0f, 0.0f)), 0.0f, 1e-4f);

    // A moving body placed far away is found there alone, not along the way from where it was.
    world.placeObject(ball, glm::vec3(0.0f, 0.0f, 80.0f), identity);
    const btBroadphaseProxy* proxy = ball->getBroadphaseHandle();
    EXPECT_LT((proxy->m_aabbMax - proxy->m_aabbMin).length(), 2.0f);
    EXPECT_NEAR(boundsCentre(ball).distance(btVector3(0.0f, 0.0f, 80.0f)), 0.0f, 0.01f);
}

TEST_F(PhysicsWorldTest, BodiesLeaveTheWorldOneByOneOrAllTogetherWithoutBeingDeleted)
{
    PhysicsBody* first = addBall(glm::vec3(0.0f, 10.0f, 0.0f), 0.5f, 1.0f);
    PhysicsBody* second = addBall(glm::vec3(0.0f, 20.0f, 0.0f), 0.5f, 1.0f);
    world.removeRigidBody(second);
    EXPECT_EQ(world.bodies(), (std::vector<PhysicsBody*>{first}));

    btPoint2PointConstraint constraint(*first, btVector3(0.0f, 1.0f, 0.0f));
    world.dynamicsWorld()->addConstraint(&constraint);
    createRaceBoat(resources, world);
    createRaceCheckpoints(resources, world);
    stepBy(0.01);
    world.removeAllObjects();
    EXPECT_EQ(world.dynamicsWorld()->getNumCollisionObjects(), 0);
    EXPECT_EQ(world.dynamicsWorld()->getNumConstraints(), 0);
    EXPECT_TRUE(world.bodies().empty());
    world.addRigidBody(second, glm::vec3(0.0f), identity);
    stepBy(0.01);
    EXPECT_EQ(world.dynamicsWorld()->getNumCollisionObjects(), 1);
}
}
