#pragma once

#include <BulletCollision/CollisionDispatch/btGhostObject.h>
#include <glm/gtc/quaternion.hpp>
#include <glm/vec3.hpp>

#include <memory>
#include <vector>

// Each checkpoint on the heap: the dynamics world keeps pointers to them, so
// they must never move.
using CheckpointList = std::vector<std::unique_ptr<btGhostObject>>;

// Appends a checkpoint that senses overlaps without any contact response.
void createCheckpointObject(CheckpointList& checkpoints, btCollisionShape* shape, const glm::vec3& position,
                            const glm::quat& rotation);

// Counts the checkpoints passed in order; index 0 is the start line.
class LapTracker
{
public:
    explicit LapTracker(CheckpointList checkpointObjects);
    ~LapTracker();
    LapTracker(const LapTracker&) = delete;
    LapTracker& operator=(const LapTracker&) = delete;

    // Seconds since the previous pass when the object is inside the next
    // checkpoint, else -1.
    double checkCheckpoint(const btCollisionObject* object);
    int currentLap() const;
    // The checkpoint passed last.
    int currentCheckpointIndex() const;
    glm::vec3 currentCheckpointPosition() const;
    glm::quat currentCheckpointRotation() const;
    const CheckpointList& checkpoints() const;

private:
    CheckpointList checkpointObjects;
    int counter = 0;
    double stamp = 0.0;
};
