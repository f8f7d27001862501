#include "engine/SceneManager.hpp"

#include "engine/GraphicsSystem.hpp"
#include "engine/Keyboard.hpp"
#include "engine/Mouse.hpp"
#include "engine/Timer.hpp"

namespace
{
// What a scene's initialise replaces; put back when the activation fails, so
// the scene that stays active keeps its input.
struct InstalledHandlers
{
    KeyPressedCallback key;
    ButtonPressedCallback button;
    std::function<void()> perSecond;
    int cursorMode;

    static InstalledHandlers capture()
    {
        return {Keyboard::getKeyPressedCallback(), Mouse::getButtonPressedCallback(), Timer::getPerSecondCallback(),
                Mouse::getCursorMode()};
    }

    void restore() const
    {
        Keyboard::setKeyPressedCallback(key);
        Mouse::setButtonPressedCallback(button);
        Timer::setPerSecondCallback(perSecond);
        Mouse::setCursorMode(cursorMode);
    }
};
}

SceneManager::SceneManager(GraphicsSystem* graphicsSystem) : graphicsSystem(graphicsSystem)
{
}

SceneManager::~SceneManager()
{
    unloadScenes();
}

void SceneManager::setScene(std::uint32_t index)
{
    if (scenes.empty())
    {
        logError("There are no scenes.");
        return;
    }
    if (index >= scenes.size())
    {
        logError(fmt::format("Scene index {} is out of range.", index));
        return;
    }

    SceneEntry& entry = scenes[index];
    // The active scene is still drawing and reading input: a failed
    // re-activation must not pull its resources away.
    const bool isActive = entry.scene.get() == activeScene;
    // Only the scene's own steps can refuse it: an error logged earlier in
    // play must not keep every later switch from happening.
    if (!entry.loaded)
    {
        const std::size_t errorsBeforeLoad = errorCount();
        entry.scene->load();
        if (errorCount() != errorsBeforeLoad)
        {
            logError(fmt::format("Errors occurred during the loading of scene (index {})", index));
            waitForDevice();
            entry.scene->unload();
            return;
        }
        entry.loaded = true;
    }

    const InstalledHandlers previous = InstalledHandlers::capture();
    const std::size_t errorsBeforeInitialise = errorCount();
    entry.scene->initialise();
    if (errorCount() != errorsBeforeInitialise)
    {
        logError(fmt::format("Errors occurred during the initialisation of scene (index {})", index));
        previous.restore();
        if (!isActive)
        {
            waitForDevice();
            entry.scene->unload();
            entry.loaded = false;
        }
        return;
    }

    activeScene = entry.scene.get();
    logDebug(fmt::format("Scene (index {}) has been activated.", index));
}

void SceneManager::update()
{
    activeScene->update();
    Mouse::resetScroll();
}

void SceneManager::render()
{
    activeScene->render();
}

void SceneManager::unloadScenes()
{
    for (SceneEntry& entry : scenes)
    {
        if (entry.loaded)
        {
            entry.scene->unload();
            entry.loaded = false;
        }
    }
    logDebug("Scenes have been unloaded.");
    scenes.clear();
    activeScene = nullptr;
}

Scene* SceneManager::getActiveScene() const
{
    return activeScene;
}

bool SceneManager::isLoaded(std::uint32_t index) const
{
    return index < scenes.size() && scenes[index].loaded;
}

void SceneManager::waitForDevice()
{
    // The scene to be unloaded may have drawn the frames still in flight.
    if (graphicsSystem != nullptr)
    {
        graphicsSystem->waitIdle();
    }
}
