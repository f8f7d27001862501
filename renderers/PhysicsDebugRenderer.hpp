#pragma once

#include "engine/vulkan/ResourceRecords.hpp"
#include "graphics/Mesh.hpp"
#include "graphics/Pipeline2.hpp"
#include "graphics/VertexLayouts.hpp"
#include "renderers/PhysicsDebugDrawer.hpp"

#include <cstdint>
#include <filesystem>
#include <span>
#include <unordered_set>

class btDynamicsWorld;
class GraphicsSystem;
struct FrameInfo;

// Bullet's own picture of the attached physics worlds (shape wireframes and
// contact points) as coloured lines over the finished frame. The lines are
// collected afresh in every record, straight into the frame's own mapped
// vertex buffer of the line mesh (the frame's fence has shown the GPU done
// with it), and drawn in order, two vertices a line; what does not fit is
// dropped.
struct PhysicsDebugRenderer
{
    PhysicsDebugRenderer(GraphicsSystem* graphics, std::uint32_t capacity);

    // The pipeline and its descriptor sets, and the drawer's line list. A
    // failure is logged by the creators; the lines are then skipped.
    // `uniforms` holds the camera's view-projection matrix per frame.
    void initialise(const std::filesystem::path& vertexShader, const std::filesystem::path& fragmentShader,
                    const UniformBufferCollection& uniforms);
    // The world draws through this renderer's drawer until destroy, which the
    // world must outlive.
    void attachPhysicsWorld(btDynamicsWorld* world);
    // Collects and draws this frame's lines in the pipeline's own render
    // pass; with no lines the pass is still begun and ended. The line mesh is
    // made by the first record, as only a debug key shows the lines; when it
    // cannot be made (logged) no lines are drawn.
    void record(const FrameInfo& frame);
    // The lines of the last record, in the buffer of its frame; read them only
    // once that frame is done.
    std::span<const LineVertex> recordedLines() const;
    // Detaches the drawer from the worlds and releases the GPU objects.
    void destroy();

    GraphicsSystem* graphics = nullptr;
    // Line vertices each frame's buffer holds.
    std::uint32_t capacity = 0;
    MeshContainer meshContainer;
    Pipeline2 pipeline;
    // The drawer's list: over the frame's vertex buffer while a record
    // collects the lines, full (no more room) outside, so that whatever Bullet
    // draws between records goes nowhere.
    LineList lines;
    // Its vertices written by each record into the frame's buffer; its indices
    // 0 to capacity - 1, so that the draw takes the vertices in order. Null
    // until the first record.
    Mesh* lineMesh = nullptr;
    std::unordered_set<btDynamicsWorld*> worlds;
    PhysicsDebugDrawer drawer;

private:
    bool makeLineMesh();

    bool lineMeshFailed = false;
};

// Binding 0 of both frames' descriptor sets: that frame's uniform buffer.
void updateDebugDescriptorSets(Pipeline2& pipeline, const UniformBufferCollection& uniforms);
// One colour clear value, a viewport and scissor covering the swap chain, and
// the line pipeline.
bool setupDebugPipeline(Pipeline2& pipeline, const PipelineDescription& description);
