#pragma once

// What the frame-rate benchmarks share: their command line and start-up, a
// scratch working folder, the window settings, frame rates, the clearing
// scene as the floor and a game scene loaded as a key loads it.
#include "engine/GraphicsSystem.hpp"
#include "engine/Log.hpp"
#include "engine/SceneManager.hpp"
#include "engine/Timer.hpp"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>

namespace benchmark
{
constexpr std::uint32_t windowWidth = 1280;
constexpr std::uint32_t windowHeight = 720;

double secondsSince(std::chrono::steady_clock::time_point start);
double millisecondsOf(const std::function<void()>& work);

// How long to measure each figure for, from argument `index`: 3 s when it is
// missing or not above 0.
double secondsArgument(int argc, char** argv, int index);
// The game's assets folder from argument `index`, made absolute: the working
// folder's "Assets" when it is missing.
std::filesystem::path assetsArgument(int argc, char** argv, int index);

// The game writes and reads "Settings.txt" in its working folder; the
// benchmark works in a folder of its own, so the user's settings stay. The
// assets folder, when given, is linked there as "Assets".
class ScratchFolder
{
public:
    explicit ScratchFolder(const std::optional<std::filesystem::path>& assets = std::nullopt);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

private:
    std::filesystem::path previous;
    std::filesystem::path folder;
};

struct WindowSize
{
    std::uint32_t width = windowWidth;
    std::uint32_t height = windowHeight;
};

// A window of the size (1280 x 720 unless given), presenting immediately
// where the surface can, so the display's pace does not cap the figures.
void writeBenchmarkSettings(WindowSize size = {});

// Frames per second of `frame` over `seconds`, after a few to settle.
double frameRate(double seconds, const std::function<void()>& frame);
// The clearing scene's, in a scene manager of its own: the floor the other
// frames are measured against. Empty, having printed so, when the graphics
// system or the scene could not be started.
std::optional<double> clearingFrameRate(GraphicsSystem& graphicsSystem, double seconds);

// What a benchmark measures once started: given the graphics system, the
// clearing scene's frame rate and the seconds to measure each figure for, it
// prints its figures and gives the exit code.
using Measurement = std::function<int(GraphicsSystem& graphicsSystem, double clearing, double seconds)>;
// The start that every frame-rate benchmark makes in its scratch folder: the
// settings written for a window of the size, the graphics system brought up
// and the clearing scene's frame rate measured over `seconds`; then `measure`.
// EXIT_FAILURE, having printed why, when the start fails.
int runFrameBenchmark(double seconds, const Measurement& measure, WindowSize size = {});

template <typename SceneType>
struct LoadedScene
{
    SceneType& scene;
    double loadMilliseconds;
};
// Starts the game's timer, as main does before its loop, and activates the
// scene at `index` as a key would, timing its load up to the GPU's end of the
// work it handed over. Empty, having printed `failure` and unloaded the
// manager's scenes, when it did not load or is no SceneType.
template <typename SceneType>
std::optional<LoadedScene<SceneType>> loadScene(GraphicsSystem& graphicsSystem, SceneManager& sceneManager,
                                                std::uint32_t index, const char* failure)
{
    Timer::start();
    // Up to the GPU's end of the uploads, which the load hands to the queue without waiting.
    const double milliseconds = millisecondsOf([&] {
        sceneManager.setScene(index);
        graphicsSystem.waitIdle();
    });
    auto* scene = dynamic_cast<SceneType*>(sceneManager.getActiveScene());
    if (hasErrors() || scene == nullptr)
    {
        std::printf("%s\n", failure);
        sceneManager.unloadScenes();
        return std::nullopt;
    }
    return LoadedScene<SceneType>{*scene, milliseconds};
}

// Frames of a scene manager's active scene as the main loop runs them, the
// update and the render timed apart.
struct SceneFrames
{
    double framesPerSecond = 0.0;
    // CPU time per frame; the render's includes recording, submitting,
    // presenting and waiting for the frame in flight.
    double updateMilliseconds = 0.0;
    double renderMilliseconds = 0.0;
    // The render's time up to the submission, less the waits for the frame
    // slot's fence and the swap chain's image: the scene's recording alone.
    double recordingMilliseconds = 0.0;
    // Waits for the whole queue or device per frame, update and render together.
    double queueWaitsPerFrame = 0.0;
};
// Over `seconds`, after a few to settle. Each frame moves the game's timer by
// the time the frame before took, or by `frameTime` when one is given.
SceneFrames sceneFrames(GraphicsSystem& graphicsSystem, SceneManager& sceneManager, double seconds,
                        std::optional<float> frameTime = std::nullopt);
}
