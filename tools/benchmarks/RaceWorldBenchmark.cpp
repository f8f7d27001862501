#include "game/race/Autopilot.hpp"
#include "game/race/HeadlessRace.hpp"
#include "game/race/TrackLayout.hpp"
#include "tools/assets/Ghosts.hpp"

#include <fmt/format.h>

#include <chrono>
#include <cstdio>

// The cost of one simulated second of the race's physics as the race scene
// runs it: the track's bodies, the checkpoints and the boat, driven round the
// course by the autopilot at 60 frames per second after the countdown.
namespace
{
constexpr float frameTime = 1.0f / 60.0f;
constexpr int countdownFrames = 240;
constexpr int measuredSeconds = 10;
}

int main()
{
    HeadlessRace race(generatedHullPoints());
    Autopilot autopilot(AutopilotSkill{}, trackLayout().course);
    for (int frame = 0; frame < countdownFrames; ++frame)
    {
        race.step(frameTime);
    }

    const auto start = std::chrono::steady_clock::now();
    for (int frame = 0; frame < measuredSeconds * 60; ++frame)
    {
        race.control(autopilot.drive(race.boat(), frameTime));
        race.step(frameTime);
    }
    const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;

    std::printf("%s", fmt::format("Race world ({} bodies): {:.2f} ms per simulated second\n",
                                  race.world().bodies().size(), elapsed.count() / measuredSeconds)
                          .c_str());
    return 0;
}
