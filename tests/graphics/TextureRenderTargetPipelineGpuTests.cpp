#include "engine/Log.hpp"
#include "engine/SwapChainDependents.hpp"
#include "gpu/Frames.hpp"
#include "gpu/TargetTest.hpp"
#include "graphics/DescriptorWriting.hpp"
#include "graphics/UniformBuffers.hpp"
#include "support/StdoutCapture.hpp"

#include <glm/gtc/matrix_transform.hpp>

#include <array>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace
{
constexpr Rgba cleared{0, 0, 0, 0};
constexpr Rgba red{255, 0, 0, 255};
constexpr Rgba green{0, 255, 0, 255};
constexpr Rgba blue{0, 0, 255, 255};
constexpr Rgba white{255, 255, 255, 255};

using TargetPipelineTest = TargetTest;

TEST_F(TargetPipelineTest, InstancesDrawIntoTheFramesTargetItsDepthKeepsTheNearerColourAndUpdatesReplaceLeadingRecords)
{
    const TextureCollection colour = target(VK_FORMAT_R8G8B8A8_UNORM);
    const TextureCollection depth = target(system.physicalDeviceInfo.depthFormat);
    const std::size_t listed = getSwapChainDependents().size();
    ASSERT_TRUE((createTextureRenderTargetPipeline2<PositionVertex, PointLightInstance>(
        pipeline, withDepth(describePipeline("PointLight.vert", "Colour.frag")), {colour, depth})));
    EXPECT_EQ(getSwapChainDependents().size(), listed);

    // Near red over the left half, then far green over the middle.
    const MeshData<PositionVertex> square{
        {{{-1.0f, -1.0f, 0.0f}}, {{1.0f, -1.0f, 0.0f}}, {{1.0f, 1.0f, 0.0f}}, {{-1.0f, 1.0f, 0.0f}}},
        {0, 1, 2, 2, 3, 0}};
    const std::vector<PointLightInstance> lights{{{1.0f, 0.0f, 0.0f, 0.5f}, {-0.5f, 0.0f, 0.2f, 0.0f}},
                                                 {{0.0f, 1.0f, 0.0f, 0.5f}, {0.0f, 0.0f, 0.6f, 0.0f}}};
    InstancedMesh* mesh = createInstancedMesh(meshes, square, lights).value_or(nullptr);
    ASSERT_NE(mesh, nullptr);
    recordPasses({mesh}, 2);
    recordPasses({mesh}, 2);

    const std::uint32_t frame = system.getCurrentFrame();
    std::vector<Rgba> drawn = read(colour, frame);
    EXPECT_EQ((std::vector{at(drawn, 2, 8), at(drawn, 6, 8), at(drawn, 10, 8), at(drawn, 14, 8), at(drawn, 6, 1)}),
              (std::vector{red, red, green, cleared, cleared}));
    // The depth target is back in the shader-read layout with the nearer depths.
    const std::vector<float> depths = readDepthImage(system, depth.textures[frame]->image.image,
                                                     VK_IMAGE_LAYOUT_SHADER_READ_ONLY_OPTIMAL, targetSize, targetSize);
    EXPECT_FLOAT_EQ(depths.at(8 * targetSize + 6), 0.2f);
    EXPECT_FLOAT_EQ(depths.at(8 * targetSize + 10), 0.6f);

    // An update replaces the leading records only: red moves right, green stays.
    const PointLightInstance moved{lights[0].colourAndRadius, {0.5f, 0.0f, 0.2f, 0.0f}};
    ASSERT_TRUE(updateInstances(*mesh, system, &moved, sizeof(moved)));
    recordPasses({mesh});
    drawn = read(colour, frame);
    EXPECT_EQ((std::vector{at(drawn, 2, 8), at(drawn, 6, 8), at(drawn, 10, 8)}), (std::vector{cleared, green, red}));
    const std::vector<PointLightInstance> tooMany(3, moved);
    EXPECT_FALSE(updateInstances(*mesh, system, tooMany.data(), 3 * sizeof(PointLightInstance)));
    EXPECT_TRUE(updateInstances(*mesh, system, tooMany.data(), 0));
    EXPECT_FALSE(hasErrors());
}

// Instance records live in one mapped buffer per frame in flight: an update
// waits for nothing and touches no buffer a frame may still read; each frame's
// buffer takes it when that frame draws the mesh.
TEST_F(TargetPipelineTest, AnUpdateReachesEachFramesInstanceBufferWhenThatFrameDrawsTheMesh)
{
    const TextureCollection colour = target(VK_FORMAT_R8G8B8A8_UNORM);
    ASSERT_TRUE((createTextureRenderTargetPipeline2<PositionVertex, PointLightInstance>(
        pipeline, describePipeline("PointLight.vert", "Colour.frag"), {colour})));
    const MeshData<PositionVertex> square{
        {{{-1.0f, -1.0f, 0.0f}}, {{1.0f, -1.0f, 0.0f}}, {{1.0f, 1.0f, 0.0f}}, {{-1.0f, 1.0f, 0.0f}}},
        {0, 1, 2, 2, 3, 0}};
    const PointLightInstance left{{1.0f, 0.0f, 0.0f, 0.5f}, {-0.5f, 0.0f, 0.2f, 0.0f}};
    InstancedMesh* mesh = createInstancedMesh(meshes, square, std::vector{left}).value_or(nullptr);
    ASSERT_NE(mesh, nullptr);
    const auto heldBy = [&](std::uint32_t frame) {
        PointLightInstance record{};
        std::memcpy(&record, mesh->instanceBuffer.buffers[frame].mapped, sizeof(record));
        return record.positionAndSpare.x;
    };
    const auto drawOn = [&](std::uint32_t frame) {
        VkCommandBuffer commandBuffer = system.beginSingleTimeCommands().value();
        beginTextureRenderTargetPipeline2(pipeline, commandBuffer, frame);
        drawInstancedMesh(*mesh, {commandBuffer, frame, 0});
        endTextureRenderTargetPipeline2(pipeline, commandBuffer);
        ASSERT_TRUE(system.endSingleTimeCommands(commandBuffer));
    };

    const PointLightInstance right{left.colourAndRadius, {0.5f, 0.0f, 0.2f, 0.0f}};
    ASSERT_TRUE(updateInstances(*mesh, system, &right, sizeof(right)));
    EXPECT_EQ(std::pair(heldBy(0), heldBy(1)), std::pair(-0.5f, -0.5f));
    drawOn(0);
    EXPECT_EQ(std::pair(heldBy(0), heldBy(1)), std::pair(0.5f, -0.5f));
    drawOn(1);
    EXPECT_EQ(heldBy(1), 0.5f);
    for (std::uint32_t frame = 0; frame < 2; ++frame)
    {
        const std::vector<Rgba> drawn = read(colour, frame);
        EXPECT_EQ((std::vector{at(drawn, 6, 8), at(drawn, 10, 8)}), (std::vector{cleared, red})) << "frame " << frame;
    }
    EXPECT_FALSE(hasErrors());
}

TEST_F(TargetPipelineTest, TessellatedPassWritesThreeColourTargetsBesideItsDepth)
{
    const std::vector<TextureCollection> targets{target(VK_FORMAT_R8G8B8A8_UNORM), target(VK_FORMAT_R8G8B8A8_UNORM),
                                                 target(VK_FORMAT_R8G8B8A8_UNORM),
                                                 target(system.physicalDeviceInfo.depthFormat)};
    PipelineDescription description = withDepth(describePipeline("TwoMatrixInstance.vert", "ThreeTargets.frag"));
    description.shaders.insert(description.shaders.begin() + 1,
                               {{VK_SHADER_STAGE_TESSELLATION_CONTROL_BIT, testShader("Patch.tesc")},
                                {VK_SHADER_STAGE_TESSELLATION_EVALUATION_BIT, testShader("Patch.tese")}});
    description.topology = VK_PRIMITIVE_TOPOLOGY_PATCH_LIST;
    ASSERT_TRUE((createTextureRenderTargetPipeline2<ModelVertex, TwoMatrixInstance>(pipeline, description, targets)));

    const glm::vec3 normal(1.0f, 0.0f, 0.0f);
    const MeshData<ModelVertex> square{{{{-1.0f, -1.0f, 0.5f}, {}, normal, {}},
                                        {{1.0f, -1.0f, 0.5f}, {}, normal, {}},
                                        {{1.0f, 1.0f, 0.5f}, {}, normal, {}},
                                        {{-1.0f, 1.0f, 0.5f}, {}, normal, {}}},
                                       {0, 1, 2, 2, 3, 0}};
    const std::vector<TwoMatrixInstance> halved{
        {glm::scale(glm::mat4(1.0f), glm::vec3(0.5f, 0.5f, 1.0f)), glm::mat4(1.0f)}};
    InstancedMesh* mesh = createInstancedMesh(meshes, square, halved).value_or(nullptr);
    ASSERT_NE(mesh, nullptr);
    recordPasses({mesh});

    std::vector<Rgba> shown;
    for (std::size_t index = 0; index < 3; ++index)
    {
        const std::vector<Rgba> drawn = read(targets[index], system.getCurrentFrame());
        shown.insert(shown.end(), {at(drawn, 8, 8), at(drawn, 1, 1)});
    }
    EXPECT_EQ(shown, (std::vector{red, cleared, blue, cleared, white, cleared}));
    EXPECT_FALSE(hasErrors());
}

TEST_F(TargetPipelineTest, EachFrameReadsItsOwnUniformBufferAndWritesItsOwnTarget)
{
    const TextureCollection colour = target(VK_FORMAT_R8G8B8A8_UNORM);
    PipelineDescription description = describePipeline("FullScreen.vert", "UniformColour.frag");
    description.descriptorBindings = {{VK_DESCRIPTOR_TYPE_UNIFORM_BUFFER, VK_SHADER_STAGE_FRAGMENT_BIT}};
    ASSERT_TRUE(createTextureRenderTargetPipeline2<NoVertex>(pipeline, description, {colour}));
    Pipeline2 present(&system);
    ASSERT_TRUE(createFillPipeline(present));

    UniformBufferCollection uniforms = createUniformBufferCollection<64>(system).value();
    const std::array<glm::vec4, 2> colours{glm::vec4(0.0f, 0.0f, 1.0f, 1.0f), glm::vec4(1.0f)};
    std::memcpy(uniforms.buffers[0].mapped, &colours[0], sizeof(glm::vec4));
    std::memcpy(uniforms.buffers[1].mapped, &colours[1], sizeof(glm::vec4));
    // Binding 0 of each frame's set is that frame's buffer, as the debug lines have it.
    writeDescriptorSets(pipeline, {uniformInput(uniforms)});

    for (int frame = 0; frame < 2; ++frame)
    {
        ASSERT_TRUE(presentFrame(system, [&](const FrameInfo& info) {
            beginTextureRenderTargetPipeline2(pipeline, info.commandBuffer, info.frameIndex);
            vkCmdDraw(info.commandBuffer, 3, 1, 0, 0);
            endTextureRenderTargetPipeline2(pipeline, info.commandBuffer);
            recordFill(present, info);
        }));
    }
    system.waitIdle();
    EXPECT_EQ(read(colour, 0), std::vector<Rgba>(targetSize * targetSize, blue));
    EXPECT_EQ(read(colour, 1), std::vector<Rgba>(targetSize * targetSize, white));

    destroyPipeline2(present);
    system.destroyUniformBuffers(uniforms);
    EXPECT_FALSE(hasErrors());
}

TEST_F(TargetPipelineTest, CreationNeedsACollectionAndAColourTarget)
{
    const PipelineDescription description = withDepth(describePipeline("FullScreen.vert", "Fill.frag"));
    const std::vector<std::pair<std::vector<TextureCollection>, std::string>> cases{
        {{}, "ERROR: Texture render target pipeline 2 needs at least 1 texture collection."},
        {{target(system.physicalDeviceInfo.depthFormat)},
         "ERROR: Texture render target pipeline 2 needs at least 1 colour target."},
    };
    for (const auto& [collections, reason] : cases)
    {
        StdoutCapture capture;
        EXPECT_FALSE(createTextureRenderTargetPipeline2<NoVertex>(pipeline, description, collections));
        EXPECT_EQ(capture.messages(),
                  (std::vector<std::string>{reason, "ERROR: Texture render target pipeline 2 creation has failed."}));
        resetErrorFlagForTesting();
    }
}

// A scene may record the next frame's passes while the graphics system still
// counts the current one: the end returns the targets of the frame the pass
// began with (the validation run catches any layout left behind).
TEST_F(TargetPipelineTest, APassEndsOnTheFrameItBeganWithAndAnUnknownTransitionIsAnError)
{
    const TextureCollection colour = target(VK_FORMAT_R8G8B8A8_UNORM);
    ASSERT_TRUE(createTextureRenderTargetPipeline2<NoVertex>(pipeline, describePipeline("FullScreen.vert", "Fill.frag"),
                                                             {colour}));
    const std::uint32_t other = 1 - system.getCurrentFrame();
    for (int pass = 0; pass < 2; ++pass)
    {
        VkCommandBuffer commandBuffer = system.beginSingleTimeCommands().value();
        beginTextureRenderTargetPipeline2(pipeline, commandBuffer, other);
        vkCmdDraw(commandBuffer, 3, 1, 0, 0);
        endTextureRenderTargetPipeline2(pipeline, commandBuffer);
        ASSERT_TRUE(system.endSingleTimeCommands(commandBuffer));
    }
    const Rgba filled{fillColour[0], fillColour[1], fillColour[2], 255};
    EXPECT_EQ(read(colour, other), std::vector<Rgba>(targetSize * targetSize, filled));
    EXPECT_EQ(read(colour, 1 - other), std::vector<Rgba>(targetSize * targetSize, cleared));
    EXPECT_FALSE(hasErrors());

    StdoutCapture capture;
    EXPECT_TRUE(system.transitionImageLayout(colour.textures[0]->image.image, 1, 1, VK_IMAGE_LAYOUT_GENERAL,
                                             VK_IMAGE_LAYOUT_PRESENT_SRC_KHR, false));
    EXPECT_EQ(capture.messages(), std::vector<std::string>{"ERROR: Transition (from 1 to 1000001002) is not supported."});
}
}
