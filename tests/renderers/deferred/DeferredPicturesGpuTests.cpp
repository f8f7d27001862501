#include "engine/Log.hpp"
#include "engine/SwapChainDependents.hpp"
#include "renderers/deferred/DeferredScene.hpp"
#include "support/NativeWindow.hpp"

#include <fmt/format.h>

namespace
{
using namespace deferred_scene;

constexpr int shadowView = 7;

void showView(DeferredRenderer& renderer, int view)
{
    StdoutCapture quiet;
    while (renderer.compositePushConstants.renderMode < view)
    {
        renderer.nextRenderMode();
    }
    while (renderer.compositePushConstants.renderMode > view)
    {
        renderer.previousRenderMode();
    }
}

// A box standing over the ground in a slanting sun: the ground is dark only
// where the box keeps the sun off it, and the box's own sunlit faces are lit
// by as much as their slant allows.
TEST_F(DeferredRendererTest, ABoxShadowsTheGroundWhereTheSunIsKeptOffAndNotItsOwnLitFaces)
{
    ASSERT_TRUE(bringUp());
    ASSERT_TRUE(useFlatMaterials());
    const InstancedMesh* floor = addModel(ground(6.0f));
    const InstancedMesh* cube = addModel(box({0.0f, 1.5f, 0.0f}, 0.5f));
    ASSERT_TRUE(floor != nullptr && cube != nullptr);
    const ModelMaterial grey = flatMaterial(glm::vec3(0.6f), 0.8f, 0.0f);
    renderer->setOceanDisabled(true);
    const glm::vec3 direction(-0.4f, -1.0f, 0.0f);
    renderer->setDirectionalLight(direction, {}, glm::vec3(1.0f), 3.0f, 6.0f, true);
    view = glm::lookAt(glm::vec3(2.0f, 8.0f, 5.0f), glm::vec3(-0.3f, 0.0f, 0.0f), glm::vec3(0, 1, 0));
    showView(*renderer, shadowView);
    drawFrame({{floor, grey}, {cube, grey}});
    EXPECT_FALSE(hasErrors());

    // The shadow term times the cosine of the sun on the surface.
    const std::vector<std::uint8_t> picture = readTarget(renderer->compositeTarget);
    const glm::vec3 towardsSun = glm::normalize(-direction);
    const auto shown = [&](const glm::vec3& point) { return halfPixel(picture, width, pixelOf(point)).r; };
    const struct
    {
        glm::vec3 point;
        float expected;
    } cases[] = {
        // Under the sun's line through the box.
        {{-0.9f, 0.0f, 0.0f}, 0.0f},
        {{-1.0f, 0.0f, 0.2f}, 0.0f},
        {{-0.4f, 0.0f, -0.2f}, 0.0f},
        // Open ground all round the shadow, the box's foot on the sunny side included.
        {{0.8f, 0.0f, 0.0f}, towardsSun.y},
        {{-2.2f, 0.0f, -0.3f}, towardsSun.y},
        {{-0.6f, 0.0f, 1.3f}, towardsSun.y},
        {{1.5f, 0.0f, 1.5f}, towardsSun.y},
        {{-2.5f, 0.0f, 2.0f}, towardsSun.y},
        // The lit top and the side turned to the sun.
        {{0.0f, 2.0f, 0.0f}, towardsSun.y},
        {{-0.2f, 2.0f, 0.3f}, towardsSun.y},
        {{0.5f, 1.5f, 0.0f}, towardsSun.x},
        {{0.5f, 1.2f, 0.3f}, towardsSun.x},
    };
    for (const auto& entry : cases)
    {
        EXPECT_NEAR(shown(entry.point), entry.expected, 0.05f)
            << fmt::format("at ({}, {}, {})", entry.point.x, entry.point.y, entry.point.z);
    }

    // The map keeps the far side of the box, turned over (1 - depth), and
    // nothing of the ground, which faces the sun.
    const std::vector<std::uint8_t> map = readTarget(renderer->directionalLightTarget, 2);
    const glm::mat4 sun = sunViewProjection(direction, {}, 6.0f);
    const auto stored = [&](const glm::vec3& point) {
        const glm::vec4 projected = sun * glm::vec4(point, 1.0f);
        const glm::ivec2 texel((glm::vec2(projected) * 0.5f + 0.5f) * glm::vec2(width, height));
        std::uint16_t half = 0;
        std::memcpy(&half, &map.at((texel.y * width + texel.x) * 2), sizeof(half));
        return glm::unpackHalf1x16(half);
    };
    const glm::vec3 boxCentre(0.0f, 1.5f, 0.0f);
    const glm::vec3 farSide = boxCentre - towardsSun * (0.5f / towardsSun.y);
    EXPECT_NEAR(stored(boxCentre), 1.0f - (sun * glm::vec4(farSide, 1.0f)).z, 0.01f);
    EXPECT_EQ(stored({2.5f, 0.0f, 2.5f}), 0.0f);
}


// A table whose last column alone is bright: a shiny surface that faces the
// camera looks up that column, and must not get half of the first one too.
TEST_F(DeferredRendererTest, ReflectionsFacingTheCameraReadTheBrdfTablesEdgeWithoutWrapping)
{
    writePng(std::string("Assets/") + brdfTableFile, 4, 4, [](int column) {
        return std::array<std::uint8_t, 4>{column == 3 ? std::uint8_t{255} : std::uint8_t{0}, 0, 0, 255};
    });
    ASSERT_TRUE(bringUp());
    ASSERT_TRUE(useFlatMaterials());
    const InstancedMesh* sphere = addModel(modelSphere());
    ASSERT_NE(sphere, nullptr);
    renderer->setOceanDisabled(true);
    view = glm::lookAt(glm::vec3(0, 0, 4), glm::vec3(0), glm::vec3(0, 1, 0));
    constexpr int ambientView = 8;
    showView(*renderer, ambientView);
    drawFrame({{sphere, flatMaterial(glm::vec3(1.0f), 0.04f, 1.0f)}});
    EXPECT_FALSE(hasErrors());

    // All mirror: the sky behind the camera, times the table's full scale.
    const glm::vec3 ambient = halfPixel(readTarget(renderer->compositeTarget), width, pixelOf({0, 0, 1}));
    EXPECT_NEAR(ambient.r, skyAround.r, 0.03f);
    EXPECT_NEAR(ambient.b, skyAround.b, 0.03f);
}

// Two walls meeting in an inside corner: the occlusion darkens the corner and
// leaves open floor alone.
TEST_F(DeferredRendererTest, AmbientOcclusionDarkensAnInsideCornerAndNotAnOpenFloor)
{
    ASSERT_TRUE(bringUp());
    ASSERT_TRUE(useFlatMaterials());
    MeshData<ModelVertex> wall;
    addQuad(wall, {0.0f, 1.5f, 0.0f}, {0.0f, 1.5f, 0.0f}, {0.0f, 0.0f, 6.0f});
    const InstancedMesh* floor = addModel(ground(6.0f));
    const InstancedMesh* side = addModel(wall);
    ASSERT_TRUE(floor != nullptr && side != nullptr);
    renderer->setOceanDisabled(true);
    renderer->setDirectionalLight({-0.3f, -1.0f, -0.2f}, {}, glm::vec3(1.0f), 3.0f, 10.0f, true);
    view = glm::lookAt(glm::vec3(4.0f, 3.0f, 0.5f), glm::vec3(0.5f, 0.3f, 0.0f), glm::vec3(0, 1, 0));
    const ModelMaterial grey = flatMaterial(glm::vec3(0.6f), 0.8f, 0.0f);
    drawFrame({{floor, grey}, {side, grey}});
    EXPECT_FALSE(hasErrors());

    const std::vector<std::uint8_t> occlusion = readTarget(renderer->ssaoTarget, 4);
    const auto visible = [&](const glm::vec3& point) {
        const glm::ivec2 pixel = pixelOf(point, 640, 360);
        std::uint16_t half = 0;
        std::memcpy(&half, &occlusion.at((pixel.y * 640 + pixel.x) * 4), sizeof(half));
        return glm::unpackHalf1x16(half);
    };
    for (const glm::vec3& corner : {glm::vec3(0.1f, 0.0f, 0.0f), glm::vec3(0.0f, 0.1f, 1.0f),
                                    glm::vec3(0.12f, 0.0f, -1.0f)})
    {
        EXPECT_LT(visible(corner), 0.8f) << fmt::format("({}, {}, {})", corner.x, corner.y, corner.z);
    }
    for (const glm::vec3& open : {glm::vec3(1.6f, 0.0f, 0.6f), glm::vec3(1.4f, 0.0f, -0.8f),
                                  glm::vec3(0.0f, 1.8f, 0.8f)})
    {
        EXPECT_GT(visible(open), 0.97f) << fmt::format("({}, {}, {})", open.x, open.y, open.z);
    }
}

// Each debug view of the composite shows its own input at a sphere that
// faces the camera, and the sky only in the shaded view.
TEST_F(DeferredRendererTest, EachRenderModeShowsItsInputAndPointLightModesTheirs)
{
    ASSERT_TRUE(bringUp());
    ASSERT_TRUE(useFlatMaterials());
    const InstancedMesh* sphere = addModel(modelSphere());
    ASSERT_NE(sphere, nullptr);
    renderer->setOceanDisabled(true);
    renderer->setDirectionalLight({0.0f, 0.0f, -1.0f}, {}, glm::vec3(1.0f), 3.0f, 10.0f, true);
    view = glm::lookAt(glm::vec3(0, 0, 4), glm::vec3(0), glm::vec3(0, 1, 0));
    const ModelMaterial material = flatMaterial({0.8f, 0.4f, 0.2f}, 0.5f, 0.3f);
    const glm::ivec2 front = pixelOf({0.0f, 0.0f, 1.0f});
    const glm::ivec2 sky(2, 2);

    const auto shown = [&](int mode) {
        showView(*renderer, mode);
        drawFrame({{sphere, material}});
        const std::vector<std::uint8_t> picture = readTarget(renderer->compositeTarget);
        return std::pair(halfPixel(picture, width, front), halfPixel(picture, width, sky));
    };
    const auto near = [](const glm::vec3& actual, const glm::vec3& expected, float tolerance) {
        return glm::all(glm::lessThanEqual(glm::abs(actual - expected), glm::vec3(tolerance)));
    };
    const auto [shaded, skyShaded] = shown(0);
    EXPECT_TRUE(near(skyShaded, skyAround, 0.01f));
    EXPECT_TRUE(near(shown(1).first, {0.8f, 0.4f, 0.2f}, 0.02f)) << "albedo";
    EXPECT_TRUE(near(shown(2).first, {0.5f, 0.5f, 1.0f}, 0.03f)) << "normal";
    EXPECT_TRUE(near(shown(3).first, {0.5f, 0.3f, 1.0f}, 0.01f)) << "roughness, metallic, occlusion";
    EXPECT_TRUE(near(shown(4).first, glm::vec3(3.0f / 140.0f), 0.002f)) << "depth over the haze distance";
    EXPECT_GT(shown(5).first.r, 0.9f) << "a convex surface is not occluded";
    EXPECT_TRUE(near(shown(6).first, glm::vec3(0.0f), 0.0f)) << "no point lights";
    EXPECT_TRUE(near(shown(7).first, glm::vec3(1.0f), 0.02f)) << "sunlit, facing the sun";
    const auto [ambient, skyUnshaded] = shown(8);
    EXPECT_TRUE(glm::all(glm::greaterThan(ambient, glm::vec3(0.0f))));
    EXPECT_TRUE(glm::all(glm::lessThan(ambient, shaded)));
    EXPECT_EQ(skyUnshaded, glm::vec3(0.0f));
    EXPECT_TRUE(near(shown(-1).first, ambient, 0.001f)) << "modes wrap round";
    EXPECT_TRUE(near(shown(9).first, shaded, 0.001f));
    EXPECT_FALSE(hasErrors());

    // A white light just in front: shaded on the albedo, its sphere alone, and on white.
    showView(*renderer, 0);
    ASSERT_EQ(renderer->addPointLight({0.0f, 0.0f, 1.8f}, glm::vec3(1.0f), 2.5f), 0);
    std::array<glm::vec3, 3> lights;
    for (glm::vec3& light : lights)
    {
        drawFrame({{sphere, material}});
        light = halfPixel(readTarget(renderer->pointLightTarget), width, front);
        renderer->nextPointLightMode();
    }
    EXPECT_GT(lights[0].r, 0.1f);
    EXPECT_GT(lights[0].r, 1.5f * lights[0].b) << "the orange albedo";
    EXPECT_TRUE(near(lights[1], glm::vec3(0.05f), 0.001f)) << "the light's sphere";
    EXPECT_GT(lights[2].b, 0.1f);
    EXPECT_TRUE(near(lights[2], glm::vec3(lights[2].g), 0.01f)) << "on white";
    EXPECT_FALSE(hasErrors());
}

// What the window shows at a few pixels once it stops changing.
std::vector<std::array<std::uint8_t, 3>> shownInWindow(GraphicsSystem& system, const FrameRecorder& record,
                                                       const std::vector<glm::ivec2>& pixels)
{
    std::vector<std::array<std::uint8_t, 3>> shown;
    for (int frame = 0; frame < 12; ++frame)
    {
        raiseNativeWindow(system.window);
        EXPECT_TRUE(presentFrame(system, record));
        system.waitIdle();
        std::vector<std::array<std::uint8_t, 3>> now;
        for (const glm::ivec2& pixel : pixels)
        {
            now.push_back(nativeWindowPixel(system.window, pixel.x, pixel.y));
        }
        if (frame >= 2 && now == shown)
        {
            break;
        }
        shown = now;
    }
    return shown;
}

// A glowing sphere against the sky through the four colour-grading modes:
// graded with bloom, without it, the bloom alone, and clipped instead of
// tone mapped.
TEST_F(DeferredRendererTest, EachColourGradingModeChangesThePictureAsItShould)
{
    ASSERT_TRUE(bringUp());
    ASSERT_TRUE(useFlatMaterials());
    const InstancedMesh* sphere = addModel(modelSphere());
    ASSERT_NE(sphere, nullptr);
    renderer->setOceanDisabled(true);
    renderer->setDirectionalLight({0.0f, 0.0f, -1.0f}, {}, glm::vec3(1.0f), 3.0f, 10.0f, true);
    view = glm::lookAt(glm::vec3(0, 0, 6), glm::vec3(0), glm::vec3(0, 1, 0));
    const FrameRecorder record = recordScene({{sphere, flatMaterial(glm::vec3(1.0f), 0.5f, 0.0f, 1.0f)}});
    const glm::ivec2 edge = pixelOf({1.0f, 0.0f, 0.0f});
    const glm::ivec2 halo(edge.x + 3, edge.y);
    const glm::ivec2 centre = pixelOf({0.0f, 0.0f, 1.0f});
    const std::vector<glm::ivec2> pixels{halo, {2, 2}, centre};

    std::array<std::vector<std::array<std::uint8_t, 3>>, 5> modes;
    for (std::vector<std::array<std::uint8_t, 3>>& shown : modes)
    {
        shown = shownInWindow(system, record, pixels);
        renderer->nextColourGradingMode();
    }
    EXPECT_FALSE(hasErrors());
    const auto [graded, plain, glow, clipped, wrapped] = modes;
    // The glow reaches past the sphere's edge, but not the far sky.
    EXPECT_GT(graded[0][2], plain[0][2] + 10);
    EXPECT_EQ(graded[1], plain[1]);
    EXPECT_GT(glow[0][0], 20);
    EXPECT_EQ(glow[1], (std::array<std::uint8_t, 3>{0, 0, 0}));
    // Tone mapping lifts the darker sky that clipping leaves linear.
    EXPECT_GT(graded[1][2], clipped[1][2] + 10);
    EXPECT_EQ(clipped[2], (std::array<std::uint8_t, 3>{255, 255, 255}));
    EXPECT_GT(graded[1][2], graded[1][0]) << "the sky stays blue";
    EXPECT_EQ(wrapped, graded);
}

// The open sky shows the sun where its light comes from, veiled by nothing
// here but the test's grey-blue sky; indoors (no ocean) it shows none. Only
// such a highlight blooms: a white board in full sun does not.
TEST_F(DeferredRendererTest, TheSunStandsInTheOpenSkyWhereItsLightComesFromAndAloneBlooms)
{
    ASSERT_TRUE(bringUp());
    ASSERT_TRUE(useFlatMaterials());
    // Far outside the ocean's sphere, looking away from it, into the sun.
    view = glm::lookAt(glm::vec3(0, 0, 300), glm::vec3(0, 0, 310), glm::vec3(0, 1, 0));
    renderer->setDirectionalLight({0.0f, 0.0f, -1.0f}, {0.0f, 0.0f, 310.0f}, {1.0f, 0.96f, 0.87f}, 3.0f, 50.0f,
                                  true);
    drawFrame({});
    EXPECT_FALSE(hasErrors());
    const glm::ivec2 sun(static_cast<int>(width) / 2, static_cast<int>(height) / 2);
    // The top of the picture, over 20 degrees from the sun.
    const glm::ivec2 away(static_cast<int>(width) / 2, 1);
    const std::vector<std::uint8_t> composite = readTarget(renderer->compositeTarget);
    const std::vector<std::uint8_t> bloom = readTarget(renderer->blurTarget);
    EXPECT_GT(halfPixel(composite, width, sun).r, 10.0f);
    const glm::vec3 sky = halfPixel(composite, width, away);
    EXPECT_NEAR(sky.r, skyAround.r, 0.01f);
    EXPECT_NEAR(sky.b, skyAround.b, 0.01f);
    EXPECT_GT(halfPixel(bloom, width, sun).r, 0.1f);
    EXPECT_EQ(halfPixel(bloom, width, away), glm::vec3(0.0f));

    renderer->setOceanDisabled(true);
    drawFrame({});
    const glm::vec3 indoors = halfPixel(readTarget(renderer->compositeTarget), width, sun);
    EXPECT_NEAR(indoors.r, skyAround.r, 0.01f);
    EXPECT_NEAR(indoors.b, skyAround.b, 0.01f);

    // A white board facing the camera, lit square on by the sun behind the camera.
    const InstancedMesh* board = addModel(ground(3.0f), glm::rotate(glm::mat4(1.0f), glm::radians(90.0f),
                                                                     glm::vec3(1.0f, 0.0f, 0.0f)));
    ASSERT_NE(board, nullptr);
    view = glm::lookAt(glm::vec3(0, 0, 5), glm::vec3(0), glm::vec3(0, 1, 0));
    renderer->setDirectionalLight({0.0f, 0.0f, -1.0f}, {}, {1.0f, 0.96f, 0.87f}, 3.0f, 10.0f, true);
    drawFrame({{board, flatMaterial(glm::vec3(0.95f), 0.5f, 0.0f)}});
    const glm::ivec2 middle = pixelOf(glm::vec3(0.0f));
    EXPECT_GT(halfPixel(readTarget(renderer->compositeTarget), width, middle).g, 0.8f);
    const std::vector<std::uint8_t> glow = readTarget(renderer->blurTarget);
    float brightestGlow = 0.0f;
    for (std::uint32_t y = 0; y < height; ++y)
    {
        for (std::uint32_t x = 0; x < width; ++x)
        {
            const glm::vec3 texel = halfPixel(glow, width, x, y);
            brightestGlow = std::max({brightestGlow, texel.r, texel.g, texel.b});
        }
    }
    EXPECT_EQ(brightestGlow, 0.0f);
}

// A rebuilt swap chain gets new frame buffers for the colour grading, which
// keeps drawing the same picture into them.
TEST_F(DeferredRendererTest, ASwapChainRebuildKeepsTheColourGradingDrawing)
{
    ASSERT_TRUE(bringUp());
    ASSERT_TRUE(useFlatMaterials());
    const InstancedMesh* sphere = addModel(modelSphere());
    ASSERT_NE(sphere, nullptr);
    renderer->setOceanDisabled(true);
    renderer->setDirectionalLight({-1.0f, -0.5f, -1.0f}, {}, glm::vec3(1.0f), 3.0f, 10.0f, true);
    view = glm::lookAt(glm::vec3(0, 0, 4), glm::vec3(0), glm::vec3(0, 1, 0));
    const FrameRecorder record = recordScene({{sphere, flatMaterial({0.8f, 0.4f, 0.2f}, 0.5f, 0.0f)}});
    const glm::ivec2 centre = pixelOf({0.0f, 0.0f, 1.0f});
    const std::vector<glm::ivec2> pixels{centre, {2, 2}};

    const std::vector<std::array<std::uint8_t, 3>> before = shownInWindow(system, record, pixels);
    ASSERT_EQ(before.size(), 2u);
    EXPECT_GT(before[0][0], before[0][2] + 30) << "the orange sphere";
    EXPECT_GT(before[1][2], before[1][0] + 30) << "the blue sky";
    // A handle compared across the rebuild proves nothing: the driver may hand
    // the destroyed one's value out again. A probe listed after the renderer
    // sees the colour grading's frame buffers gone when the rebuild releases,
    // and a full set again when it remakes.
    const Pipeline2& grading = renderer->colourGradingPipeline;
    std::vector<std::size_t> framebuffersSeen;
    const int probe = 0;
    addSwapChainDependent(
        &probe, [&] { framebuffersSeen.push_back(grading.framebuffers.size()); },
        [&] {
            framebuffersSeen.push_back(grading.framebuffers.size());
            return true;
        });
    const bool rebuilt = system.recreateSwapChain();
    removeSwapChainDependent(&probe);
    ASSERT_TRUE(rebuilt);
    EXPECT_EQ(framebuffersSeen, (std::vector<std::size_t>{0, system.swapChain.imageViews.size()}));
    EXPECT_EQ(shownInWindow(system, record, pixels), before);
    EXPECT_FALSE(hasErrors());
}
}
