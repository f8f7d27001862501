#include "engine/FrameOutcomes.hpp"
#include "engine/vulkan/SwapChain.hpp"

#include <gtest/gtest.h>

#include <limits>

namespace
{
VkSurfaceCapabilitiesKHR capabilities(VkExtent2D current)
{
    VkSurfaceCapabilitiesKHR result{};
    result.currentExtent = current;
    result.minImageExtent = {16, 16};
    result.maxImageExtent = {4096, 2048};
    result.currentTransform = VK_SURFACE_TRANSFORM_ROTATE_90_BIT_KHR;
    return result;
}

TEST(SwapChainTest, PresentModeIsThePreferredOneWhenListedAndFifoOtherwise)
{
    LogLines log;
    const Enumeration<VkPresentModeKHR> modes{EnumerationStatus::complete,
                                              {VK_PRESENT_MODE_FIFO_KHR, VK_PRESENT_MODE_IMMEDIATE_KHR}};
    EXPECT_EQ(choosePresentMode(modes, presentModeImmediate, log), VK_PRESENT_MODE_IMMEDIATE_KHR);
    EXPECT_EQ(choosePresentMode(modes, presentModeMailbox, log), VK_PRESENT_MODE_FIFO_KHR);
    EXPECT_EQ(choosePresentMode(modes, 77, log), VK_PRESENT_MODE_FIFO_KHR);
    EXPECT_TRUE(log.empty());

    for (const EnumerationStatus failure : {EnumerationStatus::countFailed, EnumerationStatus::listFailed})
    {
        EXPECT_EQ(choosePresentMode({failure, {}}, presentModeImmediate, log), VK_PRESENT_MODE_FIFO_KHR);
    }
    EXPECT_EQ(log, (LogLines{{LogLevel::info, "Supported present mode count obtaining has failed."},
                             {LogLevel::info, "Supported present modes obtaining has failed."}}));
}

TEST(SwapChainTest, ExtentIsTheSurfacesOrTheClampedFrameBufferAndNeverZero)
{
    const std::uint32_t special = std::numeric_limits<std::uint32_t>::max();
    const auto extent = [](VkSurfaceCapabilitiesKHR surface, VkExtent2D frameBuffer) {
        const std::optional<VkExtent2D> chosen = chooseSwapExtent(surface, frameBuffer);
        return chosen ? std::make_pair(chosen->width, chosen->height) : std::make_pair(0u, 0u);
    };
    EXPECT_EQ(extent(capabilities({800, 600}), {1, 1}), std::make_pair(800u, 600u));
    EXPECT_EQ(extent(capabilities({special, special}), {8000, 8}), std::make_pair(4096u, 16u));
    EXPECT_EQ(extent(capabilities({special, special}), {1280, 720}), std::make_pair(1280u, 720u));

    EXPECT_FALSE(chooseSwapExtent(capabilities({0, 0}), {1280, 720}).has_value());
    VkSurfaceCapabilitiesKHR minimised = capabilities({special, special});
    minimised.minImageExtent = {0, 0};
    EXPECT_FALSE(chooseSwapExtent(minimised, {0, 0}).has_value());
}

TEST(SwapChainTest, CreateInfoSharesImagesOnlyBetweenTwoFamilies)
{
    PhysicalDeviceInfo info;
    info.graphicsFamily = 1;
    info.presentFamily = 1;
    std::array<std::uint32_t, 2> families{};
    const auto createInfo = [&] {
        return makeSwapChainCreateInfo(VK_NULL_HANDLE, capabilities({640, 480}), info, VK_PRESENT_MODE_MAILBOX_KHR,
                                       {640, 480}, families);
    };
    EXPECT_EQ(createInfo().imageSharingMode, VK_SHARING_MODE_EXCLUSIVE);
    EXPECT_EQ(createInfo().preTransform, VK_SURFACE_TRANSFORM_ROTATE_90_BIT_KHR);

    info.graphicsFamily = 2;
    info.presentFamily = 0;
    const VkSwapchainCreateInfoKHR shared = createInfo();
    EXPECT_EQ(shared.imageSharingMode, VK_SHARING_MODE_CONCURRENT);
    ASSERT_EQ(shared.queueFamilyIndexCount, 2u);
    EXPECT_EQ(shared.pQueueFamilyIndices[0], 2u);
    EXPECT_EQ(shared.pQueueFamilyIndices[1], 0u);
}

TEST(FrameOutcomeTest, AcquireAndPresentResultsDecideDrawingRebuildingAndAdvancing)
{
    EXPECT_EQ(acquireOutcome(VK_SUCCESS), AcquireOutcome::draw);
    EXPECT_EQ(acquireOutcome(VK_SUBOPTIMAL_KHR), AcquireOutcome::drawThenRebuild);
    EXPECT_EQ(acquireOutcome(VK_ERROR_OUT_OF_DATE_KHR), AcquireOutcome::rebuild);
    EXPECT_EQ(acquireOutcome(VK_TIMEOUT), AcquireOutcome::fail);
    EXPECT_EQ(acquireOutcome(VK_ERROR_SURFACE_LOST_KHR), AcquireOutcome::fail);

    EXPECT_EQ(presentOutcome(VK_SUCCESS, false), PresentOutcome::advance);
    EXPECT_EQ(presentOutcome(VK_SUCCESS, true), PresentOutcome::rebuild);
    EXPECT_EQ(presentOutcome(VK_SUBOPTIMAL_KHR, false), PresentOutcome::rebuild);
    EXPECT_EQ(presentOutcome(VK_ERROR_OUT_OF_DATE_KHR, true), PresentOutcome::rebuild);
    EXPECT_EQ(presentOutcome(VK_ERROR_DEVICE_LOST, false), PresentOutcome::fail);
}
}
