#include "game/scenes/RaceScene.hpp"

#include "engine/Keys.hpp"
#include "engine/SceneManager.hpp"
#include "game/Gamepad.hpp"
#include "game/physics/Boat.hpp"
#include "game/physics/LapTracker.hpp"
#include "game/race/RaceResult.hpp"
#include "game/scenes/SceneKeys.hpp"
#include "renderers/ParticleSystem.hpp"
#include "renderers/Text.hpp"
#include "renderers/deferred/DeferredRenderer.hpp"

#include <glm/geometric.hpp>

#include <cstdio>

namespace
{
constexpr float boatLightRadius = 3.0f;
constexpr float smokeBehindBoat = 2.0f;
}

void RaceScene::update()
{
    if (!loaded)
    {
        return;
    }
    // The race's time is the world's: what a stall adds beyond what the world
    // simulates moves neither the clock nor the opponents.
    const float deltaTime = PhysicsWorld::frameTime();
    const bool tick = raceRules.tickHud(deltaTime);
    if (raceRules.startRacingIfDue())
    {
        music.start();
    }
    if (raceRules.finishIfDue(hudLap))
    {
        finishRace();
    }

    if (raceRules.state() == RaceState::Waiting)
    {
        // The gamepad's A starts the countdown as Enter does.
        if (gamepadConnected && boat->handleGamepadInput(true).isPressed(GamepadButton::a))
        {
            onKeyPressed(Key::enter);
        }
        return;
    }

    raceRules.advanceClock(deltaTime);
    if (raceRules.state() == RaceState::Racing)
    {
        if (tick)
        {
            refreshClockText();
        }
        driveBoat(deltaTime);
        updateLapAndRecording(deltaTime);
        updateOpponents(deltaTime);
    }
    updateFrameTail(deltaTime, tick);
}

void RaceScene::driveBoat(float deltaTime)
{
    if (boatDriver)
    {
        const BoatControls controls = boatDriver(*boat, deltaTime);
        boat->drive(controls);
        if (controls.reset)
        {
            resetBoatToCheckpoint();
        }
        return;
    }
    if (!gamepadConnected)
    {
        boat->handleKeyboardInput();
        return;
    }
    // Held, A puts the boat back on every frame; as Enter, it starts nothing once the race is on.
    if (boat->handleGamepadInput(false).isPressed(GamepadButton::a))
    {
        resetBoatToCheckpoint();
        onKeyPressed(Key::enter);
    }
}

void RaceScene::finishRace()
{
    lastRacePlace = static_cast<std::int32_t>(raceRules.place());
    // No one drives the boat from here on.
    boat->releaseControls();
    recordFinish(playerRecording, *boat, interpolationFactor);
    const bool saved = playerRecording.saveToFile(savedGhostPath);
    std::fputs(finishLines(saved, raceRules.place(), raceRules.clock()).c_str(), stdout);
    std::fflush(stdout);
    if (sceneManager != nullptr)
    {
        sceneManager->setScene(trophySceneIndex);
    }
}

void RaceScene::refreshClockText()
{
    updateTextMesh(*clockTextMesh, createText(*clockFont, clockText(raceRules.clock()), textAlignLeft));
}

void RaceScene::updateLapAndRecording(float deltaTime)
{
    hudLap = lapTracker->currentLap();
    if (!playerRecording.isRecordingComplete())
    {
        recordBoat(playerRecording, deltaTime, *boat, interpolationFactor);
    }
}

void RaceScene::updateOpponents(float deltaTime)
{
    for (std::size_t slot = 0; slot < opponents.size(); ++slot)
    {
        OpponentGhost& opponent = opponents[slot];
        if (!raceRules.updateOpponent(slot, opponent.recording.isPlaybackFinished()))
        {
            continue;
        }
        const GhostFrame pose = opponent.recording.playback(deltaTime);
        // A recording without samples ends on its first playback and gives no pose.
        if (!opponent.recording.frames().empty())
        {
            models->setInstancePose(opponent.modelIndex, opponent.instanceIndex, pose.position, pose.rotation);
        }
    }
}

void RaceScene::updateFrameTail(float deltaTime, bool tick)
{
    interpolationFactor = raceWorld.step();
    models->updateBodyInstances(interpolationFactor);
    boat->update(interpolationFactor);
    lapTracker->checkCheckpoint(boatBody);

    const glm::vec3 position = boat->interpolatedPosition(interpolationFactor);
    if (tick)
    {
        renderer->setPointLight(position + glm::normalize(position), glm::vec3(1.0f), boatLightRadius, 0);
    }

    const float speed = boat->speedKmh();
    const glm::vec3 forward = boat->axes().forward();
    particles->setEmitter(0, position - smokeBehindBoat * forward, forward,
                          static_cast<float>(-static_cast<double>(speed) / 3.6));
    particles->setEmitterActive(0, boat->isSliding());
    particles->update(deltaTime);

    needleMesh->model = needleMatrix(speed, layout.speedometerX, layout.speedometerY);
}
