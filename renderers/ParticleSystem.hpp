#pragma once

#include "graphics/Mesh.hpp"
#include "graphics/MeshData.hpp"
#include "graphics/Pipeline2.hpp"
#include "graphics/Texture.hpp"
#include "graphics/VertexLayouts.hpp"
#include "renderers/ParticleSimulation.hpp"
#include "renderers/ParticleSystemPointer.hpp"

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>
#include <vulkan/vulkan.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class GraphicsSystem;
struct FrameInfo;

// Camera-facing textured particles, simulated on the CPU and drawn over the
// finished frame as one instanced quad per emitter. Each emitter's pool is its
// mesh's instance data, uploaded whole every update; its live particles lead
// the pool and are the instances drawn.
struct ParticleSystem
{
    explicit ParticleSystem(GraphicsSystem* graphics);

    // The pipeline, the quad and the texture with its sampler. Progress goes to
    // standard output; what was made before a failure stays for destroy.
    bool initialise(const std::string& texturePath);
    // The emitter's index, or -1 when the pool is empty, too large for an
    // instance buffer, or its mesh cannot be made.
    std::int32_t addEmitter(const ParticleEmitter& emitter, std::int32_t count);
    // An index that names no emitter is ignored.
    void setEmitter(std::int32_t index, const glm::vec3& position, const glm::vec3& direction, float speed);
    void setEmitterActive(std::int32_t index, bool active);
    void setMatrices(const glm::mat4& view, const glm::mat4& projection);
    void update(float dt);
    // After the colour grading, into the frame's swap-chain image.
    void recordDraw(const FrameInfo& frame);
    // Releases the GPU objects, and the emitters with their meshes.
    void destroy();

    // Pushed whole to the vertex stage.
    struct PushBlock
    {
        glm::mat4 view{1.0f};
        glm::mat4 projection{1.0f};
    };

    PushBlock pushBlock;
    // Per emitter, by emitter index.
    std::vector<std::vector<Particle>> particles;
    std::vector<ParticleEmitter> emitters;
    std::vector<InstancedMesh*> meshes;
    std::vector<std::uint32_t> particleCounts;
    Pipeline2 pipeline;
    MeshData<ModelVertex> quad;
    TextureContainer textures;
    VkSampler sampler = VK_NULL_HANDLE;
    Texture* texture = nullptr;
    MeshContainer meshContainer;
    GraphicsSystem* graphics = nullptr;
    ParticleRandom random;
};

static_assert(sizeof(ParticleSystem::PushBlock) == 128);

// One colour clear value, a viewport and scissor covering the swap chain, and
// the pipeline of quads with particle instances.
bool createParticlePipeline(Pipeline2& pipeline, const PipelineDescription& description);
// Binding 0 of both frames' descriptor sets: the texture with its sampler.
void writeParticleDescriptorSets(Pipeline2& pipeline, const std::pair<Texture*, VkSampler>& texture);
// A 2 x 2 quad facing +z, two triangles.
MeshData<ModelVertex> createParticleQuad();
