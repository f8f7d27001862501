#include "graphics/ObjLoader.hpp"

#include <glm/geometric.hpp>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

// Every failed statement is logged; the log would drown the fuzzer's own output.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (std::freopen("/dev/null", "w", stdout) == nullptr)
    {
        std::abort();
    }
    return 0;
}

// Whatever the text, a mesh is either empty and invalid, or whole triangles
// over its own vertices with tangents that are zero or of unit length.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const ObjMeshData mesh = parseObj(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.obj");
    if (!mesh.valid)
    {
        if (!mesh.vertices.empty() || !mesh.indices.empty())
        {
            std::abort();
        }
        return 0;
    }
    if (mesh.indices.size() % 3 != 0 || mesh.vertices.size() > mesh.indices.size())
    {
        std::abort();
    }
    for (const std::uint32_t index : mesh.indices)
    {
        if (index >= mesh.vertices.size())
        {
            std::abort();
        }
    }
    for (const ModelVertex& vertex : mesh.vertices)
    {
        const float length = glm::length(vertex.tangent);
        if (vertex.tangent != glm::vec3(0.0f) && !(std::fabs(length - 1.0f) < 1e-3f))
        {
            std::abort();
        }
    }
    return 0;
}
