#pragma once

#include "game/physics/LapTracker.hpp"

#include <BulletCollision/CollisionShapes/btBoxShape.h>
#include <BulletCollision/CollisionShapes/btCompoundShape.h>
#include <BulletCollision/CollisionShapes/btConvexHullShape.h>
#include <BulletCollision/CollisionShapes/btCylinderShape.h>
#include <BulletCollision/CollisionShapes/btSphereShape.h>
#include <glm/gtc/quaternion.hpp>
#include <glm/vec3.hpp>

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

class btDefaultMotionState;
class btRigidBody;
class Boat;
class PhysicsBody;
struct BoatSettings;

struct BodyMaterial
{
    float restitution;
    float friction;
    float rollingFriction;
    float linearDamping;
    float angularDamping;
};

// Every body of the game is made of this.
inline constexpr BodyMaterial gameBodyMaterial{0.1f, 0.7f, 0.1f, 0.1f, 0.05f};

struct CompoundChild
{
    btCollisionShape* shape;
    glm::vec3 position;
    glm::quat rotation;
};

// Owns the Bullet objects that a scene or a model collection makes and hands
// out plain pointers to them. Nothing is removed from a world here: the owner
// empties its world before destroyAll.
class PhysicsResources
{
public:
    PhysicsResources();
    ~PhysicsResources();
    PhysicsResources(const PhysicsResources&) = delete;
    PhysicsResources& operator=(const PhysicsResources&) = delete;

    btBoxShape* createBoxShape(const glm::vec3& halfExtents);
    btSphereShape* createSphereShape(float radius);
    // Axis 0 is X, 1 is Y and 2 is Z; any other axis gives null.
    btCylinderShape* createCylinderShape(const glm::vec3& halfExtents, std::uint32_t axis);
    btCompoundShape* createCompoundShape(const std::vector<CompoundChild>& children);
    // Null for no points.
    btConvexHullShape* createConvexHullShape(std::span<const glm::vec3> points);
    // A body of mass 0 is static.
    PhysicsBody* createRigidBody(btCollisionShape* shape, float mass, const BodyMaterial& material);
    Boat* createBoat(PhysicsBody* chassis, const BoatSettings& settings);
    LapTracker* createLapTracker(CheckpointList checkpoints);
    void destroyAll();

private:
    // Declared in the order of their kinds, so the members are destroyed in
    // reverse: trackers and boats before the bodies they use, shapes last.
    std::vector<std::unique_ptr<btCollisionShape>> shapes;
    std::vector<std::unique_ptr<btDefaultMotionState>> motionStates;
    std::vector<std::unique_ptr<PhysicsBody>> rigidBodies;
    std::vector<std::unique_ptr<Boat>> boats;
    std::vector<std::unique_ptr<LapTracker>> lapTrackers;
};

// The body never sleeps.
void disableDeactivation(btRigidBody* body);
