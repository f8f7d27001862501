#include "engine/Log.hpp"
#include "engine/Timer.hpp"
#include "game/physics/PhysicsResources.hpp"
#include "game/physics/PhysicsWorld.hpp"
#include "gpu/Frames.hpp"
#include "gpu/GpuHarness.hpp"
#include "graphics/Pipeline2.hpp"
#include "graphics/UniformBuffers.hpp"
#include "renderers/PhysicsDebugRenderer.hpp"

#include <btBulletDynamicsCommon.h>
#include <glm/gtc/matrix_transform.hpp>

#include <array>
#include <cstring>
#include <filesystem>
#include <map>
#include <vector>

namespace
{
constexpr std::array<std::uint8_t, 3> green{0, 255, 0};
const std::filesystem::path shaders = std::filesystem::path(KELVANE_ASSETS_DIR) / "QuorlDemoScene/Shaders";

class PhysicsDebugRendererTest : public GpuTest
{
protected:
    void SetUp() override
    {
        GpuTest::SetUp();
        ASSERT_TRUE(createFillPipeline(fill));
        uniforms = createUniformBufferCollection<64>(system).value();
        // Straight onto the screen, depth squeezed into the clip range.
        const glm::mat4 viewProjection =
            glm::scale(glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 0.0f, 0.5f)), glm::vec3(1.0f, 1.0f, 0.1f));
        std::memcpy(uniforms.buffers[0].mapped, &viewProjection, sizeof(viewProjection));
        std::memcpy(uniforms.buffers[1].mapped, &viewProjection, sizeof(viewProjection));
    }

    void TearDown() override
    {
        system.waitIdle();
        destroyPipeline2(fill);
        system.destroyUniformBuffers(uniforms);
        world.removeAllObjects();
        GpuTest::TearDown();
    }

    FrameRecorder recordWith(PhysicsDebugRenderer& renderer)
    {
        return [&](const FrameInfo& frame) {
            recordFill(fill, frame);
            renderer.record(frame);
        };
    }

    Pipeline2 fill{&system};
    UniformBufferCollection uniforms;
    PhysicsResources resources;
    PhysicsWorld world;
};

TEST_F(PhysicsDebugRendererTest, LinesShowBodiesByActivationAndContactsWithinTheCapacityAndWorldsLoseTheDrawerOnDestroy)
{
    PhysicsDebugRenderer renderer(&system, 1000);
    renderer.initialise(shaders / "Debug Shader.vert.spv", shaders / "Debug Shader.frag.spv", uniforms);
    ASSERT_NE(renderer.pipeline.pipeline, VK_NULL_HANDLE);
    // Only a debug key shows the lines: their mesh waits for the first frame that draws them.
    EXPECT_EQ(renderer.lineMesh, nullptr);
    renderer.attachPhysicsWorld(world.dynamicsWorld());
    renderer.attachPhysicsWorld(nullptr);
    // No bodies: the pass is recorded with nothing in it.
    expectWindowShows(system, recordWith(renderer), {{120, 60, fillColour}});

    // A static box, green, with edges through the pixel centres of columns 39 and 120 and rows 30 and 89.
    const glm::vec3 halfExtents(81.0f / 160.0f, 59.0f / 120.0f, 0.5f);
    world.addRigidBody(resources.createRigidBody(resources.createBoxShape(halfExtents), 0.0f, gameBodyMaterial),
                       glm::vec3(0.0f), glm::quat(1.0f, 0.0f, 0.0f, 0.0f));
    expectWindowShows(system, recordWith(renderer),
                      {{39, 60, green}, {120, 60, green}, {80, 30, green}, {80, 89, green}, {80, 60, fillColour}});

    // A crate dropped onto it is active (white) and touches it at contact points (yellow).
    Timer::resetForTesting();
    world.addRigidBody(resources.createRigidBody(resources.createBoxShape(glm::vec3(0.1f)), 1.0f, gameBodyMaterial),
                       glm::vec3(0.0f, 0.6f, 0.0f), glm::quat(1.0f, 0.0f, 0.0f, 0.0f));
    world.setRadialGravity(glm::vec3(0.0f, -1000.0f, 0.0f), 10.0f);
    for (int frame = 0; frame < 10; ++frame)
    {
        Timer::tickBy(0.02);
        world.step();
    }
    Timer::resetForTesting();
    ASSERT_TRUE(presentFrame(system, recordWith(renderer)));
    system.waitIdle();
    ASSERT_NE(renderer.lineMesh, nullptr);
    EXPECT_EQ(renderer.lineMesh->indexCount, renderer.recordedLines().size()) << "one index a vertex";
    using Colour = std::array<float, 3>;
    std::map<Colour, int> vertices;
    for (const LineVertex& vertex : renderer.recordedLines())
    {
        ++vertices[{vertex.colour.x, vertex.colour.y, vertex.colour.z}];
    }
    const int contacts = vertices[Colour{1.0f, 1.0f, 0.0f}];
    EXPECT_GT(contacts, 0);
    EXPECT_EQ(vertices, (std::map<Colour, int>{
                            {{0.0f, 1.0f, 0.0f}, 24}, {{1.0f, 1.0f, 1.0f}, 24}, {{1.0f, 1.0f, 0.0f}, contacts}}));
    // Lines that Bullet draws between records go nowhere: the frame's buffer may be in use.
    const std::size_t drawn = renderer.recordedLines().size();
    renderer.drawer.drawLine(btVector3(0, 0, 0), btVector3(1, 1, 1), btVector3(1, 0, 0));
    EXPECT_EQ(renderer.recordedLines().size(), drawn);
    renderer.destroy();
    EXPECT_EQ(world.dynamicsWorld()->getDebugDrawer(), nullptr);
    EXPECT_TRUE(renderer.lineMesh == nullptr && renderer.meshContainer.meshes.empty());
    EXPECT_TRUE(presentFrame(system, recordWith(renderer)));

    // Lines past the capacity are dropped; without a pipeline none are collected.
    PhysicsDebugRenderer small(&system, 9);
    small.initialise(shaders / "Debug Shader.vert.spv", shaders / "Debug Shader.frag.spv", uniforms);
    PhysicsDebugRenderer failed(&system, 1000);
    failed.initialise("Missing.vert.spv", "Missing.frag.spv", uniforms);
    resetErrorFlagForTesting();
    std::vector<std::size_t> recorded;
    for (PhysicsDebugRenderer* attached : {&small, &failed})
    {
        attached->attachPhysicsWorld(world.dynamicsWorld());
        EXPECT_TRUE(presentFrame(system, recordWith(*attached)));
        system.waitIdle();
        recorded.push_back(attached->recordedLines().size());
        attached->destroy();
    }
    EXPECT_EQ(recorded, (std::vector<std::size_t>{8, 0}));
    EXPECT_FALSE(hasErrors());
}

// A pipeline that was never made has no descriptor sets: writing them would
// hand the driver null sets.
TEST_F(PhysicsDebugRendererTest, DescriptorSetsThatWereNeverAllocatedAreNotWritten)
{
    Pipeline2 unmade{&system};
    updateDebugDescriptorSets(unmade, uniforms);
    EXPECT_FALSE(hasErrors());
}
}
