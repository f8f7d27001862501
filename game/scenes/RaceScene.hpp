#pragma once

#include "engine/Audio.hpp"
#include "engine/Camera.hpp"
#include "engine/CameraController.hpp"
#include "engine/vulkan/ResourceRecords.hpp"
#include "game/physics/BoatControls.hpp"
#include "game/physics/GhostRecording.hpp"
#include "game/physics/PhysicsResources.hpp"
#include "game/physics/PhysicsWorld.hpp"
#include "game/race/RacePhysics.hpp"
#include "game/race/RaceRules.hpp"
#include "game/scenes/TrackBaseScene.hpp"
#include "graphics/ModelCollection.hpp"
#include "renderers/ParticleSystemPointer.hpp"
#include "renderers/PhysicsDebugRenderer.hpp"

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class Boat;
class DeferredRenderer;
class LapTracker;
struct ParticleSystem;

// A recorded opponent and its boat in the scene's model collection.
struct OpponentGhost
{
    GhostRecording recording{180, 15};
    std::uint32_t modelIndex = 0xFFFFFFFFu;
    std::uint32_t instanceIndex = 0xFFFFFFFFu;
};

// The controls of the player's boat for a frame of the given time.
using BoatDriver = std::function<BoatControls(const Boat& boat, float deltaTime)>;

// Scene 1: the race on the water planet. The rules live in RaceRules, the
// track in TrackLayout and the cameras in RaceCameras; the scene loads what
// they describe, drives them frame by frame and draws the result. Its state
// lasts for the whole process: leaving it pauses the race and coming back
// resumes it.
class RaceScene : public TrackBaseScene
{
public:
    static constexpr const char* savedGhostPath = "Assets/ZavikDemoScene/PlayerGhost.ghost";

    RaceScene(GraphicsSystem* graphicsSystem, SceneManager* sceneManager);
    ~RaceScene() override;

    void load() override;
    void update() override;
    void render() override;
    void unload() override;
    void onKeyPressed(std::int16_t key) override;

    // Who drives the player's boat in place of the keyboard and the gamepad
    // (the autopilot of the tests and benchmarks); an empty driver gives the
    // boat back to the player.
    void setBoatDriver(BoatDriver driver);

    const RaceRules& rules() const;
    const PhysicsWorld& physics() const;
    // Null before a load that made it.
    Boat* playerBoat() const;
    const LapTracker* laps() const;
    const ModelCollection* modelCollection() const;
    const std::array<OpponentGhost, opponentCount>& opponentGhosts() const;
    // The boat's model and instance in the model collection.
    ModelRef boatInstance() const;
    float getMusicVolume() const;
    float getCameraSpeed() const;
    bool isFollowCamera() const;
    // Null before a load that made it; the benchmark times its passes.
    DeferredRenderer* deferredRenderer() const;
    // Where the last frame's camera stood and looked.
    const glm::vec3& cameraPosition() const;
    const glm::vec3& cameraTarget() const;

    // Where held keys move a camera, -1, 0 or +1 along each axis of its own
    // frame: k3 and k4 left and right (x), k5 and k6 up and down (y), k1 and
    // k2 forward and back (z, forward being -z). Opposite keys cancel.
    static glm::vec3 keyAxis(std::int16_t k1, std::int16_t k2, std::int16_t k3, std::int16_t k4, std::int16_t k5,
                             std::int16_t k6);

private:
    bool loadEnvironment();
    void createLights();
    bool loadWaterPlanetTextureArrays();
    bool loadTrack();
    bool loadBoat();
    bool loadGhosts();
    void createCheckpoints();
    bool loadDebugLines();
    bool createSmoke();
    void loadAudio();

    void startCountdown();
    // The player's controls, or the driver's, read and applied to the boat,
    // which they may put back on its checkpoint.
    void driveBoat(float deltaTime);
    void updateLapAndRecording(float deltaTime);
    void updateOpponents(float deltaTime);
    void updateFrameTail(float deltaTime, bool tick);
    void finishRace();
    void refreshClockText();

    void resetBoatToCheckpoint();

    void updateAttractCamera();
    void updateCamera();
    void updateChaseCamera();
    void publishCamera(const glm::vec3& position, const glm::vec3& target, const glm::mat4& view,
                       const glm::mat4& projection, const glm::mat4& viewProjection);

    Sound countdownSound;
    Sound music;
    AudioEngine audioEngine;
    float musicVolume = 0.5f;
    PhysicsWorld raceWorld;
    // The boat's and the checkpoints' Bullet objects; the track's bodies are the model collection's.
    PhysicsResources raceResources;
    float interpolationFactor = 0.0f;
    Camera attractCamera;
    Camera chaseCamera;
    CameraController freeCamera;
    glm::vec3 shownPosition{0.0f};
    glm::vec3 shownTarget{0.0f};
    // The boat's side of the previous frame, kept while it points straight up.
    glm::vec3 chaseSide{1.0f, 0.0f, 0.0f};
    ModelCollectionPointer models;
    bool showPhysicsDebug = false;
    bool clearModelFlag = true;
    Boat* boat = nullptr;
    // The boat's chassis, which the lap tracker follows.
    PhysicsBody* boatBody = nullptr;
    ModelRef boatModel;
    BoatDriver boatDriver;
    bool followCamera = true;
    float cameraSpeed = 1.0f;
    RaceRules raceRules;
    ParticleSystemPointer particles;
    GhostRecording playerRecording{180, 15};
    std::array<OpponentGhost, opponentCount> opponents;
    LapTracker* lapTracker = nullptr;
    std::unique_ptr<DeferredRenderer> renderer;
    PhysicsDebugRenderer physicsDebugRenderer;
    UniformBufferCollection debugUniforms;
    // Set by a load that made everything; update and render touch nothing without it.
    bool loaded = false;
};
