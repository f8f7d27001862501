#pragma once

#include "engine/Scene.hpp"
#include "engine/vulkan/ResourceRecords.hpp"
#include "graphics/Mesh.hpp"
#include "graphics/Pipeline2.hpp"
#include "graphics/Texture.hpp"
#include "renderers/Font.hpp"

#include <glm/mat4x4.hpp>

#include <cstdint>
#include <memory>
#include <vector>

// Scene 0: the background picture with an optional frames-per-second text.
// Its keys start the race, open the trophy scene with a chosen place, or close
// the game.
class MainMenuScene : public Scene
{
public:
    MainMenuScene(GraphicsSystem* graphicsSystem, SceneManager* sceneManager);
    ~MainMenuScene() override;

    void load() override;
    void initialise() override;
    void update() override;
    void render() override;
    void unload() override;

    // The once-per-second handler: rewrites the text while it is shown.
    void refreshFpsText();
    bool isFpsTextVisible() const;

private:
    bool loadResources();
    void onKeyPressed(std::int16_t key);

    GraphicsSystem* graphicsSystem;
    SceneManager* sceneManager;
    MeshContainer meshes;
    TextureContainer textures;
    std::vector<std::unique_ptr<Font>> fonts;
    Pipeline2 texturePipeline;
    // Made with the menu's resources, though the menu draws nothing with it.
    Pipeline2 hudPipeline;
    Pipeline2 textPipeline;
    UniformBufferCollection uniforms;
    glm::mat4 hudProjection;
    Font* font = nullptr;
    Mesh* backgroundMesh = nullptr;
    Mesh* fpsTextMesh = nullptr;
    bool fpsTextVisible = false;
    // Set by a load that made everything; render draws nothing without it.
    bool loaded = false;
};
