#pragma once

#include "engine/vulkan/ResourceRecords.hpp"
#include "graphics/Mesh.hpp"
#include "graphics/MeshData.hpp"
#include "graphics/Pipeline2.hpp"
#include "graphics/VertexLayouts.hpp"
#include "renderers/PhysicsDebugDrawer.hpp"

#include <cstdint>
#include <filesystem>
#include <unordered_set>

class GraphicsSystem;
class btDynamicsWorld;
struct FrameInfo;

// Bullet's own picture of the attached physics worlds (shape wireframes and
// contact points) as coloured lines over the finished frame. The lines are
// collected afresh in every record into one line mesh made once at full
// capacity; what does not fit is dropped.
struct PhysicsDebugRenderer
{
    PhysicsDebugRenderer(GraphicsSystem* graphics, std::uint32_t capacity);

    // The pipeline, then the line mesh, its descriptor sets and the drawer's
    // list. Failures are logged by the creators; the lines are then skipped.
    // `uniforms` holds the camera's view-projection matrix per frame.
    void initialise(const std::filesystem::path& vertexShader, const std::filesystem::path& fragmentShader,
                    const UniformBufferCollection& uniforms);
    // The world draws through this renderer's drawer until destroy, which the
    // world must outlive.
    void attachPhysicsWorld(btDynamicsWorld* world);
    // Collects, uploads and draws this frame's lines in the pipeline's own
    // render pass; with no lines the pass is still begun and ended.
    void record(const FrameInfo& frame);
    // Detaches the drawer from the worlds and releases the GPU objects.
    void destroy();

    GraphicsSystem* graphics = nullptr;
    // Line vertices the GPU buffers hold.
    std::uint32_t capacity = 0;
    MeshContainer meshContainer;
    Pipeline2 pipeline;
    // The vertices are the line list; the indices count up and never change.
    MeshData<LineVertex> lines;
    Mesh* lineMesh = nullptr;
    std::unordered_set<btDynamicsWorld*> worlds;
    PhysicsDebugDrawer drawer;
};

// Binding 0 of both frames' descriptor sets: that frame's uniform buffer.
void updateDebugDescriptorSets(Pipeline2& pipeline, const UniformBufferCollection& uniforms);
// One colour clear value, a viewport and scissor covering the swap chain, and
// the line pipeline.
bool setupDebugPipeline(Pipeline2& pipeline, const PipelineDescription& description);
