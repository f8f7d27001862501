// The race scene in a 1280 x 720 window: frames per second with the attract
// camera (waiting) and with the chase camera mid-race (the autopilot driving),
// beside the clearing scene's in the same run; the race scene's load time; and
// the peak resident memory of a whole race, driven to the finish by the
// autopilot. Reads the game's assets from the folder given (the build's
// Assets/ by default). Needs an X server and a Vulkan driver, e.g.:
//   export VK_ICD_FILENAMES=/usr/share/vulkan/icd.d/lvp_icd.x86_64.json
//   xvfb-run -s "-screen 0 1920x1080x24" build/tools/RaceSceneBenchmark [Assets folder] [seconds]
#include "engine/ClearScene.hpp"
#include "engine/FileIo.hpp"
#include "engine/GraphicsSystem.hpp"
#include "engine/Keyboard.hpp"
#include "engine/Log.hpp"
#include "engine/SceneManager.hpp"
#include "engine/Timer.hpp"
#include "engine/Window.hpp"
#include "game/physics/Boat.hpp"
#include "game/physics/LapTracker.hpp"
#include "game/race/Autopilot.hpp"
#include "game/race/TrackLayout.hpp"
#include "game/scenes/RaceScene.hpp"
#include "game/scenes/SceneKeys.hpp"
#include "game/scenes/TrophyScene.hpp"
#include "graphics/ModelCollection.hpp"
#include "renderers/deferred/DeferredRenderer.hpp"

#include <fmt/format.h>
#include <sys/resource.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace
{
namespace fs = std::filesystem;

constexpr float fixedFrame = 1.0f / 60.0f;
constexpr std::int16_t keyEnter = 257;
constexpr std::int16_t keyR = 82;

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

struct FrameRate
{
    double framesPerSecond = 0.0;
    // Of a frame's time: the scene's update, and its render up to the
    // submission (which waits for the frame in flight before it).
    double updateShare = 0.0;
    double renderShare = 0.0;
};

// Frames of the active scene as the main loop runs them, after a warm-up; the
// step, when given, runs before each frame (the autopilot's keys).
FrameRate framesPerSecond(GraphicsSystem& graphicsSystem, SceneManager& sceneManager, double seconds,
                          const std::function<void()>& step = {})
{
    double updating = 0.0;
    double rendering = 0.0;
    const auto frame = [&] {
        Timer::tick();
        if (step)
        {
            step();
        }
        pollWindowEvents();
        updating += timed([&] { sceneManager.update(); });
        rendering += timed([&] { sceneManager.render(); });
    };
    for (int warmUp = 0; warmUp < 3; ++warmUp)
    {
        frame();
    }
    updating = 0.0;
    rendering = 0.0;
    std::uint64_t frames = 0;
    const auto start = std::chrono::steady_clock::now();
    while (secondsSince(start) < seconds && !windowShouldClose(graphicsSystem.window))
    {
        frame();
        ++frames;
    }
    const double elapsed = secondsSince(start);
    graphicsSystem.waitIdle();
    return {static_cast<double>(frames) / elapsed, updating / elapsed, rendering / elapsed};
}

double peakResidentMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// The race frame's passes as the scene records them, each followed by a time
// stamp; the camera and the sun are those the scene's last frames left.
const std::array<const char*, 5> passNames{"geometry (every model)", "ocean, occlusion, point lights",
                                           "sun shadow (every model)", "composite, blur, grading", "whole frame"};

void recordTimedRaceFrame(const FrameInfo& frame, VkQueryPool queries, DeferredRenderer& renderer,
                          const ModelCollection& models)
{
    VkCommandBuffer commandBuffer = frame.commandBuffer;
    std::uint32_t stamp = 0;
    const auto mark = [&] { vkCmdWriteTimestamp(commandBuffer, VK_PIPELINE_STAGE_BOTTOM_OF_PIPE_BIT, queries, stamp++); };
    const auto drawModels = [&](bool withMaterials) {
        for (std::size_t model = 0; model < models.meshes.size(); ++model)
        {
            if (instanceCount(*models.meshes[model]) == 0)
            {
                continue;
            }
            if (withMaterials)
            {
                ModelMaterial material = models.materials[model];
                material.flag = false;
                vkCmdPushConstants(commandBuffer, renderer.gBufferPipeline.pipelineLayout,
                                   VK_SHADER_STAGE_FRAGMENT_BIT, 0, sizeof(material), &material);
            }
            drawInstancedMesh(*models.meshes[model], frame);
        }
    };
    vkCmdResetQueryPool(commandBuffer, queries, 0, static_cast<std::uint32_t>(passNames.size()));
    mark();
    renderer.beginGeometryPass(commandBuffer, frame.frameIndex);
    drawModels(true);
    renderer.endGeometryPass(commandBuffer);
    mark();
    renderer.recordLightingPasses(commandBuffer, frame.frameIndex, static_cast<float>(Timer::getElapsedTime()));
    mark();
    renderer.beginSecondPass(commandBuffer, frame.frameIndex);
    drawModels(false);
    renderer.endSecondPass(commandBuffer);
    mark();
    renderer.recordPostProcessPasses(commandBuffer, frame.frameIndex, frame.imageIndex);
    mark();
}

// The mean GPU time of each pass over a few frames, in milliseconds; empty without time stamps.
std::vector<double> passTimes(GraphicsSystem& graphicsSystem, DeferredRenderer& renderer,
                              const ModelCollection& models)
{
    VkPhysicalDeviceProperties properties{};
    vkGetPhysicalDeviceProperties(graphicsSystem.physicalDeviceInfo.physicalDevice, &properties);
    const auto stamps = static_cast<std::uint32_t>(passNames.size());
    VkQueryPoolCreateInfo poolInfo{};
    poolInfo.sType = VK_STRUCTURE_TYPE_QUERY_POOL_CREATE_INFO;
    poolInfo.queryType = VK_QUERY_TYPE_TIMESTAMP;
    poolInfo.queryCount = stamps;
    VkQueryPool queries = VK_NULL_HANDLE;
    if (vkCreateQueryPool(graphicsSystem.logicalDevice.device, &poolInfo, nullptr, &queries) != VK_SUCCESS)
    {
        return {};
    }
    constexpr int frames = 8;
    std::vector<double> milliseconds(stamps, 0.0);
    int timed = 0;
    for (int attempt = 0; attempt < frames * 2 && timed < frames; ++attempt)
    {
        const std::optional<FrameInfo> frame = graphicsSystem.beginFrame();
        if (!frame)
        {
            continue;
        }
        recordTimedRaceFrame(*frame, queries, renderer, models);
        graphicsSystem.endFrame(frame->imageIndex);
        graphicsSystem.waitIdle();
        std::vector<std::uint64_t> values(stamps);
        if (vkGetQueryPoolResults(graphicsSystem.logicalDevice.device, queries, 0, stamps,
                                  values.size() * sizeof(std::uint64_t), values.data(), sizeof(std::uint64_t),
                                  VK_QUERY_RESULT_64_BIT | VK_QUERY_RESULT_WAIT_BIT) != VK_SUCCESS)
        {
            continue;
        }
        const double period = properties.limits.timestampPeriod * 1e-6;
        for (std::uint32_t pass = 0; pass + 1 < stamps; ++pass)
        {
            milliseconds[pass] += static_cast<double>(values[pass + 1] - values[pass]) * period;
        }
        milliseconds[stamps - 1] += static_cast<double>(values[stamps - 1] - values[0]) * period;
        ++timed;
    }
    vkDestroyQueryPool(graphicsSystem.logicalDevice.device, queries, nullptr);
    if (timed == 0)
    {
        return {};
    }
    for (double& pass : milliseconds)
    {
        pass /= timed;
    }
    return milliseconds;
}

int run(double seconds)
{
    writeFile("Settings.txt",
              "Window-Width: 1280\nWindow-Height: 720\nFullscreen: false\nPreferredPresentMode: Immediate\n", false);
    GraphicsSystem graphicsSystem;
    SceneManager sceneManager(&graphicsSystem);
    sceneManager.addScene<ClearScene>();
    sceneManager.addScene<RaceScene>();
    sceneManager.addScene<TrophyScene>();
    if (hasErrors())
    {
        std::printf("The scenes could not be added.\n");
        return EXIT_FAILURE;
    }
    Timer::start();
    const double clearing = framesPerSecond(graphicsSystem, sceneManager, seconds).framesPerSecond;

    const double raceLoad = timed([&] { sceneManager.setScene(raceSceneIndex); });
    auto* race = dynamic_cast<RaceScene*>(sceneManager.getActiveScene());
    if (hasErrors() || race == nullptr)
    {
        std::printf("The race scene could not be loaded.\n");
        sceneManager.unloadScenes();
        return EXIT_FAILURE;
    }
    const FrameRate attract = framesPerSecond(graphicsSystem, sceneManager, seconds);

    // The countdown and half a lap at fixed frames without drawing, then the
    // chase camera at the pace the frames take.
    Autopilot autopilot(AutopilotSkill{}, trackLayout().course);
    const auto drive = [&](float deltaTime) {
        if (!autopilot.drive(*race->playerBoat(), deltaTime))
        {
            race->onKeyPressed(keyR);
        }
    };
    race->onKeyPressed(keyEnter);
    for (int frame = 0; frame < 60 * 20; ++frame)
    {
        Timer::tickBy(fixedFrame);
        drive(fixedFrame);
        sceneManager.update();
    }
    const FrameRate chase = framesPerSecond(graphicsSystem, sceneManager, seconds, [&] { drive(Timer::getDeltaTime()); });
    // Both frames' camera and sun as the chase camera left them.
    sceneManager.render();
    const std::vector<double> passes = passTimes(graphicsSystem, *race->deferredRenderer(), *race->modelCollection());

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
        drive(fixedFrame);
        sceneManager.update();
        if (++frame % 60 == 0)
        {
            sceneManager.render();
        }
    }
    Keyboard::releaseAllKeysForTesting();
    graphicsSystem.waitIdle();
    const bool finished = race->rules().state() == RaceState::Finished;

    const VkExtent2D extent = graphicsSystem.swapChain.extent;
    const auto figures = [&](const char* camera, const FrameRate& rate) {
        std::printf("%s\n", fmt::format("At {} x {}, {}: {:.2f} frames per second ({:.1f} ms a frame, {:.1f} clearing "
                                        "frames); update {:.0f} %, render and submit {:.0f} % of the time",
                                        extent.width, extent.height, camera, rate.framesPerSecond,
                                        1000.0 / rate.framesPerSecond, clearing / rate.framesPerSecond,
                                        rate.updateShare * 100.0, rate.renderShare * 100.0)
                                .c_str());
    };
    figures("attract camera", attract);
    figures("chase camera mid-race", chase);
    if (!passes.empty())
    {
        std::printf("GPU time per pass of the chase camera's frame (without the overlays):\n");
        for (std::size_t pass = 0; pass < passes.size(); ++pass)
        {
            std::printf("%s\n", fmt::format("  {:<32} {:8.2f} ms", passNames[pass], passes[pass]).c_str());
        }
    }
    std::printf("%s\n", fmt::format("Clearing scene {:.1f} frames per second ({:.2f} ms)", clearing, 1000.0 / clearing)
                            .c_str());
    std::printf("%s\n", fmt::format("Race scene load {:.0f} ms; peak resident memory of the whole race {:.0f} MB, "
                                    "{:.0f} MB with the trophy scene that the finish loads{}",
                                    raceLoad * 1000.0, racePeak, peakResidentMegabytes(),
                                    finished ? "" : " (the race did not finish)")
                            .c_str());
    sceneManager.unloadScenes();
    return hasErrors() || !finished ? EXIT_FAILURE : EXIT_SUCCESS;
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
