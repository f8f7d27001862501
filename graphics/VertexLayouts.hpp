#pragma once

#include <glm/mat4x4.hpp>
#include <glm/vec2.hpp>
#include <glm/vec3.hpp>
#include <glm/vec4.hpp>
#include <vulkan/vulkan.h>

#include <array>
#include <cstdint>
#include <span>
#include <type_traits>
#include <vector>

enum class VertexAttributeKind : std::uint32_t
{
    Uint4 = 0,
    Float4 = 1,
    Colour = 2,
    Float4Extra = 3,
    Normal = 4,
    Position2D = 5,
    Position = 6,
    Tangent = 7,
    TexCoord = 8,
};

// An unknown kind has no format and takes no room.
constexpr VkFormat vertexAttributeFormat(VertexAttributeKind kind)
{
    switch (kind)
    {
    case VertexAttributeKind::Uint4:
        return VK_FORMAT_R32G32B32A32_UINT;
    case VertexAttributeKind::Float4:
    case VertexAttributeKind::Float4Extra:
        return VK_FORMAT_R32G32B32A32_SFLOAT;
    case VertexAttributeKind::Colour:
    case VertexAttributeKind::Normal:
    case VertexAttributeKind::Position:
    case VertexAttributeKind::Tangent:
        return VK_FORMAT_R32G32B32_SFLOAT;
    case VertexAttributeKind::Position2D:
    case VertexAttributeKind::TexCoord:
        return VK_FORMAT_R32G32_SFLOAT;
    }
    return VK_FORMAT_UNDEFINED;
}

constexpr std::uint32_t vertexAttributeSize(VertexAttributeKind kind)
{
    switch (vertexAttributeFormat(kind))
    {
    case VK_FORMAT_R32G32B32A32_UINT:
    case VK_FORMAT_R32G32B32A32_SFLOAT:
        return 16;
    case VK_FORMAT_R32G32B32_SFLOAT:
        return 12;
    case VK_FORMAT_R32G32_SFLOAT:
        return 8;
    default:
        return 0;
    }
}

// Vertex layouts: packed 32-bit floats, read per vertex from binding 0. Each
// names its attributes in field order; attribute i takes location i.

struct ModelVertex
{
    glm::vec3 position{0.0f};
    glm::vec2 texCoord{0.0f};
    glm::vec3 normal{0.0f};
    glm::vec3 tangent{0.0f};

    static constexpr std::array attributeKinds{VertexAttributeKind::Position, VertexAttributeKind::TexCoord,
                                               VertexAttributeKind::Normal, VertexAttributeKind::Tangent};
};

struct LineVertex
{
    glm::vec3 position;
    glm::vec3 colour;

    static constexpr std::array attributeKinds{VertexAttributeKind::Position, VertexAttributeKind::Colour};
};

struct ScreenVertex
{
    glm::vec2 position;
    glm::vec2 texCoord;

    static constexpr std::array attributeKinds{VertexAttributeKind::Position2D, VertexAttributeKind::TexCoord};
};

struct PositionVertex
{
    glm::vec3 position;

    static constexpr std::array attributeKinds{VertexAttributeKind::Position};
};

// Full-screen passes: the vertex shader makes its own positions.
struct NoVertex
{
    static constexpr std::array<VertexAttributeKind, 0> attributeKinds{};
};

template <typename Vertex>
constexpr std::uint32_t vertexStride()
{
    std::uint32_t stride = 0;
    for (VertexAttributeKind kind : Vertex::attributeKinds)
    {
        stride += vertexAttributeSize(kind);
    }
    return stride;
}

static_assert(sizeof(ModelVertex) == vertexStride<ModelVertex>());
static_assert(sizeof(LineVertex) == vertexStride<LineVertex>());
static_assert(sizeof(ScreenVertex) == vertexStride<ScreenVertex>());
static_assert(sizeof(PositionVertex) == vertexStride<PositionVertex>());
static_assert(vertexStride<NoVertex>() == 0);

// Instance layouts: read per instance from binding 1 as vec4 columns, the
// columns of each matrix first, then the single vectors.

struct ModelInstance
{
    glm::mat4 model;

    static constexpr std::uint32_t matrixCount = 1;
    static constexpr std::uint32_t vectorCount = 0;
};

struct TwoMatrixInstance
{
    glm::mat4 model;
    glm::mat4 normalMatrix;

    static constexpr std::uint32_t matrixCount = 2;
    static constexpr std::uint32_t vectorCount = 0;
};

// A point light: colour and radius, then position and one spare value.
struct PointLightInstance
{
    glm::vec4 colourAndRadius;
    glm::vec4 positionAndSpare;

    static constexpr std::uint32_t matrixCount = 0;
    static constexpr std::uint32_t vectorCount = 2;
};

inline constexpr std::uint32_t instanceColumnSize = 16;

template <typename Instance>
constexpr std::uint32_t instanceStride()
{
    return (4 * Instance::matrixCount + Instance::vectorCount) * instanceColumnSize;
}

static_assert(sizeof(ModelInstance) == instanceStride<ModelInstance>());
static_assert(sizeof(TwoMatrixInstance) == instanceStride<TwoMatrixInstance>());
static_assert(sizeof(PointLightInstance) == instanceStride<PointLightInstance>());

inline constexpr std::uint32_t vertexBinding = 0;
inline constexpr std::uint32_t instanceBinding = 1;

// Locations from 0 in list order, binding 0, each offset the sum of the sizes before it.
std::vector<VkVertexInputAttributeDescription> buildVertexAttributes(std::span<const VertexAttributeKind> kinds);
std::vector<VkVertexInputAttributeDescription> modelVertexAttributes();

// Append one vec4 column (or a mat4's four) at the current location and
// offset, and move both past it.
void addVec4InstanceAttribute(std::vector<VkVertexInputAttributeDescription>& attributes, std::uint32_t& location,
                              std::uint32_t binding, std::uint32_t& offset);
void addMat4InstanceAttributes(std::vector<VkVertexInputAttributeDescription>& attributes, std::uint32_t& location,
                               std::uint32_t binding, std::uint32_t& offset);

template <typename Instance>
void addInstanceAttributes(std::vector<VkVertexInputAttributeDescription>& attributes, std::uint32_t& location)
{
    std::uint32_t offset = 0;
    for (std::uint32_t matrix = 0; matrix < Instance::matrixCount; ++matrix)
    {
        addMat4InstanceAttributes(attributes, location, instanceBinding, offset);
    }
    for (std::uint32_t vector = 0; vector < Instance::vectorCount; ++vector)
    {
        addVec4InstanceAttribute(attributes, location, instanceBinding, offset);
    }
}

// The vertex input of a pipeline; the create-info made from it points into
// these lists.
struct VertexInput
{
    std::vector<VkVertexInputBindingDescription> bindings;
    std::vector<VkVertexInputAttributeDescription> attributes;
};

// Without an instance layout (Instance = void) there is no binding 1. NoVertex
// declares no binding 0 either: validation layers ask for a buffer on every
// declared binding, even one that no attribute reads.
template <typename Vertex, typename Instance = void>
VertexInput buildVertexInput()
{
    VertexInput input;
    if constexpr (vertexStride<Vertex>() > 0)
    {
        input.bindings.push_back({vertexBinding, vertexStride<Vertex>(), VK_VERTEX_INPUT_RATE_VERTEX});
    }
    input.attributes = buildVertexAttributes(Vertex::attributeKinds);
    if constexpr (!std::is_void_v<Instance>)
    {
        input.bindings.push_back({instanceBinding, instanceStride<Instance>(), VK_VERTEX_INPUT_RATE_INSTANCE});
        auto location = static_cast<std::uint32_t>(input.attributes.size());
        addInstanceAttributes<Instance>(input.attributes, location);
    }
    return input;
}

VkPipelineVertexInputStateCreateInfo vertexInputState(const VertexInput& input);
