#include "graphics/ModelCollection.hpp"

#include "graphics/ObjLoader.hpp"

#include <glm/gtc/matrix_transform.hpp>
#include <glm/mat3x3.hpp>

#include <utility>

namespace
{
constexpr ModelRef notAdded{};

ModelRef modelRef(std::uint32_t model, std::uint32_t instance)
{
    return {std::uint64_t{model} | (std::uint64_t{instance} << 32)};
}

glm::mat4 modelMatrix(const glm::vec3& position, const glm::quat& rotation)
{
    return glm::translate(glm::mat4(1.0f), position) * glm::mat4_cast(rotation);
}

ModelRef addInstance(ModelCollection& collection, std::uint32_t model, const ModelPlacement& placement)
{
    const std::uint32_t instance = collection.instanceCounts[model];
    if (instance >= collection.instanceData[model].size())
    {
        return notAdded;
    }
    ++collection.instanceCounts[model];
    ++collection.meshes[model]->instanceCount;
    collection.placements[model].push_back(placement);
    collection.instanceMatrices[model].push_back(modelMatrix(placement.position, placement.rotation));
    collection.instanceBodies[model].push_back(nullptr);
    collection.dirty[model] = true;
    collection.updateInstanceMatrix(model, instance);
    return modelRef(model, instance);
}

ModelRef addNewModel(ModelCollection& collection, const ModelPlacement& placement)
{
    if (placement.maxInstances < 1)
    {
        return notAdded;
    }
    ObjMeshData loaded = loadObj(placement.path);
    if (!loaded.valid)
    {
        return notAdded;
    }
    const MeshData<ModelVertex> meshData{std::move(loaded.vertices), std::move(loaded.indices)};
    std::vector<TwoMatrixInstance> instances(static_cast<std::size_t>(placement.maxInstances),
                                             TwoMatrixInstance{glm::mat4(1.0f), glm::mat4(1.0f)});
    instances[0] = instanceRecord(modelMatrix(placement.position, placement.rotation));
    const std::optional<InstancedMesh*> mesh = createInstancedMesh(collection.meshContainer, meshData, instances);
    if (!mesh)
    {
        return notAdded;
    }
    // The instances are added one by one below.
    (*mesh)->instanceCount = 0;
    const auto model = static_cast<std::uint32_t>(collection.meshes.size());
    collection.meshes.push_back(*mesh);
    collection.materials.emplace_back();
    collection.modelIndexByPath.emplace(placement.path, model);
    collection.instanceMatrices.emplace_back();
    collection.placements.emplace_back();
    collection.instanceCounts.push_back(0);
    collection.instanceBodies.emplace_back();
    collection.bodyBindings.emplace_back();
    collection.instanceData.push_back(std::move(instances));
    collection.dirty.push_back(true);
    return addInstance(collection, model, placement);
}
}

TwoMatrixInstance instanceRecord(const glm::mat4& model)
{
    return {model, glm::mat4(glm::transpose(glm::inverse(glm::mat3(model))))};
}

ModelCollectionPointer createModelCollection(GraphicsSystem* graphics, PhysicsWorld* world)
{
    return ModelCollectionPointer(new ModelCollection(graphics, world));
}

void destroyModelCollection(ModelCollection* collection)
{
    delete collection;
}

ModelRef addModel(ModelCollection& collection, const ModelPlacement& placement)
{
    const auto found = collection.modelIndexByPath.find(placement.path);
    if (found == collection.modelIndexByPath.end())
    {
        return addNewModel(collection, placement);
    }
    return addInstance(collection, found->second, placement);
}

bool ModelCollection::holdsInstance(std::uint32_t model, std::uint32_t instance) const
{
    return model < instanceCounts.size() && instance < instanceCounts[model];
}

void ModelCollection::setInstancePose(std::uint32_t model, std::uint32_t instance, const glm::vec3& position,
                                      const glm::quat& rotation)
{
    if (!holdsInstance(model, instance))
    {
        return;
    }
    instanceMatrices[model][instance] = modelMatrix(position, rotation);
    dirty[model] = true;
    updateInstanceMatrix(model, instance);
}

void ModelCollection::updateInstanceMatrix(std::uint32_t model, std::uint32_t instance)
{
    if (holdsInstance(model, instance))
    {
        instanceData[model][instance] = instanceRecord(instanceMatrices[model][instance]);
    }
}

void ModelCollection::setModelMaterial(std::uint32_t model, std::uint32_t layer, const glm::vec3& value3, float value)
{
    if (model >= materials.size())
    {
        return;
    }
    ModelMaterial& material = materials[model];
    material.firstValues = glm::vec3(-1.0f);
    material.firstExtra = 0.0f;
    material.value3 = value3;
    material.value = value;
    material.flag = true;
    material.layer = layer;
}

bool ModelCollection::uploadDirtyInstances()
{
    bool uploaded = true;
    for (std::size_t model = 0; model < meshes.size(); ++model)
    {
        if (!dirty[model])
        {
            continue;
        }
        const auto size = static_cast<std::uint32_t>(instanceCounts[model] * sizeof(TwoMatrixInstance));
        if (updateInstances(*meshes[model], *graphics, instanceData[model].data(), size))
        {
            dirty[model] = false;
        }
        else
        {
            uploaded = false;
        }
    }
    return uploaded;
}

void releaseModelCollection(ModelCollection& collection)
{
    destroyMeshes(collection.meshContainer);
    collection.releaseInstanceBodies();
    collection.meshes.clear();
    collection.materials.clear();
    collection.modelIndexByPath.clear();
    collection.instanceMatrices.clear();
    collection.placements.clear();
    collection.instanceCounts.clear();
    collection.instanceBodies.clear();
    collection.bodyBindings.clear();
    collection.instanceData.clear();
    collection.dirty.clear();
    collection.hullPointsByModel.clear();
}
