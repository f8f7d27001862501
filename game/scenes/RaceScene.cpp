#include "game/scenes/RaceScene.hpp"

#include "engine/GraphicsSystem.hpp"
#include "game/Gamepad.hpp"
#include "game/assets/AssetPaths.hpp"
#include "game/physics/Boat.hpp"
#include "game/physics/RaceCourse.hpp"
#include "game/race/TrackLayout.hpp"
#include "game/scenes/SceneLoading.hpp"
#include "game/scenes/TrackSceneLoading.hpp"
#include "graphics/UniformBuffers.hpp"
#include "renderers/ParticleSystem.hpp"
#include "renderers/deferred/DeferredRenderer.hpp"

#include <BulletDynamics/Dynamics/btDiscreteDynamicsWorld.h>
#include <fmt/format.h>

#include <string>
#include <vector>

namespace
{
constexpr float fieldOfView = 1.3089969f;
constexpr std::int32_t boatCapacity = 10;
constexpr std::uint32_t debugLineCapacity = 1000000;

// The opponents' recordings; the first one plays the player's saved race when
// it has been copied here, else the slowest recorded boat.
constexpr std::array<const char*, opponentCount> ghostFiles{copiedPlayerGhostFile, recordedGhostFiles[0],
                                                            recordedGhostFiles[1], recordedGhostFiles[2],
                                                            recordedGhostFiles[3]};
constexpr const char* firstGhostFallback = recordedGhostFiles[4];
}

RaceScene::RaceScene(GraphicsSystem* graphicsSystem, SceneManager* sceneManager)
    : TrackBaseScene(graphicsSystem, sceneManager),
      attractCamera(fieldOfView, 0.1f, 500.0f),
      chaseCamera(fieldOfView, 0.1f, 500.0f),
      freeCamera(fieldOfView, 0.1f, 5000.0f),
      physicsDebugRenderer(graphicsSystem, debugLineCapacity)
{
}

RaceScene::~RaceScene() = default;

void RaceScene::load()
{
    TrackBaseScene::load();
    if (!hudLoaded() || !loadEnvironment())
    {
        return;
    }
    createLights();
    if (!loadWaterPlanetTextureArrays() || !loadTrack())
    {
        return;
    }
    setRaceGravity(raceWorld);
    if (!loadBoat() || !loadGhosts())
    {
        return;
    }
    createCheckpoints();
    if (!loadDebugLines() || !createSmoke())
    {
        return;
    }
    loadAudio();
    watchGamepad();
    // The boats stand at the start from the first frame, the wait's included,
    // though the world does not step before the countdown.
    loaded = loadStep(models->uploadDirtyInstances(), "The race's boats could not be placed at the start.");
}

bool RaceScene::loadEnvironment()
{
    if (!loadTrackRenderer(graphicsSystem, textures, renderer, Sky::Race, "The race's"))
    {
        return false;
    }
    renderer->setIntroFlag(true);
    return true;
}

void RaceScene::createLights()
{
    for (const TrackLight& light : trackLayout().lights)
    {
        renderer->addPointLight(light.position, light.colour, light.radius);
    }
}

bool RaceScene::loadWaterPlanetTextureArrays()
{
    return loadMaterialArrays(textures, *renderer, trackMaterialNames, "The track's textures could not be loaded.");
}

bool RaceScene::loadTrack()
{
    if (models)
    {
        releaseModelCollection(*models);
    }
    models = createModelCollection(graphicsSystem, &raceWorld);
    std::vector<bool> placed(trackModelCount, false);
    std::vector<std::uint32_t> modelIndices(trackModelCount, 0);
    bool allPlaced = true;
    // Each body joins the world as its placement is added, in the order in
    // which a race without a window adds them.
    for (const TrackPlacement& placement : trackLayout().placements)
    {
        const auto row = static_cast<std::size_t>(placement.model);
        const std::int32_t capacity = placed[row] ? 10 : trackModel(placement.model).maxInstances;
        const std::string path = trackModelPath(placement.model);
        const PlacementBody body = placementBody(placement);
        const ModelRef added =
            body.kind == PlacementBodyKind::Single
                ? addModelWithBody(*models, path, body.descriptions.front(), placement.position, placement.rotation,
                                   capacity)
                : addModel(*models, {path, placement.position, placement.rotation, capacity});
        allPlaced = allPlaced && added.added();
        if (!added.added())
        {
            continue;
        }
        placed[row] = true;
        modelIndices[row] = added.model();
        if (body.kind == PlacementBodyKind::Compound)
        {
            models->createCompoundInstanceBody(added.model(), added.instance(), body.descriptions);
        }
    }
    for (std::size_t row = 0; row < trackModelCount; ++row)
    {
        const std::optional<TrackMaterial> material = trackModels[row].material;
        if (placed[row] && material)
        {
            models->setModelMaterial(modelIndices[row], materialLayer(*material), glm::vec3(0.0f), 0.0f);
        }
    }
    models->updateBodyInstances(interpolationFactor);
    // A model that does not load would leave a hole in the course or let the
    // boat fall through the planet.
    return loadStep(allPlaced, "The track's models could not all be placed.");
}

bool RaceScene::loadBoat()
{
    boat = createRaceBoat(raceResources, raceWorld);
    boatBody = boat->chassis();
    boatModel =
        addModel(*models, {inAssets(boatModelFile), glm::vec3(0.0f), glm::quat(1.0f, 0.0f, 0.0f, 0.0f), boatCapacity});
    if (!loadStep(boatModel.added(), "The player's boat could not be added."))
    {
        return false;
    }
    models->setModelMaterial(boatModel.model(), materialLayer(TrackMaterial::Boat), glm::vec3(0.0f), 0.0f);
    models->setInstanceBody(boatModel.model(), boatModel.instance(), boatBody);
    boat->reset(raceStartPosition, raceStartRotation());
    models->setInstancePose(boatModel.model(), boatModel.instance(), raceStartPosition, raceStartRotation());
    return true;
}

bool RaceScene::loadGhosts()
{
    for (std::size_t slot = 0; slot < opponents.size(); ++slot)
    {
        OpponentGhost& opponent = opponents[slot];
        const ModelRef added = addModel(
            *models, {inAssets(boatModelFile), glm::vec3(0.0f), glm::quat(1.0f, 0.0f, 0.0f, 0.0f), boatCapacity});
        if (!loadStep(added.added(), fmt::format("The boat of opponent {} could not be added.", slot)))
        {
            return false;
        }
        opponent.modelIndex = added.model();
        opponent.instanceIndex = added.instance();
        if (!opponent.recording.loadFromFile(inAssets(ghostFiles[slot])) && slot == 0)
        {
            opponent.recording.loadFromFile(inAssets(firstGhostFallback));
        }
        models->setInstancePose(opponent.modelIndex, opponent.instanceIndex, opponent.recording.startPosition(),
                                opponent.recording.startRotation());
    }
    return true;
}

void RaceScene::createCheckpoints()
{
    lapTracker = createRaceCheckpoints(raceResources, raceWorld);
}

bool RaceScene::loadDebugLines()
{
    std::optional<UniformBufferCollection> uniforms = createUniformBufferCollection<64>(*graphicsSystem);
    if (!loadStep(uniforms.has_value(), "The physics debug lines' uniform buffers could not be created."))
    {
        return false;
    }
    debugUniforms = *uniforms;
    physicsDebugRenderer.initialise("Assets/QuorlDemoScene/Shaders/Debug Shader.vert.spv",
                                    "Assets/QuorlDemoScene/Shaders/Debug Shader.frag.spv", debugUniforms);
    // A pipeline that was not made has no descriptor sets to write.
    if (!loadStep(physicsDebugRenderer.pipeline.pipeline != VK_NULL_HANDLE,
                  "The physics debug lines could not be created."))
    {
        return false;
    }
    updateDebugDescriptorSets(physicsDebugRenderer.pipeline, debugUniforms);
    physicsDebugRenderer.attachPhysicsWorld(raceWorld.dynamicsWorld());
    return true;
}

bool RaceScene::createSmoke()
{
    particles = ParticleSystemPointer(new ParticleSystem(graphicsSystem));
    if (!loadStep(particles->initialise(inAssets(smokeFile)), "The smoke could not be created."))
    {
        return false;
    }
    ParticleEmitter smoke;
    smoke.startSize = 0.2f;
    smoke.startAlpha = 0.2f;
    smoke.endFactor = 0.0f;
    smoke.spread = 0.8f;
    smoke.speedOffset = 2.0f;
    smoke.pull = 0.0f;
    smoke.lifetime = 2.0f;
    smoke.drag = 0.5f;
    smoke.active = true;
    smoke.position = glm::vec3(0.0f);
    smoke.direction = glm::vec3(1.0f, 0.0f, 0.0f);
    smoke.speed = 1.0f;
    return loadStep(particles->addEmitter(smoke, 200) == 0, "The smoke's emitter could not be added.");
}

void RaceScene::loadAudio()
{
    // A machine without sound races in silence.
    audioEngine.initialise();
    music.load(audioEngine, inAssets(musicFile));
    countdownSound.load(audioEngine, inAssets(countdownFile));
    music.setLooping(true);
    music.setVolume(musicVolume);
    countdownSound.setVolume(musicVolume);
}

void RaceScene::unload()
{
    loaded = false;
    if (models)
    {
        releaseModelCollection(*models);
    }
    if (particles)
    {
        particles->destroy();
    }
    raceWorld.removeAllObjects();
    raceResources.destroyAll();
    boat = nullptr;
    boatBody = nullptr;
    lapTracker = nullptr;
    graphicsSystem->destroyUniformBuffers(debugUniforms);
    physicsDebugRenderer.destroy();
    if (renderer)
    {
        renderer->release();
    }
    music.release();
    countdownSound.release();
    audioEngine.release();
    TrackBaseScene::unload();
}

void RaceScene::setBoatDriver(BoatDriver driver)
{
    boatDriver = std::move(driver);
}

const RaceRules& RaceScene::rules() const
{
    return raceRules;
}

const PhysicsWorld& RaceScene::physics() const
{
    return raceWorld;
}

Boat* RaceScene::playerBoat() const
{
    return boat;
}

const LapTracker* RaceScene::laps() const
{
    return lapTracker;
}

const ModelCollection* RaceScene::modelCollection() const
{
    return models.get();
}

const std::array<OpponentGhost, opponentCount>& RaceScene::opponentGhosts() const
{
    return opponents;
}

ModelRef RaceScene::boatInstance() const
{
    return boatModel;
}

float RaceScene::getMusicVolume() const
{
    return musicVolume;
}

float RaceScene::getCameraSpeed() const
{
    return cameraSpeed;
}

DeferredRenderer* RaceScene::deferredRenderer() const
{
    return renderer.get();
}

bool RaceScene::isFollowCamera() const
{
    return followCamera;
}
