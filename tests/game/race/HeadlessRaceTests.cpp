#include "game/physics/Boat.hpp"
#include "game/physics/LapTracker.hpp"
#include "game/race/HeadlessRace.hpp"
#include "tests/support/ClockTest.hpp"
#include "tools/assets/Ghosts.hpp"

#include <btBulletDynamicsCommon.h>
#include <gtest/gtest.h>

namespace
{
constexpr float frameTime = 1.0f / 60.0f;

using HeadlessRaceTest = ClockTest;

// Asked for by the controls, as the race scene's gamepad asks for it: the
// boat stands on its checkpoint at rest, drawn there at once, and the slide
// that the same controls start does not outlive the reset.
TEST_F(HeadlessRaceTest, AResetInTheControlsPutsTheBoatOnItsCheckpointAtRestAfterTheyDrive)
{
    HeadlessRace race(generatedHullPoints());
    for (int frame = 0; frame < 240; ++frame)
    {
        race.step(frameTime);
    }
    for (int frame = 0; frame < 120; ++frame)
    {
        race.control({0.0f, 1.0f, false, false});
        race.step(frameTime);
    }
    const Boat& boat = race.boat();
    const glm::vec3 startLine = race.lapTracker().currentCheckpointPosition();
    ASSERT_GT(boat.speedKmh(), 20.0f) << "fast enough to slide";
    ASSERT_GT(glm::distance(boat.interpolatedPosition(race.interpolationFactor()), startLine), 3.0f);

    race.control({1.0f, 1.0f, true, true});
    EXPECT_FALSE(boat.isSliding());
    for (const float factor : {0.0f, 0.5f, 1.0f})
    {
        EXPECT_LT(glm::distance(boat.interpolatedPosition(factor), startLine), 1e-4f) << factor;
    }
    EXPECT_EQ(boat.chassis()->getLinearVelocity().length(), 0.0f);
    EXPECT_EQ(boat.chassis()->getAngularVelocity().length(), 0.0f);
}
}
