#pragma once

#include "engine/Keyboard.hpp"
#include "engine/Timer.hpp"
#include "game/physics/PhysicsResources.hpp"
#include "game/physics/PhysicsWorld.hpp"

#include <gtest/gtest.h>

// A world and its resources; the clock and the keyboard start and end as the game starts them.
class PhysicsTest : public ::testing::Test
{
protected:
    void SetUp() override { resetInput(); }
    void TearDown() override
    {
        world.removeAllObjects();
        resetInput();
    }

    static void resetInput()
    {
        Timer::resetForTesting();
        Keyboard::releaseAllKeysForTesting();
    }

    // One frame of the given length; returns the fraction of a sub-step left over.
    float stepBy(double seconds)
    {
        Timer::tickBy(seconds);
        return world.step();
    }

    PhysicsBody* addBall(const glm::vec3& position, float radius, float mass)
    {
        PhysicsBody* body = resources.createRigidBody(resources.createSphereShape(radius), mass, gameBodyMaterial);
        world.addRigidBody(body, position, identity);
        return body;
    }

    static inline const glm::quat identity{1.0f, 0.0f, 0.0f, 0.0f};
    PhysicsResources resources;
    PhysicsWorld world;
};
