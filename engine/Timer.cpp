#include "engine/Timer.hpp"

#include "engine/Log.hpp"

#include <chrono>
#include <cmath>

namespace
{
std::int64_t lastTime = 0;
float deltaTime = 0.0f;
double elapsedTime = 0.0;
double nextSecondMark = 0.0;
std::uint32_t frameCount = 0;
std::uint32_t framesPerSecond = 0;
std::function<void()> perSecondCallback = [] {};

std::int64_t steadyNanoseconds()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}
}

namespace Timer
{
void start()
{
    lastTime = steadyNanoseconds();
    nextSecondMark = 1.0;
    logDebug("Timer was started.");
}

void tick()
{
    const std::int64_t now = steadyNanoseconds();
    const std::int64_t delta = now - lastTime;
    lastTime = now;
    tickBy(static_cast<double>(delta) / 1e9);
}

void tickBy(double seconds)
{
    ++frameCount;
    elapsedTime += seconds;
    deltaTime = static_cast<float>(seconds);
    if (elapsedTime >= nextSecondMark)
    {
        framesPerSecond = frameCount;
        frameCount = 0;
        // The handler may replace itself (a scene switch), so call a copy.
        const std::function<void()> callback = perSecondCallback;
        callback();
        // The next whole second of elapsed time: a stall of several seconds is
        // one step, not one on each of the frames after it.
        nextSecondMark = std::floor(elapsedTime) + 1.0;
    }
}

float getDeltaTime()
{
    return deltaTime;
}

double getElapsedTime()
{
    return elapsedTime;
}

std::uint32_t getFramesPerSecond()
{
    return framesPerSecond;
}

void setPerSecondCallback(const std::function<void()>& callback)
{
    perSecondCallback = callback ? callback : [] {};
}

const std::function<void()>& getPerSecondCallback()
{
    return perSecondCallback;
}

void resetForTesting()
{
    lastTime = 0;
    deltaTime = 0.0f;
    elapsedTime = 0.0;
    nextSecondMark = 0.0;
    frameCount = 0;
    framesPerSecond = 0;
    perSecondCallback = [] {};
}
}
