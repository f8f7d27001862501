#include "renderers/PhysicsDebugRenderer.hpp"

#include "engine/GraphicsSystem.hpp"
#include "graphics/DescriptorWriting.hpp"
#include "graphics/PipelineStates.hpp"
#include "graphics/UniformBuffers.hpp"

#include <BulletDynamics/Dynamics/btDynamicsWorld.h>

#include <optional>

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
    : graphics(graphics), capacity(capacity), pipeline(graphics)
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

bool PhysicsDebugRenderer::makeLineBuffers()
{
    if (lineBuffers[0].buffer != VK_NULL_HANDLE)
    {
        return true;
    }
    if (lineBuffersFailed || capacity == 0)
    {
        return false;
    }
    // Tried once: a frame that fails to make them would fail again in every frame after it.
    lineBuffersFailed = !createMappedBuffers(*graphics, lineBuffers, VkDeviceSize{capacity} * sizeof(LineVertex),
                                             VK_BUFFER_USAGE_VERTEX_BUFFER_BIT);
    return !lineBuffersFailed;
}

void PhysicsDebugRenderer::record(const FrameInfo& frame)
{
    if (pipeline.pipeline == VK_NULL_HANDLE)
    {
        return;
    }
    beginPipeline2(pipeline, frame.commandBuffer, frame.frameIndex, frame.imageIndex);
    lastLines = nullptr;
    lastVertexCount = 0;
    if (makeLineBuffers())
    {
        const UniformBuffer& buffer = lineBuffers[frame.frameIndex];
        auto* vertices = static_cast<LineVertex*>(buffer.mapped);
        drawer.beginLines(vertices, capacity);
        for (btDynamicsWorld* world : worlds)
        {
            world->debugDrawWorld();
        }
        lastLines = vertices;
        lastVertexCount = static_cast<std::uint32_t>(drawer.vertexCount());
        // Whatever Bullet draws outside a record would land in a buffer the GPU may be reading.
        drawer.beginLines(nullptr, 0);
        if (lastVertexCount > 0)
        {
            const VkDeviceSize offset = 0;
            vkCmdBindVertexBuffers(frame.commandBuffer, 0, 1, &buffer.buffer, &offset);
            vkCmdDraw(frame.commandBuffer, lastVertexCount, 1, 0, 0);
        }
    }
    vkCmdEndRenderPass(frame.commandBuffer);
}

std::span<const LineVertex> PhysicsDebugRenderer::recordedLines() const
{
    return {lastLines, lastVertexCount};
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
    for (UniformBuffer& buffer : lineBuffers)
    {
        graphics->destroyUniformBuffer(buffer);
    }
    lineBuffersFailed = false;
    lastLines = nullptr;
    lastVertexCount = 0;
    drawer.beginLines(nullptr, 0);
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
