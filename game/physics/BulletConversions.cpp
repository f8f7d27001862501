#include "game/physics/BulletConversions.hpp"

btQuaternion toBulletQuaternion(const glm::quat& rotation)
{
    return btQuaternion(rotation.x, rotation.y, rotation.z, rotation.w);
}

glm::quat fromBulletQuaternion(const btQuaternion& rotation)
{
    return glm::quat(rotation.w(), rotation.x(), rotation.y(), rotation.z());
}

btVector3 toBulletVector(const glm::vec3& vector)
{
    return btVector3(vector.x, vector.y, vector.z);
}

glm::vec3 fromBulletVector(const btVector3& vector)
{
    return glm::vec3(vector.x(), vector.y(), vector.z());
}

btTransform toBulletTransform(const glm::quat& rotation, const glm::vec3& position)
{
    btTransform transform;
    transform.setIdentity();
    transform.getBasis().setRotation(toBulletQuaternion(rotation));
    transform.setOrigin(toBulletVector(position));
    return transform;
}
