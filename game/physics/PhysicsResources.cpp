#include "game/physics/PhysicsResources.hpp"

#include "game/physics/Boat.hpp"
#include "game/physics/BulletConversions.hpp"
#include "game/physics/PhysicsWorld.hpp"

#include <BulletCollision/CollisionDispatch/btGhostObject.h>
#include <btBulletDynamicsCommon.h>

PhysicsResources::PhysicsResources() = default;

PhysicsResources::~PhysicsResources()
{
    destroyAll();
}

btBoxShape* PhysicsResources::createBoxShape(const glm::vec3& halfExtents)
{
    auto* shape = new btBoxShape(toBulletVector(halfExtents));
    shapes.emplace_back(shape);
    return shape;
}

btSphereShape* PhysicsResources::createSphereShape(float radius)
{
    auto* shape = new btSphereShape(radius);
    shapes.emplace_back(shape);
    return shape;
}

btCylinderShape* PhysicsResources::createCylinderShape(const glm::vec3& halfExtents, std::uint32_t axis)
{
    btCylinderShape* shape = nullptr;
    switch (axis)
    {
    case 0:
        shape = new btCylinderShapeX(toBulletVector(halfExtents));
        break;
    case 1:
        shape = new btCylinderShape(toBulletVector(halfExtents));
        break;
    case 2:
        shape = new btCylinderShapeZ(toBulletVector(halfExtents));
        break;
    default:
        return nullptr;
    }
    shapes.emplace_back(shape);
    return shape;
}

btCompoundShape* PhysicsResources::createCompoundShape(const std::vector<CompoundChild>& children)
{
    auto* shape = new btCompoundShape(true, 0);
    shapes.emplace_back(shape);
    for (const CompoundChild& child : children)
    {
        shape->addChildShape(toBulletTransform(child.rotation, child.position), child.shape);
    }
    return shape;
}

btConvexHullShape* PhysicsResources::createConvexHullShape(std::span<const glm::vec3> points)
{
    if (points.empty())
    {
        return nullptr;
    }
    auto* shape = new btConvexHullShape(nullptr, 0, sizeof(btVector3));
    shapes.emplace_back(shape);
    for (const glm::vec3& point : points)
    {
        // The bounds are computed once, after the last point, not per point.
        shape->addPoint(toBulletVector(point), false);
    }
    shape->setMargin(0.04f);
    shape->optimizeConvexHull();
    // Neither the optimisation nor the margin computes the bounds, and the
    // broadphase finds the body by them alone.
    shape->recalcLocalAabb();
    return shape;
}

PhysicsBody* PhysicsResources::createRigidBody(btCollisionShape* shape, float mass, const BodyMaterial& material)
{
    auto* motionState = new btDefaultMotionState();
    motionStates.emplace_back(motionState);
    btVector3 inertia(0.0f, 0.0f, 0.0f);
    if (mass > 0.0f)
    {
        shape->calculateLocalInertia(mass, inertia);
    }
    btRigidBody::btRigidBodyConstructionInfo constructionInfo(mass, motionState, shape, inertia);
    constructionInfo.m_restitution = material.restitution;
    constructionInfo.m_friction = material.friction;
    constructionInfo.m_rollingFriction = material.rollingFriction;
    constructionInfo.m_linearDamping = material.linearDamping;
    constructionInfo.m_angularDamping = material.angularDamping;
    auto* body = new PhysicsBody(constructionInfo);
    rigidBodies.emplace_back(body);
    return body;
}

Boat* PhysicsResources::createBoat(PhysicsBody* chassis, const BoatSettings& settings)
{
    auto* boat = new Boat(chassis, settings);
    boats.emplace_back(boat);
    return boat;
}

LapTracker* PhysicsResources::createLapTracker(CheckpointList checkpoints)
{
    auto* tracker = new LapTracker(std::move(checkpoints));
    lapTrackers.emplace_back(tracker);
    return tracker;
}

void PhysicsResources::destroyAll()
{
    lapTrackers.clear();
    boats.clear();
    rigidBodies.clear();
    motionStates.clear();
    shapes.clear();
}

void disableDeactivation(btRigidBody* body)
{
    body->forceActivationState(DISABLE_DEACTIVATION);
}
