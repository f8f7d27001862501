#pragma once

#include "engine/Timer.hpp"

#include <gtest/gtest.h>

// The clock is global: each test starts it at zero and leaves it there, so no
// test sees the time another one ran.
class ClockTest : public ::testing::Test
{
protected:
    void SetUp() override { Timer::resetForTesting(); }
    void TearDown() override { Timer::resetForTesting(); }
};
