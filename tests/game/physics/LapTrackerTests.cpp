#include "game/physics/BulletConversions.hpp"
#include "game/physics/LapTracker.hpp"
#include "game/physics/RaceCourse.hpp"
#include "support/PhysicsTest.hpp"

#include <btBulletDynamicsCommon.h>

namespace
{
// A small ball that is moved from checkpoint to checkpoint of the race course, one sub-step at each.
class LapTrackerTest : public PhysicsTest
{
protected:
    void SetUp() override
    {
        PhysicsTest::SetUp();
        tracker = createRaceCheckpoints(resources, world);
        probe = addBall(glm::vec3(0.0f), 0.5f, 1.0f);
    }

    glm::vec3 centre(std::size_t checkpoint) const
    {
        return fromBulletVector(tracker->checkpoints()[checkpoint]->getWorldTransform().getOrigin());
    }

    double passAt(std::size_t checkpoint)
    {
        world.placeObject(probe, centre(checkpoint), identity);
        stepBy(PhysicsWorld::subStep);
        return tracker->checkCheckpoint(probe);
    }

    LapTracker* tracker = nullptr;
    PhysicsBody* probe = nullptr;
};

TEST_F(LapTrackerTest, CheckpointsCountOnlyInOrderAndOnce)
{
    ASSERT_EQ(tracker->checkpoints().size(), 5u);
    EXPECT_EQ(tracker->currentCheckpointPosition(), centre(0));
    // Backwards over the start line, then skipping checkpoint 1.
    EXPECT_EQ(passAt(0), -1.0);
    EXPECT_EQ(passAt(2), -1.0);
    EXPECT_GE(passAt(1), 0.0);
    // Lingering inside it counts nothing more.
    EXPECT_EQ(passAt(1), -1.0);
    EXPECT_EQ(tracker->currentCheckpointIndex(), 1);
    EXPECT_EQ(tracker->currentCheckpointPosition(), centre(1));
}

TEST_F(LapTrackerTest, FifteenPassesMakeThreeLapsWithTheirSplitTimes)
{
    std::vector<int> laps;
    for (int pass = 1; pass <= 15; ++pass)
    {
        Timer::tickBy(1.5);
        EXPECT_NEAR(passAt(static_cast<std::size_t>(pass % 5)), 1.5 + PhysicsWorld::subStep, 1e-4) << pass;
        laps.push_back(tracker->currentLap());
    }
    EXPECT_EQ(laps, (std::vector<int>{1, 1, 1, 1, 2, 2, 2, 2, 2, 3, 3, 3, 3, 3, 4}));
    EXPECT_EQ(tracker->currentCheckpointIndex(), 0);
}

TEST_F(LapTrackerTest, CheckpointsStayPutAndIgnoreTheStaticScenery)
{
    const btCollisionObjectArray& objects = world.dynamicsWorld()->getCollisionObjectArray();
    for (std::size_t i = 0; i < 5; ++i)
    {
        EXPECT_EQ(objects[static_cast<int>(i)], tracker->checkpoints()[i].get());
    }

    PhysicsBody* rock = addBall(centre(1), 2.0f, 0.0f);
    stepBy(PhysicsWorld::subStep);
    EXPECT_EQ(tracker->checkCheckpoint(rock), -1.0);
    EXPECT_EQ(tracker->checkpoints()[1]->getNumOverlappingObjects(), 0);

    LapTracker empty({});
    EXPECT_EQ(empty.checkCheckpoint(rock), -1.0);
    EXPECT_EQ(empty.currentCheckpointPosition(), glm::vec3(0.0f));
}
}
