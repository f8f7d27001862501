#include "engine/Timer.hpp"
#include "game/physics/PhysicsResources.hpp"
#include "game/physics/PhysicsWorld.hpp"
#include "renderers/PhysicsDebugDrawer.hpp"

#include <btBulletDynamicsCommon.h>
#include <gtest/gtest.h>

#include <vector>

namespace
{
TEST(PhysicsDebugDrawerTest, BoxesAreCollectedAsTheirEdgesInTheirActivationColourAndContactsInYellow)
{
    Timer::resetForTesting();
    PhysicsResources resources;
    PhysicsWorld world;
    PhysicsDebugDrawer drawer;
    std::vector<LineVertex> lines;
    drawer.setLineList(&lines, 1000);
    world.dynamicsWorld()->setDebugDrawer(&drawer);

    const glm::quat identity(1.0f, 0.0f, 0.0f, 0.0f);
    world.addRigidBody(
        resources.createRigidBody(resources.createBoxShape(glm::vec3(4.0f, 0.5f, 3.0f)), 0.0f, gameBodyMaterial),
        glm::vec3(0.0f, -0.5f, 0.0f), identity);
    world.addRigidBody(resources.createRigidBody(resources.createBoxShape(glm::vec3(0.5f)), 1.0f, gameBodyMaterial),
                       glm::vec3(0.0f, 0.6f, 0.0f), identity);
    world.setRadialGravity(glm::vec3(0.0f, -1000.0f, 0.0f), 10.0f);
    for (int frame = 0; frame < 10; ++frame)
    {
        Timer::tickBy(0.02);
        world.step();
    }
    world.dynamicsWorld()->debugDrawWorld();

    // Twelve edges of the static ground, which sleeps (green), and twelve of the
    // active crate (white); the contacts (yellow) lie where the two meet.
    int sleeping = 0;
    int active = 0;
    int contacts = 0;
    for (std::size_t index = 0; index < lines.size(); index += 2)
    {
        const glm::vec3 colour = lines[index].colour;
        EXPECT_EQ(lines[index + 1].colour, colour);
        if (colour == glm::vec3(1.0f, 1.0f, 0.0f))
        {
            ++contacts;
            EXPECT_NEAR(lines[index].position.y, 0.0f, 0.05f);
        }
        sleeping += colour == glm::vec3(0.0f, 1.0f, 0.0f);
        active += colour == glm::vec3(1.0f);
    }
    EXPECT_EQ(sleeping, 12);
    EXPECT_EQ(active, 12);
    EXPECT_GT(contacts, 0);

    world.removeAllObjects();
    Timer::resetForTesting();
}
}
