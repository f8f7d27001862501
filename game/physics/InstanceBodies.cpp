#include "game/physics/InstanceBodies.hpp"

#include "game/physics/PhysicsResources.hpp"
#include "game/physics/PhysicsWorld.hpp"
#include "graphics/ObjLoader.hpp"

#include <btBulletDynamicsCommon.h>

std::vector<glm::vec3> hullPoints(const ObjMeshData& mesh)
{
    std::vector<glm::vec3> points;
    if (!mesh.valid)
    {
        return points;
    }
    points.reserve(mesh.vertices.size());
    for (const ModelVertex& vertex : mesh.vertices)
    {
        points.push_back(vertex.position);
    }
    return points;
}

btCollisionShape* createDescribedShape(PhysicsResources& resources, const BodyDescription& description,
                                       std::span<const glm::vec3> hullPoints)
{
    switch (description.kind)
    {
    case BodyKind::Box:
        return resources.createBoxShape(description.halfExtents);
    case BodyKind::Sphere:
        return resources.createSphereShape(static_cast<float>(description.radius));
    case BodyKind::CylinderY:
        return resources.createCylinderShape(description.halfExtents, 1);
    case BodyKind::ConvexHull:
        return resources.createConvexHullShape(hullPoints);
    }
    return nullptr;
}

PhysicsBody* createInstanceBody(PhysicsResources& resources, PhysicsWorld& world, const BodyDescription& description,
                                const glm::vec3& instancePosition, const glm::quat& instanceRotation,
                                std::span<const glm::vec3> hullPoints)
{
    btCollisionShape* shape = createDescribedShape(resources, description, hullPoints);
    if (shape == nullptr)
    {
        return nullptr;
    }
    PhysicsBody* body = resources.createRigidBody(shape, static_cast<float>(description.mass), gameBodyMaterial);
    world.addRigidBody(body, instancePosition + instanceRotation * description.positionOffset,
                       instanceRotation * description.rotation);
    return body;
}

PhysicsBody* createCompoundInstanceBody(PhysicsResources& resources, PhysicsWorld& world,
                                        std::span<const BodyDescription> descriptions,
                                        const glm::vec3& instancePosition, const glm::quat& instanceRotation)
{
    std::vector<CompoundChild> children;
    double mass = 0.0;
    for (const BodyDescription& description : descriptions)
    {
        mass += description.mass;
        if (description.kind == BodyKind::Box || description.kind == BodyKind::Sphere ||
            description.kind == BodyKind::CylinderY)
        {
            children.push_back({createDescribedShape(resources, description, {}), description.positionOffset,
                                glm::quat(1.0f, 0.0f, 0.0f, 0.0f)});
        }
    }
    // An empty compound has no bounds, and its inertia would be garbage.
    if (children.empty())
    {
        return nullptr;
    }
    btCompoundShape* compound = resources.createCompoundShape(children);
    PhysicsBody* body = resources.createRigidBody(compound, static_cast<float>(mass), gameBodyMaterial);
    world.addRigidBody(body, instancePosition, instanceRotation);
    return body;
}

bool isMovingBody(const btRigidBody& body)
{
    return (body.getCollisionFlags() & btCollisionObject::CF_STATIC_OBJECT) == 0;
}
