#include "engine/Log.hpp"
#include "engine/SwapChainDependents.hpp"
#include "gpu/Frames.hpp"
#include "gpu/GpuHarness.hpp"
#include "graphics/Mesh.hpp"
#include "graphics/Pipeline2.hpp"
#include "graphics/PipelineStates.hpp"
#include "support/StdoutCapture.hpp"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace
{
using Pipeline2Test = GpuTest;

// The last `count` owners on the swap-chain list, in order.
std::vector<const void*> lastListed(std::size_t count)
{
    std::vector<const void*> owners;
    for (const SwapChainDependent& dependent : getSwapChainDependents())
    {
        owners.push_back(dependent.owner);
    }
    return {owners.end() - std::min(count, owners.size()), owners.end()};
}

bool released(const Pipeline2& pipeline)
{
    return pipeline.pipeline == VK_NULL_HANDLE && pipeline.descriptorPool == VK_NULL_HANDLE &&
           pipeline.descriptorSetLayout == VK_NULL_HANDLE && pipeline.pipelineLayout == VK_NULL_HANDLE &&
           pipeline.renderPass == VK_NULL_HANDLE && pipeline.framebuffers.empty();
}

TEST_F(Pipeline2Test, PipelinesListedInOrderLeaveWhenDestroyedOrDeletedAndOnlyCreatedOnesFollowTheRebuildWithTheirDepth)
{
    Pipeline2 created(&system);
    Pipeline2 uncreated(&system);
    Pipeline2 destroyed(&system);
    auto deleted = std::make_unique<Pipeline2>(&system);
    EXPECT_EQ(lastListed(4), (std::vector<const void*>{&created, &uncreated, &destroyed, deleted.get()}));
    ASSERT_TRUE(createFillPipeline(created));
    ASSERT_TRUE(createFillPipeline(destroyed));
    destroyPipeline2(destroyed);
    deleted.reset();
    EXPECT_EQ(lastListed(2), (std::vector<const void*>{&created, &uncreated}));

    // Depth-tested triangles over the fill: a nearer green one, then a farther red one.
    Pipeline2 lines(&system);
    PipelineDescription description = withDepth(describePipeline("Line.vert", "Colour.frag"));
    description.colourLoadOp = VK_ATTACHMENT_LOAD_OP_LOAD;
    appendColourClearValues(lines.clearValues, 1);
    const VkExtent2D extent = system.swapChain.extent;
    ASSERT_TRUE(
        createPipeline2<LineVertex>(lines, description, {viewportCovering(extent)}, {scissorCovering(extent)}));
    MeshContainer meshes{&system, {}, {}};
    MeshData<LineVertex> triangles{{}, {0, 1, 2, 3, 4, 5}};
    for (const auto& [depth, colour] : {std::pair{0.2f, glm::vec3(0, 1, 0)}, std::pair{0.6f, glm::vec3(1, 0, 0)}})
    {
        triangles.vertices.insert(triangles.vertices.end(), {{{0.0f, -0.3f, depth}, colour},
                                                             {{0.15f, 0.3f, depth}, colour},
                                                             {{-0.15f, 0.3f, depth}, colour}});
    }
    const Mesh* lineMesh = createMesh(meshes, triangles).value_or(nullptr);
    ASSERT_NE(lineMesh, nullptr);

    const FrameRecorder record = [&](const FrameInfo& frame) {
        recordFill(created, frame);
        beginPipeline2(lines, frame.commandBuffer, frame.frameIndex, frame.imageIndex);
        drawMesh(*lineMesh, frame);
        vkCmdEndRenderPass(frame.commandBuffer);
    };
    const auto resize = [&](int width, int height) {
        glfwSetWindowSize(system.window, width, height);
        for (int frame = 0; frame < 30 && system.swapChain.extent.width != std::uint32_t(width); ++frame)
        {
            presentFrame(system, record);
        }
        return system.swapChain.extent.width == std::uint32_t(width);
    };
    ASSERT_TRUE(resize(200, 100));

    // The render area follows the new extent, the viewport keeps the old one
    // and the depth attachments are the new depth images.
    expectWindowShows(system, record,
                      {{150, 90, fillColour}, {190, 50, {0, 0, 0}}, {80, 60, {0, 255, 0}}, {70, 40, fillColour}});

    ASSERT_TRUE(system.recreateSwapChain());
    EXPECT_TRUE(released(uncreated));
    EXPECT_TRUE(released(destroyed));

    EXPECT_TRUE(resize(160, 120));
    system.waitIdle();
    destroyPipeline2(created);
    destroyPipeline2(lines);
    destroyMeshes(meshes);
    // Loaded anew after a failed activation: back on the list.
    ASSERT_TRUE(createFillPipeline(destroyed));
    EXPECT_EQ(lastListed(1), std::vector<const void*>{&destroyed});
    destroyPipeline2(destroyed);
    EXPECT_FALSE(hasErrors());
}

TEST_F(Pipeline2Test, FailedCreationsSayWhyAndKeepWhatTheyMadeForDestroyWhichIsHarmlessTwice)
{
    const PipelineShader vertex{VK_SHADER_STAGE_VERTEX_BIT, testShader("FullScreen.vert")};
    const std::vector<std::pair<std::vector<PipelineShader>, std::string>> cases{
        {{{VK_SHADER_STAGE_FRAGMENT_BIT, testShader("Fill.frag")}}, "ERROR: One vertex shader is needed."},
        {{vertex, vertex}, "ERROR: Only one shader per stage is allowed."},
        {{vertex, {VK_SHADER_STAGE_FRAGMENT_BIT, testShader("Missing.frag")}},
         "ERROR: Shader file \"" + testShader("Missing.frag") + "\" could not be read."},
    };
    for (const auto& [shaders, line] : cases)
    {
        Pipeline2 pipeline(&system);
        PipelineDescription description;
        description.shaders = shaders;
        description.descriptorBindings = {{VK_DESCRIPTOR_TYPE_UNIFORM_BUFFER, VK_SHADER_STAGE_VERTEX_BIT}};
        StdoutCapture capture;
        EXPECT_FALSE(createSwapChainPipeline2(pipeline, description));
        EXPECT_EQ(capture.messages(), std::vector<std::string>{line});
        EXPECT_TRUE(hasErrors());
        EXPECT_NE(pipeline.renderPass, VK_NULL_HANDLE);
        destroyPipeline2(pipeline);
        destroyPipeline2(pipeline);
        EXPECT_TRUE(released(pipeline));
        resetErrorFlagForTesting();
    }
}
}
