#pragma once

#include <glm/vec2.hpp>
#include <glm/vec3.hpp>

#include <cstddef>

// The vertex of every model mesh: 44 bytes, packed, as the model shaders read it.
struct ModelVertex
{
    glm::vec3 position{0.0f};
    glm::vec2 texCoord{0.0f};
    glm::vec3 normal{0.0f};
    glm::vec3 tangent{0.0f};
};

static_assert(sizeof(ModelVertex) == 44);
static_assert(offsetof(ModelVertex, texCoord) == 12);
static_assert(offsetof(ModelVertex, normal) == 20);
static_assert(offsetof(ModelVertex, tangent) == 32);
