#include "graphics/Sphere.hpp"

#include <cmath>
#include <cstddef>
#include <numbers>

MeshData<PositionVertex> generateSphere(float radius, std::uint32_t sectors, std::uint32_t stacks)
{
    MeshData<PositionVertex> mesh;
    if (sectors < 3 || stacks < 3)
    {
        return mesh;
    }

    const float pi = std::numbers::pi_v<float>;
    const float stackStep = pi / static_cast<float>(stacks);
    const float sectorStep = 2.0f * pi / static_cast<float>(sectors);

    mesh.vertices.reserve((std::size_t{stacks} + 1) * (std::size_t{sectors} + 1));
    for (std::uint32_t i = 0; i <= stacks; ++i)
    {
        const float theta = static_cast<float>(i) * stackStep;
        for (std::uint32_t j = 0; j <= sectors; ++j)
        {
            const float phi = static_cast<float>(j) * sectorStep;
            mesh.vertices.push_back({{radius * std::sin(theta) * std::cos(phi), radius * std::cos(theta),
                                      radius * std::sin(theta) * std::sin(phi)}});
        }
    }

    mesh.indices.reserve(std::size_t{stacks} * sectors * 6);
    for (std::uint32_t i = 0; i < stacks; ++i)
    {
        for (std::uint32_t j = 0; j < sectors; ++j)
        {
            const std::uint32_t k1 = i * (sectors + 1) + j;
            const std::uint32_t k2 = k1 + sectors + 1;
            mesh.indices.insert(mesh.indices.end(), {k1 + 1, k2 + 1, k1, k1, k2 + 1, k2});
        }
    }
    return mesh;
}
