#include "engine/FileIo.hpp"
#include "engine/Log.hpp"
#include "graphics/ObjLoader.hpp"
#include "support/StdoutCapture.hpp"
#include "support/TemporaryFolder.hpp"

#include <fmt/format.h>
#include <glm/geometric.hpp>
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <tuple>

namespace
{
class ObjLoaderTest : public ::testing::Test
{
protected:
    void SetUp() override { resetErrorFlagForTesting(); }
    void TearDown() override { resetErrorFlagForTesting(); }

    static ObjMeshData load(const std::string& text)
    {
        EXPECT_TRUE(writeFile("model.obj", text, false));
        return loadObj("model.obj");
    }

    TemporaryFolder folder;
};

// A unit cube as exporters write it: eight shared positions, one normal and
// one texture square per face, two triangles per face.
std::string cubeText(const std::string& lineEnd)
{
    std::string text = "# cube" + lineEnd + "o Cube" + lineEnd;
    for (int corner = 0; corner < 8; ++corner)
    {
        text += fmt::format("v {} {} {}{}", corner & 1, (corner >> 1) & 1, (corner >> 2) & 1, lineEnd);
    }
    text += "vt 0 0" + lineEnd + "vt 1 0" + lineEnd + "vt 1 1" + lineEnd + "vt 0 1" + lineEnd;
    text += "vn -1 0 0" + lineEnd + "vn 1 0 0" + lineEnd + "vn 0 -1 0" + lineEnd + "vn 0 1 0" + lineEnd +
            "vn 0 0 -1" + lineEnd + "vn 0 0 1" + lineEnd;
    // Corners of each side in counter-clockwise order seen from outside.
    const int sides[6][4] = {{0, 4, 6, 2}, {1, 3, 7, 5}, {0, 1, 5, 4}, {2, 6, 7, 3}, {0, 2, 3, 1}, {4, 5, 7, 6}};
    text += "s off" + lineEnd + "usemtl Hull" + lineEnd;
    for (int side = 0; side < 6; ++side)
    {
        const auto corner = [&](int i) { return fmt::format("{}/{}/{}", sides[side][i] + 1, i + 1, side + 1); };
        text += fmt::format("f {} {} {}{}", corner(0), corner(1), corner(2), lineEnd);
        text += fmt::format("f {} {} {}{}", corner(0), corner(2), corner(3), lineEnd);
    }
    return text;
}

void expectSameMesh(const ObjMeshData& actual, const ObjMeshData& expected)
{
    EXPECT_EQ(actual.valid, expected.valid);
    EXPECT_EQ(actual.indices, expected.indices);
    ASSERT_EQ(actual.vertices.size(), expected.vertices.size());
    for (std::size_t i = 0; i < actual.vertices.size(); ++i)
    {
        EXPECT_EQ(actual.vertices[i].position, expected.vertices[i].position) << i;
        EXPECT_EQ(actual.vertices[i].texCoord, expected.vertices[i].texCoord) << i;
        EXPECT_EQ(actual.vertices[i].normal, expected.vertices[i].normal) << i;
        EXPECT_EQ(actual.vertices[i].tangent, expected.vertices[i].tangent) << i;
    }
}

void expectNear(const glm::vec3& actual, const glm::vec3& expected)
{
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_NEAR(actual[i], expected[i], 1e-6f) << "component " << i;
    }
}

TEST_F(ObjLoaderTest, CubeGetsOneVertexPerDistinctCornerTripleWithUnitTangents)
{
    const ObjMeshData cube = load(cubeText("\n"));
    ASSERT_TRUE(cube.valid);
    EXPECT_EQ(cube.vertices.size(), 24u);
    ASSERT_EQ(cube.indices.size(), 36u);
    // The second triangle of a side reuses two corners of the first.
    EXPECT_EQ(std::vector<std::uint32_t>(cube.indices.begin(), cube.indices.begin() + 6),
              (std::vector<std::uint32_t>{0, 1, 2, 0, 2, 3}));

    std::set<std::tuple<float, float, float, float, float, float, float, float>> distinct;
    for (const ModelVertex& vertex : cube.vertices)
    {
        distinct.emplace(vertex.position.x, vertex.position.y, vertex.position.z, vertex.texCoord.x,
                         vertex.texCoord.y, vertex.normal.x, vertex.normal.y, vertex.normal.z);
        EXPECT_NEAR(glm::length(vertex.tangent), 1.0f, 1e-6f);
        EXPECT_NEAR(glm::dot(vertex.tangent, vertex.normal), 0.0f, 1e-6f);
    }
    EXPECT_EQ(distinct.size(), 24u);
    EXPECT_FALSE(hasErrors());
}

TEST_F(ObjLoaderTest, WindowsLineEndsLoadExactlyLikeUnixOnes)
{
    const ObjMeshData newlines = load(cubeText("\n"));
    const ObjMeshData carriageReturns = load(cubeText("\r\n"));
    ASSERT_TRUE(carriageReturns.valid);
    expectSameMesh(carriageReturns, newlines);
}

TEST_F(ObjLoaderTest, TextureCoordinatesAreFlippedAndMissingNumbersAreZero)
{
    const ObjMeshData mesh = load("v 1 2 3 4\nv 5\nv 6 7\n"
                                  "vt 0.25 0.75\nvt 0.25 0\nvt 0.5 0.5 0\nvt 0.125\n"
                                  "vn 0 0 1\n"
                                  "f 1/1/1 2/2/1 3/3/1\nf 3/4/1 2/2/1 1/1/1");
    ASSERT_TRUE(mesh.valid);
    ASSERT_EQ(mesh.vertices.size(), 4u);
    EXPECT_EQ(mesh.indices, (std::vector<std::uint32_t>{0, 1, 2, 3, 1, 0}));
    EXPECT_EQ(mesh.vertices[0].position, glm::vec3(1.0f, 2.0f, 3.0f));
    EXPECT_EQ(mesh.vertices[1].position, glm::vec3(5.0f, 0.0f, 0.0f));
    EXPECT_EQ(mesh.vertices[2].position, glm::vec3(6.0f, 7.0f, 0.0f));
    EXPECT_EQ(mesh.vertices[0].texCoord, glm::vec2(0.25f, 0.25f));
    EXPECT_EQ(mesh.vertices[1].texCoord, glm::vec2(0.25f, 1.0f));
    EXPECT_EQ(mesh.vertices[2].texCoord, glm::vec2(0.5f, 0.5f));
    EXPECT_EQ(mesh.vertices[3].texCoord, glm::vec2(0.125f, 1.0f));
}

TEST_F(ObjLoaderTest, LeftOutComponentsNameTheFirstEntryWhenThereIsOne)
{
    const ObjMeshData mesh = load("v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0.5 0.5\nvn 0 0 1\nvn 1 0 0\n"
                                  "f 1 2 3\nf 1/1 2/1 3/1/2\n");
    ASSERT_TRUE(mesh.valid);
    EXPECT_EQ(mesh.indices, (std::vector<std::uint32_t>{0, 1, 2, 0, 1, 3}));
    EXPECT_EQ(mesh.vertices[0].texCoord, glm::vec2(0.5f, 0.5f));
    EXPECT_EQ(mesh.vertices[0].normal, glm::vec3(0.0f, 0.0f, 1.0f));
    EXPECT_EQ(mesh.vertices[3].normal, glm::vec3(1.0f, 0.0f, 0.0f));
}

TEST_F(ObjLoaderTest, OtherStatementsAndBlankLinesAreIgnored)
{
    const ObjMeshData mesh = load("# comment\n\nmtllib boat.mtl\no Boat\ng hull\ns 1\nusemtl Paint\n"
                                  "vp 0.5 0.5\n  v 9 9 9\n\tf 9 9 9\nvx 1\n\r\n"
                                  "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvn 0 0 1\n\n\nf 1/1/1 2/1/1 3/1/1");
    ASSERT_TRUE(mesh.valid);
    EXPECT_EQ(mesh.vertices.size(), 3u);
    EXPECT_EQ(mesh.indices.size(), 3u);
    EXPECT_EQ(mesh.vertices[1].position, glm::vec3(1.0f, 0.0f, 0.0f));
    EXPECT_FALSE(hasErrors());
}

TEST_F(ObjLoaderTest, FileWithoutFacesIsAValidEmptyMesh)
{
    for (const std::string text : {"", "v 1 2 3\nvn 0 0 1\n"})
    {
        const ObjMeshData mesh = load(text);
        EXPECT_TRUE(mesh.valid);
        EXPECT_TRUE(mesh.vertices.empty());
        EXPECT_TRUE(mesh.indices.empty());
    }
    EXPECT_FALSE(hasErrors());
}

TEST_F(ObjLoaderTest, UnreadableFileIsNamedInTheErrorLog)
{
    std::filesystem::create_directory("folder.obj");
    StdoutCapture capture;
    EXPECT_FALSE(loadObj("Assets/Models/none.obj").valid);
    EXPECT_FALSE(loadObj("folder.obj").valid);
    const std::vector<std::string> lines = capture.lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(withoutTimestamp(lines[0]), "ERROR: OBJ file \"Assets/Models/none.obj\" could not be read.");
    EXPECT_EQ(withoutTimestamp(lines[1]), "ERROR: OBJ file \"folder.obj\" could not be read.");
    EXPECT_TRUE(hasErrors());
}

TEST_F(ObjLoaderTest, MalformedFilesFailWholeWithTheMessageOfTheirFirstBadStatement)
{
    const std::string position = "loading has failed in vertex position obtaining.";
    const std::string uv = "loading has failed in vertex uv obtaining.";
    const std::string normal = "loading has failed in vertex normal obtaining.";
    const std::string face = "has failed in vertex face obtaining.";
    // Three positions, one texture coordinate and one normal come first.
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"v 1  2 3", position},
        {"v 1 2 3 ", position},
        {"v  1 2 3", position},
        {"v ", position},
        {"v 1 x 3", position},
        {"v +1 2 3", position},
        {"v 1e999 0 0", position},
        {"v x\nvn x", position},
        {"vt", uv},
        {"vt ", uv},
        {"vt a b", uv},
        {"vt 0.5  0.5", uv},
        {"vn", normal},
        {"vn\r", normal},
        {"vn 0 0 1 ", normal},
        {"f", face},
        {"f ", face},
        {"f\r", face},
        {"face", face},
        {"f 1 2", face},
        {"f 1/1/1 2/1/1", face},
        {"f 1 2 3 1", face},
        {"f 1 2 3 ", face},
        {"f 1//1 2//1 3//1", face},
        {"f 1/1/1/1 2/1/1 3/1/1", face},
        {"f 1/1/1/ 2/1/1 3/1/1", face},
        {"f -1 -2 -3", face},
        {"f +1 2 3", face},
        {"f 0 1 2", face},
        {"f 1 2 4", face},
        {"f 1/2/1 2/1/1 3/1/1", face},
        {"f 1/1/1 2/1/1 3/1/2", face},
        {"f 1/1/1 2/1/1 3/1/0", face},
        {"f 4294967295 1 1", face},
        {"f 4294967296 1 1", face},
        {"f 99999999999999999999 1 1", face},
        {"f a 2 3", face},
        {"f 1 2 9\nv x", position},
    };
    const std::string prelude = "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvn 0 0 1\n";
    for (const auto& [statement, message] : cases)
    {
        resetErrorFlagForTesting();
        StdoutCapture capture;
        const ObjMeshData mesh = load(prelude + statement + "\nf 1/1/1 2/1/1 3/1/1\n");
        EXPECT_FALSE(mesh.valid) << statement;
        EXPECT_TRUE(mesh.vertices.empty()) << statement;
        EXPECT_TRUE(mesh.indices.empty()) << statement;
        EXPECT_TRUE(hasErrors()) << statement;
        const std::vector<std::string> lines = capture.lines();
        ASSERT_EQ(lines.size(), 1u) << statement;
        EXPECT_EQ(withoutTimestamp(lines[0]), "ERROR: OBJ file \"model.obj\" " + message) << statement;
    }
}

TEST_F(ObjLoaderTest, FaceNamingAnEmptyListFails)
{
    StdoutCapture capture;
    EXPECT_FALSE(load("v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n").valid);
    EXPECT_FALSE(load("v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nf 1/1 2/1 3/1\n").valid);
    EXPECT_FALSE(load("f 1/1/1 1/1/1 1/1/1\n").valid);
    ASSERT_EQ(capture.lines().size(), 3u);
    EXPECT_EQ(withoutTimestamp(capture.lines()[0]), "ERROR: OBJ file \"model.obj\" has failed in vertex face obtaining.");
}

TEST_F(ObjLoaderTest, IndicesBeyondWhatACornerKeyHoldsFail)
{
    // 2^21 + 1 normals: the last is one past what 21 bits can tell apart.
    std::string text = "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\n";
    text.reserve(text.size() + 9 * ((1u << 21) + 1) + 64);
    for (std::uint32_t i = 0; i <= (1u << 21); ++i)
    {
        text += "vn 0 0 1\n";
    }
    StdoutCapture capture;
    EXPECT_TRUE(parseObj(text + "f 1/1/1 2/1/1 3/1/2097152\n", "big.obj").valid);
    EXPECT_FALSE(parseObj(text + "f 1/1/1 2/1/1 3/1/2097153\n", "big.obj").valid);
    ASSERT_EQ(capture.lines().size(), 1u);
    EXPECT_EQ(withoutTimestamp(capture.lines()[0]), "ERROR: OBJ file \"big.obj\" has failed in vertex face obtaining.");
}

TEST(ObjTangentTest, TangentFollowsTheFirstTextureAxisOrthogonalToTheNormal)
{
    const std::string triangle = "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvt 1 0\nvt 0 1\n";
    const ObjMeshData flat = parseObj(triangle + "vn 0 0 1\nf 1/1/1 2/2/1 3/3/1\n", "flat.obj");
    ASSERT_TRUE(flat.valid);
    for (const ModelVertex& vertex : flat.vertices)
    {
        expectNear(vertex.tangent, glm::vec3(1.0f, 0.0f, 0.0f));
    }

    const ObjMeshData tilted = parseObj(triangle + "vn 0.6 0 0.8\nf 1/1/1 2/2/1 3/3/1\n", "tilted.obj");
    ASSERT_TRUE(tilted.valid);
    for (const ModelVertex& vertex : tilted.vertices)
    {
        expectNear(vertex.tangent, glm::vec3(0.8f, 0.0f, -0.6f));
    }
}

TEST(ObjTangentTest, DegenerateTangentsStayZero)
{
    // Equal texture coordinates give no direction at all.
    const ObjMeshData sameUv = parseObj("v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0.5 0.5\nvn 0 0 1\nf 1/1/1 2/1/1 3/1/1\n",
                                        "same.obj");
    ASSERT_TRUE(sameUv.valid);
    for (const ModelVertex& vertex : sameUv.vertices)
    {
        EXPECT_EQ(vertex.tangent, glm::vec3(0.0f));
    }

    // A tangent along the normal has nothing left once made orthogonal to it.
    const ObjMeshData alongNormal = parseObj(
        "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvt 1 0\nvt 0 1\nvn 1 0 0\nf 1/1/1 2/2/1 3/3/1\n", "along.obj");
    ASSERT_TRUE(alongNormal.valid);
    for (const ModelVertex& vertex : alongNormal.vertices)
    {
        EXPECT_EQ(vertex.tangent, glm::vec3(0.0f));
    }
}

TEST(ObjTangentTest, SharedVerticesSumTheTangentsOfTheirTriangles)
{
    std::vector<ModelVertex> vertices(5);
    const glm::vec3 positions[] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 2, 0}, {0, 0, 1}};
    const glm::vec2 texCoords[] = {{0, 0}, {1, 0}, {0, 1}, {1, 0}, {0, 1}};
    for (std::size_t i = 0; i < vertices.size(); ++i)
    {
        vertices[i].position = positions[i];
        vertices[i].texCoord = texCoords[i];
        vertices[i].normal = glm::vec3(0.0f, 0.0f, 1.0f);
    }
    // The last triangle names a vertex that does not exist and is passed over.
    computeTangents(vertices, {0, 1, 2, 0, 3, 4, 0, 1, 99});
    // Weighted by size, not averaged: (1, 0, 0) + (0, 2, 0).
    expectNear(vertices[0].tangent, glm::normalize(glm::vec3(1.0f, 2.0f, 0.0f)));
    expectNear(vertices[1].tangent, glm::vec3(1.0f, 0.0f, 0.0f));
    expectNear(vertices[3].tangent, glm::vec3(0.0f, 1.0f, 0.0f));
}
}
