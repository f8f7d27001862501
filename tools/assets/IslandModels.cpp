#include "tools/assets/ModelMeshes.hpp"
#include "tools/assets/ShapeNoise.hpp"

#include <glm/geometric.hpp>
#include <glm/gtc/constants.hpp>

#include <array>

#include <algorithm>
#include <cmath>

Mesh buildPlanetFloor(const TrackModel& row)
{
    // Gentle dunes a fraction of a metre high; the sphere sits about the planet's centre.
    const GeodesicSphere sphere = geodesicSphere(4);
    std::vector<glm::vec3> points;
    for (const glm::vec3& direction : sphere.directions)
    {
        points.push_back(direction * (seaBedRadius + 0.5f * shapeFbm(direction * 9.0f, 11, 3)));
    }
    Mesh mesh;
    for (const glm::uvec3& tri : sphere.triangles)
    {
        addFlatTriangle(mesh, points[tri.x], points[tri.y], points[tri.z], repeating(8.0f), glm::vec3(0.0f),
                        2.0f * row.halfWidth);
    }
    return mesh;
}

Mesh buildIce(const TrackModel& row, TrackModelId id)
{
    // Chunky facets from the sea bed to a snowy top; the bergs' peaks lean off centre.
    const float h = row.height;
    const float d = row.depth;
    const AtlasRegion ice = repeating(4.0f);
    std::vector<RadialRing> rings;
    std::uint32_t seed = 0;
    int segments = 0;
    if (id == TrackModelId::Ice1)
    {
        // A flat floe with a tilted top.
        rings = {{0.0f, -d, ice},
                 {0.78f, -d, ice},
                 {0.97f, -0.25f * d, ice},
                 {1.0f, 0.3f * h, ice},
                 {0.9f, 0.75f * h, ice},
                 {0.72f, h, ice, {0.1f, 0.05f}},
                 {0.0f, 0.9f * h, ice, {0.1f, 0.05f}}};
        seed = 21;
        segments = 7;
    }
    else
    {
        const glm::vec2 lean = id == TrackModelId::Ice2 ? glm::vec2(0.2f, -0.1f) : glm::vec2(-0.15f, 0.2f);
        rings = {{0.0f, -d, ice},
                 {0.75f, -d, ice},
                 {0.95f, -0.25f * d, ice},
                 {1.0f, 0.1f * h, ice},
                 {0.8f, 0.45f * h, ice, 0.3f * lean},
                 {0.5f, 0.75f * h, ice, 0.7f * lean},
                 {0.2f, 0.93f * h, ice, lean},
                 {0.0f, h, ice, lean}};
        seed = id == TrackModelId::Ice2 ? 22 : 23;
        segments = id == TrackModelId::Ice2 ? 6 : 8;
    }
    Mesh mesh;
    addRadialSolid(mesh, rings, segments, seed, 0.25f, row.halfWidth, row.halfLength);
    return mesh;
}

Mesh buildIsland(const TrackModel& row, TrackModelId id)
{
    // A low sandy mound: steep below the water, a gentle beach, a rounded top.
    const float h = row.height;
    const float d = row.depth;
    const AtlasRegion sand = repeating(4.0f);
    const RadialRing rings[] = {
        {0.0f, -d, sand},        {1.0f, -d, sand},         {0.97f, -0.18f * d, sand}, {0.9f, 0.1f * h, sand},
        {0.75f, 0.5f * h, sand}, {0.45f, 0.88f * h, sand}, {0.0f, h, sand},
    };
    Mesh mesh;
    addRadialSolid(mesh, rings, 14, id == TrackModelId::Island1 ? 31 : 32, 0.14f, row.halfWidth, row.halfLength);
    return mesh;
}

Mesh buildVolcano(const TrackModel& row)
{
    // A cone from a wide shore to a narrow summit, with a crater inside the
    // rim; the rock's own picture carries the glowing lava in its cracks.
    const float h = row.height;
    const float d = row.depth;
    const AtlasRegion rock = repeating(6.0f);
    const RadialRing rings[] = {
        {0.0f, -d, rock},         {1.0f, -d, rock},         {0.98f, -0.12f * d, rock}, {0.92f, 0.05f * h, rock},
        {0.6f, 0.32f * h, rock},  {0.38f, 0.62f * h, rock}, {0.24f, 0.9f * h, rock},   {0.2f, h, rock},
        {0.13f, 0.85f * h, rock}, {0.0f, 0.85f * h, rock},
    };
    Mesh mesh;
    addRadialSolid(mesh, rings, 16, 41, 0.1f, row.halfWidth, row.halfLength);
    return mesh;
}

Mesh buildPalm(const TrackModel& row)
{
    Mesh mesh;
    // A trunk of stacked rings leaning toward +X, the lean growing with height.
    constexpr int pieces = 7;
    constexpr float lean = 0.8f;
    // The fronds rise a little before they droop; the crown sits that much lower.
    const float trunkHeight = row.height - 0.06f;
    // The lowest piece stands straight, so its foot lies flat at y = 0.
    const float straight = 1.0f / pieces;
    const auto spine = [&](float s)
    {
        const float bend = std::max(0.0f, s - straight) / (1.0f - straight);
        return glm::vec3(lean * bend * bend, trunkHeight * s, 0.0f);
    };
    // Each piece takes its share of the trunk's rings in the picture.
    const auto trunkShare = [](float s0, float s1)
    {
        const float t = palmTrunk.max.y - palmTrunk.min.y;
        return AtlasRegion{{palmTrunk.min.x, palmTrunk.max.y - s1 * t}, {palmTrunk.max.x, palmTrunk.max.y - s0 * t}};
    };
    for (int i = 0; i < pieces; ++i)
    {
        const float s0 = float(i) / pieces;
        const float s1 = float(i + 1) / pieces;
        const float radius = 0.32f - 0.13f * s0;
        addTube(mesh, spine(s0), spine(s1), radius, radius * 0.8f, 6, trunkShare(s0, s1));
    }

    // Fronds: folded, drooping leaves round the crown, both faces drawn.
    const glm::vec3 crown = spine(1.0f);
    constexpr int fronds = 8;
    const float reach = row.halfWidth - lean;
    for (int f = 0; f < fronds; ++f)
    {
        const float angle = glm::two_pi<float>() * float(f) / fronds;
        const glm::vec3 out(std::cos(angle), 0.0f, std::sin(angle));
        const glm::vec3 side(-out.z, 0.0f, out.x);
        const float length = f % 2 == 0 ? reach : 0.85f * reach;
        constexpr int steps = 5;
        std::vector<std::array<glm::vec3, 3>> sections;
        for (int i = 0; i <= steps; ++i)
        {
            const float t = float(i) / steps;
            const float width = 0.55f * std::pow(std::sin(glm::pi<float>() * std::min(t, 0.96f)), 0.7f) + 0.04f;
            const glm::vec3 middle = crown + out * (length * t) + glm::vec3(0.0f, 0.6f * t - 1.9f * t * t, 0.0f);
            const glm::vec3 fold(0.0f, 0.12f * width, 0.0f);
            sections.push_back({middle - side * width - fold, middle, middle + side * width - fold});
        }
        // The picture's frond runs along u with its midrib across the middle
        // of the upper half: one edge, midrib, other edge down the rows.
        const auto uvAt = [](int step, int across)
        {
            return glm::vec2(palmFrond.min.x + (palmFrond.max.x - palmFrond.min.x) * float(step) / steps,
                             palmFrond.min.y + (palmFrond.max.y - palmFrond.min.y) * (0.02f + 0.48f * float(across)));
        };
        for (int i = 0; i < steps; ++i)
        {
            for (int half = 0; half < 2; ++half)
            {
                const MeshVertex quad[] = {
                    {sections[i][half], uvAt(i, half)},
                    {sections[i][half + 1], uvAt(i, half + 1)},
                    {sections[i + 1][half + 1], uvAt(i + 1, half + 1)},
                    {sections[i + 1][half], uvAt(i + 1, half)},
                };
                addDoubleSidedQuad(mesh, quad);
            }
        }
    }

    // Coconuts under the crown.
    for (int c = 0; c < 3; ++c)
    {
        const float angle = glm::two_pi<float>() * float(c) / 3.0f + 0.5f;
        addGeodesic(mesh, crown + glm::vec3(0.22f * std::cos(angle), -0.25f, 0.22f * std::sin(angle)), glm::vec3(0.16f),
                    1, trunkShare(0.9f, 1.0f));
    }
    return mesh;
}
