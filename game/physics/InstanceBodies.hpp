#pragma once

#include <glm/gtc/quaternion.hpp>
#include <glm/vec3.hpp>

#include <cstdint>
#include <span>
#include <vector>

class btCollisionShape;
class btRigidBody;
class PhysicsBody;
class PhysicsResources;
class PhysicsWorld;
struct ObjMeshData;

enum class BodyKind : std::int32_t
{
    Box = 0,
    Sphere = 1,
    CylinderY = 2,
    // The hull of the model's own vertices.
    ConvexHull = 3,
};

// The body of one model instance, relative to the instance's pose.
struct BodyDescription
{
    BodyKind kind = BodyKind::Box;
    double radius = 0.0;
    double mass = 0.0;
    glm::vec3 positionOffset{0.0f};
    glm::vec3 halfExtents{0.0f};
    glm::quat rotation{1.0f, 0.0f, 0.0f, 0.0f};
};

// The points of a convex hull of the model: every vertex position of its
// mesh; none for a mesh that did not load.
std::vector<glm::vec3> hullPoints(const ObjMeshData& mesh);

// The described shape, made in the resources; hullPoints are read only for a
// convex hull. Null for an unknown kind or a hull without points.
btCollisionShape* createDescribedShape(PhysicsResources& resources, const BodyDescription& description,
                                       std::span<const glm::vec3> hullPoints);

// The body of an instance at the given pose, added to the world; null (and
// nothing made) when the shape cannot be made.
PhysicsBody* createInstanceBody(PhysicsResources& resources, PhysicsWorld& world, const BodyDescription& description,
                                const glm::vec3& instancePosition, const glm::quat& instanceRotation,
                                std::span<const glm::vec3> hullPoints);

// One body of the boxes, spheres and Y cylinders of the descriptions, each at
// its offset without rotation; its mass counts every description. Null when
// no description has such a shape.
PhysicsBody* createCompoundInstanceBody(PhysicsResources& resources, PhysicsWorld& world,
                                        std::span<const BodyDescription> descriptions,
                                        const glm::vec3& instancePosition, const glm::quat& instanceRotation);

// Whether a model instance bound to the body must follow it: anything but a static body.
bool isMovingBody(const btRigidBody& body);
