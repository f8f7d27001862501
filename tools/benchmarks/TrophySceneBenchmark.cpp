// Frames per second of the trophy scene (gold goblet spinning) in a 1280 x 720
// window beside those of the clearing scene, measured in the same run, and the
// load times of the menu and the trophy scene. Reads the game's assets from
// the folder given (the build's Assets/ by default). Needs an X server and a
// Vulkan driver, e.g. on the software driver:
//   export VK_ICD_FILENAMES=/usr/share/vulkan/icd.d/lvp_icd.x86_64.json
//   xvfb-run -s "-screen 0 1920x1080x24" build/tools/TrophySceneBenchmark [Assets folder] [seconds]
#include "engine/ClearScene.hpp"
#include "engine/FileIo.hpp"
#include "engine/GraphicsSystem.hpp"
#include "engine/Log.hpp"
#include "engine/SceneManager.hpp"
#include "engine/Timer.hpp"
#include "engine/Window.hpp"
#include "game/race/RaceResult.hpp"
#include "game/scenes/MainMenuScene.hpp"
#include "game/scenes/SceneKeys.hpp"
#include "game/scenes/TrophyScene.hpp"

#include <fmt/format.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

namespace
{
namespace fs = std::filesystem;

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double timed(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return secondsSince(start);
}

// The game writes and reads "Settings.txt" in its working folder; the
// benchmark's own settings must not replace the user's.
fs::path enterScratchFolder(const fs::path& assets)
{
    std::string pathTemplate = (fs::temp_directory_path() / "kelvane-benchmark-XXXXXX").string();
    const fs::path folder = mkdtemp(pathTemplate.data());
    fs::current_path(folder);
    fs::create_directory_symlink(assets, "Assets");
    return folder;
}

// Frames of the active scene as the main loop runs them, after a warm-up.
double framesPerSecond(GraphicsSystem& graphicsSystem, SceneManager& sceneManager, double seconds)
{
    const auto frame = [&] {
        Timer::tick();
        pollWindowEvents();
        sceneManager.update();
        sceneManager.render();
    };
    for (int warmUp = 0; warmUp < 3; ++warmUp)
    {
        frame();
    }
    std::uint64_t frames = 0;
    const auto start = std::chrono::steady_clock::now();
    while (secondsSince(start) < seconds && !windowShouldClose(graphicsSystem.window))
    {
        frame();
        ++frames;
    }
    const double elapsed = secondsSince(start);
    graphicsSystem.waitIdle();
    return static_cast<double>(frames) / elapsed;
}

int run(double seconds)
{
    writeFile("Settings.txt",
              "Window-Width: 1280\nWindow-Height: 720\nFullscreen: false\nPreferredPresentMode: Immediate\n", false);
    GraphicsSystem graphicsSystem;
    SceneManager sceneManager(&graphicsSystem);
    const double menuLoad = timed([&] { sceneManager.addScene<MainMenuScene>(); });
    sceneManager.addScene<ClearScene>();
    sceneManager.addScene<TrophyScene>();
    if (hasErrors())
    {
        std::printf("The menu could not be started.\n");
        return EXIT_FAILURE;
    }
    Timer::start();

    sceneManager.setScene(raceSceneIndex);
    const double clearing = framesPerSecond(graphicsSystem, sceneManager, seconds);
    lastRacePlace = 1;
    const double trophyLoad = timed([&] { sceneManager.setScene(trophySceneIndex); });
    if (hasErrors())
    {
        std::printf("The trophy scene could not be loaded.\n");
        sceneManager.unloadScenes();
        return EXIT_FAILURE;
    }
    const double trophy = framesPerSecond(graphicsSystem, sceneManager, seconds);

    const VkExtent2D extent = graphicsSystem.swapChain.extent;
    std::printf("%s\n", fmt::format("At {} x {}: trophy scene {:.2f} frames per second ({:.1f} ms a frame), "
                                    "clearing scene {:.1f} ({:.2f} ms); the trophy frame costs {:.1f} clearing frames",
                                    extent.width, extent.height, trophy, 1000.0 / trophy, clearing,
                                    1000.0 / clearing, clearing / trophy)
                            .c_str());
    std::printf("%s\n",
                fmt::format("Load times: menu {:.0f} ms, trophy scene {:.0f} ms", menuLoad * 1000.0, trophyLoad * 1000.0)
                    .c_str());
    sceneManager.unloadScenes();
    return hasErrors() ? EXIT_FAILURE : EXIT_SUCCESS;
}
}

int main(int argc, char** argv)
{
    const fs::path assets = fs::absolute(argc > 1 ? fs::path(argv[1]) : fs::path("Assets"));
    const double seconds = argc > 2 ? std::atof(argv[2]) : 3.0;
    const fs::path previous = fs::current_path();
    const fs::path folder = enterScratchFolder(assets);
    const int result = run(seconds > 0.0 ? seconds : 3.0);
    fs::current_path(previous);
    std::error_code error;
    fs::remove_all(folder, error);
    return result;
}
