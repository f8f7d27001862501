#include "engine/Timer.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace
{
class TimerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Timer::resetForTesting();
        Timer::start();
        Timer::setPerSecondCallback([this] { reported.push_back(Timer::getFramesPerSecond()); });
    }
    void TearDown() override { Timer::resetForTesting(); }

    std::vector<std::uint32_t> reported;
};

TEST_F(TimerTest, SteadyFramesReportOncePerSecondCountingTheStepsOwnTick)
{
    for (int frame = 0; frame < 100; ++frame)
    {
        Timer::tickBy(0.04);
    }
    // 4 s of 25 frames each; the mark is reached on frames 25, 50, 75 and 100
    // (rounding may move a step by one frame, never drop one).
    ASSERT_EQ(reported.size(), 4u);
    for (std::uint32_t count : reported)
    {
        EXPECT_NEAR(count, 25.0, 1.0);
    }
    EXPECT_NEAR(Timer::getElapsedTime(), 4.0, 1e-9);
    EXPECT_FLOAT_EQ(Timer::getDeltaTime(), 0.04f);
}

TEST_F(TimerTest, AStallIsOneStepAndTheNextFallsOnTheNextWholeSecond)
{
    // Frame times that add up exactly.
    Timer::tickBy(0.5);
    EXPECT_TRUE(reported.empty());
    Timer::tickBy(3.5);
    EXPECT_EQ(reported, (std::vector<std::uint32_t>{2}));
    // 4 s have passed; the next step waits for 5 s of elapsed time.
    for (int i = 0; i < 15; ++i)
    {
        Timer::tickBy(0.0625);
    }
    EXPECT_EQ(reported.size(), 1u);
    Timer::tickBy(0.0625);
    EXPECT_EQ(reported, (std::vector<std::uint32_t>{2, 16}));

    // A stall that ends part-way into a second keeps the steps on whole seconds.
    Timer::tickBy(2.75);
    EXPECT_EQ(reported, (std::vector<std::uint32_t>{2, 16, 1}));
    for (int i = 0; i < 3; ++i)
    {
        Timer::tickBy(0.0625);
    }
    EXPECT_EQ(reported.size(), 3u) << "before 8 s";
    Timer::tickBy(0.0625);
    EXPECT_EQ(reported, (std::vector<std::uint32_t>{2, 16, 1, 4})) << "at 8 s";
}

TEST_F(TimerTest, AHandlerMayBeEmptyOrReplaceItselfWhileItRuns)
{
    Timer::setPerSecondCallback({});
    Timer::tickBy(1.5);
    EXPECT_EQ(Timer::getFramesPerSecond(), 1u);

    int secondHandlerCalls = 0;
    Timer::setPerSecondCallback([&] { Timer::setPerSecondCallback([&] { ++secondHandlerCalls; }); });
    Timer::tickBy(1.0);
    Timer::tickBy(1.0);
    EXPECT_EQ(secondHandlerCalls, 1);
}
}
