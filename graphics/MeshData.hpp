#pragma once

#include <cstdint>
#include <vector>

// An indexed triangle list on the CPU, three indices per triangle.
template <typename Vertex>
struct MeshData
{
    std::vector<Vertex> vertices;
    std::vector<std::uint32_t> indices;
};
