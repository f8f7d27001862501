#include "game/race/RaceRules.hpp"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>

namespace
{
constexpr double hudTickInterval = 1.0 / 60.0;
// 99:59.99 in hundredths.
constexpr float longestClock = 599999.0f;
constexpr float needleRadiansPerKmh = 0.022439947f;
}

bool RaceRules::tickHud(float deltaTime)
{
    hudTickAccumulator += deltaTime;
    if (static_cast<double>(hudTickAccumulator) < hudTickInterval)
    {
        return false;
    }
    // What is left beyond whole ticks: a long frame is one tick, and the frames
    // after it tick at the usual rate, while a frame of 1/60 s or more always ticks.
    hudTickAccumulator = static_cast<float>(std::fmod(static_cast<double>(hudTickAccumulator), hudTickInterval));
    return true;
}

bool RaceRules::startRacingIfDue()
{
    if (raceState != RaceState::Countdown || !(raceClock > 0.0f))
    {
        return false;
    }
    raceState = RaceState::Racing;
    return true;
}

bool RaceRules::finishIfDue(int hudLap)
{
    if (hudLap != finishLap || finishHandled)
    {
        return false;
    }
    ++playerPlace;
    raceState = RaceState::Finished;
    finishHandled = true;
    return true;
}

void RaceRules::advanceClock(float deltaTime)
{
    if (raceState != RaceState::Waiting)
    {
        raceClock += deltaTime;
    }
}

bool RaceRules::updateOpponent(std::size_t slot, bool playbackFinished)
{
    if (!playbackFinished)
    {
        return true;
    }
    if (!opponentFinished[slot])
    {
        ++playerPlace;
        opponentFinished[slot] = true;
    }
    return false;
}

bool RaceRules::startCountdown()
{
    if (raceState != RaceState::Waiting)
    {
        return false;
    }
    raceState = RaceState::Countdown;
    return true;
}

RaceState RaceRules::state() const
{
    return raceState;
}

float RaceRules::clock() const
{
    return raceClock;
}

std::uint32_t RaceRules::place() const
{
    return playerPlace;
}

bool RaceRules::isFinishHandled() const
{
    return finishHandled;
}

bool RaceRules::isOpponentFinished(std::size_t slot) const
{
    return opponentFinished[slot];
}

float steppedVolume(float volume, double step)
{
    return static_cast<float>(std::clamp(static_cast<double>(volume) + step, 0.0, 1.0));
}

float steppedCameraSpeed(float speed, double step)
{
    return static_cast<float>(static_cast<double>(speed) + step);
}

std::string clockText(float seconds)
{
    const float hundredths = seconds * 100.0f;
    // Also keeps the conversion below defined for any clock.
    const auto total = static_cast<std::int32_t>(hundredths > 0.0f ? std::min(hundredths, longestClock) : 0.0f);
    return fmt::format("{:02}:{:02}.{:02}", total / 6000, (total / 100) % 60, total % 100);
}

glm::mat4 needleMatrix(float speedKmh, float centreX, float centreY)
{
    const float angle = speedKmh * needleRadiansPerKmh;
    const float cosine = std::cos(angle);
    const float sine = std::sin(angle);
    return glm::mat4(glm::vec4(cosine, sine, 0.0f, 0.0f), glm::vec4(-sine, cosine, 0.0f, 0.0f),
                     glm::vec4(0.0f, 0.0f, 1.0f, 0.0f), glm::vec4(centreX, centreY, 0.0f, 1.0f));
}

std::string finishLines(bool ghostSaved, std::uint32_t place, float clock)
{
    return fmt::format("{}!!! RACE FINISHED !!!\nYour Position: {}\nYour Time: {:f} s\n",
                       ghostSaved ? "saved successfully!\n" : "error when saving!\n", place,
                       static_cast<double>(clock));
}
