#pragma once

#include <glm/vec3.hpp>

#include <cstdint>

// Smooth value noise for shaping the models (not the pictures), fixed by its seed: the same
// point and seed give the same value on every run.

// In [-1, 1], varying over about one unit of the position.
float shapeNoise(glm::vec3 position, std::uint32_t seed);
// Octaves of value noise, each twice as fine and half as strong; in [-1, 1].
float shapeFbm(glm::vec3 position, std::uint32_t seed, int octaves);
