#pragma once

#include "graphics/VertexLayouts.hpp"

#include <glm/vec3.hpp>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// An indexed triangle list; on any failure it is empty and not valid.
struct ObjMeshData
{
    std::vector<ModelVertex> vertices;
    std::vector<std::uint32_t> indices;
    bool valid = false;
};

// Three corners of (position, texture coordinate, normal) indices, 0-based.
struct ObjFace
{
    std::array<std::uint32_t, 9> indices{};
    bool ok = false;
};

// Positions, texture coordinates, normals and triangular faces of a Wavefront
// OBJ file; corners naming the same index triple share one vertex.
ObjMeshData loadObj(const std::string& path);
// loadObj without the file: the path only names the source in messages.
ObjMeshData parseObj(std::string_view text, const std::string& path);

// The numbers after "v " or "vn ": blank-separated, missing ones 0.
std::optional<glm::vec3> parseObjVec3(std::string_view text);
// The corner groups after "f ": exactly three of up to three unsigned components.
ObjFace parseObjFace(std::string_view text);
// Unit tangents orthogonal to each normal, from the texture coordinates.
void computeTangents(std::vector<ModelVertex>& vertices, const std::vector<std::uint32_t>& indices);
