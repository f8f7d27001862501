#include "tools/assets/Noise.hpp"

#include <glm/common.hpp>
#include <glm/geometric.hpp>
#include <glm/vec2.hpp>

#include <cmath>

namespace
{
std::uint32_t mix(std::uint32_t value)
{
    value ^= value >> 16;
    value *= 0x7feb352dU;
    value ^= value >> 15;
    value *= 0x846ca68bU;
    value ^= value >> 16;
    return value;
}

std::uint32_t hash3(std::int32_t x, std::int32_t y, std::int32_t z, std::uint32_t seed)
{
    std::uint32_t value = mix(seed ^ 0x9e3779b9U);
    value = mix(value ^ static_cast<std::uint32_t>(x));
    value = mix(value ^ static_cast<std::uint32_t>(y) * 0x85ebca6bU);
    value = mix(value ^ static_cast<std::uint32_t>(z) * 0xc2b2ae35U);
    return value;
}

float toUnit(std::uint32_t value)
{
    return static_cast<float>(value >> 8) * (1.0f / 16777216.0f);
}

std::int32_t wrap(std::int32_t value, std::int32_t period)
{
    const std::int32_t remainder = value % period;
    return remainder < 0 ? remainder + period : remainder;
}

float fade(float t)
{
    return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f);
}
} // namespace

float hashUnit(std::int32_t x, std::int32_t y, std::uint32_t seed)
{
    return toUnit(hash3(x, y, 0, seed));
}

float tileNoise(glm::vec2 point, std::int32_t period, std::uint32_t seed)
{
    const float fx = std::floor(point.x);
    const float fy = std::floor(point.y);
    const auto x0 = static_cast<std::int32_t>(fx);
    const auto y0 = static_cast<std::int32_t>(fy);
    const float tx = fade(point.x - fx);
    const float ty = fade(point.y - fy);
    const std::int32_t xa = wrap(x0, period);
    const std::int32_t xb = wrap(x0 + 1, period);
    const std::int32_t ya = wrap(y0, period);
    const std::int32_t yb = wrap(y0 + 1, period);
    const float top = glm::mix(hashUnit(xa, ya, seed), hashUnit(xb, ya, seed), tx);
    const float bottom = glm::mix(hashUnit(xa, yb, seed), hashUnit(xb, yb, seed), tx);
    return glm::mix(top, bottom, ty);
}

float tileFbm(glm::vec2 unit, std::int32_t period, int octaves, std::uint32_t seed)
{
    float sum = 0.0f;
    float weight = 0.5f;
    float total = 0.0f;
    std::int32_t cells = period;
    for (int octave = 0; octave < octaves; ++octave)
    {
        sum += weight * tileNoise(unit * static_cast<float>(cells), cells, seed + static_cast<std::uint32_t>(octave));
        total += weight;
        weight *= 0.5f;
        cells *= 2;
    }
    return sum / total;
}

VoronoiCell tileVoronoi(glm::vec2 unit, std::int32_t period, std::uint32_t seed)
{
    const glm::vec2 point = unit * static_cast<float>(period);
    const glm::vec2 base = glm::floor(point);
    VoronoiCell result;
    result.nearest = 1e9f;
    result.second = 1e9f;
    for (int dy = -1; dy <= 1; ++dy)
    {
        for (int dx = -1; dx <= 1; ++dx)
        {
            const glm::ivec2 cell(static_cast<std::int32_t>(base.x) + dx, static_cast<std::int32_t>(base.y) + dy);
            const glm::ivec2 wrapped(wrap(cell.x, period), wrap(cell.y, period));
            const glm::vec2 jitter(hashUnit(wrapped.x, wrapped.y, seed), hashUnit(wrapped.x, wrapped.y, seed + 1));
            const glm::vec2 feature = glm::vec2(cell) + 0.1f + 0.8f * jitter;
            const float distance = glm::length(feature - point);
            if (distance < result.nearest)
            {
                result.second = result.nearest;
                result.nearest = distance;
                result.cell = wrapped;
                result.value = hashUnit(wrapped.x, wrapped.y, seed + 2);
            }
            else if (distance < result.second)
            {
                result.second = distance;
            }
        }
    }
    return result;
}

float spaceNoise(glm::vec3 point, std::uint32_t seed)
{
    const glm::vec3 base = glm::floor(point);
    const glm::ivec3 cell(base);
    const glm::vec3 t = point - base;
    const glm::vec3 f(fade(t.x), fade(t.y), fade(t.z));
    float corners[8];
    for (int corner = 0; corner < 8; ++corner)
    {
        corners[corner] =
            toUnit(hash3(cell.x + (corner & 1), cell.y + ((corner >> 1) & 1), cell.z + ((corner >> 2) & 1), seed));
    }
    const float x00 = glm::mix(corners[0], corners[1], f.x);
    const float x10 = glm::mix(corners[2], corners[3], f.x);
    const float x01 = glm::mix(corners[4], corners[5], f.x);
    const float x11 = glm::mix(corners[6], corners[7], f.x);
    return glm::mix(glm::mix(x00, x10, f.y), glm::mix(x01, x11, f.y), f.z);
}

float spaceFbm(glm::vec3 point, int octaves, std::uint32_t seed)
{
    float sum = 0.0f;
    float weight = 0.5f;
    float total = 0.0f;
    for (int octave = 0; octave < octaves; ++octave)
    {
        sum += weight * spaceNoise(point, seed + static_cast<std::uint32_t>(octave));
        total += weight;
        weight *= 0.5f;
        point *= 2.03f;
    }
    return sum / total;
}
