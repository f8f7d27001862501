#pragma once

#include "tools/assets/ModelAtlas.hpp"

#include <glm/mat4x4.hpp>
#include <glm/vec2.hpp>
#include <glm/vec3.hpp>

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

// Triangle meshes built from primitives for the generated OBJ models. Every
// primitive winds its triangles counter-clockwise seen from outside and gives
// unit normals and texture coordinates laid so that cross(normal, tangent)
// points up the picture (toward smaller image rows): fitted once into an
// atlas region, or repeating across the surface for a repeating region.

struct MeshVertex
{
    glm::vec3 position{0.0f};
    // Image space: u to the right, t down the rows, as the game samples it.
    glm::vec2 uv{0.0f};
    glm::vec3 normal{0.0f, 1.0f, 0.0f};
};

struct Mesh
{
    std::vector<MeshVertex> vertices;
    std::vector<std::uint32_t> indices;
};

// One point of a lathe profile: radius from the Y axis and height. A crease
// splits the normal there; `region` paints the profile edge that starts here.
struct ProfilePoint
{
    float radius;
    float height;
    AtlasRegion region;
    bool crease = false;
};

void addTriangle(Mesh& mesh, const MeshVertex& a, const MeshVertex& b, const MeshVertex& c);
// A flat triangle (a, b, c counter-clockwise from outside), its texture
// coordinates projected onto the plane it faces most; `centre` and `size` fit
// the part into the region.
void addFlatTriangle(Mesh& mesh, glm::vec3 a, glm::vec3 b, glm::vec3 c, AtlasRegion region, glm::vec3 centre,
                     float size);
// Two flat triangles a, b, c and a, c, d.
void addFlatQuad(Mesh& mesh, glm::vec3 a, glm::vec3 b, glm::vec3 c, glm::vec3 d, AtlasRegion region, glm::vec3 centre,
                 float size);
// Both faces of a flat polygon (a fan from its first point), for thin sheets.
void addSheet(Mesh& mesh, std::span<const glm::vec3> polygon, AtlasRegion region, glm::vec3 centre, float size);

// Both faces of a thin quad whose corners carry their own texture
// coordinates; each triangle takes its own flat normal.
void addDoubleSidedQuad(Mesh& mesh, std::span<const MeshVertex, 4> quad);

void addBox(Mesh& mesh, glm::vec3 centre, glm::vec3 halfExtents, AtlasRegion region);
// A box whose six faces each fill the whole region (crates, boards).
void addBoxFacesFilled(Mesh& mesh, glm::vec3 centre, glm::vec3 halfExtents, AtlasRegion region);

// A surface of revolution about the Y axis. A profile that starts and ends on
// the axis is closed; otherwise open ends are capped flat. Smooth lathes share
// normals round the axis; flat ones are faceted.
void addLathe(Mesh& mesh, std::span<const ProfilePoint> profile, int segments, bool smooth);
// One ring of a radial solid: its size as a fraction of the solid's half
// width and length (0 for a point on the axis), its height, the region of
// the band from it to the next ring, and how far its centre leans off the
// axis in the same fractions (x, z).
struct RadialRing
{
    float scale;
    float height;
    AtlasRegion region;
    glm::vec2 lean{0.0f};
};
// A faceted solid of rings round the Y axis with an outline that wobbles by
// up to `wobble` (noise of the seed), from a ring of scale 0 at the bottom to
// one at the top; its outline is scaled to reach exactly halfWidth along X
// and halfLength along Z. Rings that shrink as they rise keep it near convex.
// `regionAt(ring, segment)`, when given, repaints single facets.
void addRadialSolid(Mesh& mesh, std::span<const RadialRing> rings, int segments, std::uint32_t seed, float wobble,
                    float halfWidth, float halfLength,
                    const std::function<AtlasRegion(std::size_t, int)>& regionAt = {});
// A closed tube with flat ends from one point to another, faceted, with `sides` sides.
void addTube(Mesh& mesh, glm::vec3 from, glm::vec3 to, float fromRadius, float toRadius, int sides, AtlasRegion region);
// A prism along X: a convex polygon given as (z, y), counter-clockwise with
// z to the right and y up, swept from x = xMin to x = xMax. sideRegions
// paints the side from polygon point i to i + 1; a single region paints every side.
void addPrismX(Mesh& mesh, std::span<const glm::vec2> polygon, float xMin, float xMax,
               std::span<const AtlasRegion> sideRegions, AtlasRegion capRegion);

// Closed loft through cross-sections that share a point count; section i lies
// in the plane z = zs[i], its points (x, y) counter-clockwise seen from +Z.
// The first and last sections are capped by fans from their first point, so
// they must be convex.
void addLoftZ(Mesh& mesh, std::span<const std::vector<glm::vec2>> sections, std::span<const float> zs,
              std::span<const AtlasRegion> bandRegions, AtlasRegion capRegion);

// One cross-section of a hull lofted along Z: where it stands, half its beam,
// and the heights of its keel and its deck's edge.
struct HullStation
{
    float z;
    float halfBeam;
    float keel;
    float deck;
};
// A hull lofted through its stations from the transom (-Z) to the bow (+Z),
// symmetric about x = 0. `starboard` gives a station's points on +X above the
// keel, rising to the deck's edge; the section runs from the keel up the
// starboard side, across the deck and down the port side. `starboard` is
// called once for each station, in order, with the element of `stations`.
void addHullZ(Mesh& mesh, std::span<const HullStation> stations,
              const std::function<std::vector<glm::vec2>(const HullStation&)>& starboard,
              std::span<const AtlasRegion> bandRegions, AtlasRegion capRegion);

// Unit directions and triangles of a subdivided icosahedron (20 * 4^subdivisions
// triangles, counter-clockwise from outside), for parts that shape their own sphere.
struct GeodesicSphere
{
    std::vector<glm::vec3> directions;
    std::vector<glm::uvec3> triangles;
};
GeodesicSphere geodesicSphere(int subdivisions);

// A faceted sphere of 20 * 4^subdivisions triangles, scaled per axis.
void addGeodesic(Mesh& mesh, glm::vec3 centre, glm::vec3 radii, int subdivisions, AtlasRegion region);
// A smooth latitude-longitude sphere.
void addUvSphere(Mesh& mesh, glm::vec3 centre, float radius, int rings, int segments, AtlasRegion region);

// A part built elsewhere, moved by a rigid transform (and uniform scale).
void appendTransformed(Mesh& mesh, const Mesh& part, const glm::mat4& transform);

// The mesh as OBJ text: "v", "vt" and "vn" lines, then one "f p/t/n p/t/n p/t/n"
// line per triangle, equal values written once.
std::string objText(const Mesh& mesh);
