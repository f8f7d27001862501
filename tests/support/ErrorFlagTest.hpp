#pragma once

#include "engine/Log.hpp"

#include <gtest/gtest.h>

// Each test starts and ends with a clear error flag.
class ErrorFlagTest : public ::testing::Test
{
protected:
    void SetUp() override { resetErrorFlagForTesting(); }
    void TearDown() override { resetErrorFlagForTesting(); }
};
