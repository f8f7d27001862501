#include "tools/benchmarks/BenchmarkFrames.hpp"

#include "engine/ClearScene.hpp"
#include "engine/FileIo.hpp"
#include "engine/Log.hpp"
#include "engine/SceneManager.hpp"
#include "engine/Timer.hpp"
#include "engine/Window.hpp"

#include <fmt/format.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace benchmark
{
namespace
{
namespace fs = std::filesystem;

// Frames run ahead of a frame rate's count, so first uploads and pipeline
// warm-up stay out of the figures.
constexpr int settlingFrames = 5;
}

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double millisecondsOf(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return secondsSince(start) * 1000.0;
}

double secondsArgument(int argc, char** argv, int index)
{
    const double seconds = argc > index ? std::atof(argv[index]) : 3.0;
    return seconds > 0.0 ? seconds : 3.0;
}

fs::path assetsArgument(int argc, char** argv, int index)
{
    return fs::absolute(argc > index ? fs::path(argv[index]) : fs::path("Assets"));
}

ScratchFolder::ScratchFolder(const std::optional<fs::path>& assets) : previous(fs::current_path())
{
    std::string pathTemplate = (fs::temp_directory_path() / "kelvane-benchmark-XXXXXX").string();
    folder = mkdtemp(pathTemplate.data());
    fs::current_path(folder);
    if (assets)
    {
        fs::create_directory_symlink(*assets, "Assets");
    }
}

ScratchFolder::~ScratchFolder()
{
    fs::current_path(previous);
    std::error_code error;
    fs::remove_all(folder, error);
}

void writeBenchmarkSettings(WindowSize size)
{
    writeFile("Settings.txt",
              fmt::format("Window-Width: {}\nWindow-Height: {}\nFullscreen: false\nPreferredPresentMode: Immediate\n",
                          size.width, size.height),
              false);
}

double frameRate(double seconds, const std::function<void()>& frame)
{
    for (int settle = 0; settle < settlingFrames; ++settle)
    {
        frame();
    }
    std::uint64_t frames = 0;
    const auto start = std::chrono::steady_clock::now();
    while (secondsSince(start) < seconds)
    {
        frame();
        ++frames;
    }
    return static_cast<double>(frames) / secondsSince(start);
}

SceneFrames sceneFrames(GraphicsSystem& graphicsSystem, SceneManager& sceneManager, double seconds,
                        std::optional<float> frameTime)
{
    double updating = 0.0;
    double rendering = 0.0;
    double handingOver = 0.0;
    std::uint64_t queueWaits = 0;
    int calls = 0;
    const auto handOverSeconds = [&] {
        const FrameHandOver& handOver = graphicsSystem.frameHandOver();
        return handOver.waitSeconds + handOver.submitSeconds;
    };
    const double rate = frameRate(seconds, [&] {
        if (frameTime)
        {
            Timer::tickBy(*frameTime);
        }
        else
        {
            Timer::tick();
        }
        pollWindowEvents();
        const std::uint64_t waitsBefore = graphicsSystem.queueWaitCount();
        const double handOverBefore = handOverSeconds();
        const double update = millisecondsOf([&] { sceneManager.update(); });
        const double render = millisecondsOf([&] { sceneManager.render(); });
        // The settling frames count no more than in the frame rate.
        if (++calls > settlingFrames)
        {
            updating += update;
            rendering += render;
            handingOver += (handOverSeconds() - handOverBefore) * 1000.0;
            queueWaits += graphicsSystem.queueWaitCount() - waitsBefore;
        }
    });
    graphicsSystem.waitIdle();
    const double frames = std::max(calls - settlingFrames, 1);
    return {rate, updating / frames, rendering / frames, (rendering - handingOver) / frames,
            static_cast<double>(queueWaits) / frames};
}

std::optional<double> clearingFrameRate(GraphicsSystem& graphicsSystem, double seconds)
{
    if (hasErrors())
    {
        std::printf("The clearing scene could not be started.\n");
        return std::nullopt;
    }
    SceneManager sceneManager(&graphicsSystem);
    sceneManager.addScene<ClearScene>();
    if (hasErrors())
    {
        std::printf("The clearing scene could not be started.\n");
        return std::nullopt;
    }
    const double rate = frameRate(seconds, [&] {
        pollWindowEvents();
        sceneManager.update();
        sceneManager.render();
    });
    graphicsSystem.waitIdle();
    sceneManager.unloadScenes();
    return rate;
}

int runFrameBenchmark(double seconds, const Measurement& measure, WindowSize size)
{
    writeBenchmarkSettings(size);
    GraphicsSystem graphicsSystem;
    const std::optional<double> clearing = clearingFrameRate(graphicsSystem, seconds);
    if (!clearing)
    {
        return EXIT_FAILURE;
    }
    return measure(graphicsSystem, *clearing, seconds);
}
}
