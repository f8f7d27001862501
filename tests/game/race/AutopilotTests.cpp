#include "engine/Keyboard.hpp"
#include "engine/Timer.hpp"
#include "game/physics/Boat.hpp"
#include "game/physics/LapTracker.hpp"
#include "game/race/Autopilot.hpp"
#include "game/race/RaceWorld.hpp"

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
    const DrivingKeys left = steerFor(boat, glm::vec3(20.0f, 100.0f, 20.0f), 80.0f);
    EXPECT_TRUE(left.left && !left.right && left.forward && !left.backward);
    const DrivingKeys right = steerFor(boat, glm::vec3(-20.0f, 100.0f, 20.0f), 40.0f);
    EXPECT_TRUE(right.right && !right.left && !right.forward && right.backward);
    // Already turning fast enough toward the target: the wheels go straight.
    BoatState turning = boat;
    turning.angularVelocity = glm::vec3(0.0f, 2.5f * glm::radians(45.0f), 0.0f);
    const DrivingKeys coasting = steerFor(turning, glm::vec3(20.0f, 100.0f, 20.0f), 45.0f);
    EXPECT_FALSE(coasting.left || coasting.right || coasting.forward || coasting.backward);
}

class AutopilotTest : public ::testing::Test
{
protected:
    void SetUp() override { resetInput(); }
    void TearDown() override { resetInput(); }

    static void resetInput()
    {
        Timer::resetForTesting();
        Keyboard::releaseAllKeysForTesting();
    }

    // The scenery that the boat touches in the last frame.
    static std::set<const btCollisionObject*> sceneryTouched(RaceWorld& race,
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
    RaceWorld race;
    // Every static body but the planet and the ramps; the crates are there to be pushed.
    std::set<const btCollisionObject*> scenery;
    std::size_t body = 0;
    for (const TrackPlacement& placement : trackLayout().placements)
    {
        if (hasBody(placement))
        {
            const btCollisionObject* object = race.bodies()[body++];
            if (placement.model != TrackModelId::PlanetFloor && placement.model != TrackModelId::Ramp &&
                placement.mass == 0.0)
            {
                scenery.insert(object);
            }
        }
    }

    Autopilot autopilot(AutopilotSkill{}, trackLayout().course);
    int frames = 0;
    float lowestUp = 1.0f;
    std::set<const btCollisionObject*> touched;
    while (race.lapTracker().currentLap() < 4 && frames < 150 * 60)
    {
        if (!autopilot.drive(race.boat(), frameTime))
        {
            race.resetBoatToCheckpoint();
        }
        race.frame(frameTime);
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
