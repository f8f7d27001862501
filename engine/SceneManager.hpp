#pragma once

#include "engine/Log.hpp"
#include "engine/Scene.hpp"

#include <fmt/format.h>

#include <cstdint>
#include <memory>
#include <vector>

class GraphicsSystem;

struct SceneEntry
{
    std::unique_ptr<Scene> scene;
    bool loaded = false;
};

// The scenes by index, one of them active. A switch runs at once and never
// unloads the scene that is left.
class SceneManager
{
public:
    explicit SceneManager(GraphicsSystem* graphicsSystem);
    SceneManager(const SceneManager&) = delete;
    SceneManager& operator=(const SceneManager&) = delete;
    ~SceneManager();

    template <typename T>
    void addScene();
    void setScene(std::uint32_t index);
    void update();
    void render();
    void unloadScenes();

    Scene* getActiveScene() const;
    bool isLoaded(std::uint32_t index) const;

private:
    void waitForDevice();

    GraphicsSystem* graphicsSystem;
    std::vector<SceneEntry> scenes;
    Scene* activeScene = nullptr;
};

template <typename T>
void SceneManager::addScene()
{
    const std::size_t index = scenes.size();
    // Scenes are added at start-up only, where any earlier error (the window,
    // the device, the first scene's activation) means the game cannot start.
    if (hasErrors())
    {
        logError(fmt::format("Scene (index {}) has not been added due to previous errors.", index));
        return;
    }
    const std::size_t errorsBefore = errorCount();
    scenes.push_back(SceneEntry{std::make_unique<T>(graphicsSystem, this), false});
    if (errorCount() != errorsBefore)
    {
        logDebug(fmt::format("Scene (index {}) has been added, but contains errors.", index));
        return;
    }
    logDebug(fmt::format("Scene (index {}) has been added.", index));
    if (index == 0)
    {
        setScene(0);
    }
}
