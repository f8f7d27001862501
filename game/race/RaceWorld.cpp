#include "game/race/RaceWorld.hpp"

#include "engine/ScreenMaths.hpp"
#include "engine/Timer.hpp"
#include "game/physics/Boat.hpp"
#include "game/physics/LapTracker.hpp"
#include "game/physics/RaceCourse.hpp"

glm::quat raceStartRotation()
{
    return quaternionFromEulerDegrees(28.0493f, -1.93235f, 349.338f);
}

RaceWorld::RaceWorld(const HullPoints& hullPoints)
{
    physicsWorld.setRadialGravity(glm::vec3(0.0f), raceGravityMagnitude);
    trackBodies = addTrackBodies(trackLayout(), resources, physicsWorld, hullPoints);
    playerBoat = createRaceBoat(resources, physicsWorld);
    playerBoat->reset(raceStartPosition, raceStartRotation());
    tracker = createRaceCheckpoints(resources, physicsWorld);
}

RaceWorld::~RaceWorld()
{
    physicsWorld.removeAllObjects();
}

void RaceWorld::frame(float deltaTime)
{
    Timer::tickBy(deltaTime);
    playerBoat->handleKeyboardInput();
    factor = physicsWorld.step();
    playerBoat->update(factor);
    tracker->checkCheckpoint(playerBoat->chassis());
}

void RaceWorld::resetBoatToCheckpoint()
{
    playerBoat->reset(tracker->currentCheckpointPosition(), tracker->currentCheckpointRotation());
}

Boat& RaceWorld::boat() const
{
    return *playerBoat;
}

const LapTracker& RaceWorld::lapTracker() const
{
    return *tracker;
}

PhysicsWorld& RaceWorld::world()
{
    return physicsWorld;
}

const std::vector<PhysicsBody*>& RaceWorld::bodies() const
{
    return trackBodies;
}

float RaceWorld::interpolationFactor() const
{
    return factor;
}
