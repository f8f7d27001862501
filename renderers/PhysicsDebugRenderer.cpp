#include "renderers/PhysicsDebugRenderer.hpp"

#include "engine/GraphicsSystem.hpp"
#include "engine/vulkan/Memory.hpp"
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

bool uploadVertices(GraphicsSystem& graphics, const std::vector<LineVertex>& vertices, const Buffer& target)
{
    const VkDeviceSize size = VkDeviceSize{vertices.size()} * sizeof(LineVertex);
    std::optional<Buffer> staging = graphics.createBuffer(
        size, VK_BUFFER_USAGE_TRANSFER_SRC_BIT, VK_MEMORY_PROPERTY_HOST_VISIBLE_BIT | VK_MEMORY_PROPERTY_HOST_COHERENT_BIT);
    if (!staging)
    {
        return false;
    }
    VkDevice& device = graphics.logicalDevice.device;
    bool copied = false;
    if (copyToMemory(staging->memory, device, size, vertices.data()))
    {
        unmapMemory(staging->memory, device);
        copied = graphics.copyBuffer(staging->buffer, target.buffer, size);
    }
    graphics.destroyBuffer(*staging);
    return copied;
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
    const std::optional<Mesh*> mesh = createMesh(meshContainer, lines);
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
        if (!lines.vertices.empty() && uploadVertices(*graphics, lines.vertices, lineMesh->vertexBuffer))
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
