#include "game/race/Autopilot.hpp"
#include "game/race/HeadlessRace.hpp"
#include "game/race/RaceRules.hpp"
#include "game/race/TrackLayout.hpp"
#include "tools/assets/Ghosts.hpp"

#include <BulletDynamics/Dynamics/btDiscreteDynamicsWorld.h>
#include <fmt/format.h>

#include <chrono>
#include <cstdio>

// The cost of one simulated second of the race's physics as the race scene
// runs it: the track's bodies, the checkpoints and the boat, driven round the
// course by the autopilot at 60 frames per second after the countdown. Once
// with Bullet refreshing the bounds of every body in every sub-step, once with
// the world's own setting, which refreshes only those of the bodies that move.
namespace
{
constexpr float frameTime = 1.0f / 60.0f;
constexpr int countdownFrames = static_cast<int>(countdownSeconds / frameTime + 0.5f);
constexpr int measuredSeconds = 10;

struct RaceWorldCost
{
    double millisecondsPerSecond;
    std::size_t bodies;
};

RaceWorldCost measureRaceWorld(const HullPoints& hullPoints, bool refreshEveryBody)
{
    HeadlessRace race(hullPoints);
    if (refreshEveryBody)
    {
        race.world().dynamicsWorld()->setForceUpdateAllAabbs(true);
    }
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
    return {elapsed.count() / measuredSeconds, race.world().bodies().size()};
}
}

int main()
{
    const HullPoints hullPoints = generatedHullPoints();
    const RaceWorldCost everyBody = measureRaceWorld(hullPoints, true);
    const RaceWorldCost moving = measureRaceWorld(hullPoints, false);
    std::printf("%s", fmt::format("Race world ({} bodies): {:.2f} ms per simulated second refreshing the bounds of "
                                  "the bodies that move, {:.2f} ms refreshing every body's ({:.0f} % saved)\n",
                                  moving.bodies, moving.millisecondsPerSecond, everyBody.millisecondsPerSecond,
                                  (1.0 - moving.millisecondsPerSecond / everyBody.millisecondsPerSecond) * 100.0)
                          .c_str());
    return 0;
}
