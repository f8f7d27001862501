#include "game/physics/LapTracker.hpp"

#include "engine/Timer.hpp"
#include "game/physics/BulletConversions.hpp"

#include <BulletCollision/CollisionDispatch/btGhostObject.h>

void createCheckpointObject(CheckpointList& checkpoints, btCollisionShape* shape, const glm::vec3& position,
                            const glm::quat& rotation)
{
    auto checkpoint = std::make_unique<btGhostObject>();
    checkpoint->setCollisionFlags(checkpoint->getCollisionFlags() | btCollisionObject::CF_NO_CONTACT_RESPONSE);
    checkpoint->setCollisionShape(shape);
    checkpoint->setWorldTransform(toBulletTransform(rotation, position));
    checkpoints.push_back(std::move(checkpoint));
}

LapTracker::LapTracker(CheckpointList checkpoints)
    : checkpointObjects(std::move(checkpoints)), stamp(Timer::getElapsedTime())
{
}

LapTracker::~LapTracker() = default;

double LapTracker::checkCheckpoint(const btCollisionObject* object)
{
    if (checkpointObjects.empty())
    {
        return -1.0;
    }
    // Only the checkpoint after the one passed last counts, so they are passed in order.
    const btGhostObject& next = *checkpointObjects[static_cast<std::size_t>(counter + 1) % checkpointObjects.size()];
    for (int i = 0; i < next.getNumOverlappingObjects(); ++i)
    {
        if (next.getOverlappingObject(i) == object)
        {
            ++counter;
            const float now = static_cast<float>(Timer::getElapsedTime());
            const float split = static_cast<float>(now - stamp);
            stamp = now;
            return split;
        }
    }
    return -1.0;
}

int LapTracker::currentLap() const
{
    if (checkpointObjects.empty())
    {
        return 1;
    }
    return counter / static_cast<int>(checkpointObjects.size()) + 1;
}

int LapTracker::currentCheckpointIndex() const
{
    if (checkpointObjects.empty())
    {
        return 0;
    }
    return counter % static_cast<int>(checkpointObjects.size());
}

glm::vec3 LapTracker::currentCheckpointPosition() const
{
    if (checkpointObjects.empty())
    {
        return glm::vec3(0.0f);
    }
    return fromBulletVector(
        checkpointObjects[static_cast<std::size_t>(currentCheckpointIndex())]->getWorldTransform().getOrigin());
}

glm::quat LapTracker::currentCheckpointRotation() const
{
    if (checkpointObjects.empty())
    {
        return glm::quat(1.0f, 0.0f, 0.0f, 0.0f);
    }
    return fromBulletQuaternion(
        checkpointObjects[static_cast<std::size_t>(currentCheckpointIndex())]->getWorldTransform().getRotation());
}

const CheckpointList& LapTracker::checkpoints() const
{
    return checkpointObjects;
}
