#include "game/physics/GhostRecording.hpp"
#include "game/race/RaceRules.hpp"

#include <gtest/gtest.h>

namespace
{
// The rules' part of one race update, in the scene's order; returns whether racing started.
bool frame(RaceRules& rules, float deltaTime, int hudLap = 1)
{
    rules.tickHud(deltaTime);
    const bool started = rules.startRacingIfDue();
    rules.finishIfDue(hudLap);
    rules.advanceClock(deltaTime);
    return started;
}

TEST(RaceRulesTest, TheCountdownBecomesTheRaceOnTheFrameAfterTheClockCrossesZero)
{
    RaceRules rules;
    frame(rules, 0.5f);
    EXPECT_EQ(rules.state(), RaceState::Waiting);
    EXPECT_EQ(rules.clock(), -4.0f);

    ASSERT_TRUE(rules.startCountdown());
    EXPECT_EQ(rules.state(), RaceState::Countdown);
    for (int i = 0; i < 7; ++i)
    {
        EXPECT_FALSE(frame(rules, 0.5f));
    }
    EXPECT_EQ(rules.clock(), -0.5f);
    // This frame carries the clock over 0; the state changes only in the next.
    EXPECT_FALSE(frame(rules, 0.75f));
    EXPECT_EQ(rules.state(), RaceState::Countdown);
    EXPECT_EQ(rules.clock(), 0.25f);
    EXPECT_TRUE(frame(rules, 0.25f));
    EXPECT_EQ(rules.state(), RaceState::Racing);
    EXPECT_EQ(clockText(rules.clock()), "00:00.50");
}

TEST(RaceRulesTest, TheHudTicksEverySixtiethOfASecondAtMostOncePerFrame)
{
    for (const float frameTime : {1.0f / 30.0f, 1.0f / 45.0f, 1.0f / 59.0f})
    {
        RaceRules slow;
        for (int i = 0; i < 100; ++i)
        {
            EXPECT_TRUE(slow.tickHud(frameTime)) << frameTime << " " << i;
        }
    }
    RaceRules fast;
    for (int i = 0; i < 1000; ++i)
    {
        EXPECT_EQ(fast.tickHud(1.0f / 120.0f), i % 2 == 1) << i;
    }
    // A long frame is one tick, and the ticks after it keep their rate.
    RaceRules stalled;
    EXPECT_TRUE(stalled.tickHud(0.1f));
    for (int i = 0; i < 16; ++i)
    {
        EXPECT_FALSE(stalled.tickHud(0.001f)) << i;
    }
    EXPECT_TRUE(stalled.tickHud(0.001f));
    EXPECT_FALSE(stalled.tickHud(1.0f / 120.0f));
    EXPECT_TRUE(stalled.tickHud(1.0f / 120.0f));
}

TEST(RaceRulesTest, ClockTextShowsMinutesSecondsAndHundredthsAndStopsAtItsLongest)
{
    EXPECT_EQ(clockText(65.4321f), "01:05.43");
    EXPECT_EQ(clockText(600.0f), "10:00.00");
    EXPECT_EQ(clockText(5999.99f), "99:59.99");
    EXPECT_EQ(clockText(6000.0f), "99:59.99");
    EXPECT_EQ(clockText(1.0e9f), "99:59.99");
    EXPECT_EQ(clockText(-0.5f), "00:00.00");
}

TEST(RaceRulesTest, ThePlaceCountsTheOpponentsThatFinishedFirst)
{
    RaceRules first;
    first.startCountdown();
    frame(first, 4.5f);
    frame(first, 0.1f);
    ASSERT_EQ(first.state(), RaceState::Racing);
    EXPECT_TRUE(first.finishIfDue(finishLap));
    EXPECT_EQ(first.place(), 1u);
    EXPECT_EQ(first.state(), RaceState::Finished);
    // The finish is handled once.
    EXPECT_FALSE(first.finishIfDue(finishLap));
    EXPECT_EQ(first.place(), 1u);

    RaceRules last;
    for (std::size_t slot = 0; slot < opponentCount; ++slot)
    {
        EXPECT_TRUE(last.updateOpponent(slot, false));
        EXPECT_FALSE(last.updateOpponent(slot, true));
        // Counted once however long it stays finished.
        EXPECT_FALSE(last.updateOpponent(slot, true));
    }
    EXPECT_FALSE(last.finishIfDue(3));
    EXPECT_TRUE(last.finishIfDue(finishLap));
    EXPECT_EQ(last.place(), 6u);
    EXPECT_EQ(finishLines(true, last.place(), 81.5f),
              "saved successfully!\n!!! RACE FINISHED !!!\nYour Position: 6\nYour Time: 81.500000 s\n");
    EXPECT_EQ(finishLines(false, 1, 0.25f),
              "error when saving!\n!!! RACE FINISHED !!!\nYour Position: 1\nYour Time: 0.250000 s\n");
}

TEST(RaceRulesTest, AnOpponentWithoutAGhostIsCountedInTheSecondRacingUpdate)
{
    RaceRules rules;
    GhostRecording missing(180, 15);
    const auto updateOpponent = [&] {
        if (rules.updateOpponent(0, missing.isPlaybackFinished()))
        {
            missing.playback(1.0f / 60.0f);
        }
    };
    updateOpponent();
    EXPECT_EQ(rules.place(), 0u);
    EXPECT_FALSE(rules.isOpponentFinished(0));
    updateOpponent();
    EXPECT_EQ(rules.place(), 1u);
    EXPECT_TRUE(rules.isOpponentFinished(0));
}

TEST(RaceRulesTest, SeventyKilometresAnHourTurnTheNeedleAQuarterTurnAboutTheSpeedometer)
{
    const glm::mat4 needle = needleMatrix(70.0f, 200.0f, 100.0f);
    const glm::vec4 tip = needle * glm::vec4(10.0f, 0.0f, 0.0f, 1.0f);
    EXPECT_NEAR(tip.x, 200.0f, 1e-4f);
    EXPECT_NEAR(tip.y, 110.0f, 1e-4f);
    EXPECT_EQ(needleMatrix(0.0f, 200.0f, 100.0f) * glm::vec4(0.0f, 0.0f, 0.0f, 1.0f),
              glm::vec4(200.0f, 100.0f, 0.0f, 1.0f));
}

TEST(RaceRulesTest, VolumeStepsEndExactlyAtTheBoundsAndTheCountdownStartsOnlyWhileWaiting)
{
    float volume = 0.5f;
    for (int i = 0; i < 20; ++i)
    {
        volume = steppedVolume(volume, 0.1);
    }
    EXPECT_EQ(volume, 1.0f);
    for (int i = 0; i < 20; ++i)
    {
        volume = steppedVolume(volume, -0.1);
    }
    EXPECT_EQ(volume, 0.0f);

    float speed = 1.0f;
    for (int i = 0; i < 3; ++i)
    {
        speed = steppedCameraSpeed(speed, -0.5);
    }
    EXPECT_EQ(speed, -0.5f);

    RaceRules rules;
    EXPECT_TRUE(rules.startCountdown());
    EXPECT_FALSE(rules.startCountdown());
    EXPECT_EQ(rules.state(), RaceState::Countdown);
    frame(rules, 4.5f);
    frame(rules, 0.1f);
    ASSERT_EQ(rules.state(), RaceState::Racing);
    EXPECT_FALSE(rules.startCountdown());
    EXPECT_EQ(rules.state(), RaceState::Racing);
    ASSERT_TRUE(rules.finishIfDue(finishLap));
    EXPECT_FALSE(rules.startCountdown());
    EXPECT_EQ(rules.state(), RaceState::Finished);
}
}
