// Frames per second of the clearing scene in a 1280 x 720 window: the floor
// that the game's scenes are measured against. Needs an X server and a Vulkan
// driver, e.g. on the software driver:
//   export VK_ICD_FILENAMES=/usr/share/vulkan/icd.d/lvp_icd.x86_64.json
//   xvfb-run -s "-screen 0 1920x1080x24" build/tools/ClearSceneFrameRateBenchmark [seconds]
#include "engine/GraphicsSystem.hpp"
#include "engine/Log.hpp"
#include "engine/vulkan/SwapChain.hpp"
#include "tools/benchmarks/BenchmarkFrames.hpp"

#include <fmt/format.h>

#include <cstdio>
#include <cstdlib>

namespace
{
int printClearing(GraphicsSystem& graphicsSystem, double clearing, double)
{
    const VkPresentModeKHR mode = choosePresentMode(graphicsSystem.surface, graphicsSystem.physicalDeviceInfo);
    std::printf("%s\n", fmt::format("Clearing scene at {} x {}: {:.1f} frames per second ({:.2f} ms), present mode {}",
                                    graphicsSystem.swapChain.extent.width, graphicsSystem.swapChain.extent.height,
                                    clearing, 1000.0 / clearing, presentModeName(static_cast<PresentMode>(mode)))
                            .c_str());
    return hasErrors() ? EXIT_FAILURE : EXIT_SUCCESS;
}
}

int main(int argc, char** argv)
{
    const double seconds = benchmark::secondsArgument(argc, argv, 1);
    const benchmark::ScratchFolder folder;
    return benchmark::runFrameBenchmark(seconds, printClearing);
}
