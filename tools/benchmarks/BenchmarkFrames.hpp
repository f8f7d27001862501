#pragma once

// What the frame-rate benchmarks share: a scratch working folder, the window
// settings, frame rates, the clearing scene as the floor, and the GPU time of
// each pass of the deferred renderer's frame.
#include "engine/GraphicsSystem.hpp"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>

class DeferredRenderer;
class SceneManager;
struct FrameInfo;

namespace benchmark
{
constexpr std::uint32_t windowWidth = 1280;
constexpr std::uint32_t windowHeight = 720;

double secondsSince(std::chrono::steady_clock::time_point start);
double millisecondsOf(const std::function<void()>& work);

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

// A 1280 x 720 window, presenting immediately where the surface can, so the
// display's pace does not cap the figures.
void writeBenchmarkSettings();

// Frames per second of `frame` over `seconds`, after a few to settle.
double frameRate(double seconds, const std::function<void()>& frame);
// The clearing scene's, in a scene manager of its own: the floor the other
// frames are measured against. Empty, having printed so, when the graphics
// system or the scene could not be started.
std::optional<double> clearingFrameRate(GraphicsSystem& graphicsSystem, double seconds);

// Frames of a scene manager's active scene as the main loop runs them, the
// update and the render timed apart.
struct SceneFrames
{
    double framesPerSecond = 0.0;
    // CPU time per frame; the render's includes recording, submitting,
    // presenting and waiting for the frame in flight.
    double updateMilliseconds = 0.0;
    double renderMilliseconds = 0.0;
    // Waits for the whole queue or device per frame, update and render together.
    double queueWaitsPerFrame = 0.0;
};
// Over `seconds`, after a few to settle.
SceneFrames sceneFrames(GraphicsSystem& graphicsSystem, SceneManager& sceneManager, double seconds);

// Draws a scene's models inside the geometry pass (with their materials) or
// the second pass (without).
using ModelDrawer = std::function<void(const FrameInfo& frame, bool geometryPass)>;

// Prints the GPU time of each pass of the deferred renderer's frame, mean and
// fastest, from time stamps written after every pass of frames recorded as
// the track scenes record them (the overlays left out), for at least
// `seconds` and five frames; `beforeFrame` runs ahead of each (the scene's
// update), `camera` after beginFrame. Prints "No time stamps." and is false
// when none can be taken.
bool printPassTimes(GraphicsSystem& graphicsSystem, DeferredRenderer& renderer, double seconds,
                    const std::function<void()>& beforeFrame, const std::function<void()>& camera,
                    const ModelDrawer& drawModels);
}
