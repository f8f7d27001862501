#pragma once

#include <glm/common.hpp>
#include <glm/geometric.hpp>
#include <glm/vec2.hpp>
#include <glm/vec3.hpp>
#include <glm/vec4.hpp>

#include <cstdint>
#include <functional>
#include <vector>

// A picture being drawn: straight (not premultiplied) RGBA in [0, 1], rows
// top to bottom, pixel centres at half-integer coordinates.
struct Canvas
{
    int width = 0;
    int height = 0;
    std::vector<glm::vec4> pixels;

    Canvas(int width, int height, glm::vec4 fill);

    glm::vec4& at(int x, int y)
    {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
    }
    const glm::vec4& at(int x, int y) const
    {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
    }
};

// Lays `colour` over `below` at `coverage` (0 to 1), straight alpha.
glm::vec4 over(glm::vec4 below, glm::vec4 colour, float coverage);

// Fills the shape whose signed distance (pixels, negative inside) `distance`
// gives, anti-aliased over one pixel, with the colour `paint` gives at each
// point. Only pixels within `bounds` (min x, min y, max x, max y) are visited.
void fillShape(Canvas& canvas, glm::vec4 bounds, const std::function<float(glm::vec2)>& distance,
               const std::function<glm::vec4(glm::vec2)>& paint);
void fillShape(Canvas& canvas, glm::vec4 bounds, const std::function<float(glm::vec2)>& distance, glm::vec4 colour);

// Signed distances of the shapes the pictures are made of.
inline float circleDistance(glm::vec2 point, glm::vec2 centre, float radius)
{
    return glm::length(point - centre) - radius;
}

inline float roundedBoxDistance(glm::vec2 point, glm::vec2 centre, glm::vec2 halfSize, float cornerRadius)
{
    const glm::vec2 q = glm::abs(point - centre) - halfSize + cornerRadius;
    return glm::length(glm::max(q, 0.0f)) + glm::min(glm::max(q.x, q.y), 0.0f) - cornerRadius;
}

// A stroke of the given half width from a to b with round ends.
inline float segmentDistance(glm::vec2 point, glm::vec2 a, glm::vec2 b, float halfWidth)
{
    const glm::vec2 along = b - a;
    const float t = glm::clamp(glm::dot(point - a, along) / glm::dot(along, along), 0.0f, 1.0f);
    return glm::length(point - a - along * t) - halfWidth;
}

// A convex polygon with corners in either winding.
float convexPolygonDistance(glm::vec2 point, const std::vector<glm::vec2>& corners);

// Fills a convex polygon, visiting only the pixels around it.
void fillPolygon(Canvas& canvas, const std::vector<glm::vec2>& corners,
                 const std::function<glm::vec4(glm::vec2)>& paint);
void fillPolygon(Canvas& canvas, const std::vector<glm::vec2>& corners, glm::vec4 colour);

// Pixels that are wholly transparent take the colour of their visible
// neighbours, so that filtering and mip levels do not darken the edges.
void bleedColour(Canvas& canvas);

// Rounded 8-bit RGBA.
std::vector<std::uint8_t> toBytes(const Canvas& canvas);

inline float smoothStep(float edge0, float edge1, float x)
{
    const float t = glm::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}
