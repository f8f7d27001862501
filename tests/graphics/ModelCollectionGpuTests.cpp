#include "engine/FileIo.hpp"
#include "engine/Log.hpp"
#include "gpu/Frames.hpp"
#include "gpu/GpuHarness.hpp"
#include "graphics/ModelCollection.hpp"
#include "graphics/TextureRenderTargetPipeline2.hpp"

#include <glm/gtc/matrix_transform.hpp>

#include <array>
#include <cstdlib>

namespace
{
constexpr std::uint32_t targetSize = 16;
using Rgba = std::array<std::uint8_t, 4>;
constexpr Rgba cleared{0, 0, 0, 0};
constexpr Rgba blue{0, 0, 255, 255};
// The unit normal (0, 0, 1) turned 60 degrees about Y.
constexpr Rgba turnedNormal{221, 0, 128, 255};

// A square facing +Z; its one texture coordinate gives (0, 0) and no tangent,
// so the test shader's colour is the turned normal alone.
const std::string squareObj = "v -0.25 -0.25 0\nv 0.25 -0.25 0\nv 0.25 0.25 0\nv -0.25 0.25 0\n"
                              "vt 0 1\nvn 0 0 1\nf 1/1/1 2/1/1 3/1/1\nf 3/1/1 4/1/1 1/1/1\n";

bool near(const Rgba& actual, const Rgba& expected)
{
    for (std::size_t channel = 0; channel < 4; ++channel)
    {
        if (std::abs(actual[channel] - expected[channel]) > 1)
        {
            return false;
        }
    }
    return true;
}

class ModelCollectionTest : public GpuTest
{
protected:
    void SetUp() override
    {
        GpuTest::SetUp();
        target = createRenderTargetTexture<std::uint32_t>(textures, targetSize, targetSize, VK_FORMAT_R8G8B8A8_UNORM,
                                                          false)
                     .value();
        ASSERT_TRUE((createTextureRenderTargetPipeline2<ModelVertex, TwoMatrixInstance>(
            pipeline, describePipeline("TwoMatrixInstance.vert", "Colour.frag"), {target})));
        ASSERT_TRUE(writeFile("Square.obj", squareObj, false));
    }

    void TearDown() override
    {
        system.waitIdle();
        destroyPipeline2(pipeline);
        pipeline.frameTargets = {};
        destroyTextures(textures);
        GpuTest::TearDown();
    }

    // Every model as a geometry pass draws it; the pixels at x, y.
    std::vector<Rgba> draw(const ModelCollection& models, const std::vector<std::array<std::uint32_t, 2>>& at)
    {
        VkCommandBuffer commandBuffer = system.beginSingleTimeCommands().value();
        const FrameInfo frame{commandBuffer, system.getCurrentFrame(), 0};
        beginTextureRenderTargetPipeline2(pipeline, commandBuffer, frame.frameIndex);
        for (const InstancedMesh* mesh : models.meshes)
        {
            drawInstancedMesh(*mesh, frame);
        }
        endTextureRenderTargetPipeline2(pipeline, commandBuffer);
        EXPECT_TRUE(system.endSingleTimeCommands(commandBuffer));
        const std::vector<std::uint8_t> bytes =
            readImage(system, target.textures[frame.frameIndex]->image.image, VK_IMAGE_LAYOUT_SHADER_READ_ONLY_OPTIMAL,
                      targetSize, targetSize, 4);
        std::vector<Rgba> pixels;
        for (const auto& [x, y] : at)
        {
            const std::size_t offset = (y * targetSize + x) * 4;
            pixels.push_back({bytes.at(offset), bytes[offset + 1], bytes[offset + 2], bytes[offset + 3]});
        }
        return pixels;
    }

    TextureContainer textures{&system, {}, {}};
    TextureCollection target;
    TextureRenderTargetPipeline2 pipeline{&system};
};

TEST_F(ModelCollectionTest, OnePathAddedThriceIsOneMeshWhoseInstancesAreDrawnWhereTheyWerePut)
{
    const glm::quat none(1.0f, 0.0f, 0.0f, 0.0f);
    const glm::quat turned = glm::angleAxis(glm::radians(60.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    const std::array<ModelPlacement, 3> placements{{{"Square.obj", {-0.5f, -0.5f, 0.5f}, none, 3},
                                                    {"Square.obj", {0.5f, -0.5f, 0.5f}, none, 10},
                                                    {"Square.obj", {0.5f, 0.5f, 0.5f}, turned, 10}}};
    std::unique_ptr<ModelCollection> models = createModelCollection(&system, nullptr);
    for (std::uint32_t instance = 0; instance < 3; ++instance)
    {
        const ModelRef added = addModel(*models, placements[instance]);
        EXPECT_EQ(added.model(), 0u);
        EXPECT_EQ(added.instance(), instance);
    }
    // The capacity is that of the first placement.
    EXPECT_FALSE(addModel(*models, placements[0]).added());
    ASSERT_EQ(models->meshContainer.instancedMeshes.size(), 1u);
    EXPECT_EQ(models->meshes[0]->instanceCount, 3u);
    EXPECT_EQ(models->meshes[0]->instanceBufferSize, 3 * sizeof(TwoMatrixInstance));
    const TwoMatrixInstance& record = models->instanceData[0][2];
    EXPECT_EQ(record.model, glm::translate(glm::mat4(1.0f), placements[2].position) * glm::mat4_cast(turned));
    // A rotation is its own normal matrix.
    for (int column = 0; column < 4; ++column)
    {
        for (int row = 0; row < 4; ++row)
        {
            EXPECT_NEAR(record.normalMatrix[column][row], glm::mat4_cast(turned)[column][row], 1e-6f);
        }
    }

    ASSERT_TRUE(models->updateBodyInstances(0.0f));
    EXPECT_FALSE(models->dirty[0]);
    std::vector<Rgba> drawn = draw(*models, {{4, 4}, {12, 4}, {12, 12}, {4, 12}});
    EXPECT_EQ(drawn[0], blue);
    EXPECT_EQ(drawn[1], blue);
    EXPECT_TRUE(near(drawn[2], turnedNormal)) << int(drawn[2][0]) << " " << int(drawn[2][2]);
    EXPECT_EQ(drawn[3], cleared);

    models->setInstancePose(0, 1, glm::vec3(-0.5f, 0.5f, 0.5f), none);
    ASSERT_TRUE(models->updateBodyInstances(0.0f));
    drawn = draw(*models, {{12, 4}, {4, 12}});
    EXPECT_EQ(drawn[0], cleared);
    EXPECT_EQ(drawn[1], blue);
    EXPECT_FALSE(hasErrors());

    // Another spelling of the path is another model; failures enter no path.
    EXPECT_FALSE(addModel(*models, {"./Square.obj", glm::vec3(0.0f), none, 0}).added());
    EXPECT_EQ(addModel(*models, {"./Square.obj", glm::vec3(0.0f), none, 1}).model(), 1u);
    EXPECT_FALSE(addModel(*models, {"Missing.obj", glm::vec3(0.0f), none, 1}).added());
    EXPECT_EQ(models->modelIndexByPath.size(), 2u);

    releaseModelCollection(*models);
    EXPECT_TRUE(models->meshContainer.instancedMeshes.empty());
    EXPECT_TRUE(models->meshes.empty());
}
}
