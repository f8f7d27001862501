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

bool released(const Pipeline2& pipeline)
{
    return pipeline.pipeline == VK_NULL_HANDLE && pipeline.descriptorPool == VK_NULL_HANDLE &&
           pipeline.descriptorSetLayout == VK_NULL_HANDLE && pipeline.pipelineLayout == VK_NULL_HANDLE &&
           pipeline.renderPass == VK_NULL_HANDLE && pipeline.framebuffers.empty();
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

    ASSERT_TRUE(createFillPipeline(second));
    destroyPipeline2(second);
    EXPECT_FALSE(isListed(second));
    first.reset();
    EXPECT_EQ(dependentOwners().size(), before + 1);

    // Loaded anew after a failed activation: back on the list.
    ASSERT_TRUE(createFillPipeline(second));
    EXPECT_TRUE(isListed(second));
    destroyPipeline2(second);
    EXPECT_FALSE(hasErrors());
}

TEST_F(Pipeline2Test, RebuildRemakesCreatedPipelinesOnlyAndFollowsTheNewExtent)
{
    Pipeline2 created(&system);
    ASSERT_TRUE(createFillPipeline(created));
    Pipeline2 uncreated(&system);
    Pipeline2 destroyed(&system);
    ASSERT_TRUE(createFillPipeline(destroyed));
    destroyPipeline2(destroyed);
    {
        Pipeline2 deleted(&system);
        ASSERT_TRUE(createFillPipeline(deleted));
        destroyPipeline2(deleted);
    }

    const FrameRecorder record = [&](const FrameInfo& frame) { recordFill(created, frame); };
    const auto resize = [&](int width, int height) {
        glfwSetWindowSize(system.window, width, height);
        for (int frame = 0; frame < 30 && system.swapChain.extent.width != std::uint32_t(width); ++frame)
        {
            presentFrame(system, record);
        }
        return system.swapChain.extent.width == std::uint32_t(width);
    };
    ASSERT_TRUE(resize(200, 100));
    EXPECT_EQ(created.framebuffers.size(), system.swapChain.imageViews.size());
    EXPECT_TRUE(released(uncreated));
    EXPECT_TRUE(released(destroyed));

    // The render area follows the new extent; the viewport keeps the old one.
    expectWindowShows(system, record, {{150, 90, fillColour}, {190, 50, {0, 0, 0}}});

    ASSERT_TRUE(system.recreateSwapChain());
    EXPECT_EQ(created.framebuffers.size(), system.swapChain.imageViews.size());
    EXPECT_TRUE(uncreated.framebuffers.empty());

    EXPECT_TRUE(resize(160, 120));
    system.waitIdle();
    destroyPipeline2(created);
    EXPECT_FALSE(hasErrors());
    EXPECT_FALSE(glfwWindowShouldClose(system.window));
}

TEST_F(Pipeline2Test, ShaderStagesNeedOneVertexShaderAndOneShaderPerStage)
{
    Pipeline2 pipeline(&system);
    VkDevice& device = system.logicalDevice.device;
    const PipelineShader vertex{VK_SHADER_STAGE_VERTEX_BIT, testShader("FullScreen.vert")};
    // Each refusal after one module is made, which is left for the caller.
    const std::vector<std::pair<std::vector<PipelineShader>, std::string>> cases{
        {{{VK_SHADER_STAGE_FRAGMENT_BIT, testShader("Fill.frag")}}, "ERROR: One vertex shader is needed."},
        {{vertex, vertex}, "ERROR: Only one shader per stage is allowed."},
        {{vertex, {VK_SHADER_STAGE_FRAGMENT_BIT, testShader("Missing.frag")}},
         "ERROR: Shader file \"" + testShader("Missing.frag") + "\" could not be read."},
    };
    for (const auto& [shaders, line] : cases)
    {
        PipelineDescription description;
        description.shaders = shaders;
        std::vector<VkShaderModule> modules;
        StdoutCapture capture;
        EXPECT_FALSE(setupShaderStages(pipeline, description, modules));
        EXPECT_EQ(capture.messages(), std::vector<std::string>{line});
        EXPECT_EQ(modules.size(), 1u);
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
    StdoutCapture capture;
    EXPECT_FALSE(createSwapChainPipeline2(pipeline, description));
    EXPECT_EQ(capture.messages(), std::vector<std::string>{"ERROR: One vertex shader is needed."});
    EXPECT_TRUE(hasErrors());
    EXPECT_EQ(pipeline.pipeline, VK_NULL_HANDLE);
    EXPECT_NE(pipeline.renderPass, VK_NULL_HANDLE);
    EXPECT_NE(pipeline.pipelineLayout, VK_NULL_HANDLE);
    EXPECT_EQ(pipeline.framebuffers.size(), system.swapChain.imageViews.size());

    for (int round = 0; round < 2; ++round)
    {
        destroyPipeline2(pipeline);
        EXPECT_TRUE(released(pipeline));
    }
}
}
