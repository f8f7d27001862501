#include "game/scenes/RaceScene.hpp"

#include "engine/GraphicsSystem.hpp"
#include "engine/SceneManager.hpp"
#include "engine/Timer.hpp"
#include "game/physics/Boat.hpp"
#include "game/physics/LapTracker.hpp"
#include "game/scenes/SceneKeys.hpp"
#include "game/scenes/SceneLoading.hpp"
#include "renderers/ParticleSystem.hpp"
#include "renderers/deferred/DeferredRenderer.hpp"

#include <cstdio>

namespace
{
constexpr std::int16_t keyF3 = 292;
constexpr std::int16_t keyF4 = 293;
constexpr std::int16_t keyF6 = 295;
constexpr std::int16_t keyF7 = 296;
constexpr std::int16_t keyF8 = 297;
constexpr std::int16_t keyF9 = 298;
constexpr std::int16_t keyF10 = 299;
constexpr std::int16_t keyF11 = 300;
constexpr std::int16_t keyF12 = 301;
constexpr std::int16_t keyUp = 265;
constexpr std::int16_t keyDown = 264;
constexpr std::int16_t keyR = 82;
constexpr std::int16_t keyP = 80;
constexpr double volumeStep = 0.1;
constexpr double cameraSpeedStep = 0.5;
}

void RaceScene::render()
{
    const std::optional<FrameInfo> frame = beginLoadedFrame(graphicsSystem, loaded);
    if (!frame)
    {
        return;
    }
    if (raceRules.state() == RaceState::Waiting)
    {
        updateAttractCamera();
    }
    else
    {
        updateCamera();
    }
    renderer->recordFrame(*frame, static_cast<float>(Timer::getElapsedTime()),
                          [this](const FrameInfo& recorded, PassKind pass) {
                              drawModelCollection(*renderer, *models, recorded, pass, clearModelFlag);
                          });
    if (showPhysicsDebug)
    {
        physicsDebugRenderer.record(*frame);
    }
    particles->recordDraw(*frame);
    if (raceRules.state() == RaceState::Waiting)
    {
        drawDebugText(*frame);
    }
    else
    {
        drawRaceHud(*frame);
    }
    graphicsSystem->endFrame(frame->imageIndex);
}

void RaceScene::onKeyPressed(std::int16_t key)
{
    if (!loaded)
    {
        return;
    }
    switch (key)
    {
    case keyF3:
    case keyF4:
        musicVolume = steppedVolume(musicVolume, key == keyF3 ? volumeStep : -volumeStep);
        music.setVolume(musicVolume);
        break;
    case keyF6:
        followCamera = !followCamera;
        break;
    case keyF7:
        showPhysicsDebug = !showPhysicsDebug;
        break;
    case keyF8:
        renderer->previousRenderMode();
        break;
    case keyF9:
        renderer->nextRenderMode();
        break;
    case keyF10:
        renderer->nextPointLightMode();
        break;
    case keyF11:
        renderer->nextColourGradingMode();
        break;
    case keyF12:
        clearModelFlag = !clearModelFlag;
        break;
    case keyUp:
    case keyDown:
        cameraSpeed = steppedCameraSpeed(cameraSpeed, key == keyUp ? cameraSpeedStep : -cameraSpeedStep);
        break;
    default:
        break;
    }

    if (raceRules.pressKey(key))
    {
        countdownSound.start();
        renderer->setIntroFlag(false);
    }
    if (key == keyR)
    {
        resetBoatToCheckpoint();
    }
    if (key == keyP)
    {
        std::printf("test");
        std::fflush(stdout);
        if (sceneManager != nullptr)
        {
            sceneManager->setScene(trophySceneIndex);
        }
    }
}

void RaceScene::resetBoatToCheckpoint()
{
    placeBoat(lapTracker->currentCheckpointPosition(), lapTracker->currentCheckpointRotation());
}
