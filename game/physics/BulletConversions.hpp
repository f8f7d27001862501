#pragma once

#include <LinearMath/btQuaternion.h>
#include <LinearMath/btTransform.h>
#include <LinearMath/btVector3.h>
#include <glm/gtc/quaternion.hpp>
#include <glm/vec3.hpp>

btQuaternion toBulletQuaternion(const glm::quat& rotation);
glm::quat fromBulletQuaternion(const btQuaternion& rotation);
btVector3 toBulletVector(const glm::vec3& vector);
glm::vec3 fromBulletVector(const btVector3& vector);
btTransform toBulletTransform(const glm::quat& rotation, const glm::vec3& position);
