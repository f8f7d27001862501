#include "engine/Keys.hpp"
#include "game/Gamepad.hpp"
#include "game/physics/Boat.hpp"
#include "game/physics/RaceCourse.hpp"
#include "support/PhysicsTest.hpp"
#include "support/StdoutCapture.hpp"

#include <BulletDynamics/Vehicle/btRaycastVehicle.h>

#include <algorithm>

namespace
{
constexpr float frameTime = 1.0f / 60.0f;

// The race's boat dropped onto a planet of radius 100 under the race's gravity.
class BoatOnPlanetTest : public PhysicsTest
{
protected:
    void SetUp() override
    {
        PhysicsTest::SetUp();
        world.setRadialGravity(glm::vec3(0.0f), raceGravityMagnitude);
        addBall(glm::vec3(0.0f), 100.0f, 0.0f);
        boat = createRaceBoat(resources, world);
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

    // Settled, three seconds at full ahead, then the slide key and full left lock held.
    void holdSlideKeysAtSpeed()
    {
        run(2.0f);
        Keyboard::setKeyHeldForTesting(Key::w, true);
        run(3.0f);
        Keyboard::setKeyHeldForTesting(Key::leftShift, true);
        Keyboard::setKeyHeldForTesting(Key::a, true);
    }

    Boat* boat = nullptr;
};

TEST_F(BoatOnPlanetTest, ComesToRestOnThePlanetDrivesForwardAndKeepsToTheSpeedLimit)
{
    run(2.0f);
    const glm::vec3 rest = boat->interpolatedPosition(1.0f);
    EXPECT_LT(boat->speedKmh(), 1.0f);
    EXPECT_GT(glm::length(rest), 100.0f);
    EXPECT_LT(glm::length(rest), 100.6f);
    EXPECT_GT(glm::dot(boat->axes().up(), glm::normalize(rest)), 0.999f);

    Keyboard::setKeyHeldForTesting(Key::w, true);
    run(2.0f);
    const glm::vec3 driven = boat->interpolatedPosition(1.0f);
    EXPECT_GT(boat->speedKmh(), 20.0f);
    EXPECT_GT(driven.z - rest.z, 5.0f);
    EXPECT_NEAR(driven.x, rest.x, 0.5f);
    EXPECT_LT(glm::length(driven), 100.6f);

    // The engine is cut at 120 km/h; one frame of thrust may carry a fraction beyond.
    const float highest = run(5.5f);
    EXPECT_GT(highest, 119.0f);
    EXPECT_LT(highest, 121.0f);
}

TEST_F(BoatOnPlanetTest, OnlyALongSlideEndsInOneBoost)
{
    run(2.0f);
    Keyboard::setKeyHeldForTesting(Key::w, true);
    run(3.0f);
    ASSERT_GT(boat->speedKmh(), 60.0f);
    Keyboard::setKeyHeldForTesting(Key::leftShift, true);

    // Gtest reports to standard output too: a failure in here shows in the captured text.
    StdoutCapture capture;
    Keyboard::setKeyHeldForTesting(Key::a, true);
    frame();
    EXPECT_TRUE(boat->isSliding());
    // The steering turns the hull, not the front wheels.
    EXPECT_EQ(boat->vehicle()->getSteeringValue(0), 0.0f);
    run(1.3f);
    EXPECT_TRUE(boat->isSliding());
    const float before = boat->speedKmh();
    Keyboard::setKeyHeldForTesting(Key::leftShift, false);
    // An impulse of 5000 on 500 kg: 10 m/s more along the hull.
    EXPECT_GT(frame() - before, 25.0f);
    frame();

    Keyboard::setKeyHeldForTesting(Key::leftShift, true);
    frame();
    EXPECT_TRUE(boat->isSliding());
    run(1.0f);
    Keyboard::setKeyHeldForTesting(Key::leftShift, false);
    frame();
    EXPECT_FALSE(boat->isSliding());
    run(0.5f);
    EXPECT_EQ(capture.text(), "BOOST!\n");
}

TEST_F(BoatOnPlanetTest, ReleasedControlsAndAResetEndASlideWithoutABoost)
{
    StdoutCapture capture;
    holdSlideKeysAtSpeed();
    run(1.5f);
    ASSERT_TRUE(boat->isSliding());

    // The finish: the keys stay held, but nothing reads them any more.
    boat->releaseControls();
    EXPECT_FALSE(boat->isSliding());
    const btRaycastVehicle& vehicle = *boat->vehicle();
    for (int wheel = 0; wheel < 4; ++wheel)
    {
        EXPECT_EQ(vehicle.getWheelInfo(wheel).m_engineForce, 0.0f) << wheel;
        EXPECT_EQ(vehicle.getWheelInfo(wheel).m_steering, 0.0f) << wheel;
        EXPECT_EQ(vehicle.getWheelInfo(wheel).m_frictionSlip, boat->settings().frictionSlip) << wheel;
    }
    const float released = boat->speedKmh();
    for (int i = 0; i < 180; ++i)
    {
        Timer::tickBy(frameTime);
        boat->update(world.step());
    }
    EXPECT_LT(boat->speedKmh(), released) << "the boat coasts";

    // Read again, the released slide key starts no boost either.
    Keyboard::releaseAllKeysForTesting();
    frame();

    // A reset mid-slide puts the boat down at rest, and it stays there.
    Keyboard::setKeyHeldForTesting(Key::w, true);
    run(3.0f);
    Keyboard::setKeyHeldForTesting(Key::leftShift, true);
    Keyboard::setKeyHeldForTesting(Key::a, true);
    run(1.5f);
    ASSERT_TRUE(boat->isSliding());
    boat->reset(glm::vec3(0.0f, 100.6f, 0.0f), identity);
    EXPECT_FALSE(boat->isSliding());
    Keyboard::releaseAllKeysForTesting();
    frame();
    // Settling on its wheels; a boost would be 36 km/h.
    EXPECT_LT(boat->speedKmh(), 5.0f);
    EXPECT_EQ(capture.text(), "");
}

TEST(KeyboardControlsTest, BackwardAndRightWinWhenBothOfAPairAreHeld)
{
    Keyboard::releaseAllKeysForTesting();
    const BoatSettings settings;
    EXPECT_EQ(keyboardControls(settings), BoatControls{});
    for (const std::int16_t key : {Key::w, Key::s, Key::a, Key::d, Key::leftShift, Key::r})
    {
        Keyboard::setKeyHeldForTesting(key, true);
    }
    // R puts the boat back as a key press, not as a held key.
    EXPECT_EQ(keyboardControls(settings), (BoatControls{-1.0f, -1.0f, true, false}));
    Keyboard::releaseAllKeysForTesting();
}

// The slide's floor from both sides: held from rest with full ahead and full
// lock, the keys start no slide in any frame that reads 20 km/h or less, and
// start it in the first frame that reads more; coasting below it, they start none.
TEST_F(BoatOnPlanetTest, ASlideStartsOnlyAboveTwentyKmhWhateverTheKeys)
{
    // Enough for the boat to pass 20 km/h several times over; a boat that
    // cannot must fail here rather than run until the time-out.
    constexpr int framesToSpeed = 300;
    run(2.0f);
    Keyboard::setKeyHeldForTesting(Key::w, true);
    int frames = 0;
    while (boat->speedKmh() < 12.0f && frames++ < framesToSpeed)
    {
        frame();
    }
    ASSERT_GE(boat->speedKmh(), 12.0f) << "the boat does not speed up";
    Keyboard::setKeyHeldForTesting(Key::w, false);
    Keyboard::setKeyHeldForTesting(Key::leftShift, true);
    Keyboard::setKeyHeldForTesting(Key::a, true);
    for (int coasting = 0; coasting < 30; ++coasting)
    {
        ASSERT_LT(frame(), 20.0f);
        EXPECT_FALSE(boat->isSliding()) << boat->speedKmh() << " km/h";
    }

    Keyboard::setKeyHeldForTesting(Key::w, true);
    float lastWithoutSlide = 0.0f;
    float slideStartedAt = 0.0f;
    for (frames = 0; frames < framesToSpeed && !boat->isSliding(); ++frames)
    {
        // The slide reads the speed before the frame's step.
        const float speed = boat->speedKmh();
        frame();
        if (boat->isSliding())
        {
            slideStartedAt = speed;
        }
        else
        {
            ASSERT_LE(speed, 20.0f) << "no slide above the floor";
            lastWithoutSlide = speed;
        }
    }
    ASSERT_TRUE(boat->isSliding()) << "the boat never passed 20 km/h";
    // Full ahead adds about half a km/h a frame: both sides are seen close to the floor.
    EXPECT_GT(lastWithoutSlide, 19.0f);
    EXPECT_GT(slideStartedAt, 20.0f);
    EXPECT_LT(slideStartedAt, 21.5f);
}

// A stall (a window drag, a debugger) counts toward a slide only as far as
// the world moved the boat: a quarter of a second, not a boost's 1.2.
TEST_F(BoatOnPlanetTest, AStallMidSlideEndsInNoBoost)
{
    StdoutCapture capture;
    holdSlideKeysAtSpeed();
    frame();
    ASSERT_TRUE(boat->isSliding());
    Timer::tickBy(2.0);
    boat->handleKeyboardInput();
    boat->update(world.step());
    ASSERT_TRUE(boat->isSliding());
    Keyboard::setKeyHeldForTesting(Key::leftShift, false);
    frame();
    EXPECT_FALSE(boat->isSliding());
    EXPECT_EQ(capture.text(), "");
}

TEST_F(BoatOnPlanetTest, SidewaysSpeedTurnsIntoForwardSpeedOverTheWorldsTimeOnly)
{
    // Still in the air, upright: the boat's axes are the world's. A stall of a
    // second decays the sideways speed as the quarter second the world moves:
    // by half, at the rate 2 per second.
    Timer::tickBy(1.0);
    boat->chassis()->setLinearVelocity(btVector3(-3.0f, 0.0f, 0.0f));
    boat->update(0.0f);
    const btVector3 decayed = boat->chassis()->getLinearVelocity();
    EXPECT_NEAR(decayed.x(), -1.5f, 1e-5f);
    EXPECT_NEAR(decayed.z(), 1.5f, 1e-5f);

    // A sideways speed of 1 m/s is left as it is.
    Timer::tickBy(frameTime);
    boat->chassis()->setLinearVelocity(btVector3(1.0f, 0.0f, 0.0f));
    boat->update(0.0f);
    EXPECT_EQ(boat->chassis()->getLinearVelocity(), btVector3(1.0f, 0.0f, 0.0f));
}

// Read-only, the gamepad leaves the wheels as the last controls set them;
// without a gamepad, read to drive, it gives no thrust and no steering.
TEST_F(BoatOnPlanetTest, WithoutAGamepadItsControlsStopTheEngineAndStraightenTheWheels)
{
    gamepadConnected = false;
    Keyboard::setKeyHeldForTesting(Key::w, true);
    Keyboard::setKeyHeldForTesting(Key::a, true);
    frame();
    const btRaycastVehicle& vehicle = *boat->vehicle();
    const GamepadState read = boat->handleGamepadInput(true);
    EXPECT_EQ(read.buttons, GamepadState{}.buttons);
    EXPECT_GT(vehicle.getWheelInfo(2).m_engineForce, 0.0f);
    EXPECT_GT(vehicle.getWheelInfo(0).m_steering, 0.0f);
    boat->handleGamepadInput(false);
    for (int wheel = 0; wheel < 4; ++wheel)
    {
        EXPECT_EQ(vehicle.getWheelInfo(wheel).m_engineForce, 0.0f) << wheel;
        EXPECT_EQ(vehicle.getWheelInfo(wheel).m_steering, 0.0f) << wheel;
    }
}

// A read-only read (the race reads A so while it waits) leaves the boat no
// inputs either: a slide that the keys started turns the hull and pushes it
// no more once the gamepad has been read.
TEST_F(BoatOnPlanetTest, AReadOnlyGamepadReadLeavesASlideNoSteeringTorqueOrThrust)
{
    gamepadConnected = false;
    holdSlideKeysAtSpeed();
    frame();
    ASSERT_TRUE(boat->isSliding());
    PhysicsBody& chassis = *boat->chassis();
    ASSERT_GT(chassis.getTotalTorque().length(), 100.0f) << "the keys' slide turns the hull";
    ASSERT_GT(chassis.getTotalForce().length(), 100.0f) << "and pushes it";

    Timer::tickBy(frameTime);
    boat->handleGamepadInput(true);
    boat->update(world.step());
    EXPECT_TRUE(boat->isSliding()) << "a read-only read ends no slide";
    EXPECT_EQ(chassis.getTotalTorque(), btVector3(0.0f, 0.0f, 0.0f));
    EXPECT_EQ(chassis.getTotalForce(), btVector3(0.0f, 0.0f, 0.0f));
}
}
