#include "game/scenes/TrophyScene.hpp"

#include "engine/GraphicsSystem.hpp"
#include "engine/SceneManager.hpp"
#include "engine/ScreenMaths.hpp"
#include "engine/Timer.hpp"
#include "game/assets/AssetPaths.hpp"
#include "game/race/RaceResult.hpp"
#include "game/scenes/SceneKeys.hpp"
#include "game/scenes/SceneLoading.hpp"
#include "game/scenes/TrackSceneLoading.hpp"
#include "game/scenes/TrophyStage.hpp"
#include "renderers/deferred/DeferredRenderer.hpp"

#include <fmt/format.h>

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

    if (!loadMaterialArrays(textures, *renderer, gobletMaterialNames, "The goblets' textures could not be loaded.") ||
        !loadModels())
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
    if (!loadTrackRenderer(graphicsSystem, textures, renderer, Sky::Trophy, "The trophy scene's"))
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
        gobletInstances[index] =
            addModel(*goblets, {inAssets(gobletModelFile(goblet.material)), goblet.position, upright, 1});
        if (!loadStep(gobletInstances[index].added(),
                      fmt::format("The goblet \"{}\" could not be added.", materialName(goblet.material))))
        {
            return false;
        }
        goblets->setModelMaterial(gobletInstances[index].model(), materialLayer(goblet.material), glm::vec3(0.0f),
                                  0.0f);
    }
    placeGoblets();

    const ModelRef ball = addModel(*stage, {inAssets(stageBallModelFile), {0.0f, -10.0f, -5.0f}, upright, 1});
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
    renderer->updateCamera(camera.getView(), camera.getProjection());
    const VkCommandBuffer commandBuffer = frame->commandBuffer;
    renderer->beginGeometryPass(commandBuffer, frame->frameIndex);
    drawModelCollection(*renderer, *goblets, *frame, PassKind::geometry);
    drawModelCollection(*renderer, *stage, *frame, PassKind::geometry);
    renderer->endGeometryPass(commandBuffer);
    renderer->recordLightingPasses(commandBuffer, frame->frameIndex, static_cast<float>(Timer::getElapsedTime()));
    // Only the goblets cast the sun's shadow.
    renderer->beginSecondPass(commandBuffer, frame->frameIndex);
    drawModelCollection(*renderer, *goblets, *frame, PassKind::sunShadow);
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

DeferredRenderer* TrophyScene::getRenderer() const
{
    return renderer.get();
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
