#include "tools/assets/Raster.hpp"

#include <algorithm>
#include <cmath>

Canvas::Canvas(int width, int height, glm::vec4 fill)
    : width(width), height(height), pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill)
{
}

glm::vec4 over(glm::vec4 below, glm::vec4 colour, float coverage)
{
    const float alpha = colour.a * coverage;
    const float outAlpha = alpha + below.a * (1.0f - alpha);
    if (outAlpha <= 0.0f)
    {
        // Nothing visible: keep the colour, so that edges bleed into it.
        return glm::vec4(glm::vec3(colour), 0.0f);
    }
    const glm::vec3 mixed = (glm::vec3(colour) * alpha + glm::vec3(below) * below.a * (1.0f - alpha)) / outAlpha;
    return glm::vec4(mixed, outAlpha);
}

void fillShape(Canvas& canvas, glm::vec4 bounds, const std::function<float(glm::vec2)>& distance,
               const std::function<glm::vec4(glm::vec2)>& paint)
{
    const int x0 = std::max(0, static_cast<int>(std::floor(bounds.x)) - 1);
    const int y0 = std::max(0, static_cast<int>(std::floor(bounds.y)) - 1);
    const int x1 = std::min(canvas.width, static_cast<int>(std::ceil(bounds.z)) + 1);
    const int y1 = std::min(canvas.height, static_cast<int>(std::ceil(bounds.w)) + 1);
    for (int y = y0; y < y1; ++y)
    {
        for (int x = x0; x < x1; ++x)
        {
            const glm::vec2 point(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f);
            const float coverage = glm::clamp(0.5f - distance(point), 0.0f, 1.0f);
            if (coverage > 0.0f)
            {
                canvas.at(x, y) = over(canvas.at(x, y), paint(point), coverage);
            }
        }
    }
}

void fillShape(Canvas& canvas, glm::vec4 bounds, const std::function<float(glm::vec2)>& distance, glm::vec4 colour)
{
    fillShape(canvas, bounds, distance, [colour](glm::vec2) { return colour; });
}

float convexPolygonDistance(glm::vec2 point, const std::vector<glm::vec2>& corners)
{
    float area = 0.0f;
    for (std::size_t index = 0; index < corners.size(); ++index)
    {
        const glm::vec2 a = corners[index];
        const glm::vec2 b = corners[(index + 1) % corners.size()];
        area += a.x * b.y - b.x * a.y;
    }
    const float winding = area < 0.0f ? -1.0f : 1.0f;
    float outside = -1e9f;
    float edgeDistance = 1e9f;
    for (std::size_t index = 0; index < corners.size(); ++index)
    {
        const glm::vec2 a = corners[index];
        const glm::vec2 b = corners[(index + 1) % corners.size()];
        const glm::vec2 edge = b - a;
        const glm::vec2 normal = glm::normalize(glm::vec2(edge.y, -edge.x)) * winding;
        outside = std::max(outside, glm::dot(point - a, normal));
        edgeDistance = std::min(edgeDistance, segmentDistance(point, a, b, 0.0f));
    }
    return outside > 0.0f ? edgeDistance : outside;
}

void fillPolygon(Canvas& canvas, const std::vector<glm::vec2>& corners,
                 const std::function<glm::vec4(glm::vec2)>& paint)
{
    glm::vec2 low(1e9f);
    glm::vec2 high(-1e9f);
    for (const glm::vec2 corner : corners)
    {
        low = glm::min(low, corner);
        high = glm::max(high, corner);
    }
    fillShape(
        canvas, glm::vec4(low, high), [&](glm::vec2 point) { return convexPolygonDistance(point, corners); }, paint);
}

void fillPolygon(Canvas& canvas, const std::vector<glm::vec2>& corners, glm::vec4 colour)
{
    fillPolygon(canvas, corners, [colour](glm::vec2) { return colour; });
}

void bleedColour(Canvas& canvas)
{
    std::vector<bool> known(canvas.pixels.size());
    for (std::size_t index = 0; index < known.size(); ++index)
    {
        known[index] = canvas.pixels[index].a > 0.0f;
    }
    // A few texels out from every edge take the colour of their neighbours;
    // what lies further takes the mean colour of the picture, which only the
    // smallest mip levels mix in.
    for (int pass = 0; pass < 4; ++pass)
    {
        std::vector<bool> next = known;
        const std::vector<glm::vec4> source = canvas.pixels;
        for (int y = 0; y < canvas.height; ++y)
        {
            for (int x = 0; x < canvas.width; ++x)
            {
                const std::size_t index =
                    static_cast<std::size_t>(y) * static_cast<std::size_t>(canvas.width) + static_cast<std::size_t>(x);
                if (known[index])
                {
                    continue;
                }
                glm::vec3 sum(0.0f);
                int count = 0;
                for (int dy = -1; dy <= 1; ++dy)
                {
                    for (int dx = -1; dx <= 1; ++dx)
                    {
                        const int nx = x + dx;
                        const int ny = y + dy;
                        if (nx < 0 || ny < 0 || nx >= canvas.width || ny >= canvas.height)
                        {
                            continue;
                        }
                        const std::size_t neighbour =
                            static_cast<std::size_t>(ny) * static_cast<std::size_t>(canvas.width) +
                            static_cast<std::size_t>(nx);
                        if (known[neighbour])
                        {
                            sum += glm::vec3(source[neighbour]);
                            ++count;
                        }
                    }
                }
                if (count > 0)
                {
                    canvas.pixels[index] = glm::vec4(sum / static_cast<float>(count), 0.0f);
                    next[index] = true;
                }
            }
        }
        known = std::move(next);
    }
    glm::vec3 total(0.0f);
    float weight = 0.0f;
    for (const glm::vec4& pixel : canvas.pixels)
    {
        total += glm::vec3(pixel) * pixel.a;
        weight += pixel.a;
    }
    const glm::vec3 mean = weight > 0.0f ? total / weight : glm::vec3(0.0f);
    for (std::size_t index = 0; index < known.size(); ++index)
    {
        if (!known[index])
        {
            canvas.pixels[index] = glm::vec4(mean, 0.0f);
        }
    }
}

std::vector<std::uint8_t> toBytes(const Canvas& canvas)
{
    std::vector<std::uint8_t> bytes(canvas.pixels.size() * 4);
    for (std::size_t index = 0; index < canvas.pixels.size(); ++index)
    {
        for (int channel = 0; channel < 4; ++channel)
        {
            const float value = glm::clamp(canvas.pixels[index][channel], 0.0f, 1.0f);
            bytes[index * 4 + static_cast<std::size_t>(channel)] =
                static_cast<std::uint8_t>(std::lround(value * 255.0f));
        }
    }
    return bytes;
}
