#pragma once

#include "engine/vulkan/ResourceRecords.hpp"
#include "graphics/MeshData.hpp"
#include "graphics/VertexLayouts.hpp"

#include <glm/mat4x4.hpp>
#include <vulkan/vulkan.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class GraphicsSystem;
struct FrameInfo;

// An indexed triangle list in device-local buffers, 32-bit indices. Owners
// push `model` to the vertex stage (64 bytes at offset 0) before drawing.
struct Mesh
{
    std::uint32_t indexCount = 0;
    Buffer vertexBuffer;
    Buffer indexBuffer;
    glm::mat4 model{1.0f};
};

// Owners may change instanceCount between frames within the records that the
// instance buffers hold.
//
// Instance records change every frame (a spinning goblet, moving bodies,
// particles, a moving light), so they live in host-visible buffers kept
// mapped, one per frame in flight, instead of a device-local buffer filled
// through a staged copy that waits for the queue. An update goes into the CPU
// copy; a frame's buffer takes it when that frame draws the mesh, after the
// frame's fence has shown the GPU done with what the buffer held before.
struct InstancedMesh
{
    std::uint32_t indexCount = 0;
    Buffer vertexBuffer;
    Buffer indexBuffer;
    std::uint32_t instanceCount = 0;
    // One per frame in flight, indexed by the frame index.
    std::array<UniformBuffer, 2> instanceBuffers;
    // As many bytes as the buffers hold, fixed at creation; updates never write past it.
    std::vector<std::byte> instanceRecords;
    // The frames whose buffer lags behind instanceRecords; caught up by drawing.
    mutable std::array<bool, 2> staleFrames{};
};

// The meshes of one owner, released together by destroyMeshes. A record is
// listed before its buffers exist, so a failed creation leaves one with null
// buffers. Handed-out pointers stay valid until destroyMeshes.
struct MeshContainer
{
    GraphicsSystem* graphicsSystem = nullptr;
    std::vector<std::unique_ptr<Mesh>> meshes;
    std::vector<std::unique_ptr<InstancedMesh>> instancedMeshes;
};

template <typename Vertex>
std::optional<Buffer> createVertexBuffer(GraphicsSystem& graphicsSystem, const MeshData<Vertex>& meshData);
std::optional<Buffer> createIndexBuffer(GraphicsSystem& graphicsSystem, const std::vector<std::uint32_t>& indices);
// Host-visible, kept mapped, holding the records given.
std::optional<UniformBuffer> createInstanceBuffer(GraphicsSystem& graphicsSystem, const void* data,
                                                  std::uint32_t size);

template <typename Vertex>
std::optional<Mesh*> createMesh(MeshContainer& container, const MeshData<Vertex>& meshData);

extern template std::optional<Mesh*> createMesh<LineVertex>(MeshContainer&, const MeshData<LineVertex>&);
extern template std::optional<Mesh*> createMesh<PositionVertex>(MeshContainer&, const MeshData<PositionVertex>&);
extern template std::optional<Mesh*> createMesh<ScreenVertex>(MeshContainer&, const MeshData<ScreenVertex>&);

// The instance count is the number of records given.
template <typename Vertex, typename Instance>
std::optional<InstancedMesh*> createInstancedMesh(MeshContainer& container, const MeshData<Vertex>& meshData,
                                                  const std::vector<Instance>& instances);

extern template std::optional<InstancedMesh*> createInstancedMesh<PositionVertex, PointLightInstance>(
    MeshContainer&, const MeshData<PositionVertex>&, const std::vector<PointLightInstance>&);
extern template std::optional<InstancedMesh*> createInstancedMesh<ModelVertex, ModelInstance>(
    MeshContainer&, const MeshData<ModelVertex>&, const std::vector<ModelInstance>&);
extern template std::optional<InstancedMesh*> createInstancedMesh<ModelVertex, TwoMatrixInstance>(
    MeshContainer&, const MeshData<ModelVertex>&, const std::vector<TwoMatrixInstance>&);

// The caller has bound a pipeline whose vertex input matches and its descriptor
// sets. An instanced mesh is drawn from the frame's own instance buffer, brought
// up to date first; the frame's fence must have been waited for.
void drawMesh(const Mesh& mesh, const FrameInfo& frame);
void drawInstancedMesh(const InstancedMesh& mesh, const FrameInfo& frame);
std::uint32_t instanceCount(const InstancedMesh& mesh);

// Replaces the leading `size` bytes of the instance records, which each frame's
// buffer takes when it next draws the mesh; the buffers and the instance count
// stay. Waits for nothing. False, with nothing written, when `size` exceeds the
// buffers.
bool updateInstances(InstancedMesh& mesh, GraphicsSystem& graphicsSystem, const void* data, std::uint32_t size);

void destroyMeshes(MeshContainer& container);
