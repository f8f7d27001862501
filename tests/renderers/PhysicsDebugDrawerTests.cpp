#include "engine/Timer.hpp"
#include "game/physics/PhysicsResources.hpp"
#include "game/physics/PhysicsWorld.hpp"
#include "renderers/PhysicsDebugDrawer.hpp"

#include <btBulletDynamicsCommon.h>
#include <gtest/gtest.h>

#include <vector>

namespace
{
// Twelve lines, each joining two corners of the box along one axis.
void expectBoxEdges(const std::vector<LineVertex>& lines, const btVector3& centre, const glm::vec3& halfExtents)
{
    ASSERT_EQ(lines.size(), 24u);
    for (std::size_t index = 0; index < lines.size(); index += 2)
    {
        const glm::vec3 middle(centre.x(), centre.y(), centre.z());
        EXPECT_LT(glm::length(glm::abs(lines[index].position - middle) - halfExtents), 1e-4f);
        const glm::vec3 along = glm::abs(lines[index + 1].position - lines[index].position);
        EXPECT_EQ(int(along.x > 1e-4f) + int(along.y > 1e-4f) + int(along.z > 1e-4f), 1);
    }
}

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
    PhysicsBody* ground =
        resources.createRigidBody(resources.createBoxShape(glm::vec3(4.0f, 0.5f, 3.0f)), 0.0f, gameBodyMaterial);
    world.addRigidBody(ground, glm::vec3(0.0f, -0.5f, 0.0f), identity);
    PhysicsBody* crate = resources.createRigidBody(resources.createBoxShape(glm::vec3(0.5f)), 1.0f, gameBodyMaterial);
    world.addRigidBody(crate, glm::vec3(0.0f, 0.6f, 0.0f), identity);
    world.setRadialGravity(glm::vec3(0.0f, -1000.0f, 0.0f), 10.0f);
    for (int frame = 0; frame < 10; ++frame)
    {
        Timer::tickBy(0.02);
        world.step();
    }
    world.dynamicsWorld()->debugDrawWorld();

    // The static ground sleeps (green), the crate is active (white).
    std::vector<LineVertex> groundLines;
    std::vector<LineVertex> crateLines;
    std::size_t contactVertices = 0;
    for (std::size_t index = 0; index < lines.size(); index += 2)
    {
        const glm::vec3 colour = lines[index].colour;
        EXPECT_EQ(lines[index + 1].colour, colour);
        std::vector<LineVertex>& kind = colour == glm::vec3(0.0f, 1.0f, 0.0f) ? groundLines : crateLines;
        if (colour == glm::vec3(1.0f, 1.0f, 0.0f))
        {
            contactVertices += 2;
            EXPECT_NEAR(lines[index].position.y, 0.0f, 0.05f);
            continue;
        }
        kind.insert(kind.end(), {lines[index], lines[index + 1]});
    }
    expectBoxEdges(groundLines, ground->getWorldTransform().getOrigin(), glm::vec3(4.0f, 0.5f, 3.0f));
    expectBoxEdges(crateLines, crate->getWorldTransform().getOrigin(), glm::vec3(0.5f));
    EXPECT_EQ(crateLines[0].colour, glm::vec3(1.0f));
    EXPECT_GT(contactVertices, 0u);

    // A contact at distance 0 is a line of no length on its point.
    lines.clear();
    drawer.drawContactPoint(btVector3(1.0f, 2.0f, 3.0f), btVector3(0.0f, 1.0f, 0.0f), 0.0f, 1, btVector3(1, 1, 0));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].position, lines[1].position);
    world.removeAllObjects();
    Timer::resetForTesting();
}
}
