#pragma once

#include <glm/geometric.hpp>
#include <glm/vec3.hpp>

// The direction through the texel at column `column` and row `row` (rows top
// to bottom) of face `face` (in cube-layer order +X, -X, +Y, -Y, +Z, -Z) of
// `size` x `size` texels: the same table the environment lighting reads the
// cube with, so neighbouring faces meet.
inline glm::vec3 cubeTexelDirection(int face, int column, int row, int size)
{
    const float u = (static_cast<float>(column) + 0.5f) / static_cast<float>(size) * 2.0f - 1.0f;
    const float v = (static_cast<float>(row) + 0.5f) / static_cast<float>(size) * 2.0f - 1.0f;
    glm::vec3 direction;
    switch (face)
    {
    case 0:
        direction = glm::vec3(1.0f, -v, -u);
        break;
    case 1:
        direction = glm::vec3(-1.0f, -v, u);
        break;
    case 2:
        direction = glm::vec3(u, 1.0f, v);
        break;
    case 3:
        direction = glm::vec3(u, -1.0f, -v);
        break;
    case 4:
        direction = glm::vec3(u, -v, 1.0f);
        break;
    default:
        direction = glm::vec3(-u, -v, -1.0f);
        break;
    }
    return glm::normalize(direction);
}
