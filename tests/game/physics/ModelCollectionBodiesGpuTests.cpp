#include "engine/FileIo.hpp"
#include "engine/Log.hpp"
#include "engine/Timer.hpp"
#include "game/physics/InstanceBodies.hpp"
#include "game/physics/PhysicsWorld.hpp"
#include "gpu/GpuHarness.hpp"
#include "graphics/ModelCollection.hpp"

#include <btBulletDynamicsCommon.h>
#include <glm/gtc/matrix_transform.hpp>

#include <filesystem>

namespace
{
const glm::quat none(1.0f, 0.0f, 0.0f, 0.0f);

const std::string tetrahedronObj = "v 0 0 0\nv 1 0 0\nv 0 1 0\nv 0 0 1\nvt 0 0\nvn 0 0 1\n"
                                   "f 1/1/1 2/1/1 3/1/1\nf 1/1/1 2/1/1 4/1/1\nf 1/1/1 3/1/1 4/1/1\nf 2/1/1 3/1/1 4/1/1\n";

BodyDescription described(BodyKind kind, double mass)
{
    BodyDescription description;
    description.kind = kind;
    description.mass = mass;
    description.radius = 0.5;
    description.halfExtents = glm::vec3(1.0f);
    return description;
}

class ModelBodyTest : public GpuTest
{
protected:
    void SetUp() override
    {
        GpuTest::SetUp();
        Timer::resetForTesting();
        world.setRadialGravity(glm::vec3(0.0f), 10.0f);
        ASSERT_TRUE(writeFile("Tetrahedron.obj", tetrahedronObj, false));
    }

    void TearDown() override
    {
        releaseModelCollection(*models);
        Timer::resetForTesting();
        GpuTest::TearDown();
    }

    float stepBy(double seconds)
    {
        Timer::tickBy(seconds);
        return world.step();
    }

    PhysicsWorld world;
    std::unique_ptr<ModelCollection> models = createModelCollection(&system, &world);
};

TEST_F(ModelBodyTest, MovingBodiesCarryTheirInstancesAndReplacedOrReleasedBodiesLeaveTheWorld)
{
    const BodyDescription ball = described(BodyKind::Sphere, 1.0);
    const BodyDescription ground = described(BodyKind::Box, 0.0);
    ASSERT_TRUE(addModelWithBody(*models, "Tetrahedron.obj", ball, {0.0f, 50.0f, 0.0f}, none, 2).added());
    ASSERT_EQ(addModelWithBody(*models, "Tetrahedron.obj", ground, {10.0f, 0.0f, 0.0f}, none, 2).instance(), 1u);
    PhysicsBody* falling = models->instanceBodies[0][0];
    PhysicsBody* fixed = models->instanceBodies[0][1];
    EXPECT_EQ(world.bodies(), (std::vector<PhysicsBody*>{falling, fixed}));
    ASSERT_EQ(models->bodyBindings[0].size(), 1u);
    EXPECT_EQ(models->bodyBindings[0][0].body, falling);

    const float factor = stepBy(0.1 + 0.5 * PhysicsWorld::subStep);
    ASSERT_TRUE(models->updateBodyInstances(factor));
    const glm::mat4 followed = interpolatedTransformMatrix(falling, factor);
    EXPECT_LT(followed[3].y, 50.0f);
    EXPECT_EQ(models->instanceMatrices[0][0], followed);
    EXPECT_EQ(models->instanceData[0][0].model, followed);
    EXPECT_EQ(models->instanceMatrices[0][1], glm::translate(glm::mat4(1.0f), glm::vec3(10.0f, 0.0f, 0.0f)));
    EXPECT_FALSE(models->dirty[0]);

    // The replaced body leaves the world and no longer moves the instance.
    PhysicsBody* replacement = models->createInstanceBody(0, 0, ground);
    EXPECT_EQ(world.bodies(), (std::vector<PhysicsBody*>{fixed, replacement}));
    EXPECT_EQ(world.dynamicsWorld()->getNumCollisionObjects(), 2);
    EXPECT_TRUE(models->bodyBindings[0].empty());
    models->setInstancePose(0, 0, glm::vec3(0.0f, 60.0f, 0.0f), none);
    ASSERT_TRUE(models->updateBodyInstances(stepBy(0.1)));
    EXPECT_EQ(models->instanceMatrices[0][0], glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 60.0f, 0.0f)));

    releaseModelCollection(*models);
    EXPECT_TRUE(world.bodies().empty());
    EXPECT_EQ(world.dynamicsWorld()->getNumCollisionObjects(), 0);
    EXPECT_FALSE(hasErrors());
}

TEST_F(ModelBodyTest, HullsComeFromTheModelsOwnFileAndCompoundsSitAtTheInstance)
{
    ASSERT_TRUE(addModel(*models, {"Tetrahedron.obj", {0.0f, 20.0f, 0.0f}, none, 3}).added());
    ASSERT_TRUE(addModel(*models, {"Tetrahedron.obj", {5.0f, 20.0f, 0.0f}, none, 3}).added());
    const BodyDescription hull = described(BodyKind::ConvexHull, 1.0);
    PhysicsBody* rock = models->createInstanceBody(0, 0, hull);
    ASSERT_NE(rock, nullptr);
    EXPECT_EQ(static_cast<btConvexHullShape*>(rock->getCollisionShape())->getNumPoints(), 4);
    EXPECT_EQ(models->instanceBodies[0][0], rock);

    BodyDescription offsetBox = described(BodyKind::Box, 1.0);
    offsetBox.positionOffset = glm::vec3(0.0f, 1.0f, 0.0f);
    PhysicsBody* compound =
        models->createCompoundInstanceBody(0, 1, {offsetBox, described(BodyKind::Sphere, 2.0)});
    ASSERT_NE(compound, nullptr);
    EXPECT_FLOAT_EQ(compound->getInvMass(), 1.0f / 3.0f);
    EXPECT_EQ(compound->getWorldTransform().getOrigin(), btVector3(5.0f, 20.0f, 0.0f));
    EXPECT_EQ(models->instanceBodies[0][1], compound);
    EXPECT_EQ(models->bodyBindings[0].size(), 2u);

    // An instance of a model whose file has gone gets no hull; unknown instances get nothing.
    std::filesystem::remove("Tetrahedron.obj");
    ASSERT_EQ(addModel(*models, {"Tetrahedron.obj", {0.0f, 30.0f, 0.0f}, none, 3}).instance(), 2u);
    EXPECT_EQ(models->createInstanceBody(0, 2, hull), nullptr);
    EXPECT_EQ(models->instanceBodies[0][2], nullptr);
    EXPECT_EQ(models->createInstanceBody(0, 3, described(BodyKind::Box, 1.0)), nullptr);
    EXPECT_EQ(world.bodies().size(), 2u);
    EXPECT_TRUE(hasErrors());
}
}
