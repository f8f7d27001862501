#include "tools/benchmarks/BenchmarkFrames.hpp"

#include "engine/ClearScene.hpp"
#include "engine/FileIo.hpp"
#include "engine/Log.hpp"
#include "engine/SceneManager.hpp"
#include "engine/Timer.hpp"
#include "engine/Window.hpp"
#include "renderers/deferred/DeferredRenderer.hpp"

#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <vector>

namespace benchmark
{
namespace
{
namespace fs = std::filesystem;

// Frames run ahead of a frame rate's count, so first uploads and pipeline
// warm-up stay out of the figures.
constexpr int settlingFrames = 5;

// The passes of the renderer's frame in recording order, as timed.
const std::array<const char*, 14> passNames{
    "geometry",      "ocean",       "ambient occlusion", "point lights", "sun shadow",
    "composite",     "blur 1 across", "blur 1 down",     "blur 2 across", "blur 2 down",
    "blur 3 across", "blur 3 down", "colour grading",    "whole frame"};

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

void writeBenchmarkSettings()
{
    writeFile("Settings.txt",
              fmt::format("Window-Width: {}\nWindow-Height: {}\nFullscreen: false\nPreferredPresentMode: Immediate\n",
                          windowWidth, windowHeight),
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

SceneFrames sceneFrames(GraphicsSystem& graphicsSystem, SceneManager& sceneManager, double seconds)
{
    double updating = 0.0;
    double rendering = 0.0;
    std::uint64_t queueWaits = 0;
    int calls = 0;
    const double rate = frameRate(seconds, [&] {
        Timer::tick();
        pollWindowEvents();
        const std::uint64_t waitsBefore = graphicsSystem.queueWaitCount();
        const double update = millisecondsOf([&] { sceneManager.update(); });
        const double render = millisecondsOf([&] { sceneManager.render(); });
        // The settling frames count no more than in the frame rate.
        if (++calls > settlingFrames)
        {
            updating += update;
            rendering += render;
            queueWaits += graphicsSystem.queueWaitCount() - waitsBefore;
        }
    });
    graphicsSystem.waitIdle();
    const double frames = std::max(calls - settlingFrames, 1);
    return {rate, updating / frames, rendering / frames, static_cast<double>(queueWaits) / frames};
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

PassTimer::PassTimer(GraphicsSystem& graphicsSystem)
    : graphicsSystem(graphicsSystem), milliseconds(passNames.size(), 0.0),
      fastest(passNames.size(), std::numeric_limits<double>::infinity())
{
    VkQueryPoolCreateInfo poolInfo{};
    poolInfo.sType = VK_STRUCTURE_TYPE_QUERY_POOL_CREATE_INFO;
    poolInfo.queryType = VK_QUERY_TYPE_TIMESTAMP;
    poolInfo.queryCount = static_cast<std::uint32_t>(passNames.size());
    if (vkCreateQueryPool(graphicsSystem.logicalDevice.device, &poolInfo, nullptr, &queries) != VK_SUCCESS)
    {
        queries = VK_NULL_HANDLE;
    }
}

PassTimer::~PassTimer()
{
    if (queries != VK_NULL_HANDLE)
    {
        vkDestroyQueryPool(graphicsSystem.logicalDevice.device, queries, nullptr);
    }
}

// The same passes as the renderer records them, one by one, each followed by
// a time stamp; the order and the push constants are the renderer's own.
void PassTimer::record(DeferredRenderer& renderer, const FrameInfo& frame, float time, const ModelDrawer& drawModels)
{
    VkCommandBuffer commandBuffer = frame.commandBuffer;
    std::uint32_t stamp = 0;
    const auto mark = [&] { vkCmdWriteTimestamp(commandBuffer, VK_PIPELINE_STAGE_BOTTOM_OF_PIPE_BIT, queries, stamp++); };
    const auto push = [&](const Pipeline2& pipeline, const void* block, std::uint32_t size) {
        vkCmdPushConstants(commandBuffer, pipeline.pipelineLayout, VK_SHADER_STAGE_FRAGMENT_BIT, 0, size, block);
    };
    const auto screenPass = [&](TextureRenderTargetPipeline2& pipeline) {
        beginTextureRenderTargetPipeline2(pipeline, commandBuffer, frame.frameIndex);
        vkCmdDraw(commandBuffer, 3, 1, 0, 0);
        endTextureRenderTargetPipeline2(pipeline, commandBuffer);
        mark();
    };
    vkCmdResetQueryPool(commandBuffer, queries, 0, static_cast<std::uint32_t>(passNames.size()));
    mark();
    renderer.beginGeometryPass(commandBuffer, frame.frameIndex);
    drawModels(frame, true);
    renderer.endGeometryPass(commandBuffer);
    mark();
    if (renderer.compositePushConstants.oceanDisabled == 0)
    {
        renderer.oceanPushConstants.time = time;
        push(renderer.oceanPipeline, &renderer.oceanPushConstants, sizeof(renderer.oceanPushConstants));
        beginTextureRenderTargetPipeline2(renderer.oceanPipeline, commandBuffer, frame.frameIndex);
        drawMesh(*renderer.oceanMesh, frame);
        endTextureRenderTargetPipeline2(renderer.oceanPipeline, commandBuffer);
    }
    mark();
    screenPass(renderer.ssaoPipeline);
    push(renderer.pointLightPipeline, &renderer.pointLightMode, sizeof(renderer.pointLightMode));
    beginTextureRenderTargetPipeline2(renderer.pointLightPipeline, commandBuffer, frame.frameIndex);
    drawInstancedMesh(*renderer.pointLightMesh, frame);
    endTextureRenderTargetPipeline2(renderer.pointLightPipeline, commandBuffer);
    mark();
    renderer.beginSecondPass(commandBuffer, frame.frameIndex);
    drawModels(frame, false);
    renderer.endSecondPass(commandBuffer);
    mark();
    push(renderer.compositePipeline, &renderer.compositePushConstants, sizeof(renderer.compositePushConstants));
    screenPass(renderer.compositePipeline);
    for (std::int32_t iteration = 0; iteration < 3; ++iteration)
    {
        const BlurPushConstants across{1, 1.5f};
        const BlurPushConstants down{0, 1.5f};
        const bool recorded = iteration < renderer.blurIterations;
        if (recorded)
        {
            push(renderer.firstBlurPipeline, &across, sizeof(across));
            screenPass(renderer.firstBlurPipeline);
            push(renderer.secondBlurPipeline, &down, sizeof(down));
            screenPass(renderer.secondBlurPipeline);
        }
        else
        {
            mark();
            mark();
        }
    }
    push(renderer.colourGradingPipeline, &renderer.colourGradingPushConstants,
         sizeof(renderer.colourGradingPushConstants));
    beginPipeline2(renderer.colourGradingPipeline, commandBuffer, frame.frameIndex, frame.imageIndex);
    vkCmdDraw(commandBuffer, 3, 1, 0, 0);
    vkCmdEndRenderPass(commandBuffer);
    mark();
}

bool PassTimer::run(DeferredRenderer& renderer, double seconds, const std::function<void()>& beforeFrame,
                    const std::function<void()>& camera, const ModelDrawer& drawModels)
{
    if (queries == VK_NULL_HANDLE)
    {
        return false;
    }
    VkPhysicalDeviceProperties properties{};
    vkGetPhysicalDeviceProperties(graphicsSystem.physicalDeviceInfo.physicalDevice, &properties);
    const double millisecondsPerTick = static_cast<double>(properties.limits.timestampPeriod) * 1e-6;
    const auto stamps = static_cast<std::uint32_t>(passNames.size());
    const auto start = std::chrono::steady_clock::now();
    while (frames < 5 || secondsSince(start) < seconds)
    {
        pollWindowEvents();
        beforeFrame();
        const std::optional<FrameInfo> frame = graphicsSystem.beginFrame();
        if (!frame)
        {
            continue;
        }
        camera();
        record(renderer, *frame, static_cast<float>(secondsSince(start)), drawModels);
        graphicsSystem.endFrame(frame->imageIndex);
        graphicsSystem.waitIdle();
        std::vector<std::uint64_t> values(stamps);
        if (vkGetQueryPoolResults(graphicsSystem.logicalDevice.device, queries, 0, stamps,
                                  values.size() * sizeof(std::uint64_t), values.data(), sizeof(std::uint64_t),
                                  VK_QUERY_RESULT_64_BIT | VK_QUERY_RESULT_WAIT_BIT) != VK_SUCCESS)
        {
            continue;
        }
        for (std::uint32_t pass = 0; pass < stamps; ++pass)
        {
            const std::uint64_t from = pass + 1 < stamps ? values[pass] : values[0];
            const std::uint64_t to = pass + 1 < stamps ? values[pass + 1] : values[stamps - 1];
            const double taken = static_cast<double>(to - from) * millisecondsPerTick;
            milliseconds[pass] += taken;
            fastest[pass] = std::min(fastest[pass], taken);
        }
        ++frames;
    }
    return true;
}

void PassTimer::print() const
{
    std::printf("GPU time per pass over %d frames, mean and fastest:\n", frames);
    for (std::size_t pass = 0; pass < passNames.size(); ++pass)
    {
        std::printf("%s\n", fmt::format("  {:<18} {:8.2f} ms {:8.2f} ms", passNames[pass],
                                        milliseconds[pass] / std::max(frames, 1), fastest[pass])
                                .c_str());
    }
}

bool printPassTimes(GraphicsSystem& graphicsSystem, DeferredRenderer& renderer, double seconds,
                    const std::function<void()>& beforeFrame, const std::function<void()>& camera,
                    const ModelDrawer& drawModels)
{
    PassTimer timer(graphicsSystem);
    if (!timer.run(renderer, seconds, beforeFrame, camera, drawModels))
    {
        std::printf("No time stamps.\n");
        return false;
    }
    timer.print();
    return true;
}
}
