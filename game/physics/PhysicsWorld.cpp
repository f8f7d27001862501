#include "game/physics/PhysicsWorld.hpp"

#include "engine/Timer.hpp"
#include "game/physics/Boat.hpp"
#include "game/physics/BulletConversions.hpp"
#include "game/physics/ConstraintCarController.hpp"
#include "game/physics/LapTracker.hpp"

#include <BulletCollision/CollisionDispatch/btGhostObject.h>
#include <BulletDynamics/ConstraintSolver/btSequentialImpulseConstraintSolverMt.h>
#include <btBulletDynamicsCommon.h>

#include <algorithm>

PhysicsBody::PhysicsBody(const btRigidBodyConstructionInfo& constructionInfo) : btRigidBody(constructionInfo)
{
    previousTransform.setIdentity();
    currentTransform.setIdentity();
}

PhysicsWorld::PhysicsWorld()
{
    btDefaultCollisionConstructionInfo constructionInfo;
    constructionInfo.m_persistentManifoldPool = nullptr;
    constructionInfo.m_collisionAlgorithmPool = nullptr;
    constructionInfo.m_defaultMaxPersistentManifoldPoolSize = 4096;
    constructionInfo.m_defaultMaxCollisionAlgorithmPoolSize = 4096;
    constructionInfo.m_customCollisionAlgorithmMaxElementSize = 0;
    constructionInfo.m_useEpaPenetrationAlgorithm = true;
    collisionConfiguration = std::make_unique<btDefaultCollisionConfiguration>(constructionInfo);
    dispatcher = std::make_unique<btCollisionDispatcher>(collisionConfiguration.get());
    broadphase = std::make_unique<btDbvtBroadphase>(nullptr);
    // Keeps the overlap lists of the checkpoint ghosts up to date.
    ghostPairCallback = std::make_unique<btGhostPairCallback>();
    broadphase->getOverlappingPairCache()->setInternalGhostPairCallback(ghostPairCallback.get());
    solver = std::make_unique<btSequentialImpulseConstraintSolverMt>();
    world = std::make_unique<btDiscreteDynamicsWorld>(dispatcher.get(), broadphase.get(), solver.get(),
                                                      collisionConfiguration.get());
    world->getSolverInfo().m_numIterations = 50;
    // All gravity is the radial gravity of the step.
    world->setGravity(btVector3(0.0f, 0.0f, 0.0f));
    // Bullet would otherwise refresh the bounds of every static body in every
    // sub-step, though they never move; an object moved by hand gets them
    // through placeObject.
    world->setForceUpdateAllAabbs(false);
}

PhysicsWorld::~PhysicsWorld()
{
    world.reset();
    solver.reset();
    broadphase.reset();
    ghostPairCallback.reset();
    dispatcher.reset();
    collisionConfiguration.reset();
}

void PhysicsWorld::setRadialGravity(const glm::vec3& gravityCentre, float gravityMagnitude)
{
    centre = gravityCentre;
    magnitude = gravityMagnitude;
}

glm::vec3 PhysicsWorld::gravityCentre() const
{
    return centre;
}

float PhysicsWorld::gravityMagnitude() const
{
    return magnitude;
}

float PhysicsWorld::frameTime()
{
    return std::min(Timer::getDeltaTime(), longestFrame);
}

float PhysicsWorld::step()
{
    accumulator += frameTime();
    while (accumulator >= subStep)
    {
        applyRadialGravity();
        for (PhysicsBody* body : bodyList)
        {
            body->previousTransform = body->currentTransform;
        }
        for (ConstraintCarController* controller : controllers)
        {
            controller->preStep(subStep);
        }
        // No sub-steps of Bullet's own: exactly one internal step of the given time.
        world->stepSimulation(subStep, 0, 1.0f / 60.0f);
        for (ConstraintCarController* controller : controllers)
        {
            controller->postStep();
        }
        for (PhysicsBody* body : bodyList)
        {
            body->currentTransform = body->getWorldTransform();
        }
        accumulator -= subStep;
    }
    return accumulator / subStep;
}

void PhysicsWorld::applyRadialGravity()
{
    const btVector3 gravityCentre = toBulletVector(centre);
    for (PhysicsBody* body : bodyList)
    {
        if ((body->getCollisionFlags() &
             (btCollisionObject::CF_STATIC_OBJECT | btCollisionObject::CF_KINEMATIC_OBJECT)) != 0)
        {
            continue;
        }
        const btVector3 towardCentre = gravityCentre - body->getWorldTransform().getOrigin();
        if (towardCentre.length2() > 0.0f)
        {
            body->setGravity(towardCentre / towardCentre.length() * magnitude);
        }
    }
}

void PhysicsWorld::addRigidBody(PhysicsBody* body, const glm::vec3& position, const glm::quat& rotation)
{
    const btTransform transform = toBulletTransform(rotation, position);
    body->setCenterOfMassTransform(transform);
    body->getMotionState()->setWorldTransform(transform);
    body->previousTransform = transform;
    body->currentTransform = transform;
    world->addRigidBody(body);
    bodyList.push_back(body);
}

void PhysicsWorld::removeRigidBody(PhysicsBody* body)
{
    world->removeRigidBody(body);
    const auto found = std::find(bodyList.begin(), bodyList.end(), body);
    if (found != bodyList.end())
    {
        bodyList.erase(found);
    }
}

void PhysicsWorld::placeObject(btCollisionObject* object, const glm::vec3& position, const glm::quat& rotation)
{
    const btTransform transform = toBulletTransform(rotation, position);
    object->setWorldTransform(transform);
    // The bounds of a moving body span its way from this transform to the
    // current one, which would otherwise sweep from where it stood before.
    object->setInterpolationWorldTransform(transform);
    world->updateSingleAabb(object);
}

void PhysicsWorld::addBoat(Boat* boat, const glm::vec3& position, const glm::quat& rotation)
{
    addRigidBody(boat->chassis(), position, rotation);
    if (boat->vehicle() != nullptr)
    {
        world->removeVehicle(boat->vehicle());
    }
    boat->buildVehicle(world.get());
    world->addVehicle(boat->vehicle());
    boats.push_back(boat);
}

void PhysicsWorld::addLapTracker(LapTracker* tracker)
{
    for (const auto& checkpoint : tracker->checkpoints())
    {
        world->addCollisionObject(checkpoint.get(), btBroadphaseProxy::StaticFilter,
                                  btBroadphaseProxy::AllFilter ^ btBroadphaseProxy::StaticFilter);
    }
    checkpointLists.push_back(tracker);
}

void PhysicsWorld::addController(ConstraintCarController* controller)
{
    controllers.push_back(controller);
}

void PhysicsWorld::removeAllObjects()
{
    for (int i = world->getNumConstraints() - 1; i >= 0; --i)
    {
        world->removeConstraint(world->getConstraint(i));
    }
    for (LapTracker* tracker : checkpointLists)
    {
        for (const auto& checkpoint : tracker->checkpoints())
        {
            world->removeCollisionObject(checkpoint.get());
        }
    }
    checkpointLists.clear();
    for (Boat* boat : boats)
    {
        world->removeVehicle(boat->vehicle());
    }
    boats.clear();
    for (ConstraintCarController* controller : controllers)
    {
        for (btGeneric6DofSpring2Constraint* constraint : controller->wheelConstraints())
        {
            world->removeConstraint(constraint);
        }
    }
    controllers.clear();
    btCollisionObjectArray& objects = world->getCollisionObjectArray();
    for (int i = objects.size() - 1; i >= 0; --i)
    {
        world->removeCollisionObject(objects[i]);
    }
    bodyList.clear();
}

btDiscreteDynamicsWorld* PhysicsWorld::dynamicsWorld() const
{
    return world.get();
}

const std::vector<PhysicsBody*>& PhysicsWorld::bodies() const
{
    return bodyList;
}

glm::quat interpolatedRotation(const PhysicsBody* body, float factor)
{
    const btQuaternion previous = body->previousTransform.getRotation();
    const btQuaternion current = body->currentTransform.getRotation();
    return fromBulletQuaternion(previous.slerp(current, factor));
}

glm::mat4 interpolatedTransformMatrix(const PhysicsBody* body, float factor)
{
    glm::mat4 matrix = glm::mat4_cast(interpolatedRotation(body, factor));
    const btVector3 previous = body->previousTransform.getOrigin();
    const btVector3 current = body->currentTransform.getOrigin();
    matrix[3] = glm::vec4(fromBulletVector(previous + (current - previous) * factor), 1.0f);
    return matrix;
}
