#include "graphics/Mesh.hpp"

#include "engine/GraphicsSystem.hpp"
#include "engine/Log.hpp"
#include "graphics/UniformBuffers.hpp"

#include <array>
#include <functional>
#include <limits>
#include <utility>

namespace
{
constexpr VkBufferUsageFlags vertexUsage = VK_BUFFER_USAGE_VERTEX_BUFFER_BIT | VK_BUFFER_USAGE_TRANSFER_DST_BIT;
constexpr VkBufferUsageFlags indexUsage = VK_BUFFER_USAGE_INDEX_BUFFER_BIT | VK_BUFFER_USAGE_TRANSFER_DST_BIT;

void bindIndexBufferAndDraw(const Buffer& indexBuffer, std::uint32_t indexCount, std::uint32_t instanceCount,
                            VkCommandBuffer commandBuffer)
{
    vkCmdBindIndexBuffer(commandBuffer, indexBuffer.buffer, 0, VK_INDEX_TYPE_UINT32);
    vkCmdDrawIndexed(commandBuffer, indexCount, instanceCount, 0, 0, 0);
}
}

template <typename Vertex>
std::optional<Buffer> createVertexBuffer(GraphicsSystem& graphicsSystem, const MeshData<Vertex>& meshData)
{
    const VkDeviceSize size = VkDeviceSize{meshData.vertices.size()} * sizeof(Vertex);
    return graphicsSystem.createDeviceLocalBuffer(size, vertexUsage, meshData.vertices.data());
}

template std::optional<Buffer> createVertexBuffer<LineVertex>(GraphicsSystem&, const MeshData<LineVertex>&);
template std::optional<Buffer> createVertexBuffer<PositionVertex>(GraphicsSystem&, const MeshData<PositionVertex>&);
template std::optional<Buffer> createVertexBuffer<ScreenVertex>(GraphicsSystem&, const MeshData<ScreenVertex>&);
template std::optional<Buffer> createVertexBuffer<ModelVertex>(GraphicsSystem&, const MeshData<ModelVertex>&);

std::optional<Buffer> createIndexBuffer(GraphicsSystem& graphicsSystem, const std::vector<std::uint32_t>& indices)
{
    const VkDeviceSize size = VkDeviceSize{indices.size()} * sizeof(std::uint32_t);
    return graphicsSystem.createDeviceLocalBuffer(size, indexUsage, indices.data());
}

std::optional<UniformBuffer> createInstanceBuffer(GraphicsSystem& graphicsSystem, const void* data,
                                                  std::uint32_t size)
{
    return createMappedBuffer(graphicsSystem, size, VK_BUFFER_USAGE_VERTEX_BUFFER_BIT, data);
}

namespace
{
// One frame's buffer of the vertices of a mesh that keeps them per frame.
std::optional<UniformBuffer> createFrameVertexBuffer(GraphicsSystem& graphicsSystem, const void* data,
                                                     std::uint32_t size)
{
    return createMappedBuffer(graphicsSystem, size, VK_BUFFER_USAGE_VERTEX_BUFFER_BIT, data);
}

// The mesh's vertices as `makeVertices` keeps them (in one device-local buffer,
// or in one mapped buffer per frame), then the index buffer, which every kind
// of mesh makes once.
std::optional<Mesh*> createMeshOf(MeshContainer& container, const std::vector<std::uint32_t>& indices,
                                  const std::function<bool(GraphicsSystem&, Mesh&)>& makeVertices)
{
    GraphicsSystem& graphicsSystem = *container.graphicsSystem;
    Mesh* mesh = container.meshes.emplace_back(std::make_unique<Mesh>()).get();
    if (!makeVertices(graphicsSystem, *mesh))
    {
        logDebug("Vertex buffer resource creation has failed.");
        logDebug("Mesh creation has failed.");
        return std::nullopt;
    }
    const std::optional<Buffer> indexBuffer = createIndexBuffer(graphicsSystem, indices);
    if (!indexBuffer)
    {
        logDebug("Index buffer resource creation has failed.");
        graphicsSystem.destroyBuffer(mesh->vertexBuffer);
        destroyFrameRecords(graphicsSystem, mesh->dynamicVertices);
        logDebug("Mesh creation has failed.");
        return std::nullopt;
    }
    mesh->indexBuffer = *indexBuffer;
    mesh->indexCount = static_cast<std::uint32_t>(indices.size());
    logDebug("Mesh was created.");
    return mesh;
}
}

template <typename Vertex>
std::optional<Mesh*> createMesh(MeshContainer& container, const MeshData<Vertex>& meshData)
{
    return createMeshOf(container, meshData.indices, [&meshData](GraphicsSystem& graphicsSystem, Mesh& mesh) {
        const std::optional<Buffer> vertexBuffer = createVertexBuffer(graphicsSystem, meshData);
        mesh.vertexBuffer = vertexBuffer.value_or(Buffer{});
        return vertexBuffer.has_value();
    });
}

template std::optional<Mesh*> createMesh<LineVertex>(MeshContainer&, const MeshData<LineVertex>&);
template std::optional<Mesh*> createMesh<PositionVertex>(MeshContainer&, const MeshData<PositionVertex>&);
template std::optional<Mesh*> createMesh<ScreenVertex>(MeshContainer&, const MeshData<ScreenVertex>&);

template <typename Vertex>
std::optional<Mesh*> createDynamicMesh(MeshContainer& container, const MeshData<Vertex>& meshData)
{
    return createMeshOf(container, meshData.indices, [&meshData](GraphicsSystem& graphicsSystem, Mesh& mesh) {
        return createFrameRecords(graphicsSystem, mesh.dynamicVertices, meshData.vertices.data(),
                                  static_cast<std::uint32_t>(meshData.vertices.size() * sizeof(Vertex)),
                                  createFrameVertexBuffer);
    });
}

template std::optional<Mesh*> createDynamicMesh<ScreenVertex>(MeshContainer&, const MeshData<ScreenVertex>&);

template <typename Vertex>
std::optional<Mesh*> createFrameWrittenMesh(MeshContainer& container, std::uint32_t vertexRoom,
                                            const std::vector<std::uint32_t>& indices)
{
    return createMeshOf(container, indices, [vertexRoom](GraphicsSystem& graphicsSystem, Mesh& mesh) {
        const std::uint64_t size = std::uint64_t{vertexRoom} * sizeof(Vertex);
        return size <= std::numeric_limits<std::uint32_t>::max() &&
               createFrameBuffers(graphicsSystem, mesh.dynamicVertices, static_cast<std::uint32_t>(size),
                                  createFrameVertexBuffer);
    });
}

template std::optional<Mesh*> createFrameWrittenMesh<LineVertex>(MeshContainer&, std::uint32_t,
                                                                 const std::vector<std::uint32_t>&);

template <typename Vertex, typename Instance>
std::optional<InstancedMesh*> createInstancedMesh(MeshContainer& container, const MeshData<Vertex>& meshData,
                                                  const std::vector<Instance>& instances)
{
    GraphicsSystem& graphicsSystem = *container.graphicsSystem;
    InstancedMesh* mesh = container.instancedMeshes.emplace_back(std::make_unique<InstancedMesh>()).get();

    std::optional<Buffer> vertexBuffer = createVertexBuffer(graphicsSystem, meshData);
    if (!vertexBuffer)
    {
        logDebug("Vertex buffer resource creation has failed.");
        logDebug("Instanced mesh creation has failed.");
        return std::nullopt;
    }
    const auto instanceBytes = static_cast<std::uint32_t>(instances.size() * sizeof(Instance));
    FrameRecords instanceRecords;
    if (!createFrameRecords(graphicsSystem, instanceRecords, instances.data(), instanceBytes, createInstanceBuffer))
    {
        logDebug("Instance buffer resource creation has failed.");
        graphicsSystem.destroyBuffer(*vertexBuffer);
        logDebug("Instanced mesh creation has failed.");
        return std::nullopt;
    }
    const std::optional<Buffer> indexBuffer = createIndexBuffer(graphicsSystem, meshData.indices);
    if (!indexBuffer)
    {
        logDebug("Index buffer resource creation has failed.");
        destroyFrameRecords(graphicsSystem, instanceRecords);
        graphicsSystem.destroyBuffer(*vertexBuffer);
        logDebug("Instanced mesh creation has failed.");
        return std::nullopt;
    }
    mesh->vertexBuffer = *vertexBuffer;
    mesh->instanceBuffer = std::move(instanceRecords);
    mesh->indexBuffer = *indexBuffer;
    mesh->instanceCount = instanceBytes / instanceStride<Instance>();
    mesh->indexCount = static_cast<std::uint32_t>(meshData.indices.size());
    logDebug("Mesh was created.");
    return mesh;
}

template std::optional<InstancedMesh*> createInstancedMesh<PositionVertex, PointLightInstance>(
    MeshContainer&, const MeshData<PositionVertex>&, const std::vector<PointLightInstance>&);
template std::optional<InstancedMesh*> createInstancedMesh<ModelVertex, ModelInstance>(
    MeshContainer&, const MeshData<ModelVertex>&, const std::vector<ModelInstance>&);
template std::optional<InstancedMesh*> createInstancedMesh<ModelVertex, TwoMatrixInstance>(
    MeshContainer&, const MeshData<ModelVertex>&, const std::vector<TwoMatrixInstance>&);

void drawMesh(const Mesh& mesh, const FrameInfo& frame)
{
    const VkDeviceSize offset = 0;
    const VkBuffer vertices = mesh.dynamicVertices.buffers[0].buffer == VK_NULL_HANDLE
                                  ? mesh.vertexBuffer.buffer
                                  : frameRecordsBuffer(mesh.dynamicVertices, frame.frameIndex);
    vkCmdBindVertexBuffers(frame.commandBuffer, 0, 1, &vertices, &offset);
    bindIndexBufferAndDraw(mesh.indexBuffer, mesh.indexCount, 1, frame.commandBuffer);
}

void drawInstancedMesh(const InstancedMesh& mesh, const FrameInfo& frame)
{
    drawInstancedMesh(mesh, frame, mesh.instanceCount);
}

void drawInstancedMesh(const InstancedMesh& mesh, const FrameInfo& frame, std::uint32_t instances)
{
    const std::array<VkBuffer, 2> buffers{mesh.vertexBuffer.buffer,
                                          frameRecordsBuffer(mesh.instanceBuffer, frame.frameIndex)};
    const std::array<VkDeviceSize, 2> offsets{0, 0};
    vkCmdBindVertexBuffers(frame.commandBuffer, 0, 2, buffers.data(), offsets.data());
    bindIndexBufferAndDraw(mesh.indexBuffer, mesh.indexCount, instances, frame.commandBuffer);
}

std::uint32_t instanceCount(const InstancedMesh& mesh)
{
    return mesh.instanceCount;
}

bool updateInstances(InstancedMesh& mesh, GraphicsSystem&, const void* data, std::uint32_t size)
{
    return updateFrameRecords(mesh.instanceBuffer, data, size);
}

bool updateVertices(Mesh& mesh, const void* data, std::uint32_t size)
{
    // A mesh made once has no buffers to rewrite, not even with no bytes.
    return mesh.dynamicVertices.buffers[0].buffer != VK_NULL_HANDLE &&
           updateFrameRecords(mesh.dynamicVertices, data, size);
}

void* frameVertexMemory(const Mesh& mesh, std::uint32_t frameIndex)
{
    return frameRecordsMemory(mesh.dynamicVertices, frameIndex);
}

void destroyMeshes(MeshContainer& container)
{
    GraphicsSystem* graphicsSystem = container.graphicsSystem;
    for (const std::unique_ptr<InstancedMesh>& mesh : container.instancedMeshes)
    {
        graphicsSystem->destroyBuffer(mesh->indexBuffer);
        destroyFrameRecords(*graphicsSystem, mesh->instanceBuffer);
        graphicsSystem->destroyBuffer(mesh->vertexBuffer);
    }
    container.instancedMeshes.clear();
    for (const std::unique_ptr<Mesh>& mesh : container.meshes)
    {
        graphicsSystem->destroyBuffer(mesh->indexBuffer);
        destroyFrameRecords(*graphicsSystem, mesh->dynamicVertices);
        graphicsSystem->destroyBuffer(mesh->vertexBuffer);
    }
    container.meshes.clear();
}
