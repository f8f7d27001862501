// The race's head-up display. Every layer is drawn for a square quad whose
// centre is the layer's centre and keeps a transparent margin, because the
// samplers repeat and the mip chain reaches the edges.
//
// The speedometer's needle (drawn first) and dial (drawn over it) share one
// centre, the pivot the needle turns about. The needle rests pointing left
// (-x) and the race turns it clockwise on the screen by pi / 140 per km/h, so
// the dial's marks run from 0 at the left over the top to 140 at the right.
// The needle layer also carries the dial's dark face: being round, it does
// not show the turn, and it lies under the needle and the marks.
#include "game/assets/AssetPaths.hpp"
#include "tools/assets/Parallel.hpp"
#include "tools/assets/PictureDrawing.hpp"

#include <fmt/core.h>
#include <glm/geometric.hpp>

#include <cmath>
#include <functional>
#include <numbers>

namespace
{
constexpr float pi = std::numbers::pi_v<float>;
constexpr float size = static_cast<float>(hudLayerSize);
const glm::vec2 centre(size * 0.5f, size * 0.5f);
const glm::vec4 everywhere(0.0f, 0.0f, size, size);

constexpr float dialRadius = 236.0f;
constexpr float fullScaleKmh = 140.0f;

const glm::vec4 white(1.0f, 1.0f, 1.0f, 1.0f);
const glm::vec4 shadow(0.0f, 0.02f, 0.05f, 0.55f);
const glm::vec4 turquoise(0.15f, 0.85f, 0.88f, 1.0f);
const glm::vec4 warningRed(0.95f, 0.2f, 0.12f, 1.0f);
const glm::vec4 needleOrange(1.0f, 0.42f, 0.08f, 1.0f);

// Where the needle points at `kmh`, in picture coordinates (y down).
glm::vec2 needleDirection(float kmh)
{
    const float angle = kmh * pi / fullScaleKmh;
    return glm::vec2(-std::cos(angle), -std::sin(angle));
}

// Capitals and figures centred on `middle`, with a soft shadow.
void drawLabel(Canvas& canvas, const Typeface& face, std::string_view text, float pixelHeight, glm::vec2 middle,
               glm::vec4 colour)
{
    const glm::vec2 baseline(middle.x, middle.y + pixelHeight * 0.313f);
    drawText(canvas, face, text, pixelHeight, baseline + glm::vec2(0.0f, pixelHeight * 0.04f), TextAnchor::Centre,
             shadow);
    drawText(canvas, face, text, pixelHeight, baseline, TextAnchor::Centre, colour);
}

void fillCircle(Canvas& canvas, glm::vec2 middle, float radius, glm::vec4 colour)
{
    fillShape(
        canvas, glm::vec4(middle - radius, middle + radius),
        [=](glm::vec2 point) { return circleDistance(point, middle, radius); }, colour);
}

void fillRing(Canvas& canvas, glm::vec2 middle, float inner, float outer, glm::vec4 colour)
{
    fillShape(
        canvas, glm::vec4(middle - outer, middle + outer),
        [=](glm::vec2 point) {
            const float distance = glm::length(point - middle);
            return std::max(distance - outer, inner - distance);
        },
        colour);
}

void stroke(Canvas& canvas, glm::vec2 from, glm::vec2 to, float halfWidth, glm::vec4 colour)
{
    const glm::vec2 low = glm::min(from, to) - halfWidth;
    const glm::vec2 high = glm::max(from, to) + halfWidth;
    fillShape(
        canvas, glm::vec4(low, high), [=](glm::vec2 point) { return segmentDistance(point, from, to, halfWidth); },
        colour);
}

Canvas drawDial(const PictureFaces& faces)
{
    Canvas canvas(hudLayerSize, hudLayerSize, glm::vec4(1.0f, 1.0f, 1.0f, 0.0f));
    fillRing(canvas, centre, dialRadius - 12.0f, dialRadius, glm::vec4(0.04f, 0.08f, 0.14f, 0.92f));
    fillRing(canvas, centre, dialRadius - 3.0f, dialRadius, turquoise);

    // The zone beyond the engine's reach, where only a boost carries the boat.
    fillShape(
        canvas, everywhere,
        [](glm::vec2 point) {
            const glm::vec2 offset = point - centre;
            const float distance = glm::length(offset);
            const float radial = std::max(distance - (dialRadius - 16.0f), (dialRadius - 26.0f) - distance);
            // Angles of the clockwise turn from the rest direction, left.
            const float angle = std::atan2(-offset.y, -offset.x);
            const float from = 120.0f * pi / fullScaleKmh;
            const float arc = std::max(from - angle, angle - pi) * distance;
            return std::max(radial, arc);
        },
        warningRed);

    for (int kmh = 0; kmh <= static_cast<int>(fullScaleKmh); kmh += 5)
    {
        const glm::vec2 direction = needleDirection(static_cast<float>(kmh));
        const bool major = kmh % 20 == 0;
        const bool middle = kmh % 10 == 0;
        const float outer = dialRadius - 18.0f;
        const float inner = outer - (major ? 36.0f : middle ? 24.0f : 14.0f);
        const float halfWidth = major ? 3.5f : middle ? 2.2f : 1.4f;
        stroke(canvas, centre + direction * inner, centre + direction * outer, halfWidth,
               kmh >= 120 ? glm::vec4(1.0f, 0.75f, 0.7f, 1.0f) : white);
        if (major)
        {
            drawLabel(canvas, faces.bold, fmt::format("{}", kmh), 36.0f, centre + direction * (dialRadius - 90.0f),
                      white);
        }
    }
    drawLabel(canvas, faces.regular, "km/h", 30.0f, centre + glm::vec2(0.0f, 62.0f),
              glm::vec4(0.8f, 0.92f, 0.95f, 1.0f));

    // The cap over the needle's pivot.
    fillCircle(canvas, centre, 24.0f, glm::vec4(0.1f, 0.12f, 0.16f, 1.0f));
    fillRing(canvas, centre, 18.0f, 24.0f, glm::vec4(0.55f, 0.6f, 0.66f, 1.0f));
    fillCircle(canvas, centre - glm::vec2(5.0f), 6.0f, glm::vec4(1.0f, 1.0f, 1.0f, 0.25f));
    return canvas;
}

Canvas drawNeedle()
{
    Canvas canvas(hudLayerSize, hudLayerSize, glm::vec4(0.02f, 0.05f, 0.09f, 0.0f));
    // The dial's face: dark, see-through, lighter towards its rim.
    fillShape(
        canvas, everywhere, [](glm::vec2 point) { return circleDistance(point, centre, dialRadius - 6.0f); },
        [](glm::vec2 point) {
            const float t = glm::length(point - centre) / dialRadius;
            return glm::vec4(glm::mix(glm::vec3(0.01f, 0.03f, 0.07f), glm::vec3(0.04f, 0.12f, 0.2f), t * t),
                             0.5f + 0.15f * t);
        });

    // The pointer: a long taper to the left with a short counterweight.
    const float tip = dialRadius - 26.0f;
    const std::vector<glm::vec2> blade = {centre + glm::vec2(-tip, 0.0f), centre + glm::vec2(0.0f, -9.0f),
                                          centre + glm::vec2(44.0f, -6.0f), centre + glm::vec2(44.0f, 6.0f),
                                          centre + glm::vec2(0.0f, 9.0f)};
    fillShape(
        canvas, everywhere,
        [&](glm::vec2 point) { return convexPolygonDistance(point - glm::vec2(0.0f, 3.0f), blade); },
        glm::vec4(0.0f, 0.0f, 0.0f, 0.35f));
    fillPolygon(canvas, blade, [](glm::vec2 point) {
        // Lit along its upper edge.
        const float lit = glm::clamp((centre.y - point.y) / 9.0f, 0.0f, 1.0f);
        return glm::mix(needleOrange, glm::vec4(1.0f, 0.78f, 0.45f, 1.0f), lit * 0.6f);
    });
    return canvas;
}

// A medal for the place badges: gold, silver and bronze for the podium,
// sea blue for the rest.
Canvas drawPlaceBadge(const PictureFaces& faces, int place)
{
    const glm::vec3 metals[] = {glm::vec3(0.98f, 0.76f, 0.2f), glm::vec3(0.8f, 0.83f, 0.87f),
                                glm::vec3(0.8f, 0.5f, 0.26f)};
    const glm::vec3 metal = place <= 3 ? metals[place - 1] : glm::vec3(0.14f, 0.52f, 0.66f);
    Canvas canvas(hudLayerSize, hudLayerSize, glm::vec4(metal, 0.0f));

    // Ribbon tails behind the medal.
    for (const float side : {-1.0f, 1.0f})
    {
        const std::vector<glm::vec2> tail = {
            centre + glm::vec2(side * 40.0f, 120.0f), centre + glm::vec2(side * 130.0f, 120.0f),
            centre + glm::vec2(side * 150.0f, 240.0f), centre + glm::vec2(side * 105.0f, 215.0f),
            centre + glm::vec2(side * 70.0f, 245.0f)};
        fillPolygon(canvas, tail, glm::vec4(0.08f, 0.3f, 0.6f, 1.0f));
    }
    fillCircle(canvas, centre + glm::vec2(0.0f, 6.0f), 196.0f, glm::vec4(0.0f, 0.0f, 0.0f, 0.35f));
    fillShape(
        canvas, everywhere, [](glm::vec2 point) { return circleDistance(point, centre, 196.0f); },
        [metal](glm::vec2 point) {
            // Brighter towards the upper left, as if lit from there.
            const float light =
                glm::dot(glm::normalize(point - centre + glm::vec2(0.001f)), glm::normalize(glm::vec2(-1.0f, -1.0f)));
            return glm::vec4(glm::clamp(metal * (0.85f + 0.25f * light), 0.0f, 1.0f), 1.0f);
        });
    fillRing(canvas, centre, 160.0f, 170.0f, glm::vec4(glm::clamp(metal * 0.7f, 0.0f, 1.0f), 1.0f));

    const glm::vec4 ink = place <= 3 ? glm::vec4(0.22f, 0.14f, 0.05f, 1.0f) : white;
    drawLabel(canvas, faces.bold, fmt::format("{}.", place), 190.0f, centre + glm::vec2(0.0f, -30.0f), ink);
    drawLabel(canvas, faces.bold, "Place", 62.0f, centre + glm::vec2(0.0f, 92.0f), ink);
    return canvas;
}

Canvas drawLapBadge(const PictureFaces& faces, int lap)
{
    Canvas canvas(hudLayerSize, hudLayerSize, glm::vec4(0.05f, 0.2f, 0.3f, 0.0f));
    const glm::vec2 halfSize(200.0f, 210.0f);
    fillShape(
        canvas, everywhere,
        [&](glm::vec2 point) { return roundedBoxDistance(point - glm::vec2(0.0f, 6.0f), centre, halfSize, 48.0f); },
        glm::vec4(0.0f, 0.0f, 0.0f, 0.35f));
    fillShape(
        canvas, everywhere, [&](glm::vec2 point) { return roundedBoxDistance(point, centre, halfSize, 48.0f); },
        [](glm::vec2 point) {
            const float t = (point.y - (centre.y - 210.0f)) / 420.0f;
            return glm::vec4(glm::mix(glm::vec3(0.05f, 0.62f, 0.68f), glm::vec3(0.03f, 0.3f, 0.42f), t), 0.92f);
        });
    fillShape(
        canvas, everywhere,
        [&](glm::vec2 point) {
            const float box = roundedBoxDistance(point, centre, halfSize - 12.0f, 38.0f);
            return std::abs(box) - 2.5f;
        },
        glm::vec4(1.0f, 1.0f, 1.0f, 0.8f));

    drawLabel(canvas, faces.bold, "Lap", 64.0f, centre + glm::vec2(0.0f, -138.0f), white);
    drawLabel(canvas, faces.bold, fmt::format("{}", lap), 230.0f, centre + glm::vec2(0.0f, 10.0f), white);
    // One pip per lap, filled up to this one.
    for (int pip = 1; pip <= 3; ++pip)
    {
        const glm::vec2 middle = centre + glm::vec2(static_cast<float>(pip - 2) * 56.0f, 156.0f);
        if (pip <= lap)
        {
            fillCircle(canvas, middle, 17.0f, glm::vec4(1.0f, 0.84f, 0.25f, 1.0f));
        }
        else
        {
            fillRing(canvas, middle, 13.0f, 17.0f, glm::vec4(1.0f, 1.0f, 1.0f, 0.8f));
        }
    }
    return canvas;
}

Canvas drawDebugPanel(const PictureFaces& faces)
{
    Canvas canvas(hudLayerSize, hudLayerSize, glm::vec4(0.02f, 0.03f, 0.05f, 0.0f));
    const glm::vec2 halfSize(232.0f, 232.0f);
    fillShape(
        canvas, everywhere, [&](glm::vec2 point) { return roundedBoxDistance(point, centre, halfSize, 20.0f); },
        glm::vec4(0.02f, 0.03f, 0.05f, 0.8f));
    // A measuring grid with a cross through the middle.
    for (int line = 1; line < 8; ++line)
    {
        const float offset = -192.0f + static_cast<float>(line) * 48.0f;
        const glm::vec4 colour = line == 4 ? glm::vec4(1.0f, 0.85f, 0.2f, 0.9f) : glm::vec4(0.4f, 0.7f, 0.8f, 0.35f);
        const float halfWidth = line == 4 ? 1.5f : 0.8f;
        stroke(canvas, centre + glm::vec2(offset, -160.0f), centre + glm::vec2(offset, 192.0f), halfWidth, colour);
        stroke(canvas, centre + glm::vec2(-192.0f, offset + 16.0f), centre + glm::vec2(192.0f, offset + 16.0f),
               halfWidth, colour);
    }
    drawText(canvas, faces.bold, "Debug", 40.0f, centre + glm::vec2(-200.0f, -190.0f), TextAnchor::Left, white);
    // Swatches of the primaries and a grey ramp, to check colours on screen.
    const glm::vec4 swatches[] = {glm::vec4(1.0f, 0.0f, 0.0f, 1.0f), glm::vec4(0.0f, 1.0f, 0.0f, 1.0f),
                                  glm::vec4(0.0f, 0.0f, 1.0f, 1.0f), glm::vec4(1.0f, 1.0f, 1.0f, 1.0f)};
    for (int index = 0; index < 4; ++index)
    {
        const glm::vec2 middle = centre + glm::vec2(40.0f + static_cast<float>(index) * 46.0f, -204.0f);
        fillShape(
            canvas, everywhere,
            [=](glm::vec2 point) { return roundedBoxDistance(point, middle, glm::vec2(16.0f), 4.0f); },
            swatches[index]);
    }
    return canvas;
}
} // namespace

std::vector<NamedPicture> drawHudLayers(const PictureFaces& faces)
{
    // In the order of the names.
    std::vector<std::function<Canvas()>> painters;
    painters.emplace_back([&] { return drawDial(faces); });
    painters.emplace_back([] { return drawNeedle(); });
    for (int place = 1; place <= 6; ++place)
    {
        painters.emplace_back([&faces, place] { return drawPlaceBadge(faces, place); });
    }
    painters.emplace_back([&] { return drawDebugPanel(faces); });
    for (int lap = 1; lap <= 3; ++lap)
    {
        painters.emplace_back([&faces, lap] { return drawLapBadge(faces, lap); });
    }
    std::vector<NamedPicture> layers(painters.size(), NamedPicture{"", Canvas(0, 0, glm::vec4(0.0f))});
    forEachIndex(static_cast<int>(painters.size()), [&](int index) {
        const auto slot = static_cast<std::size_t>(index);
        NamedPicture layer{hudTextureNames[slot], painters[slot]()};
        bleedColour(layer.canvas);
        layers[slot] = std::move(layer);
    });
    return layers;
}
