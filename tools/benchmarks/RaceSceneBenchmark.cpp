// The race scene in a 1280 x 720 window: frames per second with the attract
// camera (waiting) and with the chase camera mid-race (the autopilot driving),
// beside the clearing scene's in the same run, with the waits for the whole
// queue that each frame makes; the GPU time of each pass of
// the chase camera's frame; the race scene's load time; and the peak resident
// memory of a whole race, driven to the finish by the autopilot. The last
// chase frame, as the window shows it, is kept as
// screenshots/race-benchmark-chase.png in the build folder and measured with
// the picture statistics (tools/pictures). Then, in a 160 x 90 window, the
// processor's share of a mid-race frame. Reads the game's assets from the
// folder given (the build's Assets/ by default). Needs an X server and a
// Vulkan driver, e.g.:
//   export VK_ICD_FILENAMES=/usr/share/vulkan/icd.d/lvp_icd.x86_64.json
//   xvfb-run -s "-screen 0 1920x1080x24" build/tools/RaceSceneBenchmark [Assets folder] [seconds]
#include "engine/ClearScene.hpp"
#include "engine/GraphicsSystem.hpp"
#include "engine/Keys.hpp"
#include "engine/Log.hpp"
#include "engine/Mouse.hpp"
#include "engine/SceneManager.hpp"
#include "engine/Timer.hpp"
#include "game/physics/Boat.hpp"
#include "game/physics/LapTracker.hpp"
#include "game/race/Autopilot.hpp"
#include "game/race/TrackLayout.hpp"
#include "game/scenes/RaceScene.hpp"
#include "game/scenes/SceneKeys.hpp"
#include "game/scenes/TrophyScene.hpp"
#include "tools/assets/AssetFiles.hpp"
#include "tools/benchmarks/BenchmarkFrames.hpp"
#include "tools/benchmarks/PassTimer.hpp"
#include "tools/benchmarks/WindowPicture.hpp"
#include "tools/pictures/PictureStatistics.hpp"

#include <fmt/format.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace
{
namespace fs = std::filesystem;

constexpr float fixedFrame = 1.0f / 60.0f;

double peakResidentMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// The chase frame drawn once more with the race held still, kept as a picture
// and measured; false when it could not be read or written.
bool keepChasePicture(GraphicsSystem& graphicsSystem, SceneManager& sceneManager)
{
    // Two frames, so the one read has surely been presented.
    sceneManager.render();
    sceneManager.render();
    graphicsSystem.waitIdle();
    const VkExtent2D extent = graphicsSystem.swapChain.extent;
    const std::optional<ImageData<std::uint32_t>> picture = windowPicture(graphicsSystem.window, 0, 0, extent);
    const fs::path path = fs::path(KELVANE_SCREENSHOTS_DIR) / "race-benchmark-chase.png";
    if (!picture || !writePng(path, static_cast<int>(extent.width), static_cast<int>(extent.height), 4,
                              {reinterpret_cast<const std::uint8_t*>(picture->pixels.data()),
                               picture->pixels.size() * sizeof(std::uint32_t)}))
    {
        std::printf("The chase frame could not be kept as a picture.\n");
        return false;
    }
    const PictureStatistics statistics = measurePicture(*picture);
    std::printf("%s\n", fmt::format("Chase frame ({}): {}{}", path.string(), describe(statistics),
                                    meetsRaceLook(statistics) ? "" : "; outside the race's look")
                            .c_str());
    return true;
}

// The race scene in the manager's scene 1, loaded as the menu's Enter loads it.
std::optional<benchmark::LoadedScene<RaceScene>> loadRace(GraphicsSystem& graphicsSystem, SceneManager& sceneManager)
{
    // In the menu's place, so the race and the trophy scene take their indices.
    sceneManager.addScene<ClearScene>();
    sceneManager.addScene<RaceScene>();
    sceneManager.addScene<TrophyScene>();
    if (hasErrors())
    {
        std::printf("The scenes could not be added.\n");
        return std::nullopt;
    }
    return benchmark::loadScene<RaceScene>(graphicsSystem, sceneManager, raceSceneIndex,
                                           "The race scene could not be loaded.");
}

// The countdown and half a lap at fixed frames without drawing, the autopilot driving.
void driveToMidRace(GraphicsSystem& graphicsSystem, RaceScene& race, SceneManager& sceneManager, Autopilot& autopilot)
{
    race.setBoatDriver([&](const Boat& boat, float deltaTime) { return autopilot.drive(boat, deltaTime); });
    race.onKeyPressed(Key::enter);
    // The cursor at the window's centre: the chase camera behind the boat.
    const VkExtent2D extent = graphicsSystem.swapChain.extent;
    Mouse::cursorPositionCallback(graphicsSystem.window, extent.width / 2.0, extent.height / 2.0);
    for (int frame = 0; frame < 60 * 20; ++frame)
    {
        Timer::tickBy(fixedFrame);
        sceneManager.update();
    }
}

int measureRaceScene(GraphicsSystem& graphicsSystem, double clearing, double seconds)
{
    SceneManager sceneManager(&graphicsSystem);
    const std::optional<benchmark::LoadedScene<RaceScene>> loaded = loadRace(graphicsSystem, sceneManager);
    if (!loaded)
    {
        return EXIT_FAILURE;
    }
    RaceScene* race = &loaded->scene;
    const benchmark::SceneFrames attract = benchmark::sceneFrames(graphicsSystem, sceneManager, seconds);

    // Mid-race, the chase camera at the pace the frames take.
    Autopilot autopilot(AutopilotSkill{}, trackLayout().course);
    driveToMidRace(graphicsSystem, *race, sceneManager, autopilot);
    const benchmark::SceneFrames chase = benchmark::sceneFrames(graphicsSystem, sceneManager, seconds);

    const VkExtent2D extent = graphicsSystem.swapChain.extent;
    const auto figures = [&](const char* camera, const benchmark::SceneFrames& frames) {
        const double frameMilliseconds = 1000.0 / frames.framesPerSecond;
        std::printf("%s\n", fmt::format("At {} x {}, {}: {:.2f} frames per second ({:.1f} ms a frame, {:.1f} clearing "
                                        "frames); update {:.0f} %, render and submit {:.0f} % of the time; "
                                        "{:.2f} queue waits per frame",
                                        extent.width, extent.height, camera, frames.framesPerSecond,
                                        frameMilliseconds, clearing / frames.framesPerSecond,
                                        frames.updateMilliseconds / frameMilliseconds * 100.0,
                                        frames.renderMilliseconds / frameMilliseconds * 100.0,
                                        frames.queueWaitsPerFrame)
                                .c_str());
    };
    figures("attract camera", attract);
    figures("chase camera mid-race", chase);
    std::printf("%s\n", fmt::format("Clearing scene {:.1f} frames per second ({:.2f} ms)", clearing, 1000.0 / clearing)
                            .c_str());
    const bool kept = keepChasePicture(graphicsSystem, sceneManager);

    // The chase camera's frame with the race held still: the scene draws it
    // where the chase camera's last frames left the boat.
    const bool timed = benchmark::printPassTimes(graphicsSystem, *race->deferredRenderer(), seconds,
                                                 [&] { sceneManager.render(); });

    // The rest of the race, one drawn frame a simulated second; the peak is
    // taken once more before the finish loads the trophy scene.
    std::uint64_t frame = 0;
    double racePeak = 0.0;
    while (race->rules().state() != RaceState::Finished && frame < 60 * 600)
    {
        if (race->laps()->currentLap() == finishLap && racePeak == 0.0)
        {
            racePeak = peakResidentMegabytes();
        }
        Timer::tickBy(fixedFrame);
        sceneManager.update();
        if (++frame % 60 == 0)
        {
            sceneManager.render();
        }
    }
    graphicsSystem.waitIdle();
    const bool finished = race->rules().state() == RaceState::Finished;
    std::printf("%s\n", fmt::format("Race scene load {:.0f} ms; peak resident memory of the whole race {:.0f} MB, "
                                    "{:.0f} MB with the trophy scene that the finish loads{}",
                                    loaded->loadMilliseconds, racePeak, peakResidentMegabytes(),
                                    finished ? "" : " (the race did not finish)")
                            .c_str());
    sceneManager.unloadScenes();
    return timed && kept && finished && !hasErrors() ? EXIT_SUCCESS : EXIT_FAILURE;
}

// The processor's share of a mid-race frame, which is what a player with a
// graphics card meets: in a window so small that the driver's shading costs
// next to nothing, every frame a 60th of a second of the race (the most that
// a player at 60 frames per second simulates in one).
constexpr benchmark::WindowSize smallWindow{160, 90};

int measureProcessorShare(GraphicsSystem& graphicsSystem, double clearing, double seconds)
{
    SceneManager sceneManager(&graphicsSystem);
    const std::optional<benchmark::LoadedScene<RaceScene>> loaded = loadRace(graphicsSystem, sceneManager);
    if (!loaded)
    {
        return EXIT_FAILURE;
    }
    Autopilot autopilot(AutopilotSkill{}, trackLayout().course);
    driveToMidRace(graphicsSystem, loaded->scene, sceneManager, autopilot);
    const benchmark::SceneFrames frames = benchmark::sceneFrames(graphicsSystem, sceneManager, seconds, fixedFrame);
    std::printf("%s\n", fmt::format("At {} x {}, chase camera mid-race, a 60th of a second of the race a frame: "
                                    "update {:.2f} ms and recording {:.2f} ms per frame, {:.2f} ms together "
                                    "(recording: the render up to the submission, less the waits for the frame in "
                                    "flight and the swap chain's image); {:.2f} queue waits per frame; "
                                    "{:.1f} frames per second, {:.1f} clearing frames",
                                    smallWindow.width, smallWindow.height, frames.updateMilliseconds,
                                    frames.recordingMilliseconds,
                                    frames.updateMilliseconds + frames.recordingMilliseconds, frames.queueWaitsPerFrame,
                                    frames.framesPerSecond, clearing / frames.framesPerSecond)
                            .c_str());
    sceneManager.unloadScenes();
    return hasErrors() ? EXIT_FAILURE : EXIT_SUCCESS;
}
}

int main(int argc, char** argv)
{
    const double seconds = benchmark::secondsArgument(argc, argv, 2);
    const benchmark::ScratchFolder folder(benchmark::assetsArgument(argc, argv, 1));
    const int windowed = benchmark::runFrameBenchmark(seconds, measureRaceScene);
    const int small = benchmark::runFrameBenchmark(seconds, measureProcessorShare, smallWindow);
    return windowed == EXIT_SUCCESS && small == EXIT_SUCCESS ? EXIT_SUCCESS : EXIT_FAILURE;
}
