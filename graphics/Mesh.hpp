#pragma once

#include "engine/vulkan/ResourceRecords.hpp"
#include "graphics/FrameRecords.hpp"
#include "graphics/MeshData.hpp"
#include "graphics/VertexLayouts.hpp"

#include <glm/mat4x4.hpp>
#include <vulkan/vulkan.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class GraphicsSystem;
struct FrameInfo;

// An indexed triangle list, 32-bit indices. Owners push `model` to the vertex
// stage (64 bytes at offset 0) before drawing.
struct Mesh
{
    std::uint32_t indexCount = 0;
    // Device-local; null where the vertices are kept per frame.
    Buffer vertexBuffer;
    Buffer indexBuffer;
    glm::mat4 model{1.0f};
    // The vertices rewritten while frames are in flight, one mapped buffer per
    // frame: of a dynamic mesh (createDynamicMesh), with the CPU copy its
    // updates go into, or of a mesh its owner writes frame by frame
    // (createFrameWrittenMesh), without; empty in a mesh made once.
    FrameRecords dynamicVertices;
};

// Owners may change instanceCount between frames within the records that the
// instance buffers hold. Instance records change every frame (a spinning
// goblet, moving bodies, particles, a moving light), hence FrameRecords.
struct InstancedMesh
{
    std::uint32_t indexCount = 0;
    Buffer vertexBuffer;
    Buffer indexBuffer;
    std::uint32_t instanceCount = 0;
    // Each frame's made by createInstanceBuffer.
    FrameRecords instanceBuffer;
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
// One frame's buffer of an instanced mesh's records: host-visible and kept
// mapped, holding the `size` bytes of `data`, or as it comes when `data` is
// null. No value when it cannot be made.
std::optional<UniformBuffer> createInstanceBuffer(GraphicsSystem& graphicsSystem, const void* data,
                                                  std::uint32_t size);

template <typename Vertex>
std::optional<Mesh*> createMesh(MeshContainer& container, const MeshData<Vertex>& meshData);

extern template std::optional<Mesh*> createMesh<LineVertex>(MeshContainer&, const MeshData<LineVertex>&);
extern template std::optional<Mesh*> createMesh<PositionVertex>(MeshContainer&, const MeshData<PositionVertex>&);
extern template std::optional<Mesh*> createMesh<ScreenVertex>(MeshContainer&, const MeshData<ScreenVertex>&);

// A mesh whose vertices are rewritten while frames are in flight (text); its
// indices never change. It never holds more
// vertices than it is made with.
template <typename Vertex>
std::optional<Mesh*> createDynamicMesh(MeshContainer& container, const MeshData<Vertex>& meshData);

extern template std::optional<Mesh*> createDynamicMesh<ScreenVertex>(MeshContainer&, const MeshData<ScreenVertex>&);

// A mesh whose owner writes each frame's vertices straight into that frame's
// mapped buffer (frameVertexMemory), with room for `vertexRoom` vertices and no
// CPU copy: for many vertices made afresh every frame. Its indices never
// change; the owner sets the index count it draws.
template <typename Vertex>
std::optional<Mesh*> createFrameWrittenMesh(MeshContainer& container, std::uint32_t vertexRoom,
                                            const std::vector<std::uint32_t>& indices);

extern template std::optional<Mesh*> createFrameWrittenMesh<LineVertex>(MeshContainer&, std::uint32_t,
                                                                        const std::vector<std::uint32_t>&);

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
// sets. A dynamic mesh's vertices and an instanced mesh's instances are drawn
// from the frame's own buffer, brought up to date first; the frame's fence
// must have been waited for.
void drawMesh(const Mesh& mesh, const FrameInfo& frame);
void drawInstancedMesh(const InstancedMesh& mesh, const FrameInfo& frame);
// The first `instances` records alone, however many the mesh counts.
void drawInstancedMesh(const InstancedMesh& mesh, const FrameInfo& frame, std::uint32_t instances);
std::uint32_t instanceCount(const InstancedMesh& mesh);

// Replaces the leading `size` bytes of the instance records, which each frame's
// buffer takes when it next draws the mesh; the buffers and the instance count
// stay. Waits for nothing. False, with nothing written, when `size` exceeds the
// buffers.
bool updateInstances(InstancedMesh& mesh, GraphicsSystem& graphicsSystem, const void* data, std::uint32_t size);
// The same for the vertices of a dynamic mesh; the index count stays. A mesh
// that is not dynamic has no room: false.
bool updateVertices(Mesh& mesh, const void* data, std::uint32_t size);
// The frame's vertex memory of a mesh its owner writes frame by frame, for
// the owner to fill once the frame's fence has been waited for; null for any
// other mesh.
void* frameVertexMemory(const Mesh& mesh, std::uint32_t frameIndex);

void destroyMeshes(MeshContainer& container);
