#include "engine/Log.hpp"
#include "gpu/GpuHarness.hpp"
#include "graphics/Mesh.hpp"
#include "support/StdoutCapture.hpp"

#include <string>
#include <vector>

namespace
{
using MeshTest = GpuTest;

TEST_F(MeshTest, FailedCreationsReleaseTheirBuffersAndLeaveNullRecordsForDestroyMeshes)
{
    MeshContainer meshes{&system, {}, {}};
    const MeshData<PositionVertex> noIndices{{{{0.0f, 0.0f, 0.0f}}, {{1.0f, 0.0f, 0.0f}}, {{0.0f, 1.0f, 0.0f}}}, {}};
    const MeshData<PositionVertex> noVertices{{}, {0, 1, 2}};
    const std::vector<PointLightInstance> oneLight{{glm::vec4(1.0f), glm::vec4(0.0f)}};
    const MeshData<PositionVertex> triangle{noIndices.vertices, noVertices.indices};
    StdoutCapture capture;
    EXPECT_FALSE(createMesh(meshes, noIndices).has_value());
    EXPECT_FALSE(createMesh(meshes, noVertices).has_value());
    EXPECT_FALSE(createInstancedMesh(meshes, noIndices, oneLight).has_value());
    EXPECT_FALSE(createInstancedMesh(meshes, triangle, std::vector<PointLightInstance>{}).has_value());
    const MeshData<ScreenVertex> quadWithoutIndices{std::vector<ScreenVertex>(4), {}};
    EXPECT_FALSE(createDynamicMesh(meshes, quadWithoutIndices).has_value());
    // The creators' own sentences are debug ones; only the refused buffers are reported.
    EXPECT_EQ(capture.messages(), std::vector<std::string>(5, "ERROR: Vulkan buffer creation has failed."));
    // The records stay, with nothing to draw, for destroyMeshes (leaked or twice-freed
    // buffers are the validation run's to catch).
    EXPECT_EQ(meshes.meshes.size(), 3u);
    EXPECT_TRUE(meshes.meshes[2]->dynamicVertices.records.empty());
    EXPECT_EQ(meshes.instancedMeshes.size(), 2u);
    EXPECT_TRUE(meshes.meshes[0]->indexCount == 0 && meshes.instancedMeshes[1]->instanceCount == 0);
    resetErrorFlagForTesting();

    ASSERT_TRUE(createInstancedMesh(meshes, triangle, oneLight).has_value());
    destroyMeshes(meshes);
    destroyMeshes(meshes);
    EXPECT_TRUE(meshes.meshes.empty() && meshes.instancedMeshes.empty());
    EXPECT_FALSE(hasErrors());
}
}
