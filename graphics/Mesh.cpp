#include "graphics/Mesh.hpp"

#include "engine/GraphicsSystem.hpp"
#include "engine/Log.hpp"

#include <array>
#include <cstring>

namespace
{
constexpr VkBufferUsageFlags vertexUsage = VK_BUFFER_USAGE_VERTEX_BUFFER_BIT | VK_BUFFER_USAGE_TRANSFER_DST_BIT;
constexpr VkBufferUsageFlags indexUsage = VK_BUFFER_USAGE_INDEX_BUFFER_BIT | VK_BUFFER_USAGE_TRANSFER_DST_BIT;

static_assert(std::tuple_size_v<decltype(InstancedMesh::instanceBuffers)> == framesInFlight);

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
    std::optional<UniformBuffer> buffer = graphicsSystem.createUniformBuffer(
        size, VK_BUFFER_USAGE_VERTEX_BUFFER_BIT, VK_MEMORY_PROPERTY_HOST_VISIBLE_BIT | VK_MEMORY_PROPERTY_HOST_COHERENT_BIT);
    if (buffer)
    {
        std::memcpy(buffer->mapped, data, size);
    }
    return buffer;
}

template <typename Vertex>
std::optional<Mesh*> createMesh(MeshContainer& container, const MeshData<Vertex>& meshData)
{
    GraphicsSystem& graphicsSystem = *container.graphicsSystem;
    Mesh* mesh = container.meshes.emplace_back(std::make_unique<Mesh>()).get();

    std::optional<Buffer> vertexBuffer = createVertexBuffer(graphicsSystem, meshData);
    if (!vertexBuffer)
    {
        logDebug("Vertex buffer resource creation has failed.");
        logDebug("Mesh creation has failed.");
        return std::nullopt;
    }
    const std::optional<Buffer> indexBuffer = createIndexBuffer(graphicsSystem, meshData.indices);
    if (!indexBuffer)
    {
        logDebug("Index buffer resource creation has failed.");
        graphicsSystem.destroyBuffer(*vertexBuffer);
        logDebug("Mesh creation has failed.");
        return std::nullopt;
    }
    mesh->vertexBuffer = *vertexBuffer;
    mesh->indexBuffer = *indexBuffer;
    mesh->indexCount = static_cast<std::uint32_t>(meshData.indices.size());
    logDebug("Mesh was created.");
    return mesh;
}

template std::optional<Mesh*> createMesh<LineVertex>(MeshContainer&, const MeshData<LineVertex>&);
template std::optional<Mesh*> createMesh<PositionVertex>(MeshContainer&, const MeshData<PositionVertex>&);
template std::optional<Mesh*> createMesh<ScreenVertex>(MeshContainer&, const MeshData<ScreenVertex>&);

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
    std::array<UniformBuffer, framesInFlight> instanceBuffers;
    const auto destroyInstanceBuffers = [&] {
        for (UniformBuffer& buffer : instanceBuffers)
        {
            graphicsSystem.destroyUniformBuffer(buffer);
        }
    };
    for (UniformBuffer& buffer : instanceBuffers)
    {
        const std::optional<UniformBuffer> made = createInstanceBuffer(graphicsSystem, instances.data(), instanceBytes);
        if (!made)
        {
            logDebug("Instance buffer resource creation has failed.");
            destroyInstanceBuffers();
            graphicsSystem.destroyBuffer(*vertexBuffer);
            logDebug("Instanced mesh creation has failed.");
            return std::nullopt;
        }
        buffer = *made;
    }
    const std::optional<Buffer> indexBuffer = createIndexBuffer(graphicsSystem, meshData.indices);
    if (!indexBuffer)
    {
        logDebug("Index buffer resource creation has failed.");
        destroyInstanceBuffers();
        graphicsSystem.destroyBuffer(*vertexBuffer);
        logDebug("Instanced mesh creation has failed.");
        return std::nullopt;
    }
    mesh->vertexBuffer = *vertexBuffer;
    mesh->instanceBuffers = instanceBuffers;
    mesh->indexBuffer = *indexBuffer;
    const auto* firstByte = reinterpret_cast<const std::byte*>(instances.data());
    mesh->instanceRecords.assign(firstByte, firstByte + instanceBytes);
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
    vkCmdBindVertexBuffers(frame.commandBuffer, 0, 1, &mesh.vertexBuffer.buffer, &offset);
    bindIndexBufferAndDraw(mesh.indexBuffer, mesh.indexCount, 1, frame.commandBuffer);
}

void drawInstancedMesh(const InstancedMesh& mesh, const FrameInfo& frame)
{
    const UniformBuffer& instances = mesh.instanceBuffers[frame.frameIndex];
    if (mesh.staleFrames[frame.frameIndex])
    {
        std::memcpy(instances.mapped, mesh.instanceRecords.data(), mesh.instanceRecords.size());
        mesh.staleFrames[frame.frameIndex] = false;
    }
    const std::array<VkBuffer, 2> buffers{mesh.vertexBuffer.buffer, instances.buffer};
    const std::array<VkDeviceSize, 2> offsets{0, 0};
    vkCmdBindVertexBuffers(frame.commandBuffer, 0, 2, buffers.data(), offsets.data());
    bindIndexBufferAndDraw(mesh.indexBuffer, mesh.indexCount, mesh.instanceCount, frame.commandBuffer);
}

std::uint32_t instanceCount(const InstancedMesh& mesh)
{
    return mesh.instanceCount;
}

bool updateInstances(InstancedMesh& mesh, GraphicsSystem&, const void* data, std::uint32_t size)
{
    if (size > mesh.instanceRecords.size())
    {
        return false;
    }
    if (size == 0)
    {
        return true;
    }
    std::memcpy(mesh.instanceRecords.data(), data, size);
    mesh.staleFrames.fill(true);
    return true;
}

void destroyMeshes(MeshContainer& container)
{
    GraphicsSystem* graphicsSystem = container.graphicsSystem;
    for (const std::unique_ptr<InstancedMesh>& mesh : container.instancedMeshes)
    {
        graphicsSystem->destroyBuffer(mesh->indexBuffer);
        for (UniformBuffer& buffer : mesh->instanceBuffers)
        {
            graphicsSystem->destroyUniformBuffer(buffer);
        }
        graphicsSystem->destroyBuffer(mesh->vertexBuffer);
    }
    container.instancedMeshes.clear();
    for (const std::unique_ptr<Mesh>& mesh : container.meshes)
    {
        graphicsSystem->destroyBuffer(mesh->indexBuffer);
        graphicsSystem->destroyBuffer(mesh->vertexBuffer);
    }
    container.meshes.clear();
}
