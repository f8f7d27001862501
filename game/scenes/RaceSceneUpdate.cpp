#include "game/scenes/RaceScene.hpp"

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
constexpr float ghostSampleInterval = 1.0f / 15.0f;
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
        // The gamepad's button that puts the boat back starts the countdown.
        if (racePhysics.boat->handleGamepadInput(true).reset)
        {
            startCountdown();
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
        // Held, the reset puts the boat back on every frame.
        if (driveBoat(deltaTime).reset)
        {
            resetBoatToCheckpoint();
        }
        updateLapAndRecording(deltaTime);
        updateOpponents(deltaTime);
    }
    updateFrameTail(deltaTime, tick);
}

BoatControls RaceScene::driveBoat(float deltaTime)
{
    Boat& boat = *racePhysics.boat;
    if (!boatDriver)
    {
        return gamepadConnected ? boat.handleGamepadInput(false) : boat.handleKeyboardInput();
    }
    const BoatControls controls = boatDriver(boat, deltaTime);
    boat.drive(controls);
    return controls;
}

void RaceScene::finishRace()
{
    lastRacePlace = static_cast<std::int32_t>(raceRules.place());
    Boat& boat = *racePhysics.boat;
    // No one drives the boat from here on.
    boat.releaseControls();
    // The finish is seen two frames after the line was crossed, and the
    // samples so far may all lie before it. The boat's pose now, past the line,
    // is the pose at the time recorded so far; held for one interval more, it
    // becomes the last sample, so that the saved race finishes when it is played back.
    recordBoat(playerRecording, ghostSampleInterval, boat, interpolationFactor);
    recordBoat(playerRecording, 0.0f, boat, interpolationFactor);
    playerRecording.stopRecording();
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
    hudLap = racePhysics.lapTracker->currentLap();
    if (!playerRecording.isRecordingComplete())
    {
        recordBoat(playerRecording, deltaTime, *racePhysics.boat, interpolationFactor);
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
    interpolationFactor = stepRace(raceWorld, racePhysics);
    models->updateBodyInstances(interpolationFactor);

    const Boat& boat = *racePhysics.boat;
    const glm::vec3 position = boat.interpolatedPosition(interpolationFactor);
    if (tick)
    {
        renderer->setPointLight(position + glm::normalize(position), glm::vec3(1.0f), boatLightRadius, 0);
    }

    const float speed = boat.speedKmh();
    const glm::vec3 forward = boat.axes().forward();
    particles->setEmitter(0, position - smokeBehindBoat * forward, forward,
                          static_cast<float>(-static_cast<double>(speed) / 3.6));
    particles->setEmitterActive(0, boat.isSliding());
    particles->update(deltaTime);

    needleMesh->model = needleMatrix(speed, layout.speedometerX, layout.speedometerY);
}
