#include "game/physics/BulletConversions.hpp"
#include "game/physics/InstanceBodies.hpp"
#include "game/physics/PhysicsResources.hpp"
#include "game/physics/PhysicsWorld.hpp"

#include <btBulletDynamicsCommon.h>
#include <gtest/gtest.h>

#include <array>

namespace
{
const glm::quat identity(1.0f, 0.0f, 0.0f, 0.0f);

class InstanceBodyTest : public ::testing::Test
{
protected:
    void TearDown() override { world.removeAllObjects(); }

    BodyDescription described(BodyKind kind, double mass, const glm::vec3& offset)
    {
        BodyDescription description;
        description.kind = kind;
        description.mass = mass;
        description.radius = 1.0;
        description.halfExtents = glm::vec3(1.0f, 2.0f, 3.0f);
        description.positionOffset = offset;
        return description;
    }

    PhysicsResources resources;
    PhysicsWorld world;
};

TEST_F(InstanceBodyTest, TheBodyLiesAtTheInstancePoseWithItsTurnedOffset)
{
    BodyDescription box = described(BodyKind::Box, 0.0, glm::vec3(1.0f, 0.0f, 0.0f));
    box.rotation = glm::angleAxis(glm::radians(90.0f), glm::vec3(1.0f, 0.0f, 0.0f));
    const glm::quat instanceRotation = glm::angleAxis(glm::radians(90.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    PhysicsBody* body = createInstanceBody(resources, world, box, glm::vec3(10.0f, 0.0f, 0.0f), instanceRotation, {});
    ASSERT_NE(body, nullptr);
    EXPECT_EQ(world.bodies(), (std::vector<PhysicsBody*>{body}));
    // The instance's quarter turn about Y takes the offset +X to -Z.
    EXPECT_NEAR(body->getWorldTransform().getOrigin().distance(btVector3(10.0f, 0.0f, -1.0f)), 0.0f, 1e-5f);
    EXPECT_NEAR(std::abs(glm::dot(fromBulletQuaternion(body->getWorldTransform().getRotation()),
                                  instanceRotation * box.rotation)),
                1.0f, 1e-5f);
    EXPECT_EQ(body->getLocalInertia(), btVector3(0.0f, 0.0f, 0.0f));
    EXPECT_FALSE(isMovingBody(*body));

    const std::array<glm::vec3, 9> cube{glm::vec3(-1, -1, -1), glm::vec3(1, -1, -1), glm::vec3(-1, 1, -1),
                                        glm::vec3(1, 1, -1),   glm::vec3(-1, -1, 1), glm::vec3(1, -1, 1),
                                        glm::vec3(-1, 1, 1),   glm::vec3(1, 1, 1),   glm::vec3(0, 0, 0)};
    const BodyDescription hull = described(BodyKind::ConvexHull, 2.0, glm::vec3(0.0f));
    PhysicsBody* rock = createInstanceBody(resources, world, hull, glm::vec3(0.0f, 50.0f, 0.0f), identity, cube);
    ASSERT_NE(rock, nullptr);
    auto* hullShape = static_cast<btConvexHullShape*>(rock->getCollisionShape());
    // The inner point is dropped by the optimisation.
    EXPECT_EQ(hullShape->getNumPoints(), 8);
    EXPECT_FLOAT_EQ(hullShape->getMargin(), 0.04f);
    EXPECT_FLOAT_EQ(rock->getInvMass(), 0.5f);
    EXPECT_TRUE(isMovingBody(*rock));
}

TEST_F(InstanceBodyTest, ADescriptionWithoutAShapeMakesNoBody)
{
    const BodyDescription unknown = described(static_cast<BodyKind>(7), 1.0, glm::vec3(0.0f));
    const BodyDescription pointlessHull = described(BodyKind::ConvexHull, 1.0, glm::vec3(0.0f));
    EXPECT_EQ(createInstanceBody(resources, world, unknown, glm::vec3(0.0f), identity, {}), nullptr);
    EXPECT_EQ(createInstanceBody(resources, world, pointlessHull, glm::vec3(0.0f), identity, {}), nullptr);
    const std::array<BodyDescription, 2> neither{unknown, pointlessHull};
    EXPECT_EQ(createCompoundInstanceBody(resources, world, neither, glm::vec3(0.0f), identity), nullptr);
    EXPECT_EQ(world.dynamicsWorld()->getNumCollisionObjects(), 0);
    EXPECT_EQ(resources.createCylinderShape(glm::vec3(1.0f), 3), nullptr);
}

TEST_F(InstanceBodyTest, ACompoundWeighsEveryDescriptionAndKeepsItsChildrenUnturned)
{
    std::array<BodyDescription, 4> parts{described(BodyKind::Box, 1.0, glm::vec3(0.0f, 1.0f, 0.0f)),
                                         described(BodyKind::Sphere, 2.0, glm::vec3(2.0f, 0.0f, 0.0f)),
                                         described(BodyKind::CylinderY, 3.0, glm::vec3(0.0f, 0.0f, -3.0f)),
                                         // No hull in a compound, but its mass counts.
                                         described(BodyKind::ConvexHull, 4.0, glm::vec3(0.0f))};
    parts[0].rotation = glm::angleAxis(1.0f, glm::vec3(0.0f, 1.0f, 0.0f));
    const glm::vec3 position(5.0f, 6.0f, 7.0f);
    PhysicsBody* body = createCompoundInstanceBody(resources, world, parts, position, identity);
    ASSERT_NE(body, nullptr);
    EXPECT_FLOAT_EQ(body->getInvMass(), 0.1f);
    EXPECT_EQ(fromBulletVector(body->getWorldTransform().getOrigin()), position);
    auto* compound = static_cast<btCompoundShape*>(body->getCollisionShape());
    ASSERT_EQ(compound->getNumChildShapes(), 3);
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_EQ(compound->getChildTransform(i).getOrigin(),
                  toBulletVector(parts[static_cast<std::size_t>(i)].positionOffset));
        EXPECT_EQ(compound->getChildTransform(i).getBasis(), btMatrix3x3::getIdentity());
    }
    EXPECT_EQ(compound->getChildShape(2)->getShapeType(), CYLINDER_SHAPE_PROXYTYPE);
    EXPECT_EQ(static_cast<btCylinderShape*>(compound->getChildShape(2))->getUpAxis(), 1);
}
}
