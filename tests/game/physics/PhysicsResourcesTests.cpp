#include "engine/Timer.hpp"
#include "game/physics/Boat.hpp"
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

class PhysicsResourcesTest : public ::testing::Test
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

    PhysicsResources resources;
    PhysicsWorld world;
};

TEST_F(PhysicsResourcesTest, BodiesGetTheMaterialAndAMassOfZeroNeverMoves)
{
    PhysicsBody* ground = resources.createRigidBody(resources.createBoxShape(glm::vec3(5.0f)), 0.0f, gameBodyMaterial);
    EXPECT_EQ(ground->getLocalInertia(), btVector3(0.0f, 0.0f, 0.0f));
    EXPECT_TRUE(ground->isStaticObject());
    EXPECT_FLOAT_EQ(ground->getRestitution(), 0.1f);
    EXPECT_FLOAT_EQ(ground->getFriction(), 0.7f);
    EXPECT_FLOAT_EQ(ground->getRollingFriction(), 0.1f);
    EXPECT_FLOAT_EQ(ground->getLinearDamping(), 0.1f);
    EXPECT_FLOAT_EQ(ground->getAngularDamping(), 0.05f);

    world.addRigidBody(ground, glm::vec3(0.0f, 20.0f, 0.0f), identity);
    PhysicsBody* ball = resources.createRigidBody(resources.createSphereShape(1.0f), 2.0f, gameBodyMaterial);
    EXPECT_GT(ball->getLocalInertia().x(), 0.0f);
    world.addRigidBody(ball, glm::vec3(0.0f, 27.0f, 0.0f), identity);
    Timer::tickBy(1.0);
    world.step();
    EXPECT_EQ(ground->getWorldTransform().getOrigin(), btVector3(0.0f, 20.0f, 0.0f));
    // The ball fell onto the box and stays on it.
    EXPECT_NEAR(ball->getWorldTransform().getOrigin().y(), 26.0f, 0.1f);
}

TEST_F(PhysicsResourcesTest, ShapesAreMadeAsAsked)
{
    EXPECT_EQ(resources.createCylinderShape(glm::vec3(1.0f, 2.0f, 3.0f), 0)->getUpAxis(), 0);
    EXPECT_EQ(resources.createCylinderShape(glm::vec3(1.0f, 2.0f, 3.0f), 1)->getUpAxis(), 1);
    EXPECT_EQ(resources.createCylinderShape(glm::vec3(1.0f, 2.0f, 3.0f), 2)->getUpAxis(), 2);
    EXPECT_EQ(resources.createCylinderShape(glm::vec3(1.0f, 2.0f, 3.0f), 3), nullptr);

    btBoxShape* box = resources.createBoxShape(glm::vec3(1.0f));
    const glm::quat turned = glm::angleAxis(0.5f, glm::vec3(0.0f, 0.0f, 1.0f));
    btCompoundShape* compound = resources.createCompoundShape(
        {{box, glm::vec3(1.0f, 2.0f, 3.0f), identity}, {box, glm::vec3(-1.0f, 0.0f, 0.0f), turned}});
    ASSERT_EQ(compound->getNumChildShapes(), 2);
    EXPECT_EQ(compound->getChildTransform(0).getOrigin(), btVector3(1.0f, 2.0f, 3.0f));
    EXPECT_NEAR(compound->getChildTransform(1).getRotation().angleShortestPath(toBulletQuaternion(turned)), 0.0f,
                1e-3f);
    EXPECT_NE(compound->getDynamicAabbTree(), nullptr);

    const std::array<glm::vec3, 9> cube{glm::vec3(-1, -1, -1), glm::vec3(1, -1, -1), glm::vec3(-1, 1, -1),
                                        glm::vec3(1, 1, -1),   glm::vec3(-1, -1, 1), glm::vec3(1, -1, 1),
                                        glm::vec3(-1, 1, 1),   glm::vec3(1, 1, 1),   glm::vec3(0, 0, 0)};
    btConvexHullShape* hull = resources.createConvexHullShape(cube);
    ASSERT_NE(hull, nullptr);
    // The inner point is dropped by the optimisation.
    EXPECT_EQ(hull->getNumPoints(), 8);
    EXPECT_FLOAT_EQ(hull->getMargin(), 0.04f);
    EXPECT_EQ(resources.createConvexHullShape({}), nullptr);
}

TEST_F(PhysicsResourcesTest, DestroyAllEmptiesTheListsAndMayBeCalledAgain)
{
    PhysicsResources empty;
    empty.destroyAll();
    empty.destroyAll();

    PhysicsResources owner;
    PhysicsBody* body = owner.createRigidBody(owner.createSphereShape(1.0f), 1.0f, gameBodyMaterial);
    owner.createBoat(body, BoatSettings{});
    owner.createLapTracker({});
    owner.destroyAll();
    owner.destroyAll();
}

TEST_F(PhysicsResourcesTest, AnInstanceBodyLiesAtTheInstancePoseWithItsOffset)
{
    BodyDescription box;
    box.kind = BodyKind::Box;
    box.mass = 0.0;
    box.halfExtents = glm::vec3(1.0f, 2.0f, 3.0f);
    box.positionOffset = glm::vec3(1.0f, 0.0f, 0.0f);
    box.rotation = glm::angleAxis(glm::radians(90.0f), glm::vec3(1.0f, 0.0f, 0.0f));
    const glm::quat instanceRotation = glm::angleAxis(glm::radians(90.0f), glm::vec3(0.0f, 1.0f, 0.0f));

    PhysicsBody* body = createInstanceBody(resources, world, box, glm::vec3(10.0f, 0.0f, 0.0f), instanceRotation, {});
    ASSERT_NE(body, nullptr);
    EXPECT_EQ(world.bodies(), (std::vector<PhysicsBody*>{body}));
    const glm::vec3 origin = fromBulletVector(body->getWorldTransform().getOrigin());
    // The offset turns with the instance: +X becomes -Z.
    EXPECT_NEAR(glm::distance(origin, glm::vec3(10.0f, 0.0f, -1.0f)), 0.0f, 1e-5f);
    const glm::quat expected = instanceRotation * box.rotation;
    EXPECT_NEAR(std::abs(glm::dot(fromBulletQuaternion(body->getWorldTransform().getRotation()), expected)), 1.0f,
                1e-5f);
    EXPECT_FALSE(isMovingBody(*body));

    BodyDescription sphere;
    sphere.kind = BodyKind::Sphere;
    sphere.radius = 2.5;
    sphere.mass = 3.0;
    PhysicsBody* ball = createInstanceBody(resources, world, sphere, glm::vec3(0.0f, 50.0f, 0.0f), identity, {});
    ASSERT_NE(ball, nullptr);
    EXPECT_FLOAT_EQ(static_cast<btSphereShape*>(ball->getCollisionShape())->getRadius(), 2.5f);
    EXPECT_FLOAT_EQ(ball->getInvMass(), 1.0f / 3.0f);
    EXPECT_TRUE(isMovingBody(*ball));

    BodyDescription hull;
    hull.kind = BodyKind::ConvexHull;
    const std::array<glm::vec3, 4> points{glm::vec3(0, 0, 0), glm::vec3(1, 0, 0), glm::vec3(0, 1, 0),
                                          glm::vec3(0, 0, 1)};
    PhysicsBody* hullBody = createInstanceBody(resources, world, hull, glm::vec3(0.0f), identity, points);
    ASSERT_NE(hullBody, nullptr);
    EXPECT_EQ(hullBody->getCollisionShape()->getShapeType(), CONVEX_HULL_SHAPE_PROXYTYPE);
}

TEST_F(PhysicsResourcesTest, ADescriptionWithoutAShapeMakesNoBody)
{
    BodyDescription unknown;
    unknown.kind = static_cast<BodyKind>(7);
    unknown.mass = 1.0;
    EXPECT_EQ(createInstanceBody(resources, world, unknown, glm::vec3(0.0f), identity, {}), nullptr);
    BodyDescription hull;
    hull.kind = BodyKind::ConvexHull;
    EXPECT_EQ(createInstanceBody(resources, world, hull, glm::vec3(0.0f), identity, {}), nullptr);
    const std::array<BodyDescription, 2> unknowns{unknown, hull};
    EXPECT_EQ(createCompoundInstanceBody(resources, world, unknowns, glm::vec3(0.0f), identity), nullptr);
    EXPECT_TRUE(world.bodies().empty());
    EXPECT_EQ(world.dynamicsWorld()->getNumCollisionObjects(), 0);
}

TEST_F(PhysicsResourcesTest, ACompoundBodyWeighsEveryDescriptionAndKeepsItsChildrenUnturned)
{
    std::array<BodyDescription, 4> parts{};
    parts[0].kind = BodyKind::Box;
    parts[0].mass = 1.0;
    parts[0].halfExtents = glm::vec3(1.0f);
    parts[0].positionOffset = glm::vec3(0.0f, 1.0f, 0.0f);
    parts[0].rotation = glm::angleAxis(1.0f, glm::vec3(0.0f, 1.0f, 0.0f));
    parts[1].kind = BodyKind::Sphere;
    parts[1].mass = 2.0;
    parts[1].radius = 1.0;
    parts[1].positionOffset = glm::vec3(2.0f, 0.0f, 0.0f);
    parts[2].kind = BodyKind::CylinderY;
    parts[2].mass = 3.0;
    parts[2].halfExtents = glm::vec3(0.5f, 2.0f, 0.5f);
    parts[2].positionOffset = glm::vec3(0.0f, 0.0f, -3.0f);
    // A hull has no place in a compound, but its mass still counts.
    parts[3].kind = BodyKind::ConvexHull;
    parts[3].mass = 4.0;

    const glm::vec3 position(5.0f, 6.0f, 7.0f);
    PhysicsBody* body = createCompoundInstanceBody(resources, world, parts, position, identity);
    ASSERT_NE(body, nullptr);
    EXPECT_FLOAT_EQ(body->getInvMass(), 1.0f / 10.0f);
    auto* compound = static_cast<btCompoundShape*>(body->getCollisionShape());
    ASSERT_EQ(compound->getNumChildShapes(), 3);
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_EQ(compound->getChildTransform(i).getOrigin(),
                  toBulletVector(parts[static_cast<std::size_t>(i)].positionOffset));
        EXPECT_EQ(compound->getChildTransform(i).getBasis(), btMatrix3x3::getIdentity());
    }
    EXPECT_EQ(fromBulletVector(body->getWorldTransform().getOrigin()), position);
}
}
