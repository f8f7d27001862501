#include "engine/ClearScene.hpp"
#include "engine/Log.hpp"
#include "engine/SceneManager.hpp"
#include "engine/Settings.hpp"
#include "engine/SwapChainDependents.hpp"
#include "engine/vulkan/PhysicalDevice.hpp"
#include "gpu/Frames.hpp"
#include "gpu/GpuHarness.hpp"
#include "support/StdoutCapture.hpp"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace
{
using GraphicsSystemTest = GpuTest;

void expectDepthImagePerSwapChainImage(const GraphicsSystem& system)
{
    ASSERT_FALSE(system.swapChain.imageViews.empty());
    EXPECT_EQ(system.depthImages.size(), system.swapChain.imageViews.size());
    EXPECT_EQ(system.renderFinishedSemaphores.size(), system.swapChain.imageViews.size());
    EXPECT_EQ(Settings::getWindowWidth(), system.swapChain.extent.width);
    EXPECT_EQ(Settings::getWindowHeight(), system.swapChain.extent.height);
}

// Renders frames until the swap chain has the window's size, or gives up.
void renderUntilExtent(Scene& scene, const GraphicsSystem& system, std::uint32_t width, std::uint32_t height)
{
    for (int frame = 0; frame < 30; ++frame)
    {
        scene.render();
        if (system.swapChain.extent.width == width && system.swapChain.extent.height == height)
        {
            return;
        }
    }
}

class FailingSecondActivation : public ClearScene
{
public:
    FailingSecondActivation(GraphicsSystem* system, SceneManager* manager) : ClearScene(system, manager) {}

    void initialise() override
    {
        ClearScene::initialise();
        if (++activations == 2)
        {
            logError("Second activation failed.");
        }
    }

private:
    int activations = 0;
};

TEST_F(GraphicsSystemTest, BringUpChoosesOneFamilyAndGivesEachSwapChainImageItsDepthImage)
{
    EXPECT_EQ(bringUpLines(), (std::vector<std::string>{"Info:  GLFW 3.3.8 is being used.",
                                                        "Info:  Vulkan API 1.3.239 is supported."}));
    const PhysicalDeviceInfo& info = system.physicalDeviceInfo;
    EXPECT_EQ(info.graphicsFamily, 0u);
    EXPECT_EQ(info.presentFamily, 0u);
    EXPECT_EQ(info.colourFormat, VK_FORMAT_B8G8R8A8_UNORM);
    EXPECT_EQ(info.depthFormat, VK_FORMAT_D32_SFLOAT);
    EXPECT_GE(info.maxSamplerAnisotropy, 1.0f);
    EXPECT_EQ(system.logicalDevice.graphicsQueue, system.logicalDevice.presentQueue);
    EXPECT_EQ(system.swapChain.extent.width, 160u);
    EXPECT_EQ(system.swapChain.extent.height, 120u);
    expectDepthImagePerSwapChainImage(system);

    // The lists the choice was made from, as the driver gives them.
    const Enumeration<VkPhysicalDevice> devices = enumeratePhysicalDevices(system.instance);
    EXPECT_EQ(devices.status, EnumerationStatus::complete);
    EXPECT_NE(std::find(devices.items.begin(), devices.items.end(), info.physicalDevice), devices.items.end());
    const Enumeration<std::string> extensions = enumerateDeviceExtensions(info.physicalDevice);
    EXPECT_EQ(extensions.status, EnumerationStatus::complete);
    EXPECT_NE(std::find(extensions.items.begin(), extensions.items.end(), requiredDeviceExtension),
              extensions.items.end());
    const Enumeration<VkSurfaceFormatKHR> formats = enumerateSurfaceFormats(system.surface, info.physicalDevice);
    EXPECT_EQ(formats.status, EnumerationStatus::complete);
    EXPECT_TRUE(std::any_of(formats.items.begin(), formats.items.end(), [&](const VkSurfaceFormatKHR& format) {
        return format.format == info.colourFormat && format.colorSpace == info.colourSpace;
    }));
}

// What a benchmark takes off a render to find its recording's time: the
// frames' waits for their slot and image and their submission, nothing else.
TEST_F(GraphicsSystemTest, FramesSumTheirHandOverApartFromTheirRecording)
{
    Pipeline2 fill{&system};
    ASSERT_TRUE(createFillPipeline(fill));
    const FrameHandOver before = system.frameHandOver();
    const auto start = std::chrono::steady_clock::now();
    for (int frame = 0; frame < 3; ++frame)
    {
        ASSERT_TRUE(presentFrame(system, [&](const FrameInfo& info) {
            recordFill(fill, info);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }));
    }
    const double rendering = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const FrameHandOver& after = system.frameHandOver();
    EXPECT_GT(after.submitSeconds, before.submitSeconds);
    EXPECT_GE(after.waitSeconds, before.waitSeconds);
    const double handedOver =
        (after.waitSeconds - before.waitSeconds) + (after.submitSeconds - before.submitSeconds);
    EXPECT_GE(rendering - handedOver, 0.06);
    system.waitIdle();
    destroyPipeline2(fill);
}

TEST_F(GraphicsSystemTest, RebuildRemakesTheSwapChainDepthImagesAndDependentFrameBuffers)
{
    ClearScene scene(&system, nullptr);
    scene.load();
    scene.render();
    std::vector<std::string> events;
    const int owner = 0;
    addSwapChainDependent(
        &owner, [&] { events.push_back("destroy " + std::to_string(system.depthImages.size())); },
        [&] { events.push_back("create " + std::to_string(system.depthImages.size())); return true; });

    Settings::setWindowSize(1, 1);
    ASSERT_TRUE(system.recreateSwapChain());
    expectDepthImagePerSwapChainImage(system);
    EXPECT_EQ(system.swapChain.extent.width, 160u);
    const std::string imageCount = std::to_string(system.swapChain.imageViews.size());
    EXPECT_EQ(events, (std::vector<std::string>{"destroy " + imageCount, "create " + imageCount}));
    removeSwapChainDependent(&owner);

    // A new window size reaches the swap chain through the frames themselves.
    glfwSetWindowSize(system.window, 200, 100);
    renderUntilExtent(scene, system, 200, 100);
    EXPECT_EQ(system.swapChain.extent.width, 200u);
    EXPECT_EQ(system.swapChain.extent.height, 100u);
    expectDepthImagePerSwapChainImage(system);

    glfwSetWindowSize(system.window, 160, 120);
    renderUntilExtent(scene, system, 160, 120);
    EXPECT_EQ(system.swapChain.extent.width, 160u);
    scene.render();
    system.waitIdle();
    scene.unload();
    EXPECT_FALSE(hasErrors());
}

TEST_F(GraphicsSystemTest, AFailedActivationUnloadsItsSceneOnlyAfterItsFramesAreDone)
{
    SceneManager manager(&system);
    manager.addScene<ClearScene>();
    manager.addScene<FailingSecondActivation>();
    manager.setScene(1);
    manager.render();
    manager.render();
    manager.setScene(0);
    manager.render();
    ASSERT_FALSE(hasErrors());

    StdoutCapture capture;
    manager.setScene(1);
    EXPECT_FALSE(manager.isLoaded(1));
    EXPECT_TRUE(manager.isLoaded(0));
    resetErrorFlagForTesting();
    manager.render();
    system.waitIdle();
    manager.unloadScenes();
    EXPECT_FALSE(hasErrors());
}
}
