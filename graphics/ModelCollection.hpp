#pragma once

#include "graphics/Mesh.hpp"
#include "graphics/VertexLayouts.hpp"

#include <glm/gtc/quaternion.hpp>
#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>
#include <glm/vec4.hpp>

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

class GraphicsSystem;
class PhysicsBody;
class PhysicsResources;
class PhysicsWorld;
struct BodyDescription;

struct ModelPlacement
{
    // The key of the model: paths that differ in any character are different models.
    std::string path;
    glm::vec3 position{0.0f};
    glm::quat rotation{1.0f, 0.0f, 0.0f, 0.0f};
    // Read only when the path is new: the model never holds more instances.
    std::int32_t maxInstances = 1;
};

// The fragment push constants of a model in the geometry passes, pushed whole;
// the shader gives the values their meaning.
struct ModelMaterial
{
    glm::vec3 firstValues{1.0f, 0.0f, 0.7f};
    float firstExtra = 0.0f;
    glm::vec3 value3{0.0f};
    float value = 0.0f;
    glm::vec4 fourValues{1.0f, 1.0f, 0.0f, 0.0f};
    bool flag = false;
    // Pushed as well, so kept defined.
    std::array<std::uint8_t, 3> padding{};
    // Of the model in the scene's texture arrays.
    std::uint32_t layer = 0;
};

static_assert(sizeof(ModelMaterial) == 56);
static_assert(offsetof(ModelMaterial, flag) == 48);

// The model index in the low half, the instance index in the high half; all
// bits set for a model or instance that could not be added.
struct ModelRef
{
    std::uint64_t bits = ~std::uint64_t{0};

    std::uint32_t model() const { return static_cast<std::uint32_t>(bits); }
    std::uint32_t instance() const { return static_cast<std::uint32_t>(bits >> 32); }
    bool added() const { return bits != ~std::uint64_t{0}; }
};

struct BodyBinding
{
    PhysicsBody* body = nullptr;
    std::uint32_t instance = 0;
};

// The OBJ models of a scene: one instanced mesh per model file, with its
// placed instances, their instance records and the bodies they follow. Every
// per-model list is indexed by the model index, the order of first addition.
//
// The body operations, and the making and freeing of the physics resources,
// are in game/physics/ModelCollectionBodies.cpp, so that graphics/ needs no
// physics header.
struct ModelCollection
{
    ModelCollection(GraphicsSystem* graphics, PhysicsWorld* world);
    ~ModelCollection();
    ModelCollection(const ModelCollection&) = delete;
    ModelCollection& operator=(const ModelCollection&) = delete;

    // New world matrix for an instance; uploaded with the next dirty upload.
    void setInstancePose(std::uint32_t model, std::uint32_t instance, const glm::vec3& position,
                         const glm::quat& rotation);
    // Refreshes the instance record from the instance's world matrix.
    void updateInstanceMatrix(std::uint32_t model, std::uint32_t instance);
    // A textured material; the four values are kept.
    void setModelMaterial(std::uint32_t model, std::uint32_t layer, const glm::vec3& value3, float value);
    // Uploads the instance records of every dirty model. A model whose upload
    // failed stays dirty; false then.
    bool uploadDirtyInstances();

    // The instance's body at the instance's placement, bound to it; null when
    // no body could be made (a convex hull of a model whose OBJ file did not
    // load for its first hull).
    PhysicsBody* createInstanceBody(std::uint32_t model, std::uint32_t instance, const BodyDescription& description);
    PhysicsBody* createCompoundInstanceBody(std::uint32_t model, std::uint32_t instance,
                                            const std::vector<BodyDescription>& descriptions);
    // Takes a body the instance had before out of the world; the instance
    // follows the new body when it moves.
    void setInstanceBody(std::uint32_t model, std::uint32_t instance, PhysicsBody* body);
    // Moves the instances of moving bodies to their bodies' poses between the
    // last two sub-steps, then uploads the dirty models.
    bool updateBodyInstances(float factor);
    // Takes every bound body out of the world and frees the bodies made here.
    void releaseInstanceBodies();

    bool holdsInstance(std::uint32_t model, std::uint32_t instance) const;

    std::vector<InstancedMesh*> meshes;
    std::vector<ModelMaterial> materials;
    std::map<std::string, std::uint32_t> modelIndexByPath;
    std::vector<std::vector<glm::mat4>> instanceMatrices;
    std::vector<std::vector<ModelPlacement>> placements;
    std::vector<std::uint32_t> instanceCounts;
    std::vector<std::vector<PhysicsBody*>> instanceBodies;
    std::vector<std::vector<BodyBinding>> bodyBindings;
    // The CPU copy of each instance buffer, as many records as the model's capacity.
    std::vector<std::vector<TwoMatrixInstance>> instanceData;
    std::vector<bool> dirty;
    // Per model, the points of its convex-hull bodies, read from its file for
    // the first of them: a model placed many times is read once for its hull.
    std::map<std::uint32_t, std::vector<glm::vec3>> hullPointsByModel;
    MeshContainer meshContainer;
    std::unique_ptr<PhysicsResources> physicsResources;
    GraphicsSystem* graphics = nullptr;
    PhysicsWorld* world = nullptr;
};

// Frees the collection: its lists, its map and its owned objects' memory. Its
// meshes and bodies go first, through releaseModelCollection.
void destroyModelCollection(ModelCollection* collection);
// The deleter of a collection's owning pointer, through a function defined
// where the type is complete: a header can hold the pointer with only a
// declaration of the type.
inline constexpr auto deleteModelCollection = [](ModelCollection* collection) { destroyModelCollection(collection); };
using ModelCollectionPointer = std::unique_ptr<ModelCollection, std::remove_const_t<decltype(deleteModelCollection)>>;

// The world may be null for a collection without bodies.
ModelCollectionPointer createModelCollection(GraphicsSystem* graphics, PhysicsWorld* world);

// One instance; a new path is loaded and uploaded first. Not added (all bits
// set) when the file does not load, its mesh cannot be made, or the model is
// full.
ModelRef addModel(ModelCollection& collection, const ModelPlacement& placement);
ModelRef addModelWithBody(ModelCollection& collection, const std::string& path, const BodyDescription& body,
                          const glm::vec3& position, const glm::quat& rotation, std::int32_t maxInstances);

// Destroys the meshes and the bodies and leaves the collection empty.
void releaseModelCollection(ModelCollection& collection);

// The instance record of a world matrix: the matrix, then its normal matrix.
TwoMatrixInstance instanceRecord(const glm::mat4& model);
