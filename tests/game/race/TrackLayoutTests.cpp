#include "game/physics/BulletConversions.hpp"
#include "game/physics/LapTracker.hpp"
#include "game/physics/PhysicsWorld.hpp"
#include "game/race/HeadlessRace.hpp"
#include "game/race/TrackLayout.hpp"
#include "tests/support/ClockTest.hpp"
#include "tools/assets/Ghosts.hpp"

#include <btBulletDynamicsCommon.h>
#include <gtest/gtest.h>

#include <glm/gtc/quaternion.hpp>

#include <algorithm>
#include <map>
#include <set>
#include <string>

namespace
{
constexpr std::size_t checkpointCount = 5;

std::size_t placementsOf(TrackModelId model)
{
    const std::vector<TrackPlacement>& placements = trackLayout().placements;
    return static_cast<std::size_t>(std::count_if(placements.begin(), placements.end(), [&](const TrackPlacement& p) {
        return p.model == model;
    }));
}

TEST(TrackLayoutTest, PlacesEveryModelWithinItsCapacityInTableOrder)
{
    const std::vector<TrackPlacement>& placements = trackLayout().placements;
    ASSERT_EQ(placements.size(), trackPlacementCount);
    const std::map<TrackModelId, std::size_t> expected{
        {TrackModelId::PlanetFloor, 1}, {TrackModelId::Ice1, 5},    {TrackModelId::Ice2, 3},
        {TrackModelId::Ice3, 1},        {TrackModelId::PirateShip, 7}, {TrackModelId::Island1, 3},
        {TrackModelId::Island2, 7},     {TrackModelId::LightHouse, 1}, {TrackModelId::Volcano, 3},
        {TrackModelId::Dragon, 3},      {TrackModelId::House1, 6},  {TrackModelId::House2, 9},
        {TrackModelId::Ramp, 4},        {TrackModelId::Palm, 16},   {TrackModelId::Barrier, 65},
        {TrackModelId::Sign, 29},       {TrackModelId::BigSign, 1}, {TrackModelId::Crate, 15}};
    for (const auto& [model, count] : expected)
    {
        EXPECT_EQ(placementsOf(model), count) << trackModel(model).file;
        EXPECT_LE(count, static_cast<std::size_t>(trackModel(model).maxInstances)) << trackModel(model).file;
    }
    // Each model's placements follow one another, the models in the table's order.
    EXPECT_TRUE(std::is_sorted(placements.begin(), placements.end(),
                               [](const TrackPlacement& a, const TrackPlacement& b) { return a.model < b.model; }));

    std::size_t bodies = 0;
    for (const TrackPlacement& placement : placements)
    {
        bodies += hasBody(placement) ? 1 : 0;
        // Only the crates move.
        EXPECT_EQ(placement.mass > 0.0, placement.model == TrackModelId::Crate);
        EXPECT_NEAR(glm::length(placement.rotation), 1.0f, 1e-5f);
        if (placement.model != TrackModelId::PlanetFloor)
        {
            EXPECT_GT(glm::length(placement.position), 93.0f);
            EXPECT_LT(glm::length(placement.position), 119.0f);
        }
    }
    EXPECT_EQ(bodies, trackBodyCount);

    // The start banner stands at the start line's pose.
    const TrackPlacement& banner = *std::find_if(placements.begin(), placements.end(), [](const TrackPlacement& p) {
        return p.model == TrackModelId::BigSign;
    });
    EXPECT_NEAR(glm::distance(banner.position, glm::vec3(-8.5582f, 83.9632f, 53.6162f)), 0.0f, 1e-4f);
    EXPECT_EQ(fromZUp(1.0f, 2.0f, 3.0f), glm::vec3(1.0f, 3.0f, -2.0f));
    EXPECT_EQ(trackModelPath(TrackModelId::Sign), "Assets/ZavikDemoScene/Models/WaterPlanet/sign.obj");
}

// The small lamps take as many slots as the houses and barriers give lamps
// for; a layout that gives fewer must not fill the rest with lights at the
// planet's centre.
TEST(TrackLayoutTest, TooFewSmallLampsAreRefusedRatherThanFilledIn)
{
    const std::vector<TrackPlacement>& placements = trackLayout().placements;
    const std::size_t houses = placementsOf(TrackModelId::House1) + placementsOf(TrackModelId::House2);
    const std::size_t available = houses + (placementsOf(TrackModelId::Barrier) + 3) / 4;
    ASSERT_TRUE(smallLampPositions(placements, available).has_value());
    EXPECT_FALSE(smallLampPositions(placements, available + 1).has_value());
    EXPECT_FALSE(smallLampPositions({placements.front()}, 1).has_value()) << "the planet carries no lamp";

    // The game's small lamps are the first of them, after the one given by hand.
    const std::optional<std::vector<glm::vec3>> lamps = smallLampPositions(placements, 29);
    ASSERT_TRUE(lamps.has_value());
    ASSERT_EQ(lamps->size(), 29u);
    const std::vector<TrackLight>& lights = trackLayout().lights;
    for (std::size_t lamp = 0; lamp < lamps->size(); ++lamp)
    {
        EXPECT_EQ(lights.at(26 + lamp).position, lamps->at(lamp)) << lamp;
    }
}

TEST(TrackLayoutTest, LightsFillTheirSlotsWithSixteenFreeAndOneInTheLighthouseLamp)
{
    const std::vector<TrackLight>& lights = trackLayout().lights;
    ASSERT_EQ(lights.size(), trackLightCount);
    EXPECT_EQ(pointLightCapacity - lights.size(), 16u);
    const auto slots = [&](std::size_t first, std::size_t last, const glm::vec3& colour, float radius) {
        for (std::size_t slot = first; slot <= last; ++slot)
        {
            EXPECT_EQ(lights[slot].colour, colour) << slot;
            EXPECT_EQ(lights[slot].radius, radius) << slot;
            EXPECT_GT(glm::length(lights[slot].position), 100.3f) << slot;
        }
    };
    slots(0, 0, glm::vec3(0.0f, 0.0f, 1.0f), 8.0f);
    slots(1, 23, glm::vec3(1.0f, 0.8f, 0.8f), 8.0f);
    slots(24, 24, glm::vec3(1.0f), 40.0f);
    slots(25, 54, glm::vec3(1.0f), 5.0f);
    slots(55, 58, glm::vec3(1.0f), 8.0f);

    const TrackPlacement& lighthouse = trackLayout().placements[27];
    ASSERT_EQ(lighthouse.model, TrackModelId::LightHouse);
    const glm::vec3 lamp = lighthouse.position + lighthouse.rotation * glm::vec3(0.0f, lighthouseLampHeight, 0.0f);
    EXPECT_NEAR(glm::distance(lights[24].position, lamp), 0.0f, 1e-4f);
}

// Only the boat's own hits count: everything but what a sweep along the line may touch.
struct StaticObstacleCallback : btCollisionWorld::ConvexResultCallback
{
    explicit StaticObstacleCallback(std::set<const btCollisionObject*> ignored) : ignored(std::move(ignored)) {}

    bool needsCollision(btBroadphaseProxy* proxy) const override
    {
        const auto* object = static_cast<const btCollisionObject*>(proxy->m_clientObject);
        return object->isStaticObject() && ignored.count(object) == 0 &&
               (object->getCollisionFlags() & btCollisionObject::CF_NO_CONTACT_RESPONSE) == 0;
    }

    btScalar addSingleResult(btCollisionWorld::LocalConvexResult& result, bool) override
    {
        hits.insert(result.m_hitCollisionObject);
        return 1.0f;
    }

    std::set<const btCollisionObject*> ignored;
    std::set<const btCollisionObject*> hits;
};

using TrackCourseTest = ClockTest;

// The boat's hull swept along every leg, from one checkpoint's centre to the
// next over the water, in five lanes from 8 m left to 8 m right of the line,
// touches no static body but the planet and the ramps on the line.
TEST_F(TrackCourseTest, NoStaticBodyBlocksTheLineBetweenTheCheckpoints)
{
    HeadlessRace race(generatedHullPoints());
    std::set<const btCollisionObject*> ignored;
    std::map<const btCollisionObject*, std::size_t> placementOfBody;
    std::size_t body = 0;
    for (std::size_t i = 0; i < trackLayout().placements.size(); ++i)
    {
        const TrackPlacement& placement = trackLayout().placements[i];
        const btCollisionObject* object = race.trackBodies()[i];
        EXPECT_EQ(object != nullptr, hasBody(placement)) << i;
        if (object == nullptr)
        {
            continue;
        }
        ++body;
        placementOfBody[object] = i;
        if (placement.model == TrackModelId::PlanetFloor || placement.model == TrackModelId::Ramp)
        {
            ignored.insert(object);
        }
    }
    ASSERT_EQ(body, trackBodyCount);

    // The racing line runs through the checkpoints where the lap tracker has them, start line first.
    const auto& checkpoints = race.lapTracker().checkpoints();
    const std::vector<CourseWaypoint>& course = trackLayout().course;
    auto waypoint = course.begin();
    for (const auto& checkpoint : checkpoints)
    {
        const glm::vec3 centre = fromBulletVector(checkpoint->getWorldTransform().getOrigin());
        waypoint = std::find_if(waypoint, course.end(),
                                [&](const CourseWaypoint& point) { return point.position == centre; });
        EXPECT_NE(waypoint, course.end());
    }
    EXPECT_EQ(course.front().position, fromBulletVector(checkpoints[0]->getWorldTransform().getOrigin()));

    btBoxShape hull(toBulletVector(boatHullHalfExtents));
    constexpr int steps = 60;
    for (std::size_t leg = 0; leg < checkpointCount; ++leg)
    {
        const glm::vec3 from = glm::normalize(fromBulletVector(checkpoints[leg]->getWorldTransform().getOrigin()));
        const glm::vec3 to =
            glm::normalize(fromBulletVector(checkpoints[(leg + 1) % checkpointCount]->getWorldTransform().getOrigin()));
        const glm::vec3 axis = glm::normalize(glm::cross(from, to));
        const float angle = std::acos(glm::dot(from, to));
        for (const float lateral : {-8.0f, -4.0f, 0.0f, 4.0f, 8.0f})
        {
            const auto hullPose = [&](int step) {
                const glm::vec3 up = glm::angleAxis(angle * static_cast<float>(step) / steps, axis) * from;
                const glm::vec3 forward = glm::cross(axis, up);
                const glm::vec3 left = glm::cross(up, forward);
                const glm::vec3 lane = glm::normalize(up + (lateral / waterRadius) * left);
                const glm::quat rotation = glm::quat_cast(glm::mat3(glm::cross(lane, forward), lane, forward));
                return toBulletTransform(rotation, lane * (waterRadius + boatHullHalfExtents.y));
            };
            StaticObstacleCallback callback(ignored);
            for (int step = 0; step < steps; ++step)
            {
                race.world().dynamicsWorld()->convexSweepTest(&hull, hullPose(step), hullPose(step + 1), callback);
            }
            for (const btCollisionObject* hit : callback.hits)
            {
                const std::size_t placement = placementOfBody.at(hit);
                ADD_FAILURE() << "leg " << leg << " lane " << lateral << ": placement " << placement << " ("
                              << trackModel(trackLayout().placements[placement].model).file << ")";
            }
        }
    }
}
}
