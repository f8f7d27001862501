// Frames per second of the clearing scene in a 1280 x 720 window: the floor
// that the game's scenes are measured against. Needs an X server and a Vulkan
// driver, e.g. on the software driver:
//   export VK_ICD_FILENAMES=/usr/share/vulkan/icd.d/lvp_icd.x86_64.json
//   xvfb-run -s "-screen 0 1920x1080x24" build/tools/ClearSceneFrameRateBenchmark [seconds]
#include "engine/ClearScene.hpp"
#include "engine/FileIo.hpp"
#include "engine/GraphicsSystem.hpp"
#include "engine/Log.hpp"
#include "engine/SceneManager.hpp"
#include "engine/Window.hpp"
#include "engine/vulkan/SwapChain.hpp"

#include <fmt/format.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace
{
double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The game writes and reads "Settings.txt" in its working folder; the
// benchmark's own settings must not replace the user's.
std::filesystem::path enterScratchFolder()
{
    std::string pathTemplate = (std::filesystem::temp_directory_path() / "kelvane-benchmark-XXXXXX").string();
    const std::filesystem::path folder = mkdtemp(pathTemplate.data());
    std::filesystem::current_path(folder);
    return folder;
}

int run(double seconds)
{
    // Immediate presentation where the surface has it, so the display's pace does not cap the figure.
    writeFile("Settings.txt",
              "Window-Width: 1280\nWindow-Height: 720\nFullscreen: false\nPreferredPresentMode: Immediate\n", false);
    GraphicsSystem graphicsSystem;
    SceneManager sceneManager(&graphicsSystem);
    sceneManager.addScene<ClearScene>();
    if (hasErrors())
    {
        std::printf("The clearing scene could not be started.\n");
        return EXIT_FAILURE;
    }

    for (int frame = 0; frame < 30; ++frame)
    {
        pollWindowEvents();
        sceneManager.update();
        sceneManager.render();
    }
    std::uint64_t frames = 0;
    const auto start = std::chrono::steady_clock::now();
    while (secondsSince(start) < seconds && !windowShouldClose(graphicsSystem.window))
    {
        pollWindowEvents();
        sceneManager.update();
        sceneManager.render();
        ++frames;
    }
    const double elapsed = secondsSince(start);
    graphicsSystem.waitIdle();

    const VkPresentModeKHR mode = choosePresentMode(graphicsSystem.surface, graphicsSystem.physicalDeviceInfo);
    std::printf("%s\n", fmt::format("Clearing scene at {} x {}: {:.1f} frames per second ({} frames in {:.2f} s, "
                                    "present mode {})",
                                    graphicsSystem.swapChain.extent.width, graphicsSystem.swapChain.extent.height,
                                    static_cast<double>(frames) / elapsed, frames, elapsed,
                                    presentModeName(static_cast<PresentMode>(mode)))
                            .c_str());
    sceneManager.unloadScenes();
    return hasErrors() ? EXIT_FAILURE : EXIT_SUCCESS;
}
}

int main(int argc, char** argv)
{
    const double seconds = argc > 1 ? std::atof(argv[1]) : 3.0;
    const std::filesystem::path previous = std::filesystem::current_path();
    const std::filesystem::path folder = enterScratchFolder();
    const int result = run(seconds > 0.0 ? seconds : 3.0);
    std::filesystem::current_path(previous);
    std::error_code error;
    std::filesystem::remove_all(folder, error);
    return result;
}
