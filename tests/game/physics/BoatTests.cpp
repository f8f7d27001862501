#include "engine/Keyboard.hpp"
#include "engine/Timer.hpp"
#include "game/physics/Boat.hpp"
#include "game/physics/PhysicsResources.hpp"
#include "game/physics/PhysicsWorld.hpp"
#include "game/physics/RaceCourse.hpp"
#include "support/StdoutCapture.hpp"

#include <BulletDynamics/Vehicle/btRaycastVehicle.h>
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace
{
constexpr std::int16_t keyW = 87;
constexpr std::int16_t keyA = 65;
constexpr std::int16_t leftShift = 340;
constexpr float frameTime = 1.0f / 60.0f;

// The race's boat dropped onto a planet of radius 100 under the race's gravity.
class BoatOnPlanetTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Timer::resetForTesting();
        Keyboard::releaseAllKeysForTesting();
        world.setRadialGravity(glm::vec3(0.0f), raceGravityMagnitude);
        PhysicsBody* planet = resources.createRigidBody(resources.createSphereShape(100.0f), 0.0f, gameBodyMaterial);
        world.addRigidBody(planet, glm::vec3(0.0f), glm::quat(1.0f, 0.0f, 0.0f, 0.0f));
        boat = createRaceBoat(resources, world);
    }

    void TearDown() override
    {
        Keyboard::releaseAllKeysForTesting();
        world.removeAllObjects();
        Timer::resetForTesting();
    }

    // One race frame: controls, physics, per-frame forces. Returns the speed after it.
    float frame()
    {
        Timer::tickBy(frameTime);
        boat->handleKeyboardInput();
        boat->update(world.step());
        return boat->speedKmh();
    }

    // Runs the frames and gives the highest speed seen.
    float run(float seconds)
    {
        float highest = 0.0f;
        for (int i = 0; i < static_cast<int>(seconds / frameTime + 0.5f); ++i)
        {
            highest = std::max(highest, frame());
        }
        return highest;
    }

    PhysicsResources resources;
    PhysicsWorld world;
    Boat* boat = nullptr;
};

TEST_F(BoatOnPlanetTest, ComesToRestOnThePlanetAndDrivesForward)
{
    run(2.0f);
    const glm::vec3 rest = boat->interpolatedPosition(1.0f);
    EXPECT_LT(boat->speedKmh(), 1.0f);
    EXPECT_GT(glm::length(rest), 100.0f);
    EXPECT_LT(glm::length(rest), 100.6f);
    EXPECT_GT(glm::dot(boat->axes().up(), glm::normalize(rest)), 0.999f);

    Keyboard::setKeyHeldForTesting(keyW, true);
    run(2.0f);
    const glm::vec3 driven = boat->interpolatedPosition(1.0f);
    EXPECT_GT(boat->speedKmh(), 20.0f);
    EXPECT_GT(driven.z - rest.z, 5.0f);
    EXPECT_NEAR(driven.x, rest.x, 0.5f);
    EXPECT_LT(glm::length(driven), 100.6f);
}

TEST_F(BoatOnPlanetTest, EngineForceAloneNeverPassesTheSpeedLimit)
{
    run(2.0f);
    Keyboard::setKeyHeldForTesting(keyW, true);
    const float highest = run(7.5f);
    // The engine is cut at 120 km/h; one frame of thrust may carry a fraction beyond.
    EXPECT_GT(highest, 119.0f);
    EXPECT_LT(highest, 121.0f);
}

TEST_F(BoatOnPlanetTest, OnlyALongSlideEndsInOneBoost)
{
    run(2.0f);
    // Too slow to slide, then fast but not steering.
    Keyboard::setKeyHeldForTesting(keyA, true);
    Keyboard::setKeyHeldForTesting(leftShift, true);
    run(0.5f);
    EXPECT_FALSE(boat->isSliding());
    Keyboard::setKeyHeldForTesting(keyA, false);
    Keyboard::setKeyHeldForTesting(keyW, true);
    run(3.0f);
    ASSERT_GT(boat->speedKmh(), 60.0f);
    EXPECT_FALSE(boat->isSliding());

    // Gtest reports to standard output too, so nothing is asserted while it is captured.
    bool slideStarted = false;
    float steeringWhileSliding = -1.0f;
    bool longSlideLasted = false;
    float boostGain = 0.0f;
    bool shortSlideStarted = false;
    bool shortSlideEnded = false;
    std::string printed;
    {
        StdoutCapture capture;
        Keyboard::setKeyHeldForTesting(keyA, true);
        frame();
        slideStarted = boat->isSliding();
        steeringWhileSliding = boat->vehicle()->getSteeringValue(0);
        run(1.3f);
        longSlideLasted = boat->isSliding();
        const float before = boat->speedKmh();
        Keyboard::setKeyHeldForTesting(leftShift, false);
        frame();
        boostGain = boat->speedKmh() - before;
        frame();

        Keyboard::setKeyHeldForTesting(leftShift, true);
        frame();
        shortSlideStarted = boat->isSliding();
        run(1.0f);
        Keyboard::setKeyHeldForTesting(leftShift, false);
        frame();
        shortSlideEnded = !boat->isSliding();
        run(0.5f);
        printed = capture.text();
    }
    EXPECT_TRUE(slideStarted);
    // The steering turns the hull, not the front wheels.
    EXPECT_EQ(steeringWhileSliding, 0.0f);
    EXPECT_TRUE(longSlideLasted);
    // An impulse of 5000 on 500 kg: 10 m/s more along the hull.
    EXPECT_GT(boostGain, 25.0f);
    EXPECT_TRUE(shortSlideStarted);
    EXPECT_TRUE(shortSlideEnded);
    EXPECT_EQ(printed, "BOOST!\n");
}

TEST_F(BoatOnPlanetTest, SidewaysSpeedTurnsIntoForwardSpeed)
{
    // Still in the air, upright: the boat's axes are the world's.
    Timer::tickBy(frameTime);
    boat->chassis()->setLinearVelocity(btVector3(0.8f, 0.0f, 0.0f));
    boat->update(0.0f);
    EXPECT_EQ(boat->chassis()->getLinearVelocity(), btVector3(0.8f, 0.0f, 0.0f));

    boat->chassis()->setLinearVelocity(btVector3(3.0f, 0.0f, 0.0f));
    boat->update(0.0f);
    const btVector3 decayed = boat->chassis()->getLinearVelocity();
    EXPECT_NEAR(decayed.x(), 3.0f - 2.0f * 3.0f * frameTime, 1e-5f);
    EXPECT_NEAR(decayed.z(), 2.0f * 3.0f * frameTime, 1e-5f);

    // A long frame stops the sideways motion; it never reverses it.
    Timer::tickBy(1.0);
    boat->chassis()->setLinearVelocity(btVector3(-3.0f, 0.0f, 0.0f));
    boat->update(0.0f);
    const btVector3 stopped = boat->chassis()->getLinearVelocity();
    EXPECT_NEAR(stopped.x(), 0.0f, 1e-5f);
    EXPECT_NEAR(stopped.z(), 3.0f, 1e-5f);
}

TEST_F(BoatOnPlanetTest, WithoutAGamepadTheGamepadControlsGiveNoDrive)
{
    Keyboard::setKeyHeldForTesting(keyW, true);
    Keyboard::setKeyHeldForTesting(keyA, true);
    boat->handleKeyboardInput();
    ASSERT_EQ(boat->vehicle()->getWheelInfo(2).m_engineForce, boat->settings().engineForce);

    const GLFWgamepadstate state = boat->handleGamepadInput(false);
    EXPECT_EQ(state.axes[GLFW_GAMEPAD_AXIS_RIGHT_TRIGGER], 0.0f);
    EXPECT_EQ(boat->vehicle()->getWheelInfo(2).m_engineForce, 0.0f);
    EXPECT_EQ(boat->vehicle()->getWheelInfo(3).m_engineForce, 0.0f);
    EXPECT_EQ(boat->vehicle()->getSteeringValue(0), 0.0f);
}
}
