#include "game/race/RacePhysics.hpp"

#include "engine/ScreenMaths.hpp"
#include "game/physics/Boat.hpp"
#include "game/physics/GhostRecording.hpp"
#include "game/physics/LapTracker.hpp"
#include "game/physics/PhysicsWorld.hpp"
#include "game/physics/RaceCourse.hpp"

glm::quat raceStartRotation()
{
    return quaternionFromEulerDegrees(28.0493f, -1.93235f, 349.338f);
}

RacePhysics buildRacePhysics(const TrackLayout& layout, PhysicsWorld& world, PhysicsResources& resources,
                             const HullPoints& hullPoints)
{
    world.setRadialGravity(glm::vec3(0.0f), raceGravityMagnitude);
    RacePhysics race;
    race.trackBodies = addTrackBodies(layout, resources, world, hullPoints);
    race.boat = createRaceBoat(resources, world);
    race.boat->reset(raceStartPosition, raceStartRotation());
    race.lapTracker = createRaceCheckpoints(resources, world);
    return race;
}

void resetBoatToCheckpoint(const RacePhysics& race)
{
    race.boat->reset(race.lapTracker->currentCheckpointPosition(), race.lapTracker->currentCheckpointRotation());
}

float stepRace(PhysicsWorld& world, const RacePhysics& race)
{
    const float factor = world.step();
    race.boat->update(factor);
    race.lapTracker->checkCheckpoint(race.boat->chassis());
    return factor;
}

void recordBoat(GhostRecording& recording, float deltaTime, const Boat& boat, float factor)
{
    recording.recordFrame(deltaTime, boat.interpolatedPosition(factor), glm::quat_cast(boat.axes().basis()));
}
