#include "renderers/PhysicsDebugRenderer.hpp"

#include "engine/GraphicsSystem.hpp"
#include "graphics/DescriptorWriting.hpp"
#include "graphics/PipelineStates.hpp"

#include <BulletDynamics/Dynamics/btDynamicsWorld.h>

#include <numeric>
#include <vector>

namespace
{
PipelineDescription describeDebugPipeline(const std::filesystem::path& vertexShader,
                                          const std::filesystem::path& fragmentShader)
{
    PipelineDescription description;
    description.shaders = {{VK_SHADER_STAGE_VERTEX_BIT, vertexShader.string()},
                           {VK_SHADER_STAGE_FRAGMENT_BIT, fragmentShader.string()}};
    description.topology = VK_PRIMITIVE_TOPOLOGY_LINE_LIST;
    description.cullMode = VK_CULL_MODE_BACK_BIT;
    description.descriptorBindings = {{VK_DESCRIPTOR_TYPE_UNIFORM_BUFFER, VK_SHADER_STAGE_VERTEX_BIT}};
    description.colourLoadOp = VK_ATTACHMENT_LOAD_OP_LOAD;
    description.depthLoadOp = VK_ATTACHMENT_LOAD_OP_CLEAR;
    description.hasDepthAttachment = false;
    return description;
}
}

PhysicsDebugRenderer::PhysicsDebugRenderer(GraphicsSystem* graphics, std::uint32_t capacity)
    : graphics(graphics), capacity(capacity), meshContainer{graphics, {}, {}}, pipeline(graphics)
{
}

void PhysicsDebugRenderer::initialise(const std::filesystem::path& vertexShader,
                                      const std::filesystem::path& fragmentShader,
                                      const UniformBufferCollection& uniforms)
{
    if (!setupDebugPipeline(pipeline, describeDebugPipeline(vertexShader, fragmentShader)))
    {
        return;
    }
    updateDebugDescriptorSets(pipeline, uniforms);
    drawer.setLineList(&lines);
}

void PhysicsDebugRenderer::attachPhysicsWorld(btDynamicsWorld* world)
{
    if (world == nullptr)
    {
        return;
    }
    worlds.insert(world);
    world->setDebugDrawer(&drawer);
}

bool PhysicsDebugRenderer::makeLineMesh()
{
    if (lineMesh != nullptr)
    {
        return true;
    }
    if (lineMeshFailed || capacity == 0)
    {
        return false;
    }
    std::vector<std::uint32_t> indices(capacity);
    std::iota(indices.begin(), indices.end(), 0u);
    lineMesh = createFrameWrittenMesh<LineVertex>(meshContainer, capacity, indices).value_or(nullptr);
    // Tried once: a frame that fails to make it would fail again in every frame after it.
    lineMeshFailed = lineMesh == nullptr;
    return !lineMeshFailed;
}

void PhysicsDebugRenderer::record(const FrameInfo& frame)
{
    if (pipeline.pipeline == VK_NULL_HANDLE)
    {
        return;
    }
    const bool drawable = makeLineMesh();
    beginPipeline2(pipeline, frame.commandBuffer, frame.frameIndex, frame.imageIndex);
    lines = {};
    if (drawable)
    {
        lines = {static_cast<LineVertex*>(frameVertexMemory(*lineMesh, frame.frameIndex)), capacity, 0};
        for (btDynamicsWorld* world : worlds)
        {
            world->debugDrawWorld();
        }
        // Whatever Bullet draws outside a record would land in a buffer the GPU may be reading.
        lines.room = lines.count;
        lineMesh->indexCount = lines.count;
        if (lines.count > 0)
        {
            drawMesh(*lineMesh, frame);
        }
    }
    vkCmdEndRenderPass(frame.commandBuffer);
}

std::span<const LineVertex> PhysicsDebugRenderer::recordedLines() const
{
    return {lines.vertices, lines.count};
}

void PhysicsDebugRenderer::destroy()
{
    // A world steps through its drawer's mode, so it must not keep a drawer
    // that may be gone before it.
    for (btDynamicsWorld* world : worlds)
    {
        if (world->getDebugDrawer() == &drawer)
        {
            world->setDebugDrawer(nullptr);
        }
    }
    worlds.clear();
    destroyPipeline2(pipeline);
    destroyMeshes(meshContainer);
    lineMesh = nullptr;
    lineMeshFailed = false;
    lines = {};
}

void updateDebugDescriptorSets(Pipeline2& pipeline, const UniformBufferCollection& uniforms)
{
    writeDescriptorSets(pipeline, {uniformInput(uniforms)});
}

bool setupDebugPipeline(Pipeline2& pipeline, const PipelineDescription& description)
{
    appendColourClearValues(pipeline.clearValues, 1);
    const VkExtent2D extent = pipeline.graphicsSystem->swapChain.extent;
    return createPipeline2<LineVertex>(pipeline, description, {viewportCovering(extent)}, {scissorCovering(extent)});
}
