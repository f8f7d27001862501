#include "graphics/ModelCollection.hpp"

#include "game/physics/InstanceBodies.hpp"
#include "game/physics/PhysicsResources.hpp"
#include "game/physics/PhysicsWorld.hpp"
#include "graphics/ObjLoader.hpp"

#include <span>
#include <vector>

ModelCollection::ModelCollection(GraphicsSystem* graphics, PhysicsWorld* world)
    : meshContainer{graphics, {}, {}},
      physicsResources(std::make_unique<PhysicsResources>()),
      graphics(graphics),
      world(world)
{
}

ModelCollection::~ModelCollection() = default;

ModelRef addModelWithBody(ModelCollection& collection, const std::string& path, const BodyDescription& body,
                          const glm::vec3& position, const glm::quat& rotation, std::int32_t maxInstances)
{
    const ModelRef added = addModel(collection, {path, position, rotation, maxInstances});
    if (added.added())
    {
        collection.createInstanceBody(added.model(), added.instance(), body);
    }
    return added;
}

PhysicsBody* ModelCollection::createInstanceBody(std::uint32_t model, std::uint32_t instance,
                                                 const BodyDescription& description)
{
    if (world == nullptr || !holdsInstance(model, instance))
    {
        return nullptr;
    }
    const ModelPlacement& placement = placements[model][instance];
    std::span<const glm::vec3> points;
    if (description.kind == BodyKind::ConvexHull)
    {
        const auto [hull, first] = hullPointsByModel.try_emplace(model);
        if (first)
        {
            hull->second = hullPoints(loadObj(placement.path));
        }
        points = hull->second;
    }
    PhysicsBody* body = ::createInstanceBody(*physicsResources, *world, description, placement.position,
                                             placement.rotation, points);
    if (body != nullptr)
    {
        setInstanceBody(model, instance, body);
    }
    return body;
}

PhysicsBody* ModelCollection::createCompoundInstanceBody(std::uint32_t model, std::uint32_t instance,
                                                         const std::vector<BodyDescription>& descriptions)
{
    if (world == nullptr || !holdsInstance(model, instance))
    {
        return nullptr;
    }
    const ModelPlacement& placement = placements[model][instance];
    PhysicsBody* body = ::createCompoundInstanceBody(*physicsResources, *world, descriptions, placement.position,
                                                     placement.rotation);
    if (body != nullptr)
    {
        setInstanceBody(model, instance, body);
    }
    return body;
}

void ModelCollection::setInstanceBody(std::uint32_t model, std::uint32_t instance, PhysicsBody* body)
{
    if (!holdsInstance(model, instance))
    {
        return;
    }
    PhysicsBody*& bound = instanceBodies[model][instance];
    if (bound != nullptr && bound != body && world != nullptr)
    {
        world->removeRigidBody(bound);
    }
    // A body that has left the world must not go on moving the instance.
    std::erase_if(bodyBindings[model], [&](const BodyBinding& binding) { return binding.instance == instance; });
    bound = body;
    if (body != nullptr && isMovingBody(*body))
    {
        bodyBindings[model].push_back({body, instance});
    }
}

bool ModelCollection::updateBodyInstances(float factor)
{
    for (std::uint32_t model = 0; model < bodyBindings.size(); ++model)
    {
        for (const BodyBinding& binding : bodyBindings[model])
        {
            if (binding.body == nullptr || !isMovingBody(*binding.body))
            {
                continue;
            }
            instanceMatrices[model][binding.instance] = interpolatedTransformMatrix(binding.body, factor);
            updateInstanceMatrix(model, binding.instance);
            dirty[model] = true;
        }
    }
    return uploadDirtyInstances();
}

void ModelCollection::releaseInstanceBodies()
{
    for (std::vector<PhysicsBody*>& bodies : instanceBodies)
    {
        for (PhysicsBody*& body : bodies)
        {
            if (body != nullptr && world != nullptr)
            {
                world->removeRigidBody(body);
            }
            body = nullptr;
        }
    }
    for (std::vector<BodyBinding>& bindings : bodyBindings)
    {
        bindings.clear();
    }
    physicsResources->destroyAll();
}
