#include "engine/FileIo.hpp"
#include "game/assets/AssetPaths.hpp"
#include "game/race/TrackModels.hpp"
#include "graphics/ObjLoader.hpp"
#include "tools/assets/AssetKinds.hpp"
#include "tools/assets/ModelAtlas.hpp"
#include "tools/assets/ModelMeshes.hpp"

#include <LinearMath/btConvexHullComputer.h>
#include <glm/common.hpp>
#include <glm/geometric.hpp>
#include <glm/gtc/quaternion.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <unistd.h>

namespace
{

struct Bounds
{
    glm::vec3 min{1e30f};
    glm::vec3 max{-1e30f};
};

Bounds boundsOf(const ObjMeshData& mesh)
{
    Bounds bounds;
    for (const ModelVertex& vertex : mesh.vertices)
    {
        bounds.min = glm::min(bounds.min, vertex.position);
        bounds.max = glm::max(bounds.max, vertex.position);
    }
    return bounds;
}

// The enclosed volume: positive when the triangles face outward.
double signedVolume(const ObjMeshData& mesh)
{
    double sum = 0.0;
    for (std::size_t i = 0; i < mesh.indices.size(); i += 3)
    {
        const glm::dvec3 a = mesh.vertices[mesh.indices[i]].position;
        const glm::dvec3 b = mesh.vertices[mesh.indices[i + 1]].position;
        const glm::dvec3 c = mesh.vertices[mesh.indices[i + 2]].position;
        sum += glm::dot(a, glm::cross(b, c));
    }
    return sum / 6.0;
}

// The volume of the convex hull of the mesh's points.
double hullVolume(const ObjMeshData& mesh)
{
    std::vector<float> coordinates;
    for (const ModelVertex& vertex : mesh.vertices)
    {
        coordinates.insert(coordinates.end(), {vertex.position.x, vertex.position.y, vertex.position.z});
    }
    btConvexHullComputer hull;
    hull.compute(coordinates.data(), 3 * sizeof(float), static_cast<int>(mesh.vertices.size()), 0.0f, 0.0f);
    const auto point = [&](int index)
    {
        const btVector3& p = hull.vertices[index];
        return glm::dvec3(p.x(), p.y(), p.z());
    };
    double sum = 0.0;
    for (int face = 0; face < hull.faces.size(); ++face)
    {
        const btConvexHullComputer::Edge* first = &hull.edges[hull.faces[face]];
        const glm::dvec3 a = point(first->getSourceVertex());
        for (const btConvexHullComputer::Edge* edge = first->getNextEdgeOfFace();
             edge->getTargetVertex() != first->getSourceVertex(); edge = edge->getNextEdgeOfFace())
        {
            sum += glm::dot(a, glm::cross(point(edge->getSourceVertex()), point(edge->getTargetVertex())));
        }
    }
    return sum / 6.0;
}

// Edges between distinct positions that are not matched by an edge running
// the other way: none on a closed, consistently wound surface.
std::size_t unmatchedEdges(const ObjMeshData& mesh)
{
    const auto key = [&](std::uint32_t index)
    {
        const glm::vec3 p = glm::round(mesh.vertices[index].position * 1000.0f);
        return std::tuple(long(p.x), long(p.y), long(p.z));
    };
    std::map<std::pair<std::tuple<long, long, long>, std::tuple<long, long, long>>, int> balance;
    for (std::size_t i = 0; i < mesh.indices.size(); i += 3)
    {
        for (int k = 0; k < 3; ++k)
        {
            const auto from = key(mesh.indices[i + k]);
            const auto to = key(mesh.indices[i + (k + 1) % 3]);
            if (from < to)
            {
                ++balance[{from, to}];
            }
            else if (to < from)
            {
                --balance[{to, from}];
            }
        }
    }
    return std::size_t(
        std::count_if(balance.begin(), balance.end(), [](const auto& edge) { return edge.second != 0; }));
}

// Only the statements the game's loader reads, fields split by one blank.
bool onlyLoaderStatements(const std::string& text)
{
    std::size_t start = 0;
    while (start < text.size())
    {
        const std::size_t end = text.find('\n', start);
        const std::string line = text.substr(start, end - start);
        start = end == std::string::npos ? text.size() : end + 1;
        std::vector<std::string> fields;
        std::size_t from = 0;
        for (std::size_t blank; (blank = line.find(' ', from)) != std::string::npos; from = blank + 1)
        {
            fields.push_back(line.substr(from, blank - from));
        }
        fields.push_back(line.substr(from));
        const bool anyEmpty = std::any_of(fields.begin(), fields.end(), [](const std::string& f) { return f.empty(); });
        const std::size_t expected = fields[0] == "vt" ? 3 : 4;
        if (anyEmpty || fields.size() != expected ||
            (fields[0] != "v" && fields[0] != "vt" && fields[0] != "vn" && fields[0] != "f"))
        {
            return false;
        }
        if (fields[0] == "f")
        {
            for (std::size_t i = 1; i < fields.size(); ++i)
            {
                const std::string& corner = fields[i];
                if (std::count(corner.begin(), corner.end(), '/') != 2 || corner.find("//") != std::string::npos ||
                    corner.front() == '/' || corner.back() == '/' ||
                    corner.find_first_not_of("0123456789/") != std::string::npos)
                {
                    return false;
                }
            }
        }
    }
    return true;
}

// Every model the scenes read.
const std::vector<std::string>& expectedPaths()
{
    static const std::vector<std::string> paths = []
    {
        std::vector<std::string> list;
        for (const TrackModel& row : trackModels)
        {
            list.push_back(trackModelFile(row));
        }
        list.emplace_back(boatModelFile);
        for (const GobletMaterial goblet : {GobletMaterial::Gold, GobletMaterial::Silver, GobletMaterial::Bronze})
        {
            list.push_back(gobletModelFile(goblet));
        }
        list.emplace_back(stageBallModelFile);
        return list;
    }();
    return paths;
}

class GeneratedModelsTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        folder = std::filesystem::temp_directory_path() / ("kelvane-models-" + std::to_string(::getpid()));
        std::filesystem::remove_all(folder);
        written = writeModels(folder);
    }
    static void TearDownTestSuite() { std::filesystem::remove_all(folder); }

    static std::string pathOf(const std::string& relative) { return (folder / relative).string(); }

    static inline std::filesystem::path folder;
    static inline std::optional<std::size_t> written;
};

TEST_F(GeneratedModelsTest, WritesEveryModelAtItsPathAndTheSameBytesOnASecondRun)
{
    ASSERT_EQ(written, expectedPaths().size());
    EXPECT_EQ(modelPaths(), std::vector<std::filesystem::path>(expectedPaths().begin(), expectedPaths().end()));
    const std::filesystem::path again = folder / "again";
    ASSERT_EQ(writeModels(again), expectedPaths().size());
    for (const std::string& path : expectedPaths())
    {
        const std::optional<std::string> first = readFile(pathOf(path));
        ASSERT_TRUE(first.has_value()) << path;
        EXPECT_EQ(first, readFile((again / path).string())) << path;
    }
}

TEST_F(GeneratedModelsTest, EveryModelIsAClosedOutwardSurfaceWithUnitNormalsAndTangents)
{
    for (const std::string& path : expectedPaths())
    {
        SCOPED_TRACE(path);
        const std::optional<std::string> text = readFile(pathOf(path));
        ASSERT_TRUE(text.has_value());
        EXPECT_TRUE(onlyLoaderStatements(*text));
        const ObjMeshData mesh = loadObj(pathOf(path));
        ASSERT_TRUE(mesh.valid);
        ASSERT_GT(mesh.indices.size(), 0u);
        EXPECT_EQ(unmatchedEdges(mesh), 0u);
        EXPECT_GT(signedVolume(mesh), 0.0);
        std::size_t badNormals = 0;
        std::size_t badTangents = 0;
        for (const ModelVertex& vertex : mesh.vertices)
        {
            badNormals += std::abs(glm::length(vertex.normal) - 1.0f) > 1e-4f;
            badTangents += std::abs(glm::length(vertex.tangent) - 1.0f) > 1e-3f;
        }
        EXPECT_EQ(badNormals, 0u);
        EXPECT_EQ(badTangents, 0u);
    }
}

TEST_F(GeneratedModelsTest, TrackModelsFillTheirSizeTableRowsAndHullsStaySmall)
{
    for (const TrackModel& row : trackModels)
    {
        SCOPED_TRACE(row.file);
        const ObjMeshData mesh = loadObj(pathOf(trackModelFile(row)));
        ASSERT_TRUE(mesh.valid);
        const Bounds bounds = boundsOf(mesh);
        const float tolerance = 0.02f * std::max({row.halfWidth, row.halfLength, row.height}) + 0.02f;
        EXPECT_NEAR(std::max(-bounds.min.x, bounds.max.x), row.halfWidth, tolerance);
        EXPECT_NEAR(std::max(-bounds.min.z, bounds.max.z), row.halfLength, tolerance);
        EXPECT_NEAR(bounds.max.y, row.height, tolerance);
        EXPECT_NEAR(-bounds.min.y, row.depth, tolerance);
        if (row.depth == 0.0f)
        {
            // Standing on its base: nothing sinks below it.
            EXPECT_EQ(bounds.min.y, 0.0f);
        }
        // Centred on the Y axis: neither side reaches much further than the other.
        EXPECT_LT(std::abs(bounds.min.x + bounds.max.x), 0.5f * row.halfWidth);
        EXPECT_LT(std::abs(bounds.min.z + bounds.max.z), 0.5f * row.halfLength);
        if (row.bodyKind == TrackBodyKind::ConvexHull)
        {
            // The body is the hull of these points: near convex, it fits what is drawn.
            EXPECT_GT(signedVolume(mesh), 0.85 * hullVolume(mesh)) << signedVolume(mesh) / hullVolume(mesh);
            std::vector<glm::vec3> points;
            for (const ModelVertex& vertex : mesh.vertices)
            {
                points.push_back(vertex.position);
            }
            std::sort(points.begin(), points.end(),
                      [](glm::vec3 a, glm::vec3 b) { return std::tie(a.x, a.y, a.z) < std::tie(b.x, b.y, b.z); });
            EXPECT_LE(std::unique(points.begin(), points.end()) - points.begin(), 300);
        }
    }
}

TEST_F(GeneratedModelsTest, BoatFitsItsChassisBoxAndTrophiesStandWhereTheStageExpects)
{
    const Bounds boat = boundsOf(loadObj(pathOf(boatModelFile)));
    EXPECT_FLOAT_EQ(boat.min.y, 0.0f);
    EXPECT_TRUE(glm::all(
        glm::lessThanEqual(glm::max(-boat.min, boat.max),
                           glm::vec3(boatHullHalfExtents.x, 2.0f * boatHullHalfExtents.y, boatHullHalfExtents.z))));
    // A boat that fills its box: it neither floats inside it nor sinks below it.
    EXPECT_GT(boat.max.z, 0.95f * boatHullHalfExtents.z);
    EXPECT_GT(boat.max.x, 0.9f * boatHullHalfExtents.x);

    for (const GobletMaterial goblet : {GobletMaterial::Gold, GobletMaterial::Silver, GobletMaterial::Bronze})
    {
        SCOPED_TRACE(materialName(goblet));
        const Bounds bounds = boundsOf(loadObj(pathOf(gobletModelFile(goblet))));
        EXPECT_FLOAT_EQ(bounds.min.y, 0.0f);
        EXPECT_NEAR(bounds.max.x, -bounds.min.x, 1e-3f);
        EXPECT_LT(bounds.max.x, 0.5f);
        EXPECT_GT(bounds.max.y, 0.6f);
    }
    // The goblets of the back row stand at (±1, 0, -1.5) with the ball about (0, -10, -5) under them.
    const Bounds ball = boundsOf(loadObj(pathOf(stageBallModelFile)));
    EXPECT_NEAR(ball.max.y, stageBallRadius, 1e-3f);
    EXPECT_NEAR(ball.min.y, -stageBallRadius, 1e-3f);
    EXPECT_NEAR(glm::length(glm::vec3(1.0f, 10.0f, 3.5f)), stageBallRadius, 0.05f * stageBallRadius);
}

TEST_F(GeneratedModelsTest, BoatIsAVBottomedHullWithARakedBow)
{
    // Only the keel touches the water's bottom line: the hull rises to
    // either side of it. The stem leans forward, so the bow's foremost point
    // is high up and the hull's forefoot well behind it.
    const ObjMeshData boat = loadObj(pathOf("ZavikDemoScene/Models/BoatTest.obj"));
    ASSERT_TRUE(boat.valid);
    float foremost = -1e30f;
    float foremostLow = -1e30f;
    for (const ModelVertex& vertex : boat.vertices)
    {
        const glm::vec3 p = vertex.position;
        if (p.y < 0.02f)
        {
            EXPECT_LT(std::abs(p.x), 0.02f) << p.x << " " << p.y << " " << p.z;
        }
        foremost = std::max(foremost, p.z);
        if (p.y < 0.3f)
        {
            foremostLow = std::max(foremostLow, p.z);
        }
    }
    EXPECT_LT(foremostLow, foremost - 0.2f);
}

// How u runs along +X on the triangles of a board face: those whose normal
// is `normal` (±Z) and that lie at z = `z`. The signs of the gradients, as
// (rising, falling) counts.
std::pair<int, int> uAlongX(const ObjMeshData& mesh, float z, float normal)
{
    int rising = 0;
    int falling = 0;
    for (std::size_t i = 0; i < mesh.indices.size(); i += 3)
    {
        const ModelVertex& a = mesh.vertices[mesh.indices[i]];
        const ModelVertex& b = mesh.vertices[mesh.indices[i + 1]];
        const ModelVertex& c = mesh.vertices[mesh.indices[i + 2]];
        if (std::abs(a.normal.z - normal) > 1e-4f || std::abs(a.position.z - z) > 1e-4f)
        {
            continue;
        }
        const glm::vec2 e1 = glm::vec2(b.position) - glm::vec2(a.position);
        const glm::vec2 e2 = glm::vec2(c.position) - glm::vec2(a.position);
        const float du1 = b.texCoord.x - a.texCoord.x;
        const float du2 = c.texCoord.x - a.texCoord.x;
        const float gradient = (du1 * e2.y - du2 * e1.y) / (e1.x * e2.y - e2.x * e1.y);
        rising += gradient > 1e-4f;
        falling += gradient < -1e-4f;
    }
    return {rising, falling};
}

TEST_F(GeneratedModelsTest, StartLetteringReadsForwardsFromBothSidesAndSignChevronsPointOneWay)
{
    // The banner board is 0.4 thick: "START" runs left to right on its front
    // and, mirrored in u, on its back too, where the grid sees it.
    const ObjMeshData banner = loadObj(pathOf(trackModelFile(trackModel(TrackModelId::BigSign))));
    EXPECT_EQ(uAlongX(banner, 0.2f, 1.0f), std::make_pair(2, 0));
    EXPECT_EQ(uAlongX(banner, -0.2f, -1.0f), std::make_pair(0, 2));
    // The direction sign's chevrons show the way along +X seen from either side.
    const TrackModel& signRow = trackModel(TrackModelId::Sign);
    const float half = signRow.halfLength;
    const ObjMeshData sign = loadObj(pathOf(trackModelFile(signRow)));
    EXPECT_EQ(uAlongX(sign, half, 1.0f), std::make_pair(2, 0));
    EXPECT_EQ(uAlongX(sign, -half, -1.0f), std::make_pair(2, 0));
}

TEST_F(GeneratedModelsTest, RampDeckIsFittedOnceUpTheSlopeAndNoFaceShowsItsPictureMirrored)
{
    const TrackModel& row = trackModel(TrackModelId::Ramp);
    const ObjMeshData ramp = loadObj(pathOf(trackModelFile(row)));
    ASSERT_TRUE(ramp.valid);
    constexpr float tolerance = 1e-4f;
    int slopeCorners = 0;
    for (std::size_t i = 0; i < ramp.indices.size(); i += 3)
    {
        const ModelVertex& a = ramp.vertices[ramp.indices[i]];
        const ModelVertex& b = ramp.vertices[ramp.indices[i + 1]];
        const ModelVertex& c = ramp.vertices[ramp.indices[i + 2]];
        // Where u and t run on the face; the normal map bends the light the
        // wrong way where up the picture is not normal x (the way u runs).
        const glm::vec3 e1 = b.position - a.position;
        const glm::vec3 e2 = c.position - a.position;
        const glm::vec2 d1 = b.texCoord - a.texCoord;
        const glm::vec2 d2 = c.texCoord - a.texCoord;
        const float determinant = d1.x * d2.y - d2.x * d1.y;
        ASSERT_GT(std::abs(determinant), 1e-6f);
        const glm::vec3 alongU = (e1 * d2.y - e2 * d1.y) / determinant;
        const glm::vec3 downT = (e2 * d1.x - e1 * d2.x) / determinant;
        EXPECT_GT(glm::dot(glm::cross(a.normal, alongU), -downT), 0.0f)
            << a.normal.x << " " << a.normal.y << " " << a.normal.z;
        if (a.normal.y < 0.5f)
        {
            continue;
        }
        // The slope: the deck once from side to side, its top (the chevrons' way) at the crest.
        for (const ModelVertex* corner : {&a, &b, &c})
        {
            ++slopeCorners;
            const glm::vec2 uv = corner->texCoord;
            EXPECT_NEAR(std::abs(uv.x - 0.5f), 0.5f * (rampDeck.max.x - rampDeck.min.x), tolerance);
            EXPECT_NEAR(uv.y, corner->position.z > 0.0f ? rampDeck.min.y : rampDeck.max.y, tolerance)
                << corner->position.z;
        }
    }
    EXPECT_EQ(slopeCorners, 6);
}

// Corners of a box body in the model's frame.
std::vector<glm::vec3> bodyCorners(const BodyDescription& body)
{
    std::vector<glm::vec3> corners;
    for (int i = 0; i < 8; ++i)
    {
        const glm::vec3 sign(i & 1 ? 1.0f : -1.0f, i & 2 ? 1.0f : -1.0f, i & 4 ? 1.0f : -1.0f);
        corners.push_back(body.positionOffset + body.rotation * (sign * body.halfExtents));
    }
    return corners;
}

TEST(TrackModelsTest, BodiesMatchTheirKindAndStayWithinTheDrawnModel)
{
    for (const TrackModel& row : trackModels)
    {
        SCOPED_TRACE(row.file);
        switch (row.bodyKind)
        {
        case TrackBodyKind::None:
            EXPECT_TRUE(row.bodies.empty());
            continue;
        case TrackBodyKind::Compound:
            EXPECT_GT(row.bodies.size(), 1u);
            break;
        default:
            ASSERT_EQ(row.bodies.size(), 1u);
            const BodyKind expected = row.bodyKind == TrackBodyKind::Box        ? BodyKind::Box
                                      : row.bodyKind == TrackBodyKind::Sphere   ? BodyKind::Sphere
                                      : row.bodyKind == TrackBodyKind::Cylinder ? BodyKind::CylinderY
                                                                                : BodyKind::ConvexHull;
            EXPECT_EQ(row.bodies[0].kind, expected);
        }
        if (row.bodyKind == TrackBodyKind::Sphere || row.bodyKind == TrackBodyKind::ConvexHull ||
            (row.bodyKind == TrackBodyKind::Box && row.bodies[0].rotation != glm::quat(1, 0, 0, 0)))
        {
            continue;
        }
        for (const BodyDescription& body : row.bodies)
        {
            const glm::vec3 half = body.kind == BodyKind::Sphere ? glm::vec3(float(body.radius)) : body.halfExtents;
            const glm::vec3 low = body.positionOffset - half;
            const glm::vec3 high = body.positionOffset + half;
            EXPECT_LE(std::max(-low.x, high.x), row.halfWidth + 0.01f);
            EXPECT_LE(std::max(-low.z, high.z), row.halfLength + 0.01f);
            EXPECT_LE(high.y, row.height + 0.01f);
            EXPECT_GE(low.y, -row.depth - 0.01f);
        }
    }
    // The ramp's slab is turned so that its top face is the drawn slope, lip to crest.
    const TrackModel& ramp = trackModel(TrackModelId::Ramp);
    const std::vector<glm::vec3> corners = bodyCorners(ramp.bodies[0]);
    const glm::vec3 lip(0.0f, -ramp.depth, -ramp.halfLength);
    const glm::vec3 crest(0.0f, ramp.height, ramp.halfLength);
    for (const glm::vec3& expected : {lip, crest})
    {
        for (const float x : {-ramp.halfWidth, ramp.halfWidth})
        {
            const glm::vec3 corner = expected + glm::vec3(x, 0.0f, 0.0f);
            EXPECT_TRUE(std::any_of(corners.begin(), corners.end(),
                                    [&](glm::vec3 c) { return glm::distance(c, corner) < 1e-3f; }))
                << corner.x << " " << corner.y << " " << corner.z;
        }
    }
}

} // namespace
