#include "engine/FileIo.hpp"
#include "engine/Log.hpp"
#include "graphics/ObjLoader.hpp"
#include "support/ErrorFlagTest.hpp"
#include "support/StdoutCapture.hpp"
#include "support/TemporaryFolder.hpp"

#include <glm/geometric.hpp>

#include <cstring>
#include <regex>

namespace
{
class ObjLoaderTest : public ErrorFlagTest
{
protected:
    static ObjMeshData load(const std::string& text) { return parseObj(text, "model.obj"); }
};

void expectNear(const glm::vec3& actual, const glm::vec3& expected)
{
    EXPECT_LT(glm::length(actual - expected), 1e-6f) << actual.x << " " << actual.y << " " << actual.z;
}

TEST_F(ObjLoaderTest, CubeGetsOneVertexPerCornerTripleAndLoadsAlikeWithWindowsLineEnds)
{
    const std::string path = KELVANE_TEST_DATA_DIR "/cube.obj";
    const ObjMeshData cube = loadObj(path);
    ASSERT_TRUE(cube.valid);
    EXPECT_EQ(cube.vertices.size(), 24u);
    ASSERT_EQ(cube.indices.size(), 36u);
    EXPECT_EQ(std::vector<std::uint32_t>(cube.indices.begin(), cube.indices.begin() + 6),
              (std::vector<std::uint32_t>{0, 1, 2, 0, 2, 3}));
    for (const ModelVertex& vertex : cube.vertices)
    {
        EXPECT_NEAR(glm::length(vertex.tangent), 1.0f, 1e-6f);
        EXPECT_NEAR(glm::dot(vertex.tangent, vertex.normal), 0.0f, 1e-6f);
    }

    const ObjMeshData windows = load(std::regex_replace(readFile(path).value_or(""), std::regex("\n"), "\r\n"));
    EXPECT_EQ(windows.indices, cube.indices);
    ASSERT_EQ(windows.vertices.size(), cube.vertices.size());
    EXPECT_EQ(std::memcmp(windows.vertices.data(), cube.vertices.data(), cube.vertices.size() * sizeof(ModelVertex)), 0);
    EXPECT_FALSE(hasErrors());
}

TEST_F(ObjLoaderTest, ReadsPositionsCoordinatesNormalsAndFacesAndIgnoresTheRest)
{
    const ObjMeshData mesh = load("mtllib boat.mtl\ng hull\nusemtl Paint\nvp 0.5 0.5\n  v 9 9 9\n\tf 9\nvx 1\n\r\n\n"
                                  "v 1 2 3 4\nv 5\nv 6 7\n"
                                  "vt 0.25 0.75\nvt 0.25 0\nvt 0.5 0.5 0\nvt 0.125\nvn 0 0 1\nvn 1 0 0\n"
                                  "f 1/1/1 2/2/1 3/3/1\nf 3/4/2 2/2/1 1/1/1\nf 1 2/3 3/3/2");
    ASSERT_TRUE(mesh.valid);
    ASSERT_EQ(mesh.vertices.size(), 6u);
    // A bare position index is the same corner as 1/1/1.
    EXPECT_EQ(mesh.indices, (std::vector<std::uint32_t>{0, 1, 2, 3, 1, 0, 0, 4, 5}));
    EXPECT_EQ(mesh.vertices[0].position, glm::vec3(1.0f, 2.0f, 3.0f));
    EXPECT_EQ(mesh.vertices[1].position, glm::vec3(5.0f, 0.0f, 0.0f));
    // The second coordinate is flipped; a missing one reads as 0.
    EXPECT_EQ(mesh.vertices[0].texCoord, glm::vec2(0.25f, 0.25f));
    EXPECT_EQ(mesh.vertices[1].texCoord, glm::vec2(0.25f, 1.0f));
    EXPECT_EQ(mesh.vertices[3].texCoord, glm::vec2(0.125f, 1.0f));
    EXPECT_EQ(mesh.vertices[3].normal, glm::vec3(1.0f, 0.0f, 0.0f));
    EXPECT_EQ(mesh.vertices[4].normal, glm::vec3(0.0f, 0.0f, 1.0f));
}

TEST_F(ObjLoaderTest, NoFacesIsAValidEmptyMeshButNoFileIsAnError)
{
    EXPECT_TRUE(load("").valid);
    const ObjMeshData noFaces = load("v 1 2 3\nvn 0 0 1\n");
    EXPECT_TRUE(noFaces.valid);
    EXPECT_TRUE(noFaces.vertices.empty());
    EXPECT_FALSE(hasErrors());

    TemporaryFolder folder;
    std::filesystem::create_directory("folder.obj");
    StdoutCapture capture;
    EXPECT_FALSE(loadObj("Assets/Models/none.obj").valid);
    EXPECT_FALSE(loadObj("folder.obj").valid);
    EXPECT_EQ(capture.messages(), (std::vector<std::string>{"ERROR: OBJ file \"Assets/Models/none.obj\" could not be read.",
                                                            "ERROR: OBJ file \"folder.obj\" could not be read."}));
}

TEST_F(ObjLoaderTest, MalformedFilesFailWholeWithTheMessageOfTheirFirstBadStatement)
{
    const std::string position = "loading has failed in vertex position obtaining.";
    const std::string uv = "loading has failed in vertex uv obtaining.";
    const std::string normal = "loading has failed in vertex normal obtaining.";
    const std::string face = "has failed in vertex face obtaining.";
    const std::string lists = "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvn 0 0 1\n";
    const std::string positionsOnly = "v 0 0 0\nv 1 0 0\nv 0 1 0\n";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {lists + "v 1  2 3", position}, {lists + "v 1 2 3 ", position}, {lists + "v  1", position},
        {lists + "v ", position}, {lists + "v 1 x 3", position}, {lists + "v +1 2 3", position},
        {lists + "v 1e999 0 0", position}, {lists + "v x\nvn x", position}, {lists + "f 1 2 9\nv x", position},
        {lists + "vt", uv}, {lists + "vt ", uv}, {lists + "vt a b", uv}, {lists + "vt 0.5  0.5", uv},
        {lists + "vn", normal}, {lists + "vn\r", normal}, {lists + "vn 0 0 1 ", normal},
        {lists + "f", face}, {lists + "f ", face}, {lists + "f\r", face}, {lists + "face", face},
        {lists + "f 1 2", face}, {lists + "f 1 2 3 1", face}, {lists + "f 1 2 3 ", face},
        {lists + "f 1//1 2//1 3//1", face}, {lists + "f 1/1/1/1 2/1/1 3/1/1", face},
        {lists + "f 1/1/1/ 2/1/1 3/1/1", face}, {lists + "f -1 -2 -3", face}, {lists + "f +1 2 3", face},
        {lists + "f a 2 3", face}, {lists + "f 0 1 2", face}, {lists + "f 1 2 4", face},
        {lists + "f 1/2/1 2/1/1 3/1/1", face}, {lists + "f 1/1/1 2/1/1 3/1/2", face},
        {lists + "f 1/1/1 2/1/1 3/1/0", face}, {lists + "f 4294967295 1 1", face},
        {lists + "f 4294967296 1 1", face}, {lists + "f 99999999999999999999 1 1", face},
        // A left-out component names entry 0, which an empty list does not have.
        {positionsOnly + "f 1 2 3", face}, {positionsOnly + "vt 0 0\nf 1/1 2/1 3/1", face},
        {"f 1/1/1 1/1/1 1/1/1", face},
    };
    for (const auto& [text, message] : cases)
    {
        resetErrorFlagForTesting();
        StdoutCapture capture;
        const ObjMeshData mesh = load(text + "\nf 1/1/1 2/1/1 3/1/1\n");
        EXPECT_FALSE(mesh.valid) << text;
        EXPECT_TRUE(mesh.vertices.empty() && mesh.indices.empty()) << text;
        EXPECT_TRUE(hasErrors()) << text;
        EXPECT_EQ(capture.messages(), std::vector<std::string>{"ERROR: OBJ file \"model.obj\" " + message}) << text;
    }
}

TEST_F(ObjLoaderTest, IndicesBeyondWhatACornerKeyHoldsFail)
{
    // 2^21 + 1 normals: the last is one past what 21 bits tell apart.
    std::string text = "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\n";
    for (std::uint32_t i = 0; i <= (1u << 21); ++i)
    {
        text += "vn 0 0 1\n";
    }
    StdoutCapture capture;
    EXPECT_TRUE(parseObj(text + "f 1/1/1 2/1/1 3/1/2097152\n", "big.obj").valid);
    EXPECT_FALSE(parseObj(text + "f 1/1/1 2/1/1 3/1/2097153\n", "big.obj").valid);
    EXPECT_EQ(capture.messages(),
              std::vector<std::string>{"ERROR: OBJ file \"big.obj\" has failed in vertex face obtaining."});
}

TEST(ObjTangentTest, TangentFollowsTheFirstTextureAxisOrthogonalToTheNormalOrStaysZero)
{
    const std::string triangle = "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvt 1 0\nvt 0 1\n";
    const auto tangentWith = [&](const std::string& normal, const std::string& face) {
        const ObjMeshData mesh = parseObj(triangle + "vn " + normal + "\nf " + face + "\n", "t.obj");
        EXPECT_TRUE(mesh.valid);
        return mesh.vertices.empty() ? glm::vec3(-1.0f) : mesh.vertices[0].tangent;
    };
    expectNear(tangentWith("0 0 1", "1/1/1 2/2/1 3/3/1"), glm::vec3(1.0f, 0.0f, 0.0f));
    expectNear(tangentWith("0.6 0 0.8", "1/1/1 2/2/1 3/3/1"), glm::vec3(0.8f, 0.0f, -0.6f));
    // Equal texture coordinates give no direction; a tangent along the normal
    // has nothing left once made orthogonal to it.
    EXPECT_EQ(tangentWith("0 0 1", "1/1/1 2/1/1 3/1/1"), glm::vec3(0.0f));
    EXPECT_EQ(tangentWith("1 0 0", "1/1/1 2/2/1 3/3/1"), glm::vec3(0.0f));
}

TEST(ObjTangentTest, SharedVerticesSumTheTangentsOfTheirTriangles)
{
    std::vector<ModelVertex> vertices(5);
    const glm::vec3 positions[] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 2, 0}, {0, 0, 1}};
    const glm::vec2 texCoords[] = {{0, 0}, {1, 0}, {0, 1}, {1, 0}, {0, 1}};
    for (std::size_t i = 0; i < vertices.size(); ++i)
    {
        vertices[i] = ModelVertex{positions[i], texCoords[i], glm::vec3(0.0f, 0.0f, 1.0f), glm::vec3(0.0f)};
    }
    // The last triangle names a vertex that does not exist and is passed over.
    computeTangents(vertices, {0, 1, 2, 0, 3, 4, 0, 1, 99});
    // Weighted by size, not averaged: (1, 0, 0) + (0, 2, 0).
    expectNear(vertices[0].tangent, glm::normalize(glm::vec3(1.0f, 2.0f, 0.0f)));
    expectNear(vertices[1].tangent, glm::vec3(1.0f, 0.0f, 0.0f));
    expectNear(vertices[3].tangent, glm::vec3(0.0f, 1.0f, 0.0f));
}
}
