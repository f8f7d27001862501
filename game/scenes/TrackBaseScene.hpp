#pragma once

#include "engine/Scene.hpp"
#include "engine/vulkan/ResourceRecords.hpp"
#include "game/physics/PhysicsResources.hpp"
#include "game/physics/PhysicsWorld.hpp"
#include "game/scenes/HudLayout.hpp"
#include "graphics/Mesh.hpp"
#include "graphics/Pipeline2.hpp"
#include "graphics/Texture.hpp"
#include "renderers/Font.hpp"

#include <glm/mat4x4.hpp>

#include <cstdint>
#include <memory>
#include <vector>

class DeferredRenderer;
struct FrameInfo;

// The base of the scenes on the water planet (the race and the trophy): the
// head-up display with its pipelines and fonts, the physics world, and the
// keys both share. The subclasses add the 3-D world.
class TrackBaseScene : public Scene
{
public:
    TrackBaseScene(GraphicsSystem* graphicsSystem, SceneManager* sceneManager);
    ~TrackBaseScene() override;

    void load() override;
    void initialise() override;
    void update() override;
    void render() override = 0;
    void unload() override;
    // The keys the shared handler does not take.
    virtual void onKeyPressed(std::int16_t key) = 0;

    // The once-per-second handler: rewrites the debug text while it is shown.
    void refreshFpsText();
    bool isDebugTextVisible() const;

protected:
    // Whether the last load made the whole HUD; the subclasses add their own steps after it.
    bool hudLoaded() const;
    // F8 to F11 step the renderer's views, in both track scenes; false for any other key.
    static bool stepRendererView(DeferredRenderer& renderer, std::int16_t key);
    // Speedometer, needle, lap badge, race clock and debug text.
    void drawRaceHud(const FrameInfo& frame);
    void drawDebugText(const FrameInfo& frame);
    // The place badge of lastRacePlace and the debug text.
    void drawPlaceHud(const FrameInfo& frame);

    GraphicsSystem* graphicsSystem;
    SceneManager* sceneManager;
    MeshContainer meshes;
    TextureContainer textures;
    std::vector<std::unique_ptr<Font>> fonts;
    PhysicsResources physicsResources;
    PhysicsWorld physicsWorld;
    Pipeline2 hudPipeline;
    Pipeline2 debugTextPipeline;
    Pipeline2 clockTextPipeline;
    UniformBufferCollection hudUniforms;
    glm::mat4 hudProjection;
    HudLayout layout;
    Font* debugFont = nullptr;
    Font* clockFont = nullptr;
    Mesh* speedometerMesh = nullptr;
    Mesh* needleMesh = nullptr;
    Mesh* placeMesh = nullptr;
    Mesh* lapMesh = nullptr;
    Mesh* clockTextMesh = nullptr;
    Mesh* debugTextMesh = nullptr;
    Mesh* debugQuadMesh = nullptr;
    bool debugTextVisible = false;
    // No key sets it: F2 is taken by the shared handler.
    bool debugQuadVisible = false;
    // Written by the race.
    std::int32_t hudLap = 1;

private:
    bool loadHud();
    bool createHudMeshes();
    void handleKey(std::int16_t key);
    void drawHudQuad(const FrameInfo& frame, const Mesh& mesh, std::int32_t layer);
    void drawText(Pipeline2& pipeline, const FrameInfo& frame, const Mesh& mesh);

    bool hudMade = false;
};
