#include "engine/Log.hpp"
#include "gpu/Frames.hpp"
#include "gpu/GpuHarness.hpp"
#include "graphics/Mesh.hpp"
#include "graphics/Pipeline2.hpp"
#include "graphics/PipelineStates.hpp"
#include "support/StdoutCapture.hpp"

#include <string>
#include <vector>

namespace
{
using MeshTest = GpuTest;

constexpr std::array<std::uint8_t, 3> green{0, 255, 0};

TEST_F(MeshTest, SwapChainPipelinesDrawTheirMeshesInTurnAndTheDepthPassKeepsTheNearerTriangle)
{
    Pipeline2 fill(&system);
    ASSERT_TRUE(createFillPipeline(fill));
    Pipeline2 lines(&system);
    PipelineDescription lineDescription = describePipeline("Line.vert", "Colour.frag");
    lineDescription.depthTest = true;
    lineDescription.depthWrite = true;
    lineDescription.depthLoadOp = VK_ATTACHMENT_LOAD_OP_CLEAR;
    lineDescription.hasDepthAttachment = true;
    lineDescription.colourLoadOp = VK_ATTACHMENT_LOAD_OP_LOAD;
    appendColourClearValues(lines.clearValues, 1);
    const VkExtent2D extent = system.swapChain.extent;
    ASSERT_TRUE(createPipeline2<LineVertex>(lines, lineDescription, {viewportCovering(extent)},
                                            {scissorCovering(extent)}));

    MeshContainer meshes{&system, {}, {}};
    // A nearer green triangle, then a farther red one over it.
    const glm::vec3 greenColour(0.0f, 1.0f, 0.0f);
    const glm::vec3 redColour(1.0f, 0.0f, 0.0f);
    const MeshData<LineVertex> triangles{{{{0.0f, -0.3f, 0.2f}, greenColour},
                                          {{0.15f, 0.3f, 0.2f}, greenColour},
                                          {{-0.15f, 0.3f, 0.2f}, greenColour},
                                          {{0.0f, -0.3f, 0.6f}, redColour},
                                          {{0.15f, 0.3f, 0.6f}, redColour},
                                          {{-0.15f, 0.3f, 0.6f}, redColour}},
                                         {0, 1, 2, 3, 4, 5}};
    Mesh* lineMesh = createMesh(meshes, triangles).value_or(nullptr);
    ASSERT_NE(lineMesh, nullptr);

    const FrameRecorder record = [&](const FrameInfo& frame) {
        recordFill(fill, frame);
        beginPipeline2(lines, frame.commandBuffer, frame.frameIndex, frame.imageIndex);
        drawMesh(*lineMesh, frame);
        vkCmdEndRenderPass(frame.commandBuffer);
    };
    expectWindowShows(system, record, {{5, 5, fillColour}, {80, 60, green}, {70, 40, fillColour}});

    system.waitIdle();
    EXPECT_FALSE(hasErrors());
    destroyPipeline2(fill);
    destroyPipeline2(lines);
    destroyMeshes(meshes);
}

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
    // The creators' own sentences are debug ones; only the refused buffers are reported.
    EXPECT_EQ(capture.messages(), std::vector<std::string>(4, "ERROR: Vulkan buffer creation has failed."));
    // The records stay, with nothing to draw, for destroyMeshes (leaked or twice-freed
    // buffers are the validation run's to catch).
    EXPECT_EQ(meshes.meshes.size(), 2u);
    EXPECT_EQ(meshes.instancedMeshes.size(), 2u);
    EXPECT_TRUE(meshes.meshes[0]->indexCount == 0 && meshes.instancedMeshes[1]->instanceCount == 0);
    resetErrorFlagForTesting();

    ASSERT_TRUE(createInstancedMesh(meshes, triangle, oneLight).has_value());
    destroyMeshes(meshes);
    destroyMeshes(meshes);
    EXPECT_TRUE(meshes.meshes.empty());
    EXPECT_TRUE(meshes.instancedMeshes.empty());
    EXPECT_FALSE(hasErrors());
}
}
