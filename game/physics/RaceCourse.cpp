#include "game/physics/RaceCourse.hpp"

#include "engine/ScreenMaths.hpp"
#include "game/physics/Boat.hpp"
#include "game/physics/LapTracker.hpp"
#include "game/physics/PhysicsResources.hpp"
#include "game/physics/PhysicsWorld.hpp"

#include <BulletCollision/CollisionDispatch/btGhostObject.h>
#include <btBulletDynamicsCommon.h>

void setRaceGravity(PhysicsWorld& world)
{
    world.setRadialGravity(glm::vec3(0.0f), raceGravityMagnitude);
}

Boat* createRaceBoat(PhysicsResources& resources, PhysicsWorld& world)
{
    // The hull's bottom lies at the body's origin.
    constexpr float halfHeight = 0.5129625f;
    btBoxShape* hull = resources.createBoxShape(glm::vec3(0.8f, halfHeight, 1.5562299f));
    btCompoundShape* chassisShape = resources.createCompoundShape(
        {{hull, glm::vec3(0.0f, halfHeight, 0.0f), glm::quat(1.0f, 0.0f, 0.0f, 0.0f)}});
    PhysicsBody* chassis = resources.createRigidBody(chassisShape, raceBoatMass, gameBodyMaterial);
    Boat* boat = resources.createBoat(chassis, BoatSettings{});
    world.addBoat(boat, glm::vec3(0.0f, 105.0f, 0.0f), glm::quat(1.0f, 0.0f, 0.0f, 0.0f));
    return boat;
}

LapTracker* createRaceCheckpoints(PhysicsResources& resources, PhysicsWorld& world)
{
    btBoxShape* startLine = resources.createBoxShape(glm::vec3(16.0f, 10.0f, 1.0f));
    btSphereShape* smallSphere = resources.createSphereShape(16.0f);
    btSphereShape* largeSphere = resources.createSphereShape(24.0f);

    CheckpointList checkpoints;
    createCheckpointObject(checkpoints, startLine, glm::vec3(-8.5582f, 83.9632f, 53.6162f),
                           quaternionFromEulerDegrees(27.4576f, -2.85641f, -5.82112f));
    createCheckpointObject(checkpoints, largeSphere, glm::vec3(65.8098f, 18.8162f, 74.9557f),
                           quaternionFromEulerDegrees(-4.86254f, -79.2783f, 496.231f));
    createCheckpointObject(checkpoints, smallSphere, glm::vec3(62.9669f, 0.737f, -79.6113f),
                           quaternionFromEulerDegrees(89.1822f, -59.439f, 502.363f));
    createCheckpointObject(checkpoints, largeSphere, glm::vec3(-60.0356f, 38.1032f, -72.4376f),
                           quaternionFromEulerDegrees(-30.5902f, -64.1465f, 702.954f));
    createCheckpointObject(checkpoints, largeSphere, glm::vec3(-60.8877f, 81.2145f, -0.472f),
                           quaternionFromEulerDegrees(323.328f, 4.00597f, 814.916f));

    LapTracker* tracker = resources.createLapTracker(std::move(checkpoints));
    world.addLapTracker(tracker);
    return tracker;
}
