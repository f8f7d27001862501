#pragma once

#include <glm/vec2.hpp>
#include <glm/vec3.hpp>

#include <cstdint>

// Hashed noise for the generated pictures. The two-dimensional kinds repeat
// every `period` cells, so textures drawn from them tile without a seam; a
// seed picks an unrelated pattern. Everything is integer hashing and float
// arithmetic, so the same call gives the same value on every run.

// Uniform in [0, 1).
float hashUnit(std::int32_t x, std::int32_t y, std::uint32_t seed);

// Smooth noise in [0, 1] at `point` (in cells), repeating every `period` cells.
float tileNoise(glm::vec2 point, std::int32_t period, std::uint32_t seed);

// Octaves of tileNoise over the unit square: the first has `period` cells
// across it, each further one twice as many at half the weight. In [0, 1].
float tileFbm(glm::vec2 unit, std::int32_t period, int octaves, std::uint32_t seed);

struct VoronoiCell
{
    // Distances to the nearest and second-nearest feature point, in cells.
    float nearest = 0.0f;
    float second = 0.0f;
    // The nearest point's cell (wrapped into the period) and its own random value.
    glm::ivec2 cell{0, 0};
    float value = 0.0f;
};

// Cellular noise over the unit square with `period` x `period` jittered points.
VoronoiCell tileVoronoi(glm::vec2 unit, std::int32_t period, std::uint32_t seed);

// Smooth noise in [0, 1] in space (for directions of the sky); no period.
float spaceNoise(glm::vec3 point, std::uint32_t seed);
float spaceFbm(glm::vec3 point, int octaves, std::uint32_t seed);
