#pragma once

#include <cstdint>
#include <functional>

// The frame clock of the game loop: started once, ticked first thing every frame.
namespace Timer
{
void start();
void tick();
// Advances the clock by a given frame time instead of reading the steady clock,
// so physics and race rules can be tested frame by frame.
void tickBy(double seconds);

float getDeltaTime();
double getElapsedTime();
std::uint32_t getFramesPerSecond();

void setPerSecondCallback(const std::function<void()>& callback);
const std::function<void()>& getPerSecondCallback();

// Back to the state before the first start, for tests.
void resetForTesting();
}
