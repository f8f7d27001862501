#include "engine/ScreenMaths.hpp"
#include "game/physics/BulletConversions.hpp"
#include "game/physics/LapTracker.hpp"
#include "game/physics/RaceCourse.hpp"
#include "support/PhysicsTest.hpp"

#include <btBulletDynamicsCommon.h>

#include <array>

namespace
{
const std::array<glm::vec3, 5> checkpointCentres{
    glm::vec3(-8.5582f, 83.9632f, 53.6162f), glm::vec3(65.8098f, 18.8162f, 74.9557f),
    glm::vec3(62.9669f, 0.737f, -79.6113f), glm::vec3(-60.0356f, 38.1032f, -72.4376f),
    glm::vec3(-60.8877f, 81.2145f, -0.472f)};

// A small ball that is moved from checkpoint to checkpoint, one sub-step at each.
class LapTrackerTest : public PhysicsTest
{
protected:
    void SetUp() override
    {
        PhysicsTest::SetUp();
        tracker = createRaceCheckpoints(resources, world);
        probe = addBall(glm::vec3(0.0f), 0.5f, 1.0f);
    }

    double passAt(std::size_t checkpoint)
    {
        probe->setWorldTransform(toBulletTransform(identity, checkpointCentres[checkpoint]));
        stepBy(PhysicsWorld::subStep);
        return tracker->checkCheckpoint(probe);
    }

    LapTracker* tracker = nullptr;
    PhysicsBody* probe = nullptr;
};

TEST_F(LapTrackerTest, CheckpointsCountOnlyInOrderAndOnce)
{
    EXPECT_EQ(tracker->currentCheckpointPosition(), checkpointCentres[0]);
    EXPECT_NEAR(std::abs(glm::dot(tracker->currentCheckpointRotation(),
                                  quaternionFromEulerDegrees(27.4576f, -2.85641f, -5.82112f))),
                1.0f, 1e-5f);

    // Backwards over the start line, then skipping checkpoint 1.
    EXPECT_EQ(passAt(0), -1.0);
    EXPECT_EQ(passAt(2), -1.0);
    EXPECT_GE(passAt(1), 0.0);
    // Lingering inside it counts nothing more.
    EXPECT_EQ(passAt(1), -1.0);
    EXPECT_EQ(tracker->currentCheckpointIndex(), 1);
    EXPECT_EQ(tracker->currentCheckpointPosition(), checkpointCentres[1]);
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
    ASSERT_EQ(tracker->checkpoints().size(), 5u);
    for (std::size_t i = 0; i < 5; ++i)
    {
        EXPECT_EQ(objects[static_cast<int>(i)], tracker->checkpoints()[i].get());
    }

    PhysicsBody* rock = addBall(checkpointCentres[1], 2.0f, 0.0f);
    stepBy(PhysicsWorld::subStep);
    EXPECT_EQ(tracker->checkCheckpoint(rock), -1.0);
    EXPECT_EQ(tracker->checkpoints()[1]->getNumOverlappingObjects(), 0);

    LapTracker empty({});
    EXPECT_EQ(empty.checkCheckpoint(rock), -1.0);
    EXPECT_EQ(empty.currentCheckpointPosition(), glm::vec3(0.0f));
}
}
