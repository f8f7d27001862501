#pragma once

// What the frame-rate benchmarks share: a scratch working folder, the window
// settings, frame rates, the clearing scene as the floor, and the GPU time of
// each pass of the deferred renderer's frame.
#include "engine/GraphicsSystem.hpp"

#include <vulkan/vulkan.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class DeferredRenderer;
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
// frames are measured against. Empty when the scene could not be started.
std::optional<double> clearingFrameRate(GraphicsSystem& graphicsSystem, double seconds);

// Draws a scene's models inside the geometry pass (with their materials) or
// the second pass (without).
using ModelDrawer = std::function<void(const FrameInfo& frame, bool geometryPass)>;

// The GPU time of each pass of the deferred renderer's frame, from time
// stamps written after every pass of frames recorded as the track scenes
// record them (the overlays left out).
class PassTimer
{
public:
    explicit PassTimer(GraphicsSystem& graphicsSystem);
    ~PassTimer();
    PassTimer(const PassTimer&) = delete;
    PassTimer& operator=(const PassTimer&) = delete;

    // Times frames for at least `seconds` and five frames; `beforeFrame` runs
    // ahead of each (the scene's update), `camera` after beginFrame. False
    // when no time stamps can be taken.
    bool run(DeferredRenderer& renderer, double seconds, const std::function<void()>& beforeFrame,
             const std::function<void()>& camera, const ModelDrawer& drawModels);
    void print() const;

private:
    void record(DeferredRenderer& renderer, const FrameInfo& frame, float time, const ModelDrawer& drawModels);

    GraphicsSystem& graphicsSystem;
    VkQueryPool queries = VK_NULL_HANDLE;
    std::vector<double> milliseconds;
    // Each pass's fastest frame: on a loaded machine the steadier figure.
    std::vector<double> fastest;
    int frames = 0;
};
}
