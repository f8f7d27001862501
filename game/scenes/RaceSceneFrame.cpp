#include "game/scenes/RaceScene.hpp"

#include "engine/GraphicsSystem.hpp"
#include "engine/SceneManager.hpp"
#include "engine/Timer.hpp"
#include "game/physics/Boat.hpp"
#include "game/physics/BulletConversions.hpp"
#include "game/scenes/SceneKeys.hpp"
#include "game/scenes/SceneLoading.hpp"
#include "renderers/ParticleSystem.hpp"
#include "renderers/deferred/DeferredRenderer.hpp"

#include <cstdio>

namespace
{
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
    const VkCommandBuffer commandBuffer = frame->commandBuffer;
    renderer->beginGeometryPass(commandBuffer, frame->frameIndex);
    drawModelCollection(*renderer, *models, *frame, PassKind::geometry, clearModelFlag);
    renderer->endGeometryPass(commandBuffer);
    renderer->recordLightingPasses(commandBuffer, frame->frameIndex, static_cast<float>(Timer::getElapsedTime()));
    renderer->beginSecondPass(commandBuffer, frame->frameIndex);
    drawModelCollection(*renderer, *models, *frame, PassKind::sunShadow);
    renderer->endSecondPass(commandBuffer);
    renderer->recordPostProcessPasses(commandBuffer, frame->frameIndex, frame->imageIndex);
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
    if (stepRendererView(*renderer, key))
    {
        return;
    }
    const RaceKeyAction action = raceKeyAction(key);
    switch (action)
    {
    case RaceKeyAction::musicLouder:
    case RaceKeyAction::musicSofter:
        musicVolume = steppedVolume(musicVolume, action == RaceKeyAction::musicLouder ? volumeStep : -volumeStep);
        music.setVolume(musicVolume);
        break;
    case RaceKeyAction::switchCamera:
        followCamera = !followCamera;
        break;
    case RaceKeyAction::togglePhysicsLines:
        showPhysicsDebug = !showPhysicsDebug;
        break;
    case RaceKeyAction::toggleNormalMaps:
        clearModelFlag = !clearModelFlag;
        break;
    case RaceKeyAction::freeCameraFaster:
    case RaceKeyAction::freeCameraSlower:
    {
        const double step = action == RaceKeyAction::freeCameraFaster ? cameraSpeedStep : -cameraSpeedStep;
        cameraSpeed = steppedCameraSpeed(cameraSpeed, step);
        break;
    }
    case RaceKeyAction::startCountdown:
        startCountdown();
        break;
    case RaceKeyAction::resetBoat:
        resetBoatToCheckpoint();
        break;
    case RaceKeyAction::showTrophy:
        std::printf("test");
        std::fflush(stdout);
        if (sceneManager != nullptr)
        {
            sceneManager->setScene(trophySceneIndex);
        }
        break;
    case RaceKeyAction::none:
        break;
    }
}

void RaceScene::startCountdown()
{
    if (raceRules.startCountdown())
    {
        countdownSound.start();
        renderer->setIntroFlag(false);
    }
}

void RaceScene::resetBoatToCheckpoint()
{
    ::resetBoatToCheckpoint(*boat, *lapTracker);
    // Drawn there at once, also while the world stands still.
    const btTransform& pose = boatBody->getWorldTransform();
    models->setInstancePose(boatModel.model(), boatModel.instance(), fromBulletVector(pose.getOrigin()),
                            fromBulletQuaternion(pose.getRotation()));
}
