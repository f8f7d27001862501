#pragma once

#include "engine/Camera.hpp"
#include "game/scenes/TrackBaseScene.hpp"
#include "graphics/ModelCollection.hpp"

#include <array>
#include <memory>

class DeferredRenderer;

// Scene 2: the gold, silver and bronze goblets on a stage under the deferred
// renderer; the goblet of the place won stands in front and spins, and the
// place badge shows. Enter goes back to the race.
class TrophyScene : public TrackBaseScene
{
public:
    TrophyScene(GraphicsSystem* graphicsSystem, SceneManager* sceneManager);
    ~TrophyScene() override;

    void load() override;
    // The goblet is chosen here, on every visit: the place may have changed
    // since the scene was loaded (P during the race, then a finish).
    void initialise() override;
    void update() override;
    void render() override;
    void unload() override;
    void onKeyPressed(std::int16_t key) override;

    bool loadEnvironment();
    bool loadModels();

    // The spinning goblet's instance; not added when no goblet was won.
    ModelRef getTrophyInstance() const;
    const ModelCollection* getGoblets() const;
    // For the benchmark, which times the frame's passes.
    DeferredRenderer* getRenderer() const;

private:
    // Each goblet to its spot for lastRacePlace, upright; the won one becomes the trophy.
    void placeGoblets();

    ModelRef trophyInstance;
    // Gold, silver and bronze, as in trophyGoblets.
    std::array<ModelRef, 3> gobletInstances;
    Camera camera;
    ModelCollectionPointer goblets;
    ModelCollectionPointer stage;
    std::unique_ptr<DeferredRenderer> renderer;
    // Set by a load that made everything; render and update touch nothing without it.
    bool loaded = false;
};
