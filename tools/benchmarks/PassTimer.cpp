#include "tools/benchmarks/PassTimer.hpp"

#include "engine/GraphicsSystem.hpp"
#include "engine/Window.hpp"
#include "renderers/deferred/DeferredRenderer.hpp"
#include "tools/benchmarks/BenchmarkFrames.hpp"

#include <fmt/format.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

namespace benchmark
{
namespace
{
constexpr int leastFrames = 5;
// Frames in a row that record no pass before the timer gives up: the scene
// draws nothing.
constexpr int patience = 100;

class PassTimer
{
public:
    PassTimer(GraphicsSystem& graphicsSystem, DeferredRenderer& renderer);
    ~PassTimer();
    PassTimer(const PassTimer&) = delete;
    PassTimer& operator=(const PassTimer&) = delete;

    // False when no frame gave its time stamps.
    bool run(double seconds, const std::function<void()>& frame);
    void print() const;

private:
    bool readFrame(double millisecondsPerTick);

    GraphicsSystem& graphicsSystem;
    DeferredRenderer& renderer;
    // Each pass's, then the whole frame's.
    std::vector<std::string> names;
    VkQueryPool queries = VK_NULL_HANDLE;
    std::uint32_t stampsWritten = 0;
    std::vector<double> milliseconds;
    // Each pass's fastest frame: on a loaded machine the steadier figure.
    std::vector<double> fastest;
    int frames = 0;
};

PassTimer::PassTimer(GraphicsSystem& graphicsSystem, DeferredRenderer& renderer)
    : graphicsSystem(graphicsSystem), renderer(renderer)
{
    for (const FramePass& pass : framePasses(renderer.blurIterations))
    {
        names.push_back(passName(pass));
    }
    names.emplace_back("whole frame");
    milliseconds.assign(names.size(), 0.0);
    fastest.assign(names.size(), std::numeric_limits<double>::infinity());

    VkQueryPoolCreateInfo poolInfo{};
    poolInfo.sType = VK_STRUCTURE_TYPE_QUERY_POOL_CREATE_INFO;
    poolInfo.queryType = VK_QUERY_TYPE_TIMESTAMP;
    // One ahead of the first pass and one after each.
    poolInfo.queryCount = static_cast<std::uint32_t>(names.size());
    if (vkCreateQueryPool(graphicsSystem.logicalDevice.device, &poolInfo, nullptr, &queries) != VK_SUCCESS)
    {
        queries = VK_NULL_HANDLE;
        return;
    }
    const std::uint32_t stamps = poolInfo.queryCount;
    renderer.passHook = [this, stamps](VkCommandBuffer commandBuffer, std::size_t passesRecorded) {
        const auto stamp = static_cast<std::uint32_t>(passesRecorded);
        // A frame with more passes than the timer names gives no figures.
        if (stamp >= stamps)
        {
            stampsWritten = 0;
            return;
        }
        if (stamp == 0)
        {
            vkCmdResetQueryPool(commandBuffer, queries, 0, stamps);
        }
        vkCmdWriteTimestamp(commandBuffer, VK_PIPELINE_STAGE_BOTTOM_OF_PIPE_BIT, queries, stamp);
        stampsWritten = stamp + 1;
    };
}

PassTimer::~PassTimer()
{
    renderer.passHook = {};
    if (queries != VK_NULL_HANDLE)
    {
        vkDestroyQueryPool(graphicsSystem.logicalDevice.device, queries, nullptr);
    }
}

bool PassTimer::readFrame(double millisecondsPerTick)
{
    const auto stamps = static_cast<std::uint32_t>(names.size());
    if (stampsWritten != stamps)
    {
        return false;
    }
    std::vector<std::uint64_t> values(stamps);
    if (vkGetQueryPoolResults(graphicsSystem.logicalDevice.device, queries, 0, stamps,
                              values.size() * sizeof(std::uint64_t), values.data(), sizeof(std::uint64_t),
                              VK_QUERY_RESULT_64_BIT | VK_QUERY_RESULT_WAIT_BIT) != VK_SUCCESS)
    {
        return false;
    }
    for (std::uint32_t pass = 0; pass < stamps; ++pass)
    {
        const bool wholeFrame = pass + 1 == stamps;
        const std::uint64_t from = wholeFrame ? values[0] : values[pass];
        const std::uint64_t to = wholeFrame ? values[stamps - 1] : values[pass + 1];
        const double taken = static_cast<double>(to - from) * millisecondsPerTick;
        milliseconds[pass] += taken;
        fastest[pass] = std::min(fastest[pass], taken);
    }
    ++frames;
    return true;
}

bool PassTimer::run(double seconds, const std::function<void()>& frame)
{
    if (queries == VK_NULL_HANDLE)
    {
        return false;
    }
    VkPhysicalDeviceProperties properties{};
    vkGetPhysicalDeviceProperties(graphicsSystem.physicalDeviceInfo.physicalDevice, &properties);
    const double millisecondsPerTick = static_cast<double>(properties.limits.timestampPeriod) * 1e-6;
    const auto start = std::chrono::steady_clock::now();
    int missed = 0;
    while ((frames < leastFrames || secondsSince(start) < seconds) && missed < patience)
    {
        pollWindowEvents();
        stampsWritten = 0;
        frame();
        graphicsSystem.waitIdle();
        missed = readFrame(millisecondsPerTick) ? 0 : missed + 1;
    }
    return frames > 0;
}

void PassTimer::print() const
{
    std::printf("GPU time per pass over %d frames, mean and fastest:\n", frames);
    for (std::size_t pass = 0; pass < names.size(); ++pass)
    {
        std::printf("%s\n", fmt::format("  {:<18} {:8.2f} ms {:8.2f} ms", names[pass],
                                        milliseconds[pass] / std::max(frames, 1), fastest[pass])
                                .c_str());
    }
}
}

bool printPassTimes(GraphicsSystem& graphicsSystem, DeferredRenderer& renderer, double seconds,
                    const std::function<void()>& frame)
{
    PassTimer timer(graphicsSystem, renderer);
    if (!timer.run(seconds, frame))
    {
        std::printf("No time stamps.\n");
        return false;
    }
    timer.print();
    return true;
}
}
