#include "game/physics/BulletConversions.hpp"
#include "game/physics/InstanceBodies.hpp"
#include "support/PhysicsTest.hpp"

#include <btBulletDynamicsCommon.h>

#include <array>

namespace
{
using InstanceBodyTest = PhysicsTest;

const glm::vec3 halfExtents(1.0f, 2.0f, 3.0f);

TEST_F(InstanceBodyTest, TheBodyLiesAtTheInstancePoseWithItsTurnedOffset)
{
    const BodyDescription box{BodyKind::Box, 1.0, 0.0, glm::vec3(1.0f, 0.0f, 0.0f), halfExtents,
                              glm::angleAxis(glm::radians(90.0f), glm::vec3(1.0f, 0.0f, 0.0f))};
    const glm::quat instanceRotation = glm::angleAxis(glm::radians(90.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    PhysicsBody* body = createInstanceBody(resources, world, box, glm::vec3(10.0f, 0.0f, 0.0f), instanceRotation, {});
    ASSERT_NE(body, nullptr);
    EXPECT_EQ(world.bodies(), (std::vector<PhysicsBody*>{body}));
    // The instance's quarter turn about Y takes the offset +X to -Z.
    EXPECT_NEAR(body->getWorldTransform().getOrigin().distance(btVector3(10.0f, 0.0f, -1.0f)), 0.0f, 1e-5f);
    EXPECT_NEAR(std::abs(glm::dot(fromBulletQuaternion(body->getWorldTransform().getRotation()),
                                  instanceRotation * box.rotation)),
                1.0f, 1e-5f);
    EXPECT_FALSE(isMovingBody(*body));

    const std::array<glm::vec3, 9> cube{glm::vec3(-1, -1, -1), glm::vec3(1, -1, -1), glm::vec3(-1, 1, -1),
                                        glm::vec3(1, 1, -1),   glm::vec3(-1, -1, 1), glm::vec3(1, -1, 1),
                                        glm::vec3(-1, 1, 1),   glm::vec3(1, 1, 1),   glm::vec3(0, 0, 0)};
    const BodyDescription hull{BodyKind::ConvexHull, 1.0, 2.0, glm::vec3(0.0f), halfExtents};
    PhysicsBody* rock = createInstanceBody(resources, world, hull, glm::vec3(0.0f, 50.0f, 0.0f), identity, cube);
    ASSERT_NE(rock, nullptr);
    // The inner point is dropped by the optimisation.
    EXPECT_EQ(static_cast<btConvexHullShape*>(rock->getCollisionShape())->getNumPoints(), 8);
    // The broadphase finds the rock by its bounds alone: they must hold the whole hull.
    btVector3 low;
    btVector3 high;
    rock->getAabb(low, high);
    for (int axis = 0; axis < 3; ++axis)
    {
        EXPECT_LE(low[axis], (axis == 1 ? 49.0f : -1.0f));
        EXPECT_GE(high[axis], (axis == 1 ? 51.0f : 1.0f));
    }
    EXPECT_FLOAT_EQ(rock->getInvMass(), 0.5f);
    EXPECT_TRUE(isMovingBody(*rock));
}

TEST_F(InstanceBodyTest, ADescriptionWithoutAShapeMakesNoBody)
{
    const BodyDescription unknown{static_cast<BodyKind>(7), 1.0, 1.0, glm::vec3(0.0f), halfExtents};
    const BodyDescription pointlessHull{BodyKind::ConvexHull, 1.0, 1.0, glm::vec3(0.0f), halfExtents};
    EXPECT_EQ(createInstanceBody(resources, world, unknown, glm::vec3(0.0f), identity, {}), nullptr);
    EXPECT_EQ(createInstanceBody(resources, world, pointlessHull, glm::vec3(0.0f), identity, {}), nullptr);
    const std::array<BodyDescription, 2> neither{unknown, pointlessHull};
    EXPECT_EQ(createCompoundInstanceBody(resources, world, neither, glm::vec3(0.0f), identity), nullptr);
    EXPECT_EQ(world.dynamicsWorld()->getNumCollisionObjects(), 0);
    EXPECT_EQ(resources.createCylinderShape(glm::vec3(1.0f), 3), nullptr);
}

TEST_F(InstanceBodyTest, ACompoundWeighsEveryDescriptionAndKeepsItsChildrenUnturned)
{
    const std::array<BodyDescription, 4> parts{
        BodyDescription{BodyKind::Box, 1.0, 1.0, glm::vec3(0.0f, 1.0f, 0.0f), halfExtents,
                        glm::angleAxis(1.0f, glm::vec3(0.0f, 1.0f, 0.0f))},
        BodyDescription{BodyKind::Sphere, 1.0, 2.0, glm::vec3(2.0f, 0.0f, 0.0f), halfExtents},
        BodyDescription{BodyKind::CylinderY, 1.0, 3.0, glm::vec3(0.0f, 0.0f, -3.0f), halfExtents},
        // No hull in a compound, but its mass counts.
        BodyDescription{BodyKind::ConvexHull, 1.0, 4.0, glm::vec3(0.0f), halfExtents}};
    PhysicsBody* body = createCompoundInstanceBody(resources, world, parts, glm::vec3(5.0f, 6.0f, 7.0f), identity);
    ASSERT_NE(body, nullptr);
    EXPECT_FLOAT_EQ(body->getInvMass(), 0.1f);
    auto* compound = static_cast<btCompoundShape*>(body->getCollisionShape());
    ASSERT_EQ(compound->getNumChildShapes(), 3);
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_EQ(compound->getChildTransform(i).getOrigin(),
                  toBulletVector(parts[static_cast<std::size_t>(i)].positionOffset));
        EXPECT_EQ(compound->getChildTransform(i).getBasis(), btMatrix3x3::getIdentity());
    }
    EXPECT_EQ(static_cast<btCylinderShape*>(compound->getChildShape(2))->getUpAxis(), 1);
}
}
