#pragma once

#include <BulletDynamics/Dynamics/btRigidBody.h>
#include <glm/gtc/quaternion.hpp>
#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

#include <memory>
#include <vector>

class btCollisionObject;
class btDiscreteDynamicsWorld;
class btDefaultCollisionConfiguration;
class btCollisionDispatcher;
class btDbvtBroadphase;
class btSequentialImpulseConstraintSolverMt;
class btGhostPairCallback;
class Boat;
class ConstraintCarController;
class LapTracker;

// Every game body: a rigid body that also remembers its pose before and after
// the last fixed sub-step, so it can be drawn between the two.
class PhysicsBody : public btRigidBody
{
public:
    explicit PhysicsBody(const btRigidBodyConstructionInfo& constructionInfo);

    btTransform previousTransform;
    btTransform currentTransform;
};

// The Bullet world of one scene, advanced in fixed sub-steps of 1/1024 s under
// a gravity that pulls every dynamic body toward one centre. The objects added
// here are owned elsewhere (a PhysicsResources or the caller).
class PhysicsWorld
{
public:
    static constexpr float subStep = 1.0f / 1024.0f;
    // The most time one step simulates: a longer frame (a window drag, a
    // debugger) would otherwise cost more sub-steps than the next frame has
    // time for, and the world would never catch up.
    static constexpr float longestFrame = 0.25f;

    // The frame's time as the world simulates it: the timer's frame delta, at
    // most longestFrame. What goes on with the world (the race's clock, the
    // opponents) counts this, so that a stall does not run ahead of it.
    static float frameTime();

    PhysicsWorld();
    ~PhysicsWorld();
    PhysicsWorld(const PhysicsWorld&) = delete;
    PhysicsWorld& operator=(const PhysicsWorld&) = delete;

    void setRadialGravity(const glm::vec3& centre, float magnitude);
    glm::vec3 gravityCentre() const;
    float gravityMagnitude() const;

    // Simulates frameTime in whole sub-steps; returns the fraction of a
    // sub-step left over, in [0, 1).
    float step();

    void addRigidBody(PhysicsBody* body, const glm::vec3& position, const glm::quat& rotation);
    // Takes one body out of the world and out of the body list.
    void removeRigidBody(PhysicsBody* body);
    // Puts an object of the world somewhere by hand. The step refreshes the
    // bounds that the broadphase finds objects by for awake bodies only, so an
    // object that may sleep or is static (a checkpoint) moved any other way
    // would still be found where it stood.
    void placeObject(btCollisionObject* object, const glm::vec3& position, const glm::quat& rotation);
    void addBoat(Boat* boat, const glm::vec3& position, const glm::quat& rotation);
    // Puts the tracker's checkpoints into the world, sensing every group but the static scenery.
    void addLapTracker(LapTracker* tracker);
    // The controller's wheel constraints must already be in the world.
    void addController(ConstraintCarController* controller);
    // Empties the world for a scene's unload; deletes nothing.
    void removeAllObjects();

    btDiscreteDynamicsWorld* dynamicsWorld() const;
    const std::vector<PhysicsBody*>& bodies() const;

private:
    void applyRadialGravity();

    std::unique_ptr<btDiscreteDynamicsWorld> world;
    std::unique_ptr<btDefaultCollisionConfiguration> collisionConfiguration;
    std::unique_ptr<btCollisionDispatcher> dispatcher;
    std::unique_ptr<btDbvtBroadphase> broadphase;
    std::unique_ptr<btGhostPairCallback> ghostPairCallback;
    std::unique_ptr<btSequentialImpulseConstraintSolverMt> solver;
    std::vector<PhysicsBody*> bodyList;
    std::vector<ConstraintCarController*> controllers;
    std::vector<Boat*> boats;
    std::vector<LapTracker*> checkpointLists;
    float accumulator = 0.0f;
    glm::vec3 centre{0.0f};
    float magnitude = 0.0f;
};

// The render-time pose of a body between its last two sub-steps.
glm::quat interpolatedRotation(const PhysicsBody* body, float factor);
glm::mat4 interpolatedTransformMatrix(const PhysicsBody* body, float factor);
