#include "game/race/HeadlessRace.hpp"

#include "engine/Timer.hpp"
#include "game/physics/Boat.hpp"

HeadlessRace::HeadlessRace(const HullPoints& hullPoints)
    : physics(buildRacePhysics(trackLayout(), physicsWorld, resources, hullPoints))
{
}

HeadlessRace::~HeadlessRace()
{
    physicsWorld.removeAllObjects();
}

void HeadlessRace::control(const BoatControls& controls)
{
    physics.boat->drive(controls);
    if (controls.reset)
    {
        resetBoatToCheckpoint(physics);
    }
}

void HeadlessRace::step(float deltaTime)
{
    Timer::tickBy(deltaTime);
    factor = stepRace(physicsWorld, physics);
}

Boat& HeadlessRace::boat() const
{
    return *physics.boat;
}

const LapTracker& HeadlessRace::lapTracker() const
{
    return *physics.lapTracker;
}

PhysicsWorld& HeadlessRace::world()
{
    return physicsWorld;
}

const std::vector<PhysicsBody*>& HeadlessRace::trackBodies() const
{
    return physics.trackBodies;
}

float HeadlessRace::interpolationFactor() const
{
    return factor;
}
