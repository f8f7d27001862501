#include "tools/assets/MeshBuilder.hpp"

#include "tools/assets/ShapeNoise.hpp"

#include <fmt/core.h>
#include <glm/common.hpp>
#include <glm/geometric.hpp>
#include <glm/gtc/constants.hpp>
#include <glm/gtc/quaternion.hpp>
#include <glm/mat3x3.hpp>

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <utility>

namespace
{

// The texture frame a flat face takes from the axis its normal leans on most:
// tangent and bitangent with cross(normal, tangent) = bitangent.
struct FaceFrame
{
    glm::vec3 tangent;
    glm::vec3 bitangent;
};

FaceFrame faceFrame(glm::vec3 normal)
{
    const glm::vec3 a = glm::abs(normal);
    if (a.y >= a.x && a.y >= a.z)
    {
        return normal.y > 0.0f ? FaceFrame{{1, 0, 0}, {0, 0, -1}} : FaceFrame{{1, 0, 0}, {0, 0, 1}};
    }
    if (a.x >= a.z)
    {
        return normal.x > 0.0f ? FaceFrame{{0, 0, -1}, {0, 1, 0}} : FaceFrame{{0, 0, 1}, {0, 1, 0}};
    }
    return normal.z > 0.0f ? FaceFrame{{1, 0, 0}, {0, 1, 0}} : FaceFrame{{-1, 0, 0}, {0, 1, 0}};
}

// Region coordinates from fractions across (u) and up (v) the region.
glm::vec2 inRegion(AtlasRegion region, float across, float up)
{
    return {region.min.x + across * (region.max.x - region.min.x),
            region.min.y + (1.0f - up) * (region.max.y - region.min.y)};
}

glm::vec3 profileEdgeNormal(const ProfilePoint& from, const ProfilePoint& to)
{
    const glm::vec2 direction(to.radius - from.radius, to.height - from.height);
    const float length = glm::length(direction);
    return length > 0.0f ? glm::vec3(direction.y / length, -direction.x / length, 0.0f) : glm::vec3(0.0f, 1.0f, 0.0f);
}

// A normal (radial part, vertical part) turned to the angle about Y.
glm::vec3 aroundY(glm::vec2 profileNormal, float angle)
{
    return glm::normalize(
        glm::vec3(profileNormal.x * std::sin(angle), profileNormal.y, profileNormal.x * std::cos(angle)));
}

glm::vec3 onLathe(const ProfilePoint& point, float angle)
{
    return {point.radius * std::sin(angle), point.height, point.radius * std::cos(angle)};
}

glm::mat4 turnYTo(glm::vec3 direction)
{
    const glm::vec3 up(0.0f, 1.0f, 0.0f);
    const float cosine = glm::dot(up, direction);
    if (cosine > 0.999999f)
    {
        return glm::mat4(1.0f);
    }
    if (cosine < -0.999999f)
    {
        return glm::mat4_cast(glm::angleAxis(glm::pi<float>(), glm::vec3(1.0f, 0.0f, 0.0f)));
    }
    return glm::mat4_cast(glm::angleAxis(std::acos(cosine), glm::normalize(glm::cross(up, direction))));
}

std::uint32_t indexOf(std::unordered_map<std::string, std::uint32_t>& seen, std::string& lines, const char* prefix,
                      std::string text)
{
    const auto [entry, added] = seen.try_emplace(std::move(text), std::uint32_t(seen.size() + 1));
    if (added)
    {
        lines += prefix;
        lines += entry->first;
        lines += '\n';
    }
    return entry->second;
}

// Where a point lands when the part's planar projection is fitted into the
// region, or where the repeating picture falls on it.
glm::vec2 planarUv(glm::vec3 position, glm::vec3 normal, AtlasRegion region, glm::vec3 centre, float size)
{
    const FaceFrame frame = faceFrame(normal);
    if (region.repeatMetres > 0.0f)
    {
        // Measured from the model's origin, so neighbouring parts continue the pattern.
        return region.min +
               glm::vec2(glm::dot(position, frame.tangent), -glm::dot(position, frame.bitangent)) / region.repeatMetres;
    }
    const glm::vec3 offset = position - centre;
    return inRegion(region, 0.5f + glm::dot(offset, frame.tangent) / size,
                    0.5f + glm::dot(offset, frame.bitangent) / size);
}

} // namespace

void addTriangle(Mesh& mesh, const MeshVertex& a, const MeshVertex& b, const MeshVertex& c)
{
    const auto first = std::uint32_t(mesh.vertices.size());
    mesh.vertices.insert(mesh.vertices.end(), {a, b, c});
    mesh.indices.insert(mesh.indices.end(), {first, first + 1, first + 2});
}

void addFlatTriangle(Mesh& mesh, glm::vec3 a, glm::vec3 b, glm::vec3 c, AtlasRegion region, glm::vec3 centre,
                     float size)
{
    const glm::vec3 cross = glm::cross(b - a, c - a);
    const float length = glm::length(cross);
    if (length < 1e-8f)
    {
        return;
    }
    const glm::vec3 normal = cross / length;
    addTriangle(mesh, {a, planarUv(a, normal, region, centre, size), normal},
                {b, planarUv(b, normal, region, centre, size), normal},
                {c, planarUv(c, normal, region, centre, size), normal});
}

void addFlatQuad(Mesh& mesh, glm::vec3 a, glm::vec3 b, glm::vec3 c, glm::vec3 d, AtlasRegion region, glm::vec3 centre,
                 float size)
{
    addFlatTriangle(mesh, a, b, c, region, centre, size);
    addFlatTriangle(mesh, a, c, d, region, centre, size);
}

void addSheet(Mesh& mesh, std::span<const glm::vec3> polygon, AtlasRegion region, glm::vec3 centre, float size)
{
    for (std::size_t i = 1; i + 1 < polygon.size(); ++i)
    {
        addFlatTriangle(mesh, polygon[0], polygon[i], polygon[i + 1], region, centre, size);
        addFlatTriangle(mesh, polygon[0], polygon[i + 1], polygon[i], region, centre, size);
    }
}

void addDoubleSidedQuad(Mesh& mesh, std::span<const MeshVertex, 4> quad)
{
    const auto face = [&](MeshVertex a, MeshVertex b, MeshVertex c)
    {
        const glm::vec3 cross = glm::cross(b.position - a.position, c.position - a.position);
        if (glm::length(cross) < 1e-8f)
        {
            return;
        }
        a.normal = b.normal = c.normal = glm::normalize(cross);
        addTriangle(mesh, a, b, c);
    };
    face(quad[0], quad[1], quad[2]);
    face(quad[0], quad[2], quad[3]);
    face(quad[0], quad[2], quad[1]);
    face(quad[0], quad[3], quad[2]);
}

namespace
{

// The six faces of a box; each face's corners run counter-clockwise round its
// normal, starting at the corner low on both of its texture axes.
template <typename FaceWriter>
void forEachBoxFace(glm::vec3 centre, glm::vec3 halfExtents, FaceWriter write)
{
    const glm::vec3 normals[] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
    for (const glm::vec3& normal : normals)
    {
        const FaceFrame frame = faceFrame(normal);
        const glm::vec3 out = centre + normal * halfExtents;
        const glm::vec3 across = frame.tangent * halfExtents;
        const glm::vec3 up = frame.bitangent * halfExtents;
        write(normal, std::array{out - across - up, out + across - up, out + across + up, out - across + up});
    }
}

} // namespace

void addBox(Mesh& mesh, glm::vec3 centre, glm::vec3 halfExtents, AtlasRegion region)
{
    const float size = 2.0f * std::max({halfExtents.x, halfExtents.y, halfExtents.z});
    forEachBoxFace(centre, halfExtents,
                   [&](glm::vec3, const std::array<glm::vec3, 4>& corners)
                   { addFlatQuad(mesh, corners[0], corners[1], corners[2], corners[3], region, centre, size); });
}

void addBoxFacesFilled(Mesh& mesh, glm::vec3 centre, glm::vec3 halfExtents, AtlasRegion region)
{
    forEachBoxFace(centre, halfExtents,
                   [&](glm::vec3 normal, const std::array<glm::vec3, 4>& corners)
                   {
                       const MeshVertex a{corners[0], inRegion(region, 0, 0), normal};
                       const MeshVertex b{corners[1], inRegion(region, 1, 0), normal};
                       const MeshVertex c{corners[2], inRegion(region, 1, 1), normal};
                       const MeshVertex d{corners[3], inRegion(region, 0, 1), normal};
                       addTriangle(mesh, a, b, c);
                       addTriangle(mesh, a, c, d);
                   });
}

void addLathe(Mesh& mesh, std::span<const ProfilePoint> givenProfile, int segments, bool smooth)
{
    // Open ends are closed by a flat disc: a profile edge to or from the axis.
    std::vector<ProfilePoint> profile(givenProfile.begin(), givenProfile.end());
    if (profile.front().radius > 0.0f)
    {
        profile.front().crease = true;
        profile.insert(profile.begin(), ProfilePoint{0.0f, profile.front().height, profile.front().region, true});
    }
    if (profile.back().radius > 0.0f)
    {
        profile.back().crease = true;
        profile.push_back(ProfilePoint{0.0f, profile.back().height, profile.back().region, true});
    }

    const std::size_t edges = profile.size() - 1;
    std::vector<float> along(profile.size(), 0.0f);
    for (std::size_t k = 0; k < edges; ++k)
    {
        along[k + 1] = along[k] + glm::distance(glm::vec2(profile[k].radius, profile[k].height),
                                                glm::vec2(profile[k + 1].radius, profile[k + 1].height));
    }
    const float total = along.back();

    // The normal (radial, vertical) at point k on edge e, for smooth lathes.
    const auto smoothNormal = [&](std::size_t k, std::size_t edge)
    {
        const glm::vec3 own = profileEdgeNormal(profile[edge], profile[edge + 1]);
        if (profile[k].radius == 0.0f)
        {
            return glm::vec2(0.0f, own.y > 0.0f ? 1.0f : -1.0f);
        }
        if (profile[k].crease || k == 0 || k == edges)
        {
            return glm::vec2(own);
        }
        const glm::vec3 sum =
            profileEdgeNormal(profile[k - 1], profile[k]) + profileEdgeNormal(profile[k], profile[k + 1]);
        return glm::normalize(glm::vec2(sum));
    };

    float widest = 0.0f;
    for (const ProfilePoint& point : profile)
    {
        widest = std::max(widest, point.radius);
    }

    const float step = glm::two_pi<float>() / float(segments);
    for (std::size_t e = 0; e < edges; ++e)
    {
        const ProfilePoint& low = profile[e];
        const ProfilePoint& high = profile[e + 1];
        // A repeating picture goes round a whole number of times and up the
        // profile by length; any other fills its region once each way.
        AtlasRegion region = low.region;
        float v0 = along[e] / total;
        float v1 = along[e + 1] / total;
        if (region.repeatMetres > 0.0f)
        {
            const float turns = std::max(1.0f, std::round(glm::two_pi<float>() * widest / region.repeatMetres));
            const float rise = total / region.repeatMetres;
            region = {region.min, region.min + glm::vec2(turns, rise)};
        }
        for (int j = 0; j < segments; ++j)
        {
            // The last column meets the first at exactly the same points.
            const float a0 = step * float(j);
            const float a1 = step * float((j + 1) % segments);
            const float middle = step * (float(j) + 0.5f);
            const float u0 = float(j) / float(segments);
            const float u1 = float(j + 1) / float(segments);
            const float uMiddle = 0.5f * (u0 + u1);
            // Corners: low edge at a0 and a1, high edge at a1 and a0; a point on
            // the axis becomes one corner at the middle angle.
            MeshVertex corners[4] = {
                {onLathe(low, a0), inRegion(region, low.radius == 0.0f ? uMiddle : u0, v0), {}},
                {onLathe(low, a1), inRegion(region, low.radius == 0.0f ? uMiddle : u1, v0), {}},
                {onLathe(high, a1), inRegion(region, high.radius == 0.0f ? uMiddle : u1, v1), {}},
                {onLathe(high, a0), inRegion(region, high.radius == 0.0f ? uMiddle : u0, v1), {}},
            };
            if (smooth)
            {
                const glm::vec2 nLow = smoothNormal(e, e);
                const glm::vec2 nHigh = smoothNormal(e + 1, e);
                corners[0].normal = aroundY(nLow, low.radius == 0.0f ? middle : a0);
                corners[1].normal = aroundY(nLow, low.radius == 0.0f ? middle : a1);
                corners[2].normal = aroundY(nHigh, high.radius == 0.0f ? middle : a1);
                corners[3].normal = aroundY(nHigh, high.radius == 0.0f ? middle : a0);
            }
            const auto emit = [&](MeshVertex a, MeshVertex b, MeshVertex c)
            {
                if (!smooth)
                {
                    const glm::vec3 normal =
                        glm::normalize(glm::cross(b.position - a.position, c.position - a.position));
                    a.normal = b.normal = c.normal = normal;
                }
                addTriangle(mesh, a, b, c);
            };
            if (low.radius == 0.0f)
            {
                emit(corners[0], corners[2], corners[3]);
            }
            else if (high.radius == 0.0f)
            {
                emit(corners[0], corners[1], corners[2]);
            }
            else
            {
                emit(corners[0], corners[1], corners[2]);
                emit(corners[0], corners[2], corners[3]);
            }
        }
    }
}

void addRadialSolid(Mesh& mesh, std::span<const RadialRing> rings, int segments, std::uint32_t seed, float wobble,
                    float halfWidth, float halfLength, const std::function<AtlasRegion(std::size_t, int)>& regionAt)
{
    const float step = glm::two_pi<float>() / float(segments);
    std::vector<float> outline;
    for (int j = 0; j < segments; ++j)
    {
        const float angle = step * float(j);
        const glm::vec3 onCircle(1.7f * std::cos(angle), 1.7f * std::sin(angle), 0.0f);
        outline.push_back(1.0f + wobble * shapeFbm(onCircle, seed, 2));
    }
    std::vector<std::vector<glm::vec3>> points;
    float reachX = 0.0f;
    float reachZ = 0.0f;
    for (const RadialRing& ring : rings)
    {
        std::vector<glm::vec3>& ringPoints = points.emplace_back();
        for (int j = 0; j < segments; ++j)
        {
            const float angle = step * float(j);
            const float radius = ring.scale * outline[j];
            ringPoints.emplace_back(ring.lean.x + radius * std::sin(angle), ring.height,
                                    ring.lean.y + radius * std::cos(angle));
            reachX = std::max(reachX, std::abs(ringPoints.back().x));
            reachZ = std::max(reachZ, std::abs(ringPoints.back().z));
        }
    }
    float lowest = rings.front().height;
    float highest = lowest;
    for (auto& ringPoints : points)
    {
        for (glm::vec3& point : ringPoints)
        {
            point.x *= halfWidth / reachX;
            point.z *= halfLength / reachZ;
            lowest = std::min(lowest, point.y);
            highest = std::max(highest, point.y);
        }
    }

    const glm::vec3 centre(0.0f, 0.5f * (lowest + highest), 0.0f);
    const float size = std::max({2.0f * halfWidth, 2.0f * halfLength, highest - lowest});
    const glm::vec3 bottom = points.front().front();
    const glm::vec3 top = points.back().front();
    for (std::size_t k = 0; k < rings.size(); ++k)
    {
        if (rings[k].scale == 0.0f)
        {
            continue;
        }
        for (int j = 0; j < segments; ++j)
        {
            const int next = (j + 1) % segments;
            if (k > 0 && rings[k - 1].scale == 0.0f)
            {
                addFlatTriangle(mesh, bottom, points[k][next], points[k][j], rings[k - 1].region, centre, size);
            }
            if (k + 1 == rings.size())
            {
                continue;
            }
            const AtlasRegion region = regionAt ? regionAt(k, j) : rings[k].region;
            if (rings[k + 1].scale == 0.0f)
            {
                addFlatTriangle(mesh, points[k][j], points[k][next], top, region, centre, size);
            }
            else
            {
                addFlatQuad(mesh, points[k][j], points[k][next], points[k + 1][next], points[k + 1][j], region, centre,
                            size);
            }
        }
    }
}

void addTube(Mesh& mesh, glm::vec3 from, glm::vec3 to, float fromRadius, float toRadius, int sides, AtlasRegion region)
{
    const glm::vec3 axis = to - from;
    const float length = glm::length(axis);
    const ProfilePoint profile[] = {{fromRadius, 0.0f, region, true}, {toRadius, length, region, true}};
    Mesh tube;
    addLathe(tube, profile, sides, false);
    glm::mat4 transform = turnYTo(axis / length);
    transform[3] = glm::vec4(from, 1.0f);
    appendTransformed(mesh, tube, transform);
}

namespace
{

// A prism of a convex polygon in the XY plane (counter-clockwise seen from
// +Z) swept from z = zMin to z = zMax.
void addPrismZ(Mesh& mesh, std::span<const glm::vec2> polygon, float zMin, float zMax,
               std::span<const AtlasRegion> sideRegions, AtlasRegion capRegion)
{
    glm::vec2 low = polygon[0];
    glm::vec2 high = polygon[0];
    for (const glm::vec2& point : polygon)
    {
        low = glm::min(low, point);
        high = glm::max(high, point);
    }
    const glm::vec3 centre(0.5f * (low + high), 0.5f * (zMin + zMax));
    const float size = std::max({high.x - low.x, high.y - low.y, zMax - zMin});
    const std::size_t count = polygon.size();
    for (std::size_t i = 0; i < count; ++i)
    {
        const glm::vec2 p = polygon[i];
        const glm::vec2 q = polygon[(i + 1) % count];
        const AtlasRegion region = sideRegions[sideRegions.size() == 1 ? 0 : i];
        addFlatQuad(mesh, {p, zMin}, {q, zMin}, {q, zMax}, {p, zMax}, region, centre, size);
    }
    for (std::size_t i = 1; i + 1 < count; ++i)
    {
        addFlatTriangle(mesh, {polygon[0], zMax}, {polygon[i], zMax}, {polygon[i + 1], zMax}, capRegion, centre, size);
        addFlatTriangle(mesh, {polygon[0], zMin}, {polygon[i + 1], zMin}, {polygon[i], zMin}, capRegion, centre, size);
    }
}

} // namespace

void addPrismX(Mesh& mesh, std::span<const glm::vec2> polygon, float xMin, float xMax,
               std::span<const AtlasRegion> sideRegions, AtlasRegion capRegion)
{
    // Built along Z from the mirrored polygon, then turned a quarter about Y,
    // which takes (x, y, z) to (z, y, -x).
    // Reversing the points keeps them counter-clockwise; side i of the given
    // polygon becomes side count - 2 - i (mod count) of the mirrored one.
    const std::size_t count = polygon.size();
    std::vector<glm::vec2> mirrored;
    std::vector<AtlasRegion> regions;
    for (std::size_t i = 0; i < count; ++i)
    {
        const glm::vec2 point = polygon[count - 1 - i];
        mirrored.emplace_back(-point.x, point.y);
        const std::size_t side = (2 * count - 2 - i) % count;
        regions.push_back(sideRegions[sideRegions.size() == 1 ? 0 : side]);
    }
    Mesh prism;
    addPrismZ(prism, mirrored, xMin, xMax, regions, capRegion);
    const glm::mat4 quarterTurn(glm::vec4(0, 0, -1, 0), glm::vec4(0, 1, 0, 0), glm::vec4(1, 0, 0, 0),
                                glm::vec4(0, 0, 0, 1));
    appendTransformed(mesh, prism, quarterTurn);
}

void addLoftZ(Mesh& mesh, std::span<const std::vector<glm::vec2>> sections, std::span<const float> zs,
              std::span<const AtlasRegion> bandRegions, AtlasRegion capRegion)
{
    glm::vec3 low(sections[0][0], zs.front());
    glm::vec3 high = low;
    for (std::size_t i = 0; i < sections.size(); ++i)
    {
        for (const glm::vec2& point : sections[i])
        {
            low = glm::min(low, glm::vec3(point, zs[i]));
            high = glm::max(high, glm::vec3(point, zs[i]));
        }
    }
    const glm::vec3 centre = 0.5f * (low + high);
    const glm::vec3 extent = high - low;
    const float size = std::max({extent.x, extent.y, extent.z});
    const std::size_t count = sections[0].size();
    for (std::size_t i = 0; i + 1 < sections.size(); ++i)
    {
        for (std::size_t m = 0; m < count; ++m)
        {
            const std::size_t n = (m + 1) % count;
            addFlatQuad(mesh, {sections[i][m], zs[i]}, {sections[i][n], zs[i]}, {sections[i + 1][n], zs[i + 1]},
                        {sections[i + 1][m], zs[i + 1]}, bandRegions[m], centre, size);
        }
    }
    const auto& first = sections.front();
    const auto& last = sections.back();
    for (std::size_t m = 1; m + 1 < count; ++m)
    {
        addFlatTriangle(mesh, {first[0], zs.front()}, {first[m + 1], zs.front()}, {first[m], zs.front()}, capRegion,
                        centre, size);
        addFlatTriangle(mesh, {last[0], zs.back()}, {last[m], zs.back()}, {last[m + 1], zs.back()}, capRegion, centre,
                        size);
    }
}

void addHullZ(Mesh& mesh, std::span<const HullStation> stations,
              const std::function<std::vector<glm::vec2>(const HullStation&)>& starboard,
              std::span<const AtlasRegion> bandRegions, AtlasRegion capRegion)
{
    std::vector<std::vector<glm::vec2>> sections;
    std::vector<float> zs;
    for (const HullStation& station : stations)
    {
        const std::vector<glm::vec2> side = starboard(station);
        std::vector<glm::vec2> section{{0.0f, station.keel}};
        section.insert(section.end(), side.begin(), side.end());
        for (auto point = side.rbegin(); point != side.rend(); ++point)
        {
            section.push_back({-point->x, point->y});
        }
        sections.push_back(std::move(section));
        zs.push_back(station.z);
    }
    addLoftZ(mesh, sections, zs, bandRegions, capRegion);
}

GeodesicSphere geodesicSphere(int subdivisions)
{
    const float t = (1.0f + std::sqrt(5.0f)) / 2.0f;
    GeodesicSphere sphere;
    for (const glm::vec3& corner : {glm::vec3(-1, t, 0), glm::vec3(1, t, 0), glm::vec3(-1, -t, 0), glm::vec3(1, -t, 0),
                                    glm::vec3(0, -1, t), glm::vec3(0, 1, t), glm::vec3(0, -1, -t), glm::vec3(0, 1, -t),
                                    glm::vec3(t, 0, -1), glm::vec3(t, 0, 1), glm::vec3(-t, 0, -1), glm::vec3(-t, 0, 1)})
    {
        sphere.directions.push_back(glm::normalize(corner));
    }
    sphere.triangles = {{0, 11, 5},  {0, 5, 1},  {0, 1, 7},  {0, 7, 10}, {0, 10, 11}, {1, 5, 9}, {5, 11, 4},
                        {11, 10, 2}, {10, 7, 6}, {7, 1, 8},  {3, 9, 4},  {3, 4, 2},   {3, 2, 6}, {3, 6, 8},
                        {3, 8, 9},   {4, 9, 5},  {2, 4, 11}, {6, 2, 10}, {8, 6, 7},   {9, 8, 1}};
    for (int level = 0; level < subdivisions; ++level)
    {
        std::unordered_map<std::uint64_t, std::uint32_t> middles;
        const auto middle = [&](std::uint32_t a, std::uint32_t b)
        {
            const std::uint64_t key = (std::uint64_t(std::min(a, b)) << 32) | std::max(a, b);
            const auto [entry, added] = middles.try_emplace(key, std::uint32_t(sphere.directions.size()));
            if (added)
            {
                sphere.directions.push_back(glm::normalize(sphere.directions[a] + sphere.directions[b]));
            }
            return entry->second;
        };
        std::vector<glm::uvec3> finer;
        for (const glm::uvec3& tri : sphere.triangles)
        {
            const std::uint32_t ab = middle(tri.x, tri.y);
            const std::uint32_t bc = middle(tri.y, tri.z);
            const std::uint32_t ca = middle(tri.z, tri.x);
            finer.insert(finer.end(), {{tri.x, ab, ca}, {tri.y, bc, ab}, {tri.z, ca, bc}, {ab, bc, ca}});
        }
        sphere.triangles = std::move(finer);
    }
    return sphere;
}

void addGeodesic(Mesh& mesh, glm::vec3 centre, glm::vec3 radii, int subdivisions, AtlasRegion region)
{
    const GeodesicSphere sphere = geodesicSphere(subdivisions);
    const float size = 2.0f * std::max({radii.x, radii.y, radii.z});
    for (const glm::uvec3& tri : sphere.triangles)
    {
        addFlatTriangle(mesh, centre + radii * sphere.directions[tri.x], centre + radii * sphere.directions[tri.y],
                        centre + radii * sphere.directions[tri.z], region, centre, size);
    }
}

void addUvSphere(Mesh& mesh, glm::vec3 centre, float radius, int rings, int segments, AtlasRegion region)
{
    std::vector<ProfilePoint> profile;
    for (int i = 0; i <= rings; ++i)
    {
        const float polar = glm::pi<float>() * (1.0f - float(i) / float(rings));
        profile.push_back({i == 0 || i == rings ? 0.0f : radius * std::sin(polar), radius * std::cos(polar), region});
    }
    Mesh sphere;
    addLathe(sphere, profile, segments, true);
    glm::mat4 transform(1.0f);
    transform[3] = glm::vec4(centre, 1.0f);
    appendTransformed(mesh, sphere, transform);
}

void appendTransformed(Mesh& mesh, const Mesh& part, const glm::mat4& transform)
{
    const glm::mat3 linear(transform);
    const glm::mat3 normalMatrix = glm::transpose(glm::inverse(linear));
    const bool mirrored = glm::determinant(linear) < 0.0f;
    const auto first = std::uint32_t(mesh.vertices.size());
    for (const MeshVertex& vertex : part.vertices)
    {
        mesh.vertices.push_back({glm::vec3(transform * glm::vec4(vertex.position, 1.0f)), vertex.uv,
                                 glm::normalize(normalMatrix * vertex.normal)});
    }
    for (std::size_t i = 0; i < part.indices.size(); i += 3)
    {
        const std::uint32_t a = first + part.indices[i];
        const std::uint32_t b = first + part.indices[i + 1];
        const std::uint32_t c = first + part.indices[i + 2];
        mesh.indices.insert(mesh.indices.end(), {a, mirrored ? c : b, mirrored ? b : c});
    }
}

std::string objText(const Mesh& mesh)
{
    std::unordered_map<std::string, std::uint32_t> positions;
    std::unordered_map<std::string, std::uint32_t> uvs;
    std::unordered_map<std::string, std::uint32_t> normals;
    std::string positionLines;
    std::string uvLines;
    std::string normalLines;
    std::string faceLines;
    for (std::size_t i = 0; i < mesh.indices.size(); i += 3)
    {
        faceLines += 'f';
        for (std::size_t k = 0; k < 3; ++k)
        {
            const MeshVertex& vertex = mesh.vertices[mesh.indices[i + k]];
            const glm::vec3 normal = glm::normalize(vertex.normal);
            const std::uint32_t p =
                indexOf(positions, positionLines, "v ",
                        fmt::format("{:.5f} {:.5f} {:.5f}", vertex.position.x, vertex.position.y, vertex.position.z));
            // The file's v runs up the picture; the game flips it back to rows.
            const std::uint32_t t =
                indexOf(uvs, uvLines, "vt ", fmt::format("{:.6f} {:.6f}", vertex.uv.x, 1.0f - vertex.uv.y));
            const std::uint32_t n =
                indexOf(normals, normalLines, "vn ", fmt::format("{:.6f} {:.6f} {:.6f}", normal.x, normal.y, normal.z));
            faceLines += fmt::format(" {}/{}/{}", p, t, n);
        }
        faceLines += '\n';
    }
    return positionLines + uvLines + normalLines + faceLines;
}
