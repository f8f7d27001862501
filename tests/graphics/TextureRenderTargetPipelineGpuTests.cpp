#include "engine/Log.hpp"
#include "engine/SwapChainDependents.hpp"
#include "gpu/Frames.hpp"
#include "gpu/GpuHarness.hpp"
#include "graphics/Mesh.hpp"
#include "graphics/Sphere.hpp"
#include "graphics/TextureRenderTargetPipeline2.hpp"
#include "graphics/UniformBuffers.hpp"
#include "support/StdoutCapture.hpp"

#include <glm/gtc/matrix_transform.hpp>

#include <array>
#include <cstring>
#include <string>
#include <vector>

namespace
{
constexpr std::uint32_t targetSize = 16;
using Rgba = std::array<std::uint8_t, 4>;
constexpr Rgba cleared{0, 0, 0, 0};
constexpr Rgba red{255, 0, 0, 255};
constexpr Rgba green{0, 255, 0, 255};
constexpr Rgba blue{0, 0, 255, 255};
constexpr Rgba white{255, 255, 255, 255};

class TargetPipelineTest : public GpuTest
{
protected:
    void TearDown() override
    {
        system.waitIdle();
        destroyPipeline2(pipeline);
        pipeline.frameTargets = {};
        destroyMeshes(meshes);
        destroyTextures(textures);
        GpuTest::TearDown();
    }

    TextureCollection colourTarget()
    {
        return createRenderTargetTexture<std::uint32_t>(textures, targetSize, targetSize, VK_FORMAT_R8G8B8A8_UNORM,
                                                        false)
            .value();
    }

    TextureCollection depthTarget()
    {
        return createRenderTargetTexture<std::uint32_t>(textures, targetSize, targetSize,
                                                        system.physicalDeviceInfo.depthFormat, false)
            .value();
    }

    // Records outside the frames, for the frame slot the graphics system is in.
    void recordOnce(const FrameRecorder& record)
    {
        VkCommandBuffer commandBuffer = system.beginSingleTimeCommands().value();
        record({commandBuffer, system.getCurrentFrame(), 0});
        ASSERT_TRUE(system.endSingleTimeCommands(commandBuffer));
    }

    std::vector<Rgba> read(const Texture& texture)
    {
        const std::vector<std::uint8_t> bytes = readImage(system, texture.image.image,
                                                          VK_IMAGE_LAYOUT_SHADER_READ_ONLY_OPTIMAL, targetSize,
                                                          targetSize, 4);
        std::vector<Rgba> pixels(bytes.size() / 4);
        std::memcpy(pixels.data(), bytes.data(), bytes.size());
        return pixels;
    }

    TextureContainer textures{&system, {}, {}};
    MeshContainer meshes{&system, {}, {}};
    TextureRenderTargetPipeline2 pipeline{&system};
};

Rgba at(const std::vector<Rgba>& pixels, std::uint32_t x, std::uint32_t y)
{
    return pixels.at(y * targetSize + x);
}

const MeshData<PositionVertex> unitSquare{
    {{{-1.0f, -1.0f, 0.0f}}, {{1.0f, -1.0f, 0.0f}}, {{1.0f, 1.0f, 0.0f}}, {{-1.0f, 1.0f, 0.0f}}}, {0, 1, 2, 2, 3, 0}};

PointLightInstance light(glm::vec3 colour, float radius, glm::vec3 position)
{
    return {glm::vec4(colour, radius), glm::vec4(position, 0.0f)};
}

TEST_F(TargetPipelineTest, InstancedMeshDrawsItsInstancesIntoTheFramesColourTarget)
{
    const TextureCollection target = colourTarget();
    const std::size_t listed = getSwapChainDependents().size();
    ASSERT_TRUE((createTextureRenderTargetPipeline2<PositionVertex, PointLightInstance>(
        pipeline, describePipeline("PointLight.vert", "Colour.frag"), {target})));
    EXPECT_EQ(getSwapChainDependents().size(), listed);
    EXPECT_EQ(pipeline.frameTargets[0], std::vector<Texture*>{target.textures[0]});
    EXPECT_EQ(pipeline.frameTargets[1], std::vector<Texture*>{target.textures[1]});
    EXPECT_EQ(pipeline.clearValues.size(), 1u);
    EXPECT_EQ(pipeline.framebuffers.size(), 2u);

    const std::vector<PointLightInstance> lights{light({1, 0, 0}, 0.25f, {-0.5f, -0.5f, 0.5f}),
                                                 light({0, 1, 0}, 0.25f, {0.5f, 0.5f, 0.5f}),
                                                 light({0, 0, 1}, 0.25f, {0.5f, -0.5f, 0.5f})};
    const InstancedMesh* mesh = createInstancedMesh(meshes, unitSquare, lights).value_or(nullptr);
    ASSERT_NE(mesh, nullptr);
    recordOnce([&](const FrameInfo& frame) {
        beginTextureRenderTargetPipeline2(pipeline, frame.commandBuffer, frame.frameIndex);
        drawInstancedMesh(*mesh, frame);
        endTextureRenderTargetPipeline2(pipeline, frame.commandBuffer);
    });

    const std::uint32_t frame = system.getCurrentFrame();
    const std::vector<Rgba> drawn = read(*target.textures[frame]);
    EXPECT_EQ(at(drawn, 4, 4), red);
    EXPECT_EQ(at(drawn, 12, 12), green);
    EXPECT_EQ(at(drawn, 12, 4), blue);
    EXPECT_EQ(at(drawn, 4, 12), cleared);
    EXPECT_EQ(at(drawn, 0, 0), cleared);
    const std::vector<Rgba> otherFrame = read(*target.textures[1 - frame]);
    EXPECT_EQ(otherFrame, std::vector<Rgba>(targetSize * targetSize, cleared));
    EXPECT_FALSE(hasErrors());
}

TEST_F(TargetPipelineTest, DepthTargetKeepsTheNearerColourPassAfterPass)
{
    const TextureCollection colour = colourTarget();
    const TextureCollection depth = depthTarget();
    PipelineDescription description = describePipeline("PointLight.vert", "Colour.frag");
    description.depthTest = true;
    description.depthWrite = true;
    description.depthLoadOp = VK_ATTACHMENT_LOAD_OP_CLEAR;
    description.hasDepthAttachment = true;
    ASSERT_TRUE(
        (createTextureRenderTargetPipeline2<PositionVertex, PointLightInstance>(pipeline, description, {colour, depth})));
    ASSERT_EQ(pipeline.clearValues.size(), 2u);
    EXPECT_EQ(pipeline.clearValues[1].depthStencil.depth, 1.0f);

    // Near red first, far green over all of it.
    const std::vector<PointLightInstance> lights{light({1, 0, 0}, 0.5f, {-0.5f, 0.0f, 0.2f}),
                                                 light({0, 1, 0}, 1.0f, {0.0f, 0.0f, 0.6f})};
    const InstancedMesh* mesh = createInstancedMesh(meshes, unitSquare, lights).value_or(nullptr);
    ASSERT_NE(mesh, nullptr);
    for (int pass = 0; pass < 2; ++pass)
    {
        recordOnce([&](const FrameInfo& frame) {
            for (int repeat = 0; repeat < 2; ++repeat)
            {
                beginTextureRenderTargetPipeline2(pipeline, frame.commandBuffer, frame.frameIndex);
                drawInstancedMesh(*mesh, frame);
                endTextureRenderTargetPipeline2(pipeline, frame.commandBuffer);
            }
        });
    }
    const std::uint32_t frame = system.getCurrentFrame();
    const std::vector<Rgba> drawn = read(*colour.textures[frame]);
    EXPECT_EQ(at(drawn, 2, 8), red);
    EXPECT_EQ(at(drawn, 5, 8), red);
    EXPECT_EQ(at(drawn, 12, 8), green);
    // The depth target is back in the shader-read layout with the nearer depths.
    const std::vector<float> depths = readDepthImage(system, depth.textures[frame]->image.image,
                                                     VK_IMAGE_LAYOUT_SHADER_READ_ONLY_OPTIMAL, targetSize, targetSize);
    ASSERT_EQ(depths.size(), targetSize * targetSize);
    EXPECT_FLOAT_EQ(depths[8 * targetSize + 2], 0.2f);
    EXPECT_FLOAT_EQ(depths[8 * targetSize + 12], 0.6f);
    EXPECT_FALSE(hasErrors());
}

TEST_F(TargetPipelineTest, TessellatedPassWritesThreeColourTargetsBesideItsDepth)
{
    const std::vector<TextureCollection> targets{colourTarget(), colourTarget(), colourTarget(), depthTarget()};
    PipelineDescription description = describePipeline("TwoMatrixInstance.vert", "ThreeTargets.frag");
    description.shaders.insert(description.shaders.begin() + 1,
                               {{VK_SHADER_STAGE_TESSELLATION_CONTROL_BIT, testShader("Patch.tesc")},
                                {VK_SHADER_STAGE_TESSELLATION_EVALUATION_BIT, testShader("Patch.tese")}});
    description.topology = VK_PRIMITIVE_TOPOLOGY_PATCH_LIST;
    description.depthTest = true;
    description.depthWrite = true;
    description.depthLoadOp = VK_ATTACHMENT_LOAD_OP_CLEAR;
    description.hasDepthAttachment = true;
    ASSERT_TRUE((createTextureRenderTargetPipeline2<ModelVertex, TwoMatrixInstance>(pipeline, description, targets)));
    for (const std::vector<Texture*>& frameTargets : pipeline.frameTargets)
    {
        EXPECT_EQ(frameTargets.size(), 4u);
    }
    ASSERT_EQ(pipeline.clearValues.size(), 4u);
    EXPECT_EQ(pipeline.clearValues[2].color.float32[0], 0.0f);
    EXPECT_EQ(pipeline.clearValues[3].depthStencil.depth, 1.0f);

    // The model vertices and their instance as the creators would lay them out.
    const glm::vec3 normal(1.0f, 0.0f, 0.0f);
    const MeshData<ModelVertex> square{{{{-1.0f, -1.0f, 0.5f}, {}, normal, {}},
                                        {{1.0f, -1.0f, 0.5f}, {}, normal, {}},
                                        {{1.0f, 1.0f, 0.5f}, {}, normal, {}},
                                        {{-1.0f, 1.0f, 0.5f}, {}, normal, {}}},
                                       {0, 1, 2, 2, 3, 0}};
    const TwoMatrixInstance instance{glm::scale(glm::mat4(1.0f), glm::vec3(0.5f, 0.5f, 1.0f)), glm::mat4(1.0f)};
    InstancedMesh mesh{6, createVertexBuffer(system, square).value(), createIndexBuffer(system, square.indices).value(),
                       1, createInstanceBuffer(system, &instance, sizeof(instance)).value(), sizeof(instance)};
    recordOnce([&](const FrameInfo& frame) {
        beginTextureRenderTargetPipeline2(pipeline, frame.commandBuffer, frame.frameIndex);
        drawInstancedMesh(mesh, frame);
        endTextureRenderTargetPipeline2(pipeline, frame.commandBuffer);
    });

    const std::uint32_t frame = system.getCurrentFrame();
    const std::array<Rgba, 3> expected{red, blue, white};
    for (std::size_t index = 0; index < 3; ++index)
    {
        const std::vector<Rgba> drawn = read(*targets[index].textures[frame]);
        EXPECT_EQ(at(drawn, 8, 8), expected[index]) << "target " << index;
        EXPECT_EQ(at(drawn, 1, 1), cleared) << "target " << index;
    }
    system.destroyBuffer(mesh.vertexBuffer);
    system.destroyBuffer(mesh.indexBuffer);
    system.destroyBuffer(mesh.instanceBuffer);
    EXPECT_FALSE(hasErrors());
}

TEST_F(TargetPipelineTest, EachFrameReadsItsOwnUniformBufferAndWritesItsOwnTarget)
{
    const TextureCollection target = colourTarget();
    PipelineDescription description = describePipeline("FullScreen.vert", "UniformColour.frag");
    description.descriptorBindings = {{VK_DESCRIPTOR_TYPE_UNIFORM_BUFFER, VK_SHADER_STAGE_FRAGMENT_BIT}};
    ASSERT_TRUE(createTextureRenderTargetPipeline2<NoVertex>(pipeline, description, {target}));
    Pipeline2 present(&system);
    ASSERT_TRUE(createSwapChainPipeline2(present, describePipeline("FullScreen.vert", "Fill.frag")));

    std::optional<UniformBufferCollection> uniforms = createUniformBufferCollection<64>(system);
    ASSERT_TRUE(uniforms.has_value());
    ASSERT_NE(uniforms->buffers[0].buffer, uniforms->buffers[1].buffer);
    const std::array<glm::vec4, 2> colours{glm::vec4(0.0f, 0.0f, 1.0f, 1.0f), glm::vec4(1.0f, 1.0f, 1.0f, 1.0f)};
    for (std::uint32_t frame = 0; frame < 2; ++frame)
    {
        std::memcpy(uniforms->buffers[frame].mapped, &colours[frame], sizeof(glm::vec4));
        const VkDescriptorBufferInfo bufferInfo{uniforms->buffers[frame].buffer, 0, 64};
        VkWriteDescriptorSet write{};
        write.sType = VK_STRUCTURE_TYPE_WRITE_DESCRIPTOR_SET;
        write.dstSet = pipeline.descriptorSets[frame];
        write.descriptorCount = 1;
        write.descriptorType = VK_DESCRIPTOR_TYPE_UNIFORM_BUFFER;
        write.pBufferInfo = &bufferInfo;
        vkUpdateDescriptorSets(system.logicalDevice.device, 1, &write, 0, nullptr);
    }

    for (int frame = 0; frame < 2; ++frame)
    {
        ASSERT_TRUE(presentFrame(system, [&](const FrameInfo& info) {
            beginTextureRenderTargetPipeline2(pipeline, info.commandBuffer, info.frameIndex);
            vkCmdDraw(info.commandBuffer, 3, 1, 0, 0);
            endTextureRenderTargetPipeline2(pipeline, info.commandBuffer);
            beginPipeline2(present, info.commandBuffer, info.frameIndex, info.imageIndex);
            vkCmdDraw(info.commandBuffer, 3, 1, 0, 0);
            vkCmdEndRenderPass(info.commandBuffer);
        }));
    }
    system.waitIdle();
    EXPECT_EQ(read(*target.textures[0]), std::vector<Rgba>(targetSize * targetSize, blue));
    EXPECT_EQ(read(*target.textures[1]), std::vector<Rgba>(targetSize * targetSize, white));

    destroyPipeline2(present);
    system.destroyUniformBuffers(*uniforms);
    EXPECT_FALSE(hasErrors());
}

TEST_F(TargetPipelineTest, SphereMeshDrawsThroughAPipelineWithoutInstances)
{
    const TextureCollection target = colourTarget();
    ASSERT_TRUE(createTextureRenderTargetPipeline2<PositionVertex>(
        pipeline, describePipeline("Position.vert", "Colour.frag"), {target}));
    const Mesh* sphere = createMesh(meshes, generateSphere(0.5f, 16, 8)).value_or(nullptr);
    ASSERT_NE(sphere, nullptr);
    recordOnce([&](const FrameInfo& frame) {
        beginTextureRenderTargetPipeline2(pipeline, frame.commandBuffer, frame.frameIndex);
        drawMesh(*sphere, frame);
        endTextureRenderTargetPipeline2(pipeline, frame.commandBuffer);
    });
    const std::vector<Rgba> drawn = read(*target.textures[system.getCurrentFrame()]);
    EXPECT_EQ(at(drawn, 8, 8), green);
    EXPECT_EQ(at(drawn, 0, 0), cleared);
    EXPECT_FALSE(hasErrors());
}

TEST_F(TargetPipelineTest, CreationNeedsACollectionAndAColourTarget)
{
    PipelineDescription description = describePipeline("FullScreen.vert", "Fill.frag");
    const std::vector<std::pair<std::vector<TextureCollection>, std::string>> cases{
        {{}, "ERROR: Texture render target pipeline 2 needs at least 1 texture collection."},
        {{depthTarget()}, "ERROR: Texture render target pipeline 2 needs at least 1 colour target."},
    };
    description.hasDepthAttachment = true;
    for (const auto& [collections, reason] : cases)
    {
        std::vector<std::string> lines;
        {
            StdoutCapture capture;
            EXPECT_FALSE(createTextureRenderTargetPipeline2<NoVertex>(pipeline, description, collections));
            for (const std::string& line : capture.lines())
            {
                lines.push_back(withoutTimestamp(line));
            }
        }
        EXPECT_EQ(lines, (std::vector<std::string>{reason,
                                                   "ERROR: Texture render target pipeline 2 creation has failed."}));
        EXPECT_TRUE(pipeline.frameTargets[0].empty());
        EXPECT_TRUE(pipeline.clearValues.empty());
        EXPECT_EQ(pipeline.renderPass, VK_NULL_HANDLE);
        resetErrorFlagForTesting();
    }
}
}
