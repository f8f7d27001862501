#pragma once

#include "game/physics/BoatControls.hpp"
#include "game/physics/PhysicsResources.hpp"
#include "game/physics/PhysicsWorld.hpp"
#include "game/race/TrackLayout.hpp"

#include <vector>

class Boat;
class LapTracker;

// A race's physics without a window, built and run frame by frame as the race
// scene builds and runs its own: for the autopilot's races (the opponents'
// ghosts), the tests and the benchmark. Its frames move the process's Timer.
class HeadlessRace
{
public:
    // The convex hulls of the given points, which must be those of the model
    // files for the world to be the race scene's.
    explicit HeadlessRace(const HullPoints& hullPoints);
    ~HeadlessRace();
    HeadlessRace(const HeadlessRace&) = delete;
    HeadlessRace& operator=(const HeadlessRace&) = delete;

    // The coming frame's controls, as the race scene applies the player's: the
    // boat driven with them, then put back on its checkpoint when they ask.
    void control(const BoatControls& controls);
    // One frame's time on the Timer, then the race frame's physics: the
    // world's step, the boat's per-frame forces, the checkpoint test.
    void step(float deltaTime);

    Boat& boat() const;
    const LapTracker& lapTracker() const;
    PhysicsWorld& world();
    // One per placement of the layout; null where a placement has no body.
    const std::vector<PhysicsBody*>& trackBodies() const;
    float interpolationFactor() const;

private:
    PhysicsResources resources;
    PhysicsWorld physicsWorld;
    std::vector<PhysicsBody*> bodies;
    Boat* raceBoat = nullptr;
    LapTracker* tracker = nullptr;
    float factor = 0.0f;
};
