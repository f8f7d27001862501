#include "engine/Log.hpp"
#include "renderers/deferred/DeferredScene.hpp"

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
    writePng("Assets/ZavikDemoScene/Textures/tex_brdflut.png", 4, 4, [](int column) {
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
}
