#include "renderers/PhysicsDebugRenderer.hpp"

#include "engine/GraphicsSystem.hpp"
#include "graphics/DescriptorWriting.hpp"
#include "graphics/PipelineStates.hpp"

#include <BulletDynamics/Dynamics/btDynamicsWorld.h>

#include <numeric>

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
    lines.vertices.assign(capacity, LineVertex{glm::vec3(0.0f), glm::vec3(0.0f)});
    lines.indices.resize(capacity);
    std::iota(lines.indices.begin(), lines.indices.end(), 0u);
    drawer.setLineList(&lines.vertices, capacity);
    const std::optional<Mesh*> mesh = createDynamicMesh(meshContainer, lines);
    if (!mesh)
    {
        return;
    }
    lineMesh = *mesh;
    lineMesh->indexCount = 0;
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

void PhysicsDebugRenderer::record(const FrameInfo& frame)
{
    if (pipeline.pipeline == VK_NULL_HANDLE)
    {
        return;
    }
    lines.vertices.clear();
    beginPipeline2(pipeline, frame.commandBuffer, frame.frameIndex, frame.imageIndex);
    // Without a mesh there is nowhere to put the lines, so none are collected.
    if (lineMesh != nullptr)
    {
        for (btDynamicsWorld* world : worlds)
        {
            world->debugDrawWorld();
        }
        const auto vertexBytes = static_cast<std::uint32_t>(lines.vertices.size() * sizeof(LineVertex));
        if (!lines.vertices.empty() && updateVertices(*lineMesh, lines.vertices.data(), vertexBytes))
        {
            lineMesh->indexCount = static_cast<std::uint32_t>(lines.vertices.size());
            drawMesh(*lineMesh, frame);
        }
    }
    vkCmdEndRenderPass(frame.commandBuffer);
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
    drawer.setLineList(nullptr, 0);
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
