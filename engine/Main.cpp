#include "engine/ClearScene.hpp"
#include "engine/GraphicsSystem.hpp"
#include "engine/Log.hpp"
#include "engine/SceneManager.hpp"
#include "engine/Timer.hpp"
#include "engine/Version.hpp"
#include "engine/Window.hpp"
#include "game/scenes/MainMenuScene.hpp"
#include "game/scenes/TrophyScene.hpp"

#include <fmt/format.h>

#include <cstdint>
#include <string>

int main()
{
    const std::string version = makeVersionString(gameVersion);
    logInfo(fmt::format("{} (Version: {})", gameName, version));

    GraphicsSystem graphicsSystem;
    SceneManager sceneManager(&graphicsSystem);
    std::int32_t exitCode = 0;

    sceneManager.addScene<MainMenuScene>();
    // Stands in for the race until the race scene exists.
    sceneManager.addScene<ClearScene>();
    sceneManager.addScene<TrophyScene>();

    if (hasErrors())
    {
        logError("Errors have occurred.");
        exitCode = -1;
    }
    else
    {
        Timer::start();
        while (!windowShouldClose(graphicsSystem.window))
        {
            Timer::tick();
            pollWindowEvents();
            sceneManager.update();
            sceneManager.render();
        }
        graphicsSystem.waitIdle();
    }

    sceneManager.unloadScenes();
    return exitCode;
}
