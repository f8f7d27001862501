// Frames per second of the trophy scene (gold goblet spinning) in a 1280 x 720
// window beside those of the clearing scene, measured in the same run, with
// the CPU time of the scene's update and render and the GPU time of each pass
// of its frame; and the load times of the menu and the trophy scene. Reads the
// game's assets from the folder given (the build's Assets/ by default). Needs
// an X server and a Vulkan driver, e.g. on the software driver:
//   export VK_ICD_FILENAMES=/usr/share/vulkan/icd.d/lvp_icd.x86_64.json
//   xvfb-run -s "-screen 0 1920x1080x24" build/tools/TrophySceneBenchmark [Assets folder] [seconds]
#include "engine/ClearScene.hpp"
#include "engine/GraphicsSystem.hpp"
#include "engine/Log.hpp"
#include "engine/SceneManager.hpp"
#include "engine/Timer.hpp"
#include "game/race/RaceResult.hpp"
#include "game/scenes/MainMenuScene.hpp"
#include "game/scenes/SceneKeys.hpp"
#include "game/scenes/TrophyScene.hpp"
#include "tools/benchmarks/BenchmarkFrames.hpp"
#include "tools/benchmarks/PassTimer.hpp"

#include <fmt/format.h>

#include <cstdio>
#include <cstdlib>

namespace
{
int measureTrophyScene(GraphicsSystem& graphicsSystem, double clearing, double seconds)
{
    SceneManager sceneManager(&graphicsSystem);
    const double menuLoad = benchmark::millisecondsOf([&] {
        sceneManager.addScene<MainMenuScene>();
        graphicsSystem.waitIdle();
    });
    sceneManager.addScene<ClearScene>();
    sceneManager.addScene<TrophyScene>();
    if (hasErrors())
    {
        std::printf("The menu could not be started.\n");
        return EXIT_FAILURE;
    }
    lastRacePlace = 1;
    const std::optional<benchmark::LoadedScene<TrophyScene>> loaded =
        benchmark::loadScene<TrophyScene>(graphicsSystem, sceneManager, trophySceneIndex,
                                          "The trophy scene could not be loaded.");
    if (!loaded)
    {
        return EXIT_FAILURE;
    }
    TrophyScene& trophyScene = loaded->scene;

    const benchmark::SceneFrames trophy = benchmark::sceneFrames(graphicsSystem, sceneManager, seconds);

    std::printf("%s\n", fmt::format("At {} x {}: trophy scene {:.2f} frames per second ({:.1f} ms a frame), "
                                    "clearing scene {:.1f} ({:.2f} ms); the trophy frame costs {:.1f} clearing frames",
                                    benchmark::windowWidth, benchmark::windowHeight, trophy.framesPerSecond,
                                    1000.0 / trophy.framesPerSecond, clearing, 1000.0 / clearing,
                                    clearing / trophy.framesPerSecond)
                            .c_str());
    std::printf("%s\n", fmt::format("CPU time per frame: update {:.2f} ms, render (recording, submitting, presenting "
                                    "and waiting for the frame in flight) {:.2f} ms",
                                    trophy.updateMilliseconds, trophy.renderMilliseconds)
                            .c_str());
    std::printf("%s\n", fmt::format("Load times: menu {:.0f} ms, trophy scene {:.0f} ms", menuLoad,
                                    loaded->loadMilliseconds).c_str());

    const bool timed = benchmark::printPassTimes(graphicsSystem, *trophyScene.getRenderer(), seconds, [&] {
        Timer::tick();
        sceneManager.update();
        sceneManager.render();
    });
    sceneManager.unloadScenes();
    return timed && !hasErrors() ? EXIT_SUCCESS : EXIT_FAILURE;
}
}

int main(int argc, char** argv)
{
    const double seconds = benchmark::secondsArgument(argc, argv, 2);
    const benchmark::ScratchFolder folder(benchmark::assetsArgument(argc, argv, 1));
    return benchmark::runFrameBenchmark(seconds, measureTrophyScene);
}
