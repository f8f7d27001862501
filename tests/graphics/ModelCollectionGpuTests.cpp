#include "engine/FileIo.hpp"
#include "engine/Log.hpp"
#include "engine/Timer.hpp"
#include "game/physics/InstanceBodies.hpp"
#include "game/physics/PhysicsWorld.hpp"
#include "gpu/Frames.hpp"
#include "gpu/TargetTest.hpp"
#include "graphics/ModelCollection.hpp"

#include <btBulletDynamicsCommon.h>
#include <glm/gtc/matrix_transform.hpp>

#include <filesystem>

namespace
{
constexpr Rgba cleared{0, 0, 0, 0};
constexpr Rgba blue{0, 0, 255, 255};
const glm::quat none(1.0f, 0.0f, 0.0f, 0.0f);

// Four corners facing +Z; the one texture coordinate gives (0, 0) and no
// tangent, so the test shader's colour is the turned normal alone.
const std::string squareObj = "v -0.25 -0.25 0\nv 0.25 -0.25 0\nv 0.25 0.25 0\nv -0.25 0.25 0\nvt 0 1\nvn 0 0 1\n"
                              "f 1/1/1 2/1/1 3/1/1\nf 3/1/1 4/1/1 1/1/1\n";

BodyDescription described(BodyKind kind, double mass)
{
    return {kind, 0.5, mass, glm::vec3(0.0f), glm::vec3(1.0f)};
}

class ModelCollectionTest : public TargetTest
{
protected:
    void SetUp() override
    {
        TargetTest::SetUp();
        Timer::resetForTesting();
        world.setRadialGravity(glm::vec3(0.0f), 10.0f);
        ASSERT_TRUE(writeFile("Square.obj", squareObj, false));
    }

    void TearDown() override
    {
        releaseModelCollection(*models);
        Timer::resetForTesting();
        TargetTest::TearDown();
    }

    float stepBy(double seconds)
    {
        Timer::tickBy(seconds);
        return world.step();
    }

    PhysicsWorld world;
    ModelCollectionPointer models = createModelCollection(&system, &world);
};

TEST_F(ModelCollectionTest, OnePathAddedThriceIsOneMeshWhoseInstancesAreDrawnWhereTheyWerePut)
{
    const glm::quat turned = glm::angleAxis(glm::radians(60.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    const std::array<ModelPlacement, 3> placements{{{"Square.obj", {-0.5f, -0.5f, 0.5f}, none, 3},
                                                    {"Square.obj", {0.5f, -0.5f, 0.5f}, none, 10},
                                                    {"Square.obj", {0.5f, 0.5f, 0.5f}, turned, 10}}};
    for (std::uint32_t instance = 0; instance < 3; ++instance)
    {
        const ModelRef added = addModel(*models, placements[instance]);
        EXPECT_EQ(std::pair(added.model(), added.instance()), std::pair(0u, instance));
    }
    // The capacity is that of the first placement.
    EXPECT_FALSE(addModel(*models, placements[0]).added());
    ASSERT_EQ(models->meshContainer.instancedMeshes.size(), 1u);
    EXPECT_EQ(models->meshes[0]->instanceCount, 3u);

    const TextureCollection colour = target(VK_FORMAT_R8G8B8A8_UNORM);
    ASSERT_TRUE((createTextureRenderTargetPipeline2<ModelVertex, TwoMatrixInstance>(
        pipeline, describePipeline("TwoMatrixInstance.vert", "Colour.frag"), {colour})));
    ASSERT_TRUE(models->updateBodyInstances(0.0f));
    recordPasses(models->meshes);
    std::vector<Rgba> drawn = read(colour, system.getCurrentFrame());
    EXPECT_EQ((std::vector{at(drawn, 4, 4), at(drawn, 12, 4), at(drawn, 4, 12)}), (std::vector{blue, blue, cleared}));
    // The normal matrix turns the normal (0, 0, 1) to (sin 60, 0, cos 60).
    EXPECT_NEAR(at(drawn, 12, 12)[0], 221, 1);
    EXPECT_NEAR(at(drawn, 12, 12)[2], 128, 1);

    models->setInstancePose(0, 1, glm::vec3(-0.5f, 0.5f, 0.5f), none);
    ASSERT_TRUE(models->updateBodyInstances(0.0f));
    recordPasses(models->meshes);
    drawn = read(colour, system.getCurrentFrame());
    EXPECT_EQ((std::vector{at(drawn, 12, 4), at(drawn, 4, 12)}), (std::vector{cleared, blue}));
    EXPECT_FALSE(hasErrors());

    // Another spelling of the path is another model; failures enter no path.
    EXPECT_FALSE(addModel(*models, {"./Square.obj", glm::vec3(0.0f), none, 0}).added());
    EXPECT_EQ(addModel(*models, {"./Square.obj", glm::vec3(0.0f), none, 1}).model(), 1u);
    EXPECT_FALSE(addModel(*models, {"Missing.obj", glm::vec3(0.0f), none, 1}).added());
    EXPECT_EQ(models->modelIndexByPath.size(), 2u);
}

TEST_F(ModelCollectionTest, MovingBodiesCarryTheirInstancesAndReplacedOrReleasedBodiesLeaveTheWorld)
{
    const BodyDescription ball = described(BodyKind::Sphere, 1.0);
    const BodyDescription ground = described(BodyKind::Box, 0.0);
    ASSERT_TRUE(addModelWithBody(*models, "Square.obj", ball, {0.0f, 50.0f, 0.0f}, none, 2).added());
    ASSERT_EQ(addModelWithBody(*models, "Square.obj", ground, {10.0f, 0.0f, 0.0f}, none, 2).instance(), 1u);
    PhysicsBody* falling = models->instanceBodies[0][0];
    PhysicsBody* fixed = models->instanceBodies[0][1];
    EXPECT_EQ(world.bodies(), (std::vector<PhysicsBody*>{falling, fixed}));

    const float factor = stepBy(0.1 + 0.5 * PhysicsWorld::subStep);
    ASSERT_TRUE(models->updateBodyInstances(factor));
    const glm::mat4 followed = interpolatedTransformMatrix(falling, factor);
    EXPECT_LT(followed[3].y, 50.0f);
    EXPECT_EQ(models->instanceData[0][0].model, followed);
    EXPECT_EQ(models->instanceMatrices[0][1], glm::translate(glm::mat4(1.0f), glm::vec3(10.0f, 0.0f, 0.0f)));

    // The replaced body leaves the world and no longer moves the instance.
    PhysicsBody* replacement = models->createInstanceBody(0, 0, ground);
    EXPECT_EQ(world.bodies(), (std::vector<PhysicsBody*>{fixed, replacement}));
    models->setInstancePose(0, 0, glm::vec3(0.0f, 60.0f, 0.0f), none);
    ASSERT_TRUE(models->updateBodyInstances(stepBy(0.1)));
    EXPECT_EQ(models->instanceMatrices[0][0], glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 60.0f, 0.0f)));

    releaseModelCollection(*models);
    EXPECT_TRUE(world.bodies().empty());
    EXPECT_EQ(world.dynamicsWorld()->getNumCollisionObjects(), 0);
    EXPECT_FALSE(hasErrors());
}

TEST_F(ModelCollectionTest, HullsComeFromTheModelsOwnFileAndCompoundsSitAtTheInstance)
{
    ASSERT_TRUE(addModel(*models, {"Square.obj", {0.0f, 20.0f, 0.0f}, none, 3}).added());
    ASSERT_TRUE(addModel(*models, {"Square.obj", {5.0f, 20.0f, 0.0f}, none, 3}).added());
    const BodyDescription hull = described(BodyKind::ConvexHull, 1.0);
    PhysicsBody* slab = models->createInstanceBody(0, 0, hull);
    ASSERT_NE(slab, nullptr);
    EXPECT_EQ(static_cast<btConvexHullShape*>(slab->getCollisionShape())->getNumPoints(), 4);
    PhysicsBody* compound = models->createCompoundInstanceBody(0, 1, {described(BodyKind::Sphere, 1.0), described(BodyKind::Box, 2.0)});
    ASSERT_NE(compound, nullptr);
    EXPECT_EQ(compound->getWorldTransform().getOrigin(), btVector3(5.0f, 20.0f, 0.0f));
    EXPECT_EQ(models->instanceBodies[0], (std::vector<PhysicsBody*>{slab, compound}));

    // The model's file is read for its first hull only: the next one needs it no more.
    std::filesystem::remove("Square.obj");
    ASSERT_EQ(addModel(*models, {"Square.obj", {0.0f, 30.0f, 0.0f}, none, 3}).instance(), 2u);
    PhysicsBody* again = models->createInstanceBody(0, 2, hull);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(static_cast<btConvexHullShape*>(again->getCollisionShape())->getNumPoints(), 4);
    EXPECT_FALSE(hasErrors());

    // A model whose file has gone before its first hull gets none.
    ASSERT_TRUE(writeFile("Other.obj", squareObj, false));
    ASSERT_EQ(addModel(*models, {"Other.obj", {0.0f, 40.0f, 0.0f}, none, 1}).model(), 1u);
    std::filesystem::remove("Other.obj");
    EXPECT_EQ(models->createInstanceBody(1, 0, hull), nullptr);
    EXPECT_EQ(world.bodies().size(), 3u);
    EXPECT_TRUE(hasErrors());
}
}
