#include "game/race/HeadlessRace.hpp"

#include "engine/Timer.hpp"
#include "game/physics/Boat.hpp"
#include "game/physics/LapTracker.hpp"
#include "game/physics/RaceCourse.hpp"
#include "game/race/RacePhysics.hpp"

// In the order of the race scene's load: the track, the gravity, the boat at
// the start, then the checkpoints.
HeadlessRace::HeadlessRace(const HullPoints& hullPoints)
    : bodies(addTrackBodies(trackLayout(), resources, physicsWorld, hullPoints))
{
    setRaceGravity(physicsWorld);
    raceBoat = createRaceBoat(resources, physicsWorld);
    raceBoat->reset(raceStartPosition, raceStartRotation());
    tracker = createRaceCheckpoints(resources, physicsWorld);
}

HeadlessRace::~HeadlessRace()
{
    physicsWorld.removeAllObjects();
}

void HeadlessRace::control(const BoatControls& controls)
{
    raceBoat->drive(controls);
    if (controls.reset)
    {
        resetBoatToCheckpoint(*raceBoat, *tracker);
    }
}

void HeadlessRace::step(float deltaTime)
{
    Timer::tickBy(deltaTime);
    factor = physicsWorld.step();
    raceBoat->update(factor);
    tracker->checkCheckpoint(raceBoat->chassis());
}

Boat& HeadlessRace::boat() const
{
    return *raceBoat;
}

const LapTracker& HeadlessRace::lapTracker() const
{
    return *tracker;
}

PhysicsWorld& HeadlessRace::world()
{
    return physicsWorld;
}

const std::vector<PhysicsBody*>& HeadlessRace::trackBodies() const
{
    return bodies;
}

float HeadlessRace::interpolationFactor() const
{
    return factor;
}
