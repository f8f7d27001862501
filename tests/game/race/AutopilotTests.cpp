#include "game/physics/Boat.hpp"
#include "game/physics/LapTracker.hpp"
#include "game/race/Autopilot.hpp"
#include "game/race/HeadlessRace.hpp"
#include "tests/support/ClockTest.hpp"
#include "tools/assets/Ghosts.hpp"

#include <btBulletDynamicsCommon.h>
#include <gtest/gtest.h>

#include <set>

namespace
{
constexpr float frameTime = 1.0f / 60.0f;

TEST(SteerForTest, TurnsTowardTheTargetAndKeepsToTheAllowedSpeed)
{
    // At the top of the planet heading +Z: the hull's left is +X.
    const BoatState boat{glm::vec3(0.0f, 100.3f, 0.0f), glm::vec3(0.0f, 0.0f, 1.0f), glm::vec3(0.0f), 50.0f};
    // Full left lock and full ahead, as a player holds A and W.
    EXPECT_EQ(steerFor(boat, glm::vec3(20.0f, 100.0f, 20.0f), 80.0f), (BoatControls{1.0f, 1.0f, false, false}));
    EXPECT_EQ(steerFor(boat, glm::vec3(-20.0f, 100.0f, 20.0f), 40.0f), (BoatControls{-1.0f, -1.0f, false, false}));
    // Already turning fast enough toward the target: the wheels go straight.
    BoatState turning = boat;
    turning.angularVelocity = glm::vec3(0.0f, 2.5f * glm::radians(45.0f), 0.0f);
    EXPECT_EQ(steerFor(turning, glm::vec3(20.0f, 100.0f, 20.0f), 45.0f), BoatControls{});
}

class AutopilotTest : public ClockTest
{
protected:
    // The scenery that the boat touches in the last frame.
    static std::set<const btCollisionObject*> sceneryTouched(HeadlessRace& race,
                                                             const std::set<const btCollisionObject*>& scenery)
    {
        std::set<const btCollisionObject*> touched;
        btDispatcher* dispatcher = race.world().dynamicsWorld()->getDispatcher();
        for (int i = 0; i < dispatcher->getNumManifolds(); ++i)
        {
            const btPersistentManifold* manifold = dispatcher->getManifoldByIndexInternal(i);
            const btCollisionObject* boat = race.boat().chassis();
            const btCollisionObject* other = manifold->getBody0() == boat   ? manifold->getBody1()
                                             : manifold->getBody1() == boat ? manifold->getBody0()
                                                                            : nullptr;
            if (manifold->getNumContacts() > 0 && scenery.count(other) > 0)
            {
                touched.insert(other);
            }
        }
        return touched;
    }
};

TEST_F(AutopilotTest, DrivesThreeLapsOfTheRaceWorldClearOfTheScenery)
{
    HeadlessRace race(generatedHullPoints());
    // Every static body but the planet and the ramps; the crates are there to be pushed.
    std::set<const btCollisionObject*> scenery;
    const std::vector<TrackPlacement>& placements = trackLayout().placements;
    for (std::size_t placement = 0; placement < placements.size(); ++placement)
    {
        const TrackModelId model = placements[placement].model;
        if (hasBody(placements[placement]) && model != TrackModelId::PlanetFloor && model != TrackModelId::Ramp &&
            placements[placement].mass == 0.0)
        {
            scenery.insert(race.trackBodies()[placement]);
        }
    }

    Autopilot autopilot(AutopilotSkill{}, trackLayout().course);
    int frames = 0;
    float lowestUp = 1.0f;
    std::set<const btCollisionObject*> touched;
    while (race.lapTracker().currentLap() < 4 && frames < 150 * 60)
    {
        race.control(autopilot.drive(race.boat(), frameTime));
        race.step(frameTime);
        ++frames;
        const glm::vec3 position = race.boat().interpolatedPosition(1.0f);
        lowestUp = std::min(lowestUp, glm::dot(race.boat().axes().up(), glm::normalize(position)));
        touched.merge(sceneryTouched(race, scenery));
    }
    EXPECT_EQ(race.lapTracker().currentLap(), 4);
    EXPECT_EQ(race.lapTracker().currentCheckpointIndex(), 0);
    // Three laps of about 580 m each, bends and jumps included, in about 88 s.
    EXPECT_LT(frames, 100 * 60);
    EXPECT_TRUE(touched.empty()) << touched.size() << " pieces of scenery touched";
    // Over the ramps and through the bends the boat never capsizes.
    EXPECT_GT(lowestUp, 0.3f);
}
}
