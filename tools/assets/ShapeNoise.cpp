#include "tools/assets/ShapeNoise.hpp"

#include <glm/common.hpp>

#include <cmath>

namespace
{

float latticeValue(std::int32_t x, std::int32_t y, std::int32_t z, std::uint32_t seed)
{
    std::uint32_t h = seed * 0x9E3779B9u;
    h ^= std::uint32_t(x) * 0x85EBCA6Bu;
    h = (h ^ (h >> 13)) * 0xC2B2AE35u;
    h ^= std::uint32_t(y) * 0x27D4EB2Fu;
    h = (h ^ (h >> 15)) * 0x165667B1u;
    h ^= std::uint32_t(z) * 0x9E3779B1u;
    h = (h ^ (h >> 16)) * 0x85EBCA77u;
    h ^= h >> 13;
    return float(h & 0xFFFFFFu) / float(0xFFFFFF) * 2.0f - 1.0f;
}

float smooth(float t)
{
    return t * t * (3.0f - 2.0f * t);
}

float mix(float a, float b, float t)
{
    return a + (b - a) * t;
}

} // namespace

float shapeNoise(glm::vec3 position, std::uint32_t seed)
{
    const glm::vec3 cell = glm::floor(position);
    const glm::vec3 f = position - cell;
    const auto x = std::int32_t(cell.x);
    const auto y = std::int32_t(cell.y);
    const auto z = std::int32_t(cell.z);
    const float sx = smooth(f.x);
    const float sy = smooth(f.y);
    const float sz = smooth(f.z);
    const auto row = [&](std::int32_t dy, std::int32_t dz)
    { return mix(latticeValue(x, y + dy, z + dz, seed), latticeValue(x + 1, y + dy, z + dz, seed), sx); };
    return mix(mix(row(0, 0), row(1, 0), sy), mix(row(0, 1), row(1, 1), sy), sz);
}

float shapeFbm(glm::vec3 position, std::uint32_t seed, int octaves)
{
    float sum = 0.0f;
    float weight = 1.0f;
    float weights = 0.0f;
    for (int octave = 0; octave < octaves; ++octave)
    {
        sum += weight * shapeNoise(position, seed + std::uint32_t(octave));
        weights += weight;
        weight *= 0.5f;
        position *= 2.0f;
    }
    return sum / weights;
}
