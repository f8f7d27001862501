#include "engine/Log.hpp"
#include "renderers/deferred/DeferredScene.hpp"
#include "renderers/deferred/EnvironmentLighting.hpp"
#include "renderers/deferred/SsaoKernel.hpp"
#include "support/NativeWindow.hpp"

#include <fmt/format.h>
#include <glm/gtc/color_space.hpp>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace
{
using namespace deferred_scene;

TEST_F(DeferredRendererTest, ReleaseDestroysWhatAFailedOrMissingSetUpLeft)
{
    renderer->release();
    EXPECT_TRUE(renderer->textures.textures.empty());
    {
        StdoutCapture capture;
        EXPECT_FALSE(renderer->initialise()) << "the composite pass needs the environment";
        EXPECT_EQ(withoutTimestamp(capture.lines().back()),
                  "ERROR: The environment must be loaded before the renderer is initialised.");
    }
    renderer->release();
    resetErrorFlagForTesting();

    // Only the first path's ending decides: a PNG first face makes every face 8-bit.
    writePng("right.png", {255, 255, 255, 255});
    std::array<std::string, 6> mixed = hdrFaces;
    mixed[0] = "right.png";
    writeCubeFaces(4);
    // Every refusal leaves one error behind, so that the scene's load fails.
    const auto expectRefused = [&](const std::array<std::string, 6>& faces, const std::string& error) {
        StdoutCapture capture;
        EXPECT_FALSE(renderer->loadEnvironment(faces));
        EXPECT_EQ(capture.messages(), std::vector<std::string>{"ERROR: " + error});
        EXPECT_TRUE(hasErrors());
        resetErrorFlagForTesting();
    };
    expectRefused({"a.jpg", "", "", "", "", ""}, "Cube map face \"a.jpg\" is neither a PNG nor a Radiance HDR image.");
    expectRefused(mixed, "Cube map faces must be square, a power of two and at least 64 pixels wide.");
    writeCubeFaces(64);
    writeHdrFace(hdrFaces[4], 128, skyAround);
    expectRefused(hdrFaces, "Cube map faces must all have the same size.");

    writeHdrFace(hdrFaces[4], 64, skyAround);
    std::vector<std::uint8_t> white(64 * 64 * 4, 255);
    ASSERT_NE(stbi_write_png("right.png", 64, 64, 4, white.data(), 64 * 4), 0);
    ASSERT_TRUE(renderer->loadEnvironment(mixed));
    EXPECT_EQ(renderer->environmentCubeTexture.format, VK_FORMAT_R8G8B8A8_SRGB);
    expectRefused(hdrFaces, "The environment is loaded already; the renderer must be released first.");

    fs::remove(fs::path("Assets") / oceanWavesFile);
    StdoutCapture capture;
    EXPECT_FALSE(renderer->initialise());
    const std::vector<std::string> lines = capture.lines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[2], " gBufferTessellationPassPipelineInit ");
    EXPECT_EQ(withoutTimestamp(lines[3]),
              "ERROR: Image file \"Assets/ZavikDemoScene/Textures/Wave B.png\" could not be found.");
    {
        StdoutCapture again;
        EXPECT_FALSE(renderer->initialise());
        EXPECT_EQ(again.messages(),
                  std::vector<std::string>{"ERROR: The renderer is initialised already; it must be released first."});
    }
    const std::size_t pipelineTargets = renderer->gBufferPipeline.frameTargets[0].size();
    EXPECT_EQ(pipelineTargets, 5u);
    renderer->release();
    EXPECT_EQ(renderer->oceanPipeline.pipeline, VK_NULL_HANDLE);
    EXPECT_EQ(renderer->cameraUniforms.buffers[0].buffer, VK_NULL_HANDLE);
    EXPECT_TRUE(renderer->textures.textures.empty());
    resetErrorFlagForTesting();

    // Targets the window size cannot give.
    ASSERT_TRUE(renderer->loadEnvironment(hdrFaces));
    const std::uint32_t width = Settings::getWindowWidth();
    const std::uint32_t height = Settings::getWindowHeight();
    Settings::setWindowSize(0, 0);
    {
        StdoutCapture targets;
        EXPECT_FALSE(renderer->initialise());
        Settings::setWindowSize(width, height);
        EXPECT_EQ(targets.messages(), std::vector<std::string>{"ERROR: Deferred renderer targets could not be created."});
    }
    EXPECT_TRUE(hasErrors());
}

// A read-back that fails part way: no irradiance is made up from it.
std::optional<std::vector<std::uint8_t>> failingReadBack(GraphicsSystem&, const Texture&, std::uint32_t, std::uint32_t,
                                                         std::uint32_t, std::uint32_t)
{
    return std::nullopt;
}

TEST_F(DeferredRendererTest, AFailedReadBackGivesNothingAndFailsTheEnvironment)
{
    // A cube without the 64 x 64 level has nothing to read back.
    const ImageData<std::uint32_t> face(64, 64);
    std::array<const ImageData<std::uint32_t>*, 6> faces{};
    faces.fill(&face);
    const Texture* flat = createCubeTexture(sceneTextures, faces, VK_FORMAT_R8G8B8A8_UNORM, false);
    ASSERT_NE(flat, nullptr);
    EXPECT_FALSE(readCubeMapLevel(system, *flat, 64, 64, 4, irradianceLevelsFromEnd));

    setCubeLevelReaderForTesting(failingReadBack);
    {
        StdoutCapture capture;
        EXPECT_FALSE(renderer->loadEnvironment(hdrFaces));
        setCubeLevelReaderForTesting(nullptr);
        EXPECT_EQ(capture.messages(),
                  std::vector<std::string>{"ERROR: The environment's irradiance could not be read back."});
    }
    EXPECT_TRUE(hasErrors());
    EXPECT_EQ(renderer->shUniforms.buffers[0].buffer, VK_NULL_HANDLE);
    EXPECT_EQ(renderer->shCoefficients.coefficients[0], glm::vec4(0.0f));
    resetErrorFlagForTesting();
    renderer->release();
    EXPECT_TRUE(renderer->loadEnvironment(hdrFaces));
    EXPECT_GT(renderer->shCoefficients.coefficients[0].b, 0.1f);
}

// 8-bit faces are sRGB: the sky, its reflections and the irradiance all see
// the linear value of a mid-grey byte.
TEST_F(DeferredRendererTest, EightBitFacesAreReadAsSrgb)
{
    std::array<std::string, 6> faces;
    for (std::size_t face = 0; face < faces.size(); ++face)
    {
        faces[face] = fmt::format("face{}.png", face);
        writePng(faces[face], 64, 64, [](int) { return std::array<std::uint8_t, 4>{128, 128, 128, 255}; });
    }
    StdoutCapture quiet;
    ASSERT_TRUE(renderer->loadEnvironment(faces));
    ASSERT_TRUE(renderer->initialise());
    const float linear = glm::convertSRGBToLinear(glm::vec3(128.0f / 255.0f)).r;
    EXPECT_NEAR(renderer->shCoefficients.coefficients[0].g, linear * 12.5671f * 0.282095f * 3.141593f, 0.01f);
    ASSERT_TRUE(useFlatMaterials());
    renderer->setOceanDisabled(true);
    drawFrame({});
    EXPECT_NEAR(halfPixel(readTarget(renderer->compositeTarget), width, width / 2, height / 2).g, linear, 0.01f);
    EXPECT_FALSE(hasErrors());
}

TEST_F(DeferredRendererTest, InitialiseMakesTheTargetsKernelLightsAndUniforms)
{
    ASSERT_TRUE(renderer->loadEnvironment(hdrFaces));
    // Each face is one colour, so its 64 x 64 level holds that colour too.
    std::vector<std::uint8_t> level;
    for (const std::string& face : hdrFaces)
    {
        const std::uint64_t texel = loadImageFloat(face).value().pixels[0];
        for (int index = 0; index < 64 * 64; ++index)
        {
            const auto* bytes = reinterpret_cast<const std::uint8_t*>(&texel);
            level.insert(level.end(), bytes, bytes + sizeof(texel));
        }
    }
    const SphericalHarmonicsUniforms& sh = renderer->shCoefficients;
    const SphericalHarmonicsUniforms expected = projectIrradianceSH(level, true);
    for (std::size_t k = 0; k < 9; ++k)
    {
        for (int channel = 0; channel < 3; ++channel)
        {
            EXPECT_NEAR(sh.coefficients[k][channel], expected.coefficients[k][channel], 1e-4f) << k;
        }
    }
    EXPECT_GT(sh.coefficients[1].b, 0.1f) << "the sky above is brighter";
    for (const UniformBuffer& buffer : renderer->shUniforms.buffers)
    {
        EXPECT_EQ(std::memcmp(buffer.mapped, &sh, sizeof(sh)), 0);
    }

    StdoutCapture capture;
    ASSERT_TRUE(renderer->initialise());
    EXPECT_EQ(capture.text(),
              "created G-Buffer \n gBufferPassPipelineInit \n gBufferTessellationPassPipelineInit \n "
              "oceanPassPipelineInit \n ssaoPassPipelineInit \n pointLightPassPipelineInit \n "
              "directionalLightPassPipelineInit \n pbrCompositePassPipelineInit \n blurPassPipelineInit \n "
              "colorGradingPassPipelineInit \n ");
    EXPECT_FALSE(hasErrors());

    EXPECT_EQ(renderer->ssaoTarget.textures[1]->width, 640u);
    EXPECT_EQ(renderer->ssaoTarget.textures[1]->height, 360u);
    EXPECT_EQ(renderer->blurTarget.textures[0]->width, Settings::getWindowWidth());
    // The ocean reads the depth target through a sampler made for its format.
    EXPECT_EQ(renderer->depthTarget.textures[0]->format, system.physicalDeviceInfo.depthFormat);
    EXPECT_NE(renderer->depthSampler, VK_NULL_HANDLE);
    EXPECT_NE(renderer->depthSampler, sampler);
    const SsaoKernelUniforms kernel = computeSsaoKernel();
    for (const UniformBuffer& buffer : renderer->ssaoKernelUniforms.buffers)
    {
        EXPECT_EQ(std::memcmp(buffer.mapped, &kernel, sizeof(kernel)), 0);
    }

    EXPECT_EQ(instanceCount(*renderer->pointLightMesh), 0u);
    EXPECT_FALSE(renderer->setPointLight({}, {}, 1.0f, 0));
    for (std::int32_t light = 0; light < 75; ++light)
    {
        EXPECT_EQ(renderer->addPointLight({float(light), 0, 0}, {1, 1, 1}, 5.0f), light);
    }
    EXPECT_EQ(renderer->addPointLight({}, {}, 1.0f), -1);
    EXPECT_EQ(instanceCount(*renderer->pointLightMesh), 75u);
    EXPECT_TRUE(renderer->setPointLight({1, 2, 3}, {0, 0, 1}, 3.0f, 74));
    EXPECT_FALSE(renderer->setPointLight({1, 2, 3}, {0, 0, 1}, 3.0f, 75));
    // Only the current frame's blocks are written.
    const std::uint32_t current = system.getCurrentFrame();
    const UniformBuffer& otherCamera = renderer->cameraUniforms.buffers[1 - current];
    const UniformBuffer& otherLight = renderer->lightUniforms.buffers[1 - current];
    std::memset(otherCamera.mapped, 7, sizeof(CameraUniforms));
    std::memset(otherLight.mapped, 7, sizeof(LightUniforms));
    const glm::mat4 view = glm::lookAt(glm::vec3(0, 0, 4), glm::vec3(0), glm::vec3(0, 1, 0));
    const glm::mat4 projection = glm::perspective(1.0f, 1.5f, 0.1f, 100.0f);
    renderer->updateCamera(view, projection);
    renderer->setDirectionalLight({0, -2, 1}, {}, {1, 1, 1}, 3.0f, 10.0f, false);
    const CameraUniforms camera = makeCameraUniforms(view, projection);
    EXPECT_EQ(std::memcmp(renderer->cameraUniforms.buffers[current].mapped, &camera, sizeof(camera)), 0);
    const glm::mat4 sun = sunViewProjection({0, -2, 1}, {}, 10.0f);
    EXPECT_EQ(std::memcmp(renderer->lightUniforms.buffers[current].mapped, &sun, sizeof(sun)), 0);
    EXPECT_EQ(static_cast<const std::uint8_t*>(otherCamera.mapped)[100], 7);
    EXPECT_EQ(static_cast<const std::uint8_t*>(otherLight.mapped)[10], 7);
}

// The race's and the trophy scene's renderers never draw into the same frame,
// and their window-sized targets are most of their memory.
TEST_F(DeferredRendererTest, RenderersOfOneSizeDrawIntoOneSetOfTargetsReleasedWithTheLastOfThem)
{
    ASSERT_TRUE(bringUp());
    auto first = std::make_unique<DeferredRenderer>(&system, 75, sampler);
    {
        StdoutCapture quiet;
        ASSERT_TRUE(first->loadEnvironment(hdrFaces) && first->initialise());
    }
    EXPECT_EQ(first->renderTargets, renderer->renderTargets);
    EXPECT_EQ(first->compositeTarget.textures[1], renderer->compositeTarget.textures[1]);
    EXPECT_EQ(first->depthTarget.textures[0], renderer->depthTarget.textures[0]);

    // The renderer left holding them still draws: the sky in every pixel of the composite.
    first->release();
    first.reset();
    ASSERT_TRUE(useFlatMaterials());
    view = glm::lookAt(glm::vec3(0, 0, 4), glm::vec3(0), glm::vec3(0, 1, 0));
    renderer->setOceanDisabled(true);
    drawFrame({});
    EXPECT_FALSE(hasErrors());
    const glm::vec3 sky = halfPixel(readTarget(renderer->compositeTarget), width, 4, 4);
    EXPECT_NEAR(sky.b, skyAround.b, 0.01f);

    // Other targets make another set; one that no one holds any more is made afresh.
    const std::vector<TargetShape> small{{8, 8, VK_FORMAT_R8G8B8A8_UNORM}};
    std::shared_ptr<SharedTargets> one = sharedTargets(system, small);
    ASSERT_NE(one, nullptr);
    EXPECT_NE(one, renderer->renderTargets);
    EXPECT_EQ(sharedTargets(system, small), one);
    one.reset();
    const std::shared_ptr<SharedTargets> again = sharedTargets(system, small);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again.use_count(), 1);
    EXPECT_EQ(sharedTargets(system, {{8, 8, VK_FORMAT_UNDEFINED}}), nullptr);
}

TEST_F(DeferredRendererTest, DrawsLitModelsOverTheSkyAndUnderTheOcean)
{
    ASSERT_TRUE(bringUp());
    ASSERT_TRUE(useFlatMaterials());
    // One sphere at the centre of the ocean, one above its surface.
    const glm::mat4 raised = glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 0.0f, 125.0f));
    const InstancedMesh* spheres =
        createInstancedMesh(sceneMeshes, modelSphere(),
                            std::vector<TwoMatrixInstance>{{glm::mat4(1.0f), glm::mat4(1.0f)}, {raised, glm::mat4(1.0f)}})
            .value_or(nullptr);
    ASSERT_NE(spheres, nullptr);

    ModelMaterial material;
    material.firstValues = glm::vec3(-1.0f);
    material.flag = true;
    view = glm::lookAt(glm::vec3(0, 0, 4), glm::vec3(0), glm::vec3(0, 1, 0));
    // The sun shines towards -x, a red light stands on the other side.
    renderer->setDirectionalLight({-1, 0, 0}, {}, {1.0f, 0.96f, 0.87f}, 3.0f, 10.0f, true);
    ASSERT_EQ(renderer->addPointLight({-1.5f, 0.0f, 0.5f}, {1, 0, 0}, 2.0f), 0);
    renderer->setOceanDisabled(true);

    const FrameRecorder record = recordScene({{spheres, material}});

    const int centreX = int(width) / 2;
    const int centreY = int(height) / 2;
    const int side = int(height) / 5;
    raiseNativeWindow(system.window);
    std::array<std::uint8_t, 3> litSide{};
    std::array<std::uint8_t, 3> shadowSide{};
    std::array<std::uint8_t, 3> background{};
    for (int frame = 0; frame < 10; ++frame)
    {
        ASSERT_TRUE(presentFrame(system, record));
        system.waitIdle();
        litSide = nativeWindowPixel(system.window, centreX + side, centreY);
        shadowSide = nativeWindowPixel(system.window, centreX - side, centreY);
        background = nativeWindowPixel(system.window, 4, 4);
        if (litSide[1] > shadowSide[1] + 40 && background[2] > background[0])
        {
            break;
        }
    }
    EXPECT_FALSE(hasErrors());
    // Graded: the sunlit side far brighter than the one the red light reaches,
    // the sky blue, nothing black or clipped to white.
    EXPECT_GT(litSide[1], shadowSide[1] + 40);
    EXPECT_GT(shadowSide[0], shadowSide[1]);
    EXPECT_GT(background[2], background[1]);
    EXPECT_GT(background[1], background[0]);
    EXPECT_GT(background[0], 60);
    EXPECT_LT(litSide[1], 255);

    const std::vector<std::uint8_t> composite = readTarget(renderer->compositeTarget);
    ASSERT_EQ(composite.size(), width * height * 8);
    const glm::vec3 sky = halfPixel(composite, width, 4, 4);
    EXPECT_NEAR(sky.r, skyAround.r, 0.01f);
    EXPECT_NEAR(sky.b, skyAround.b, 0.01f);
    const glm::vec3 lit = halfPixel(composite, width, centreX + side, centreY);
    const glm::vec3 shadowed = halfPixel(composite, width, centreX - side, centreY);
    EXPECT_GT(lit.g, 2.0f * shadowed.g);
    const std::vector<std::uint8_t> pointLight = readTarget(renderer->pointLightTarget);
    ASSERT_EQ(pointLight.size(), width * height * 8);
    EXPECT_GT(halfPixel(pointLight, width, centreX - side, centreY).r, 0.05f);
    EXPECT_EQ(halfPixel(pointLight, width, centreX + side, centreY), glm::vec3(0.0f));

    EXPECT_EQ(renderer->oceanPushConstants.time, 0.0f) << "no ocean, no time";
    // From above the ocean: water all round the raised sphere, and no sign of the sunken one.
    renderer->setOceanDisabled(false);
    view = glm::lookAt(glm::vec3(0, 0, 140), glm::vec3(0), glm::vec3(0, 1, 0));
    ASSERT_TRUE(presentFrame(system, record));
    system.waitIdle();
    EXPECT_FALSE(hasErrors());
    EXPECT_EQ(renderer->oceanPushConstants.time, 0.5f);
    const std::vector<std::uint8_t> normals = readTarget(renderer->gBufferTarget1);
    ASSERT_EQ(normals.size(), width * height * 8);
    const auto surfaceAt = [&](int x, int y) {
        std::uint16_t kind = 0;
        std::memcpy(&kind, &normals[(y * width + x) * 8 + 6], sizeof(kind));
        return glm::unpackHalf1x16(kind);
    };
    EXPECT_EQ(surfaceAt(centreX, centreY), 1.0f);
    EXPECT_EQ(surfaceAt(centreX + side, centreY), 2.0f);
    EXPECT_EQ(surfaceAt(2, 2), 2.0f);
    const glm::vec3 water = halfPixel(readTarget(renderer->compositeTarget), width, centreX, 4);
    EXPECT_GT(water.b, water.r);
    EXPECT_LT(water.g, 1.0f);
}
}

namespace
{
std::vector<std::size_t> upTo(std::size_t last)
{
    std::vector<std::size_t> counts(last + 1);
    std::iota(counts.begin(), counts.end(), std::size_t{0});
    return counts;
}
}

// What a pass timer relies on: the hook runs at the frame's start and after
// every pass, outside any render pass, and a frame without a hook gives it
// nothing. Each stamp's query is reset just before it is written, which the
// validation run refuses inside a render pass.
TEST_F(DeferredRendererTest, APassHookStampsTheFramesStartAndEveryPassOutsideAnyRenderPass)
{
    ASSERT_TRUE(bringUp());
    ASSERT_TRUE(useFlatMaterials());
    const InstancedMesh* cube = addModel(box({}, 0.5f));
    ASSERT_NE(cube, nullptr);
    view = glm::lookAt(glm::vec3(0, 1, 4), glm::vec3(0), glm::vec3(0, 1, 0));
    const ModelMaterial grey = flatMaterial(glm::vec3(0.6f), 0.8f, 0.0f);

    const std::size_t passes = framePasses(renderer->blurIterations).size();
    ASSERT_EQ(passes, 13u);
    VkQueryPoolCreateInfo poolInfo{};
    poolInfo.sType = VK_STRUCTURE_TYPE_QUERY_POOL_CREATE_INFO;
    poolInfo.queryType = VK_QUERY_TYPE_TIMESTAMP;
    poolInfo.queryCount = static_cast<std::uint32_t>(passes + 1);
    VkQueryPool queries = VK_NULL_HANDLE;
    ASSERT_EQ(vkCreateQueryPool(system.logicalDevice.device, &poolInfo, nullptr, &queries), VK_SUCCESS);
    std::vector<std::size_t> calls;
    renderer->passHook = [&](VkCommandBuffer commandBuffer, std::size_t passesRecorded) {
        const auto stamp = static_cast<std::uint32_t>(passesRecorded);
        vkCmdResetQueryPool(commandBuffer, queries, stamp, 1);
        vkCmdWriteTimestamp(commandBuffer, VK_PIPELINE_STAGE_BOTTOM_OF_PIPE_BIT, queries, stamp);
        calls.push_back(passesRecorded);
    };

    drawFrame({{cube, grey}});
    EXPECT_EQ(calls, upTo(passes));
    std::vector<std::uint64_t> stamps(passes + 1);
    ASSERT_EQ(vkGetQueryPoolResults(system.logicalDevice.device, queries, 0, poolInfo.queryCount,
                                    stamps.size() * sizeof(std::uint64_t), stamps.data(), sizeof(std::uint64_t),
                                    VK_QUERY_RESULT_64_BIT),
              VK_SUCCESS);
    EXPECT_TRUE(std::is_sorted(stamps.begin(), stamps.end()));
    EXPECT_LT(stamps.front(), stamps.back());

    // Without blur, composite and colour grading are the last two passes.
    calls.clear();
    renderer->blurIterations = 0;
    drawFrame({{cube, grey}});
    EXPECT_EQ(calls, upTo(7));

    calls.clear();
    renderer->passHook = {};
    drawFrame({{cube, grey}});
    EXPECT_TRUE(calls.empty());
    EXPECT_FALSE(hasErrors());
    vkDestroyQueryPool(system.logicalDevice.device, queries, nullptr);
}

// The race draws its models with the material's flag (normal mapping) cleared
// until F12 is pressed; the stored material keeps its flag either way.
TEST_F(DeferredRendererTest, AModelCollectionsMaterialsArePushedWithTheFlagClearedOnlyWhenAsked)
{
    ASSERT_TRUE(bringUp());
    // Every normal map texel turns the normal onto the surface's tangent.
    ASSERT_TRUE(useFlatMaterials({255, 128, 128, 255}));
    const ModelCollectionPointer models = createModelCollection(&system, nullptr);
    const ModelRef cube = ::addModel(*models, {std::string(KELVANE_TEST_DATA_DIR) + "/cube.obj", glm::vec3(-0.5f),
                                             glm::quat(1.0f, 0.0f, 0.0f, 0.0f), 1});
    ASSERT_TRUE(cube.added());
    models->materials[cube.model()] = flatMaterial(glm::vec3(0.6f), 0.8f, 0.0f);
    models->materials[cube.model()].flag = true;
    renderer->setOceanDisabled(true);
    // Straight at the cube's +z face.
    view = glm::lookAt(glm::vec3(0, 0, 4), glm::vec3(0), glm::vec3(0, 1, 0));

    bool clearFlag = true;
    const FrameRecorder record = [&](const FrameInfo& frame) {
        drawnFrame = frame.frameIndex;
        renderer->updateCamera(view, projection);
        renderer->recordFrame(frame, 0.5f, [&](const FrameInfo& recorded, PassKind pass) {
            drawModelCollection(*renderer, *models, recorded, pass, clearFlag);
        });
    };
    const auto facing = [&] {
        EXPECT_TRUE(presentFrame(system, record));
        system.waitIdle();
        return halfPixel(readTarget(renderer->gBufferTarget1), width, width / 2, height / 2);
    };
    EXPECT_NEAR(facing().z, 1.0f, 0.01f);
    EXPECT_TRUE(models->materials[cube.model()].flag);
    clearFlag = false;
    EXPECT_LT(std::abs(facing().z), 0.1f);
    EXPECT_FALSE(hasErrors());
    system.waitIdle();
    releaseModelCollection(*models);
}
