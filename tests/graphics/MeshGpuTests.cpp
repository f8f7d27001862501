#include "engine/Log.hpp"
#include "gpu/Frames.hpp"
#include "gpu/GpuHarness.hpp"
#include "graphics/Mesh.hpp"
#include "graphics/Pipeline2.hpp"
#include "graphics/PipelineStates.hpp"
#include "support/StdoutCapture.hpp"

#include <glm/gtc/matrix_transform.hpp>

#include <string>
#include <vector>

namespace
{
using MeshTest = GpuTest;

constexpr std::array<std::uint8_t, 3> green{0, 255, 0};
constexpr std::array<std::uint8_t, 3> blue{0, 0, 255};

template <typename Vertex, typename Instance = void>
bool createLoadingPipeline(Pipeline2& pipeline, PipelineDescription description)
{
    description.colourLoadOp = VK_ATTACHMENT_LOAD_OP_LOAD;
    appendColourClearValues(pipeline.clearValues, 1);
    const VkExtent2D extent = pipeline.graphicsSystem->swapChain.extent;
    return createPipeline2<Vertex, Instance>(pipeline, description, {viewportCovering(extent)},
                                             {scissorCovering(extent)});
}

ModelInstance placedAt(float x, float y)
{
    return {glm::scale(glm::translate(glm::mat4(1.0f), glm::vec3(x, y, 0.0f)), glm::vec3(0.2f))};
}

TEST_F(MeshTest, SwapChainPipelinesDrawTheirMeshesInTurnAndInstanceUpdatesReplaceOnlyLeadingRecords)
{
    Pipeline2 fill(&system);
    ASSERT_TRUE(createFillPipeline(fill));
    Pipeline2 lines(&system);
    PipelineDescription lineDescription = describePipeline("Line.vert", "Colour.frag");
    lineDescription.depthTest = true;
    lineDescription.depthWrite = true;
    lineDescription.depthLoadOp = VK_ATTACHMENT_LOAD_OP_CLEAR;
    lineDescription.hasDepthAttachment = true;
    ASSERT_TRUE(createLoadingPipeline<LineVertex>(lines, lineDescription));
    Pipeline2 models(&system);
    ASSERT_TRUE((createLoadingPipeline<ModelVertex, ModelInstance>(
        models, describePipeline("ModelInstance.vert", "Colour.frag"))));

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

    const glm::vec3 normal(0.0f, 0.0f, 1.0f);
    const MeshData<ModelVertex> square{{{{-1.0f, -1.0f, 0.0f}, {}, normal, {}},
                                        {{1.0f, -1.0f, 0.0f}, {}, normal, {}},
                                        {{1.0f, 1.0f, 0.0f}, {}, normal, {}},
                                        {{-1.0f, 1.0f, 0.0f}, {}, normal, {}}},
                                       {0, 1, 2, 2, 3, 0}};
    InstancedMesh* instanced =
        createInstancedMesh(meshes, square, std::vector<ModelInstance>{placedAt(0.6f, -0.5f), placedAt(0.6f, 0.5f)})
            .value_or(nullptr);
    ASSERT_NE(instanced, nullptr);

    const FrameRecorder record = [&](const FrameInfo& frame) {
        recordFill(fill, frame);
        beginPipeline2(lines, frame.commandBuffer, frame.frameIndex, frame.imageIndex);
        drawMesh(*lineMesh, frame);
        vkCmdEndRenderPass(frame.commandBuffer);
        beginPipeline2(models, frame.commandBuffer, frame.frameIndex, frame.imageIndex);
        drawInstancedMesh(*instanced, frame);
        vkCmdEndRenderPass(frame.commandBuffer);
    };
    expectWindowShows(system, record,
                      {{5, 5, fillColour},
                       {80, 60, green},
                       {128, 30, blue},
                       {128, 60, fillColour},
                       {128, 90, blue}});

    // Only the first record moves; the second keeps its place.
    system.waitIdle();
    const ModelInstance moved = placedAt(0.6f, 0.0f);
    ASSERT_TRUE(updateInstances(*instanced, system, &moved, sizeof(moved)));
    EXPECT_EQ(instanced->instanceCount, 2u);
    expectWindowShows(system, record, {{128, 30, fillColour}, {128, 60, blue}, {128, 90, blue}});

    system.waitIdle();
    const std::vector<ModelInstance> tooMany(3, moved);
    EXPECT_FALSE(updateInstances(*instanced, system, tooMany.data(), 3 * sizeof(ModelInstance)));
    EXPECT_TRUE(updateInstances(*instanced, system, tooMany.data(), 0));
    EXPECT_FALSE(hasErrors());

    for (Pipeline2* pipeline : {&fill, &lines, &models})
    {
        destroyPipeline2(*pipeline);
    }
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
    ASSERT_EQ(meshes.meshes.size(), 2u);
    ASSERT_EQ(meshes.instancedMeshes.size(), 2u);
    for (const auto& mesh : meshes.meshes)
    {
        EXPECT_TRUE(mesh->indexCount == 0 && !mesh->vertexBuffer.buffer && !mesh->indexBuffer.buffer);
    }
    for (const auto& mesh : meshes.instancedMeshes)
    {
        EXPECT_TRUE(mesh->instanceCount == 0 && !mesh->vertexBuffer.buffer && !mesh->instanceBuffer.buffer &&
                    !mesh->indexBuffer.buffer);
    }
    resetErrorFlagForTesting();

    ASSERT_TRUE(createInstancedMesh(meshes, triangle, oneLight).has_value());
    destroyMeshes(meshes);
    destroyMeshes(meshes);
    EXPECT_TRUE(meshes.meshes.empty());
    EXPECT_TRUE(meshes.instancedMeshes.empty());
    EXPECT_FALSE(hasErrors());
}
}
