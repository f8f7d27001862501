#include "game/physics/GhostRecording.hpp"
#include "game/physics/LapTracker.hpp"
#include "game/race/Autopilot.hpp"
#include "game/race/HeadlessRace.hpp"
#include "game/race/RacePhysics.hpp"
#include "game/race/RaceRules.hpp"
#include "tests/support/ClockTest.hpp"
#include "tools/assets/Ghosts.hpp"

#include <gtest/gtest.h>

namespace
{
class FinishRecordingTest : public ClockTest, public ::testing::WithParamInterface<float>
{
};

// The player's race recorded as the race scene records it, frame by frame in
// the order of its update: the finish test on the lap that an earlier frame
// read, then the controls, the lap and the sample at the pose that the last
// frame showed, then the step. The finish is seen two frames after the line
// was crossed; the regular samples may all lie before the line, and how near
// they come depends on the frame time.
TEST_P(FinishRecordingTest, TheSavedRaceCrossesTheLineOnItsThirdLap)
{
    const float frameTime = GetParam();
    HeadlessRace race(generatedHullPoints());
    Autopilot autopilot(AutopilotSkill{}, trackLayout().course);
    GhostRecording recording(180, 15);
    RaceRules rules;
    rules.startCountdown();
    int hudLap = 1;
    for (int frame = 0; frame < static_cast<int>(150.0f / frameTime); ++frame)
    {
        rules.startRacingIfDue();
        if (rules.finishIfDue(hudLap))
        {
            break;
        }
        rules.advanceClock(frameTime);
        if (rules.state() == RaceState::Racing)
        {
            race.control(autopilot.drive(race.boat(), frameTime));
            hudLap = race.lapTracker().currentLap();
            if (!recording.isRecordingComplete())
            {
                recordBoat(recording, frameTime, race.boat(), race.interpolationFactor());
            }
        }
        race.step(frameTime);
    }
    ASSERT_EQ(rules.state(), RaceState::Finished);

    recordFinish(recording, race.boat(), race.interpolationFactor());
    EXPECT_TRUE(recording.isRecordingComplete());
    EXPECT_EQ(checkpointsPassedInPlayback(recording), 15) << "three laps of five checkpoints";
}

// Display rates; at most of them the regular samples stop short of the line.
INSTANTIATE_TEST_SUITE_P(FrameTimes, FinishRecordingTest,
                         ::testing::Values(1.0f / 30.0f, 1.0f / 60.0f, 1.0f / 120.0f, 1.0f / 144.0f));
}
