#include "engine/Log.hpp"
#include "engine/SwapChainDependents.hpp"
#include "engine/vulkan/ObjectWrappers.hpp"
#include "gpu/Frames.hpp"
#include "gpu/GpuHarness.hpp"
#include "graphics/Pipeline2.hpp"
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

constexpr std::array<std::uint8_t, 3> fillColour{255, 128, 64};

std::vector<const void*> dependentOwners()
{
    std::vector<const void*> owners;
    for (const SwapChainDependent& dependent : getSwapChainDependents())
    {
        owners.push_back(dependent.owner);
    }
    return owners;
}

bool isListed(const Pipeline2& pipeline)
{
    const std::vector<const void*> owners = dependentOwners();
    return std::find(owners.begin(), owners.end(), &pipeline) != owners.end();
}

PipelineDescription fillDescription()
{
    return describePipeline("FullScreen.vert", "Fill.frag");
}

void expectReleased(const Pipeline2& pipeline)
{
    EXPECT_EQ(pipeline.pipeline, VK_NULL_HANDLE);
    EXPECT_EQ(pipeline.descriptorPool, VK_NULL_HANDLE);
    EXPECT_EQ(pipeline.descriptorSetLayout, VK_NULL_HANDLE);
    EXPECT_EQ(pipeline.pipelineLayout, VK_NULL_HANDLE);
    EXPECT_EQ(pipeline.renderPass, VK_NULL_HANDLE);
    EXPECT_TRUE(pipeline.framebuffers.empty());
}

void drawFill(Pipeline2& pipeline, const FrameInfo& frame)
{
    beginPipeline2(pipeline, frame.commandBuffer, frame.frameIndex, frame.imageIndex);
    vkCmdDraw(frame.commandBuffer, 3, 1, 0, 0);
    vkCmdEndRenderPass(frame.commandBuffer);
}

TEST_F(Pipeline2Test, PipelinesJoinTheSwapChainListInOrderAndLeaveItWhenDestroyedOrDeleted)
{
    const std::size_t before = getSwapChainDependents().size();
    auto first = std::make_unique<Pipeline2>(&system);
    Pipeline2 second(&system);
    Pipeline2 third(&system);
    std::vector<const void*> owners = dependentOwners();
    ASSERT_EQ(owners.size(), before + 3);
    EXPECT_EQ(std::vector<const void*>(owners.end() - 3, owners.end()),
              (std::vector<const void*>{first.get(), &second, &third}));
    EXPECT_EQ(second.graphicsSystem, &system);
    expectReleased(second);
    EXPECT_TRUE(second.clearValues.empty());

    ASSERT_TRUE(createSwapChainPipeline2(second, fillDescription()));
    destroyPipeline2(second);
    EXPECT_FALSE(isListed(second));
    first.reset();
    EXPECT_EQ(dependentOwners().size(), before + 1);

    // Loaded anew after a failed activation: back on the list.
    ASSERT_TRUE(createSwapChainPipeline2(second, fillDescription()));
    EXPECT_TRUE(isListed(second));
    destroyPipeline2(second);
    EXPECT_FALSE(hasErrors());
}

TEST_F(Pipeline2Test, RebuildRemakesCreatedPipelinesOnlyAndFollowsTheNewExtent)
{
    Pipeline2 created(&system);
    ASSERT_TRUE(createSwapChainPipeline2(created, fillDescription()));
    Pipeline2 uncreated(&system);
    Pipeline2 destroyed(&system);
    ASSERT_TRUE(createSwapChainPipeline2(destroyed, fillDescription()));
    destroyPipeline2(destroyed);
    {
        Pipeline2 deleted(&system);
        ASSERT_TRUE(createSwapChainPipeline2(deleted, fillDescription()));
        destroyPipeline2(deleted);
    }

    glfwSetWindowSize(system.window, 200, 100);
    for (int frame = 0; frame < 30 && system.swapChain.extent.width != 200; ++frame)
    {
        presentFrame(system, [&](const FrameInfo& info) { drawFill(created, info); });
    }
    ASSERT_EQ(system.swapChain.extent.width, 200u);
    EXPECT_EQ(created.framebuffers.size(), system.swapChain.imageViews.size());
    EXPECT_TRUE(uncreated.framebuffers.empty());
    expectReleased(uncreated);
    expectReleased(destroyed);

    // The render area follows the new extent; the viewport keeps the old one.
    expectWindowShows(system, [&](const FrameInfo& frame) { drawFill(created, frame); },
                      {{150, 90, fillColour}, {190, 50, {0, 0, 0}}});

    ASSERT_TRUE(system.recreateSwapChain());
    EXPECT_EQ(created.framebuffers.size(), system.swapChain.imageViews.size());
    EXPECT_TRUE(uncreated.framebuffers.empty());

    glfwSetWindowSize(system.window, 160, 120);
    for (int frame = 0; frame < 30 && system.swapChain.extent.width != 160; ++frame)
    {
        presentFrame(system, [&](const FrameInfo& info) { drawFill(created, info); });
    }
    EXPECT_EQ(system.swapChain.extent.width, 160u);
    system.waitIdle();
    destroyPipeline2(created);
    EXPECT_FALSE(hasErrors());
    EXPECT_FALSE(glfwWindowShouldClose(system.window));
}

TEST_F(Pipeline2Test, ShaderStagesNeedOneVertexShaderAndOneShaderPerStage)
{
    Pipeline2 pipeline(&system);
    VkDevice& device = system.logicalDevice.device;
    struct Case
    {
        std::vector<PipelineShader> shaders;
        std::string line;
        std::size_t modulesMade;
    };
    const std::vector<Case> cases{
        {{{VK_SHADER_STAGE_FRAGMENT_BIT, testShader("Fill.frag")}}, "ERROR: One vertex shader is needed.", 1},
        {{{VK_SHADER_STAGE_VERTEX_BIT, testShader("FullScreen.vert")},
          {VK_SHADER_STAGE_VERTEX_BIT, testShader("Line.vert")}},
         "ERROR: Only one shader per stage is allowed.",
         1},
        {{{VK_SHADER_STAGE_VERTEX_BIT, testShader("FullScreen.vert")},
          {VK_SHADER_STAGE_FRAGMENT_BIT, testShader("Missing.frag")}},
         "ERROR: Shader file \"" + testShader("Missing.frag") + "\" could not be read.",
         1},
    };
    for (const Case& test : cases)
    {
        PipelineDescription description;
        description.shaders = test.shaders;
        std::vector<VkShaderModule> modules;
        std::vector<std::string> lines;
        {
            StdoutCapture capture;
            EXPECT_FALSE(setupShaderStages(pipeline, description, modules));
            for (const std::string& line : capture.lines())
            {
                lines.push_back(withoutTimestamp(line));
            }
        }
        EXPECT_EQ(lines, std::vector<std::string>{test.line});
        EXPECT_EQ(modules.size(), test.modulesMade);
        for (VkShaderModule& module : modules)
        {
            destroyShaderModule(module, device);
        }
        resetErrorFlagForTesting();
    }
}

TEST_F(Pipeline2Test, FailedCreationKeepsWhatItMadeForDestroyAndDestroyTwiceIsHarmless)
{
    Pipeline2 pipeline(&system);
    PipelineDescription description;
    description.shaders = {{VK_SHADER_STAGE_FRAGMENT_BIT, testShader("Fill.frag")}};
    description.descriptorBindings = {{VK_DESCRIPTOR_TYPE_UNIFORM_BUFFER, VK_SHADER_STAGE_VERTEX_BIT}};
    {
        StdoutCapture capture;
        EXPECT_FALSE(createSwapChainPipeline2(pipeline, description));
        ASSERT_EQ(capture.lines().size(), 1u);
        EXPECT_EQ(withoutTimestamp(capture.lines()[0]), "ERROR: One vertex shader is needed.");
    }
    EXPECT_TRUE(hasErrors());
    EXPECT_EQ(pipeline.pipeline, VK_NULL_HANDLE);
    EXPECT_NE(pipeline.renderPass, VK_NULL_HANDLE);
    EXPECT_NE(pipeline.pipelineLayout, VK_NULL_HANDLE);
    EXPECT_EQ(pipeline.framebuffers.size(), system.swapChain.imageViews.size());

    for (int round = 0; round < 2; ++round)
    {
        destroyPipeline2(pipeline);
        expectReleased(pipeline);
    }
    EXPECT_EQ(pipeline.clearValues.size(), 1u);
}
}
