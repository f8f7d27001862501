#include "game/scenes/TrophyScene.hpp"

#include "engine/GraphicsSystem.hpp"
#include "engine/SceneManager.hpp"
#include "engine/ScreenMaths.hpp"
#include "engine/Timer.hpp"
#include "game/race/RaceResult.hpp"
#include "game/scenes/SceneKeys.hpp"
#include "game/scenes/SceneLoading.hpp"
#include "game/scenes/TrophyStage.hpp"
#include "graphics/TextureArray.hpp"
#include "renderers/deferred/DeferredRenderer.hpp"

#include <fmt/format.h>

#include <cstdio>

namespace
{
constexpr std::uint32_t pointLightCapacity = 75;
constexpr const char* cubeFaceFolder = "Assets/ZavikDemoScene/Textures/CubeMap/";
constexpr const char* ballPath = "Assets/QuorlDemoScene/Models/Ball.obj";

std::string gobletModelPath(const Goblet& goblet)
{
    return fmt::format("Assets/{}.obj", goblet.name);
}
}

TrophyScene::TrophyScene(GraphicsSystem* graphicsSystem, SceneManager* sceneManager)
    : TrackBaseScene(graphicsSystem, sceneManager), camera(1.3089969f, 0.1f, 500.0f)
{
}

TrophyScene::~TrophyScene() = default;

void TrophyScene::load()
{
    TrackBaseScene::load();
    if (!hudLoaded() || !loadEnvironment())
    {
        return;
    }
    renderer->setDirectionalLight({1.0f, -0.5f, -1.0f}, glm::vec3(0.0f), {1.0f, 0.96f, 0.87f}, 3.0f, 10.0f, true);

    const std::array<std::string, 3> names{trophyGoblets[0].name, trophyGoblets[1].name, trophyGoblets[2].name};
    const Texture* albedo = loadAlbedoTextureArray(textures, names, true);
    const Texture* normal = loadNormalTextureArray(textures, names, true);
    const Texture* arme = loadArmeTextureArray(textures, names, true);
    if (albedo == nullptr || normal == nullptr || arme == nullptr)
    {
        std::printf("error! with texture Loading!\n");
        logError("The goblets' textures could not be loaded.");
        return;
    }
    renderer->setMaterialTextures(albedo, normal, arme);
    if (!loadModels())
    {
        return;
    }
    camera.setPosition({0.0f, 0.8f, 3.0f});
    camera.setTarget({0.0f, 0.5f, 0.0f});
    camera.updateMatrices();
    loaded = true;
}

bool TrophyScene::loadEnvironment()
{
    const std::optional<VkSampler> sampler =
        createSampler(textures, 60, VK_FILTER_LINEAR, VK_FILTER_LINEAR, VK_SAMPLER_MIPMAP_MODE_LINEAR);
    if (!loadStep(sampler.has_value(), "The trophy scene's sampler could not be created."))
    {
        return false;
    }
    if (renderer)
    {
        renderer->release();
    }
    renderer = std::make_unique<DeferredRenderer>(graphicsSystem, pointLightCapacity, *sampler);
    std::array<std::string, 6> faces;
    const std::array<const char*, 6> faceNames{"right3", "left3", "top3", "bottom3", "front3", "back3"};
    for (std::size_t face = 0; face < faces.size(); ++face)
    {
        faces[face] = fmt::format("{}{}.hdr", cubeFaceFolder, faceNames[face]);
    }
    if (!loadStep(renderer->loadEnvironment(faces), "The trophy scene's environment could not be loaded.") ||
        !loadStep(renderer->initialise(), "The trophy scene's renderer could not be initialised."))
    {
        return false;
    }
    renderer->setIntroFlag(false);
    // The stage stands on no water.
    renderer->setOceanDisabled(true);
    return true;
}

bool TrophyScene::loadModels()
{
    goblets = createModelCollection(graphicsSystem, &physicsWorld);
    stage = createModelCollection(graphicsSystem, &physicsWorld);
    const glm::quat upright = quaternionFromEulerDegrees(0.0f, 0.0f, 0.0f);

    trophyInstance = {};
    gobletInstances = {};
    for (std::size_t index = 0; index < trophyGoblets.size(); ++index)
    {
        const Goblet& goblet = trophyGoblets[index];
        gobletInstances[index] = addModel(*goblets, {gobletModelPath(goblet), goblet.position, upright, 1});
        if (!loadStep(gobletInstances[index].added(),
                      fmt::format("The goblet \"{}\" could not be added.", goblet.name)))
        {
            return false;
        }
        goblets->setModelMaterial(gobletInstances[index].model(), goblet.layer, glm::vec3(0.0f), 0.0f);
    }
    placeGoblets();

    const ModelRef ball = addModel(*stage, {ballPath, {0.0f, -10.0f, -5.0f}, upright, 1});
    if (!loadStep(ball.added(), "The stage's ball could not be added."))
    {
        return false;
    }
    ModelMaterial& material = stage->materials[ball.model()];
    material.firstValues = {1.0f, 0.7f, 0.0f};
    material.firstExtra = 0.0f;
    material.value3 = glm::vec3(0.1f);
    material.value = 1.0f;
    material.flag = false;
    return loadStep(goblets->uploadDirtyInstances(), "The goblets' instances could not be uploaded.");
}

void TrophyScene::placeGoblets()
{
    const glm::quat upright = quaternionFromEulerDegrees(0.0f, 0.0f, 0.0f);
    const std::array<glm::vec3, 3> positions = gobletPositions(lastRacePlace);
    for (std::size_t index = 0; index < gobletInstances.size(); ++index)
    {
        const ModelRef goblet = gobletInstances[index];
        goblets->setInstancePose(goblet.model(), goblet.instance(), positions[index], upright);
    }
    const std::optional<std::size_t> won = wonGoblet(lastRacePlace);
    trophyInstance = won ? gobletInstances[*won] : ModelRef{};
}

void TrophyScene::initialise()
{
    TrackBaseScene::initialise();
    if (!loaded)
    {
        return;
    }
    placeGoblets();
    // The frame of the switch may be drawn before this scene's first update.
    goblets->uploadDirtyInstances();
}

void TrophyScene::update()
{
    if (!loaded)
    {
        return;
    }
    if (trophyInstance.added())
    {
        goblets->setInstancePose(trophyInstance.model(), trophyInstance.instance(), winnerPosition,
                                 gobletSpin(Timer::getElapsedTime()));
    }
    // A failed upload, here or at the activation, leaves the model dirty for the next frame's try.
    goblets->uploadDirtyInstances();
}

void TrophyScene::render()
{
    const std::optional<FrameInfo> frame = beginLoadedFrame(graphicsSystem, loaded);
    if (!frame)
    {
        return;
    }
    const VkCommandBuffer commandBuffer = frame->commandBuffer;
    renderer->updateCamera(camera.getView(), camera.getProjection());
    renderer->beginGeometryPass(commandBuffer, frame->frameIndex);
    drawModelCollection(*renderer, *goblets, *frame, true);
    drawModelCollection(*renderer, *stage, *frame, true);
    renderer->endGeometryPass(commandBuffer);
    renderer->recordLightingPasses(commandBuffer, frame->frameIndex, static_cast<float>(Timer::getElapsedTime()));
    renderer->beginSecondPass(commandBuffer, frame->frameIndex);
    drawModelCollection(*renderer, *goblets, *frame, false);
    renderer->endSecondPass(commandBuffer);
    renderer->recordPostProcessPasses(commandBuffer, frame->frameIndex, frame->imageIndex);
    drawPlaceHud(*frame);
    graphicsSystem->endFrame(frame->imageIndex);
}

void TrophyScene::onKeyPressed(std::int16_t key)
{
    if (trophyKeyAction(key) == TrophyKeyAction::backToRace)
    {
        sceneManager->setScene(raceSceneIndex);
        return;
    }
    if (loaded)
    {
        stepRendererView(*renderer, key);
    }
}

ModelRef TrophyScene::getTrophyInstance() const
{
    return trophyInstance;
}

const ModelCollection* TrophyScene::getGoblets() const
{
    return goblets.get();
}

const ModelCollection* TrophyScene::getStage() const
{
    return stage.get();
}

DeferredRenderer* TrophyScene::getRenderer() const
{
    return renderer.get();
}

const Camera& TrophyScene::getCamera() const
{
    return camera;
}

void TrophyScene::unload()
{
    loaded = false;
    if (goblets)
    {
        releaseModelCollection(*goblets);
    }
    if (stage)
    {
        releaseModelCollection(*stage);
    }
    if (renderer)
    {
        renderer->release();
    }
    TrackBaseScene::unload();
}
