// The menu's title picture: the water planet's curve under an evening sky,
// islands with palms and a lighthouse on it, a boat cutting a wake in front,
// the game's name above and the two menu keys below. Drawn for a 16:9 window;
// the menu stretches it over whatever the window is.
#include "tools/assets/PictureDrawing.hpp"

#include "tools/assets/Noise.hpp"
#include "tools/assets/Parallel.hpp"

#include <glm/geometric.hpp>

#include <cmath>

namespace
{
constexpr int width = 1920;
constexpr int height = 1080;

const glm::vec2 planetCentre(960.0f, 2350.0f);
constexpr float planetRadius = 1640.0f;
const glm::vec2 sun(1480.0f, 520.0f);

glm::vec3 skyColour(glm::vec2 point)
{
    const float t = glm::clamp(point.y / 720.0f, 0.0f, 1.0f);
    glm::vec3 colour = glm::mix(glm::vec3(0.04f, 0.14f, 0.36f), glm::vec3(0.42f, 0.74f, 0.86f), std::pow(t, 1.6f));
    const float glow = std::exp(-glm::length(point - sun) / 260.0f);
    colour += glm::vec3(1.0f, 0.72f, 0.4f) * glow * 0.6f;
    // A few stars where the sky is darkest.
    const int cellX = static_cast<int>(point.x / 6.0f);
    const int cellY = static_cast<int>(point.y / 6.0f);
    if (hashUnit(cellX, cellY, 31) > 0.9975f)
    {
        colour += glm::vec3(0.6f) * (1.0f - t) * hashUnit(cellX, cellY, 37);
    }
    return glm::clamp(colour, 0.0f, 1.0f);
}

glm::vec3 seaColour(glm::vec2 point)
{
    const glm::vec2 offset = point - planetCentre;
    const float rim = 1.0f - glm::clamp((planetRadius - glm::length(offset)) / 420.0f, 0.0f, 1.0f);
    glm::vec3 colour = glm::mix(glm::vec3(0.0f, 0.32f, 0.42f), glm::vec3(0.1f, 0.72f, 0.74f), rim);
    // Sun glitter on the water below the sun.
    const float glitterLine = std::exp(-std::abs(point.x - sun.x) / 90.0f) * rim;
    const float sparkle = tileNoise(glm::vec2(point.x / 3.0f, point.y / 1.5f), 4096, 53);
    colour += glm::vec3(1.0f, 0.85f, 0.6f) * glitterLine * smoothStep(0.65f, 0.9f, sparkle) * 0.8f;
    // Long swells.
    colour *= 0.96f + 0.04f * std::sin(point.y * 0.09f + tileNoise(point / 60.0f, 4096, 59) * 4.0f);
    return glm::clamp(colour, 0.0f, 1.0f);
}

void fillEllipse(Canvas& canvas, glm::vec2 middle, glm::vec2 radii, glm::vec4 colour)
{
    fillShape(
        canvas, glm::vec4(middle - radii, middle + radii),
        [=](glm::vec2 point) {
            const glm::vec2 scaled = (point - middle) / radii;
            return (glm::length(scaled) - 1.0f) * std::min(radii.x, radii.y);
        },
        colour);
}

void stroke(Canvas& canvas, glm::vec2 from, glm::vec2 to, float halfWidth, glm::vec4 colour)
{
    fillShape(
        canvas, glm::vec4(glm::min(from, to) - halfWidth, glm::max(from, to) + halfWidth),
        [=](glm::vec2 point) { return segmentDistance(point, from, to, halfWidth); }, colour);
}

void drawPalm(Canvas& canvas, glm::vec2 foot, float scale, float lean)
{
    const glm::vec4 trunk(0.42f, 0.3f, 0.18f, 1.0f);
    glm::vec2 point = foot;
    for (int segment = 0; segment < 6; ++segment)
    {
        const float t = static_cast<float>(segment + 1) / 6.0f;
        const glm::vec2 next = foot + glm::vec2(lean * t * t * 40.0f, -t * 90.0f) * scale;
        stroke(canvas, point, next, (5.0f - 2.0f * t) * scale, trunk);
        point = next;
    }
    const glm::vec4 frond(0.1f, 0.45f, 0.2f, 1.0f);
    for (int leaf = 0; leaf < 7; ++leaf)
    {
        const float angle = -2.9f + static_cast<float>(leaf) * 0.45f;
        const glm::vec2 direction(std::cos(angle), std::sin(angle) * 0.6f + 0.25f);
        const glm::vec2 middle = point + direction * 30.0f * scale + glm::vec2(0.0f, 6.0f) * scale;
        const glm::vec2 end = point + direction * 56.0f * scale + glm::vec2(0.0f, 22.0f) * scale;
        stroke(canvas, point, middle, 5.0f * scale, frond);
        stroke(canvas, middle, end, 3.0f * scale, frond);
    }
}

void drawIsland(Canvas& canvas, glm::vec2 middle, float scale)
{
    fillEllipse(canvas, middle + glm::vec2(0.0f, 4.0f) * scale, glm::vec2(150.0f, 20.0f) * scale,
                glm::vec4(0.55f, 0.9f, 0.85f, 0.6f));
    fillEllipse(canvas, middle, glm::vec2(130.0f, 24.0f) * scale, glm::vec4(0.96f, 0.85f, 0.6f, 1.0f));
    fillEllipse(canvas, middle + glm::vec2(10.0f, 6.0f) * scale, glm::vec2(110.0f, 12.0f) * scale,
                glm::vec4(0.85f, 0.72f, 0.48f, 1.0f));
}

void drawLighthouse(Canvas& canvas, glm::vec2 foot, float scale)
{
    const float towerHeight = 150.0f * scale;
    for (int band = 0; band < 5; ++band)
    {
        const float top = foot.y - towerHeight * static_cast<float>(band + 1) / 5.0f;
        const float bottom = foot.y - towerHeight * static_cast<float>(band) / 5.0f;
        const float halfBottom = (16.0f - 6.0f * static_cast<float>(band) / 5.0f) * scale;
        const float halfTop = (16.0f - 6.0f * static_cast<float>(band + 1) / 5.0f) * scale;
        const std::vector<glm::vec2> corners = {glm::vec2(foot.x - halfBottom, bottom),
                                                glm::vec2(foot.x + halfBottom, bottom),
                                                glm::vec2(foot.x + halfTop, top), glm::vec2(foot.x - halfTop, top)};
        const glm::vec4 colour =
            band % 2 == 0 ? glm::vec4(0.85f, 0.12f, 0.1f, 1.0f) : glm::vec4(0.97f, 0.96f, 0.93f, 1.0f);
        fillPolygon(canvas, corners, colour);
    }
    const glm::vec2 lamp(foot.x, foot.y - towerHeight - 12.0f * scale);
    fillShape(
        canvas, glm::vec4(lamp - 70.0f * scale, lamp + 70.0f * scale),
        [=](glm::vec2 point) { return circleDistance(point, lamp, 70.0f * scale); },
        [=](glm::vec2 point) {
            const float t = glm::length(point - lamp) / (70.0f * scale);
            return glm::vec4(1.0f, 0.95f, 0.7f, 0.5f * (1.0f - t) * (1.0f - t));
        });
    fillShape(
        canvas, glm::vec4(lamp - 12.0f * scale, lamp + 12.0f * scale),
        [=](glm::vec2 point) { return roundedBoxDistance(point, lamp, glm::vec2(9.0f, 10.0f) * scale, 2.0f); },
        glm::vec4(1.0f, 0.93f, 0.6f, 1.0f));
    const std::vector<glm::vec2> roof = {lamp + glm::vec2(-13.0f, -10.0f) * scale,
                                         lamp + glm::vec2(13.0f, -10.0f) * scale,
                                         lamp + glm::vec2(0.0f, -26.0f) * scale};
    fillPolygon(canvas, roof, glm::vec4(0.2f, 0.22f, 0.25f, 1.0f));
}

void drawVolcano(Canvas& canvas, glm::vec2 foot, float scale)
{
    // Smoke first, rising and drifting from the crater, then the cone over it.
    const glm::vec2 crater = foot + glm::vec2(0.0f, -120.0f) * scale;
    for (int puff = 7; puff >= 0; --puff)
    {
        const float t = static_cast<float>(puff) / 7.0f;
        const glm::vec2 middle = crater + glm::vec2(-60.0f * t * t, -30.0f - 150.0f * t) * scale;
        const float radius = (18.0f + 34.0f * t) * scale;
        const float density = 0.6f - 0.4f * t;
        fillShape(
            canvas, glm::vec4(middle - radius, middle + radius),
            [=](glm::vec2 point) { return circleDistance(point, middle, radius); },
            [=](glm::vec2 point) {
                const float edge = glm::length(point - middle) / radius;
                return glm::vec4(0.55f, 0.56f, 0.6f, density * (1.0f - edge * edge));
            });
    }
    const std::vector<glm::vec2> cone = {
        foot + glm::vec2(-150.0f, 0.0f) * scale, foot + glm::vec2(150.0f, 0.0f) * scale,
        foot + glm::vec2(28.0f, -120.0f) * scale, foot + glm::vec2(-28.0f, -120.0f) * scale};
    fillPolygon(canvas, cone, [=](glm::vec2 point) {
        // Lit from the sun on the right.
        const float across = (point.x - foot.x) / (150.0f * scale);
        return glm::vec4(glm::mix(glm::vec3(0.16f, 0.13f, 0.13f), glm::vec3(0.34f, 0.27f, 0.24f),
                                  glm::clamp(0.5f + 0.5f * across, 0.0f, 1.0f)),
                         1.0f);
    });
    // Lava running from the crater, glowing at the rim.
    stroke(canvas, crater + glm::vec2(-6.0f, 0.0f) * scale, crater + glm::vec2(-30.0f, 70.0f) * scale, 4.0f * scale,
           glm::vec4(1.0f, 0.45f, 0.08f, 1.0f));
    stroke(canvas, crater + glm::vec2(10.0f, 0.0f) * scale, crater + glm::vec2(36.0f, 52.0f) * scale, 3.0f * scale,
           glm::vec4(1.0f, 0.5f, 0.1f, 1.0f));
    fillShape(
        canvas, glm::vec4(crater - 40.0f * scale, crater + 40.0f * scale),
        [=](glm::vec2 point) { return circleDistance(point, crater, 40.0f * scale); },
        [=](glm::vec2 point) {
            const float t = glm::length(point - crater) / (40.0f * scale);
            return glm::vec4(1.0f, 0.55f, 0.15f, 0.7f * (1.0f - t) * (1.0f - t));
        });
}

void drawBoat(Canvas& canvas, glm::vec2 middle)
{
    // The wake first: two white trails spreading behind to the lower left.
    for (int trail = 0; trail < 2; ++trail)
    {
        const float spread = trail == 0 ? -1.0f : 1.0f;
        for (int step = 0; step < 14; ++step)
        {
            const float t = static_cast<float>(step) / 14.0f;
            const glm::vec2 from = middle + glm::vec2(-90.0f - t * 520.0f, 18.0f + t * 150.0f + spread * t * 70.0f);
            const glm::vec2 to = middle + glm::vec2(-90.0f - (t + 0.06f) * 520.0f,
                                                    18.0f + (t + 0.06f) * 150.0f + spread * (t + 0.06f) * 70.0f);
            stroke(canvas, from, to, 6.0f * (1.0f - t) + 2.0f, glm::vec4(1.0f, 1.0f, 1.0f, 0.7f * (1.0f - t)));
        }
    }
    fillEllipse(canvas, middle + glm::vec2(0.0f, 24.0f), glm::vec2(120.0f, 9.0f), glm::vec4(0.0f, 0.15f, 0.2f, 0.5f));
    const std::vector<glm::vec2> hull = {middle + glm::vec2(-110.0f, -8.0f), middle + glm::vec2(125.0f, -16.0f),
                                         middle + glm::vec2(92.0f, 22.0f), middle + glm::vec2(-100.0f, 22.0f)};
    fillPolygon(canvas, hull, glm::vec4(0.96f, 0.97f, 0.98f, 1.0f));
    fillShape(
        canvas, glm::vec4(middle - glm::vec2(130.0f, 10.0f), middle + glm::vec2(130.0f, 10.0f)),
        [&](glm::vec2 point) {
            return std::max(convexPolygonDistance(point, hull), std::abs(point.y - middle.y - 4.0f) - 3.0f);
        },
        glm::vec4(0.0f, 0.62f, 0.68f, 1.0f));
    const std::vector<glm::vec2> screen = {middle + glm::vec2(-40.0f, -10.0f), middle + glm::vec2(18.0f, -13.0f),
                                           middle + glm::vec2(-8.0f, -40.0f), middle + glm::vec2(-36.0f, -40.0f)};
    fillPolygon(canvas, screen, glm::vec4(0.15f, 0.25f, 0.35f, 0.9f));
}

void drawKeys(Canvas& canvas, const PictureFaces& faces)
{
    const glm::vec2 middle(960.0f, 968.0f);
    const glm::vec2 halfSize(420.0f, 48.0f);
    fillShape(
        canvas, glm::vec4(middle - halfSize, middle + halfSize),
        [&](glm::vec2 point) { return roundedBoxDistance(point, middle, halfSize, 24.0f); },
        glm::vec4(0.01f, 0.06f, 0.1f, 0.55f));
    const float textHeight = 46.0f;
    const float baseline = middle.y + textHeight * 0.313f;
    const glm::vec4 key(1.0f, 0.84f, 0.3f, 1.0f);
    const glm::vec4 action(1.0f, 1.0f, 1.0f, 1.0f);
    const float enterWidth = textWidth(faces.bold, "Enter", textHeight);
    const float raceWidth = textWidth(faces.regular, ": race", textHeight);
    const float escapeWidth = textWidth(faces.bold, "Escape", textHeight);
    const float quitWidth = textWidth(faces.regular, ": quit", textHeight);
    const float gap = 110.0f;
    float pen = middle.x - (enterWidth + raceWidth + gap + escapeWidth + quitWidth) * 0.5f;
    drawText(canvas, faces.bold, "Enter", textHeight, glm::vec2(pen, baseline), TextAnchor::Left, key);
    pen += enterWidth;
    drawText(canvas, faces.regular, ": race", textHeight, glm::vec2(pen, baseline), TextAnchor::Left, action);
    pen += raceWidth + gap;
    drawText(canvas, faces.bold, "Escape", textHeight, glm::vec2(pen, baseline), TextAnchor::Left, key);
    pen += escapeWidth;
    drawText(canvas, faces.regular, ": quit", textHeight, glm::vec2(pen, baseline), TextAnchor::Left, action);
}
} // namespace

Canvas drawMenuBackground(const PictureFaces& faces)
{
    Canvas canvas(width, height, glm::vec4(0.0f, 0.0f, 0.0f, 1.0f));
    forEachIndex(height, [&](int y) {
        for (int x = 0; x < width; ++x)
        {
            const glm::vec2 point(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f);
            const float distance = glm::length(point - planetCentre) - planetRadius;
            const glm::vec3 sky = skyColour(point);
            const glm::vec3 sea = seaColour(point);
            // The atmosphere's bright edge over the curve of the planet.
            const float haze = std::exp(-std::abs(distance) / 30.0f) * 0.5f;
            const float seaCover = glm::clamp(0.5f - distance, 0.0f, 1.0f);
            canvas.at(x, y) = glm::vec4(
                glm::clamp(glm::mix(sky, sea, seaCover) + glm::vec3(0.6f, 0.85f, 0.9f) * haze, 0.0f, 1.0f), 1.0f);
        }
    });
    fillShape(
        canvas, glm::vec4(sun - 46.0f, sun + 46.0f), [](glm::vec2 point) { return circleDistance(point, sun, 46.0f); },
        glm::vec4(1.0f, 0.97f, 0.85f, 1.0f));

    // Islands a little below the horizon, so that they sit on the sea.
    const auto onSea = [](float x, float below) {
        const float across = x - planetCentre.x;
        return glm::vec2(x, planetCentre.y - std::sqrt(planetRadius * planetRadius - across * across) + below);
    };
    const glm::vec2 lighthouseIsland = onSea(430.0f, 40.0f);
    drawIsland(canvas, lighthouseIsland, 1.0f);
    drawPalm(canvas, lighthouseIsland + glm::vec2(-30.0f, -2.0f), 1.1f, 1.0f);
    drawPalm(canvas, lighthouseIsland + glm::vec2(40.0f, 2.0f), 0.85f, -0.8f);
    drawLighthouse(canvas, lighthouseIsland + glm::vec2(-80.0f, 4.0f), 1.0f);
    drawIsland(canvas, onSea(1150.0f, 14.0f), 0.45f);
    const glm::vec2 volcanoIsland = onSea(1770.0f, 40.0f);
    drawVolcano(canvas, volcanoIsland, 0.8f);
    drawIsland(canvas, volcanoIsland, 1.0f);
    const glm::vec2 palmIsland = onSea(1560.0f, 30.0f);
    drawIsland(canvas, palmIsland, 0.7f);
    drawPalm(canvas, palmIsland + glm::vec2(20.0f, -2.0f), 0.8f, -1.0f);
    drawBoat(canvas, glm::vec2(1240.0f, 860.0f));

    const glm::vec2 title(960.0f, 300.0f);
    const float titleHeight = 230.0f;
    const glm::vec2 titleBaseline(title.x, title.y + titleHeight * 0.313f);
    for (int ring = 6; ring >= 1; --ring)
    {
        drawText(canvas, faces.bold, "Kelvane", titleHeight,
                 titleBaseline + glm::vec2(0.0f, static_cast<float>(ring) * 2.0f), TextAnchor::Centre,
                 glm::vec4(0.0f, 0.05f, 0.12f, 0.12f));
    }
    drawText(canvas, faces.bold, "Kelvane", titleHeight, titleBaseline, TextAnchor::Centre, glm::vec4(1.0f));
    drawKeys(canvas, faces);
    return canvas;
}
