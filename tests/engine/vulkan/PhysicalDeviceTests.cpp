#include "engine/vulkan/Device.hpp"
#include "engine/vulkan/PhysicalDevice.hpp"

#include <gtest/gtest.h>

#include <cstring>

namespace
{
const VkQueueFlags graphics = VK_QUEUE_GRAPHICS_BIT | VK_QUEUE_TRANSFER_BIT;
const VkQueueFlags computeOnly = VK_QUEUE_COMPUTE_BIT;

// A device that passes every test: one family with graphics and presentation.
PhysicalDeviceReport suitableDevice(const char* name, std::uintptr_t handle)
{
    PhysicalDeviceReport report;
    report.physicalDevice = reinterpret_cast<VkPhysicalDevice>(handle);
    std::strncpy(report.properties.deviceName, name, VK_MAX_PHYSICAL_DEVICE_NAME_SIZE - 1);
    report.properties.limits.maxSamplerAnisotropy = 16.0f;
    report.features.tessellationShader = VK_TRUE;
    report.features.samplerAnisotropy = VK_TRUE;
    report.features.shaderClipDistance = VK_TRUE;
    report.extensions.items = {"VK_KHR_maintenance1", "VK_KHR_swapchain"};
    report.queueFamilies = {VkQueueFamilyProperties{graphics, 1, 0, {1, 1, 1}}};
    report.presentSupport = {true};
    report.surfaceFormats.items = {{VK_FORMAT_B8G8R8A8_UNORM, VK_COLOR_SPACE_SRGB_NONLINEAR_KHR}};
    report.depthFormats = {{VK_FORMAT_D32_SFLOAT, VK_FORMAT_FEATURE_DEPTH_STENCIL_ATTACHMENT_BIT},
                           {VK_FORMAT_D16_UNORM, VK_FORMAT_FEATURE_DEPTH_STENCIL_ATTACHMENT_BIT}};
    return report;
}

std::vector<VkQueueFamilyProperties> families(std::initializer_list<VkQueueFlags> flags)
{
    std::vector<VkQueueFamilyProperties> result;
    for (const VkQueueFlags flag : flags)
    {
        result.push_back({flag, 1, 0, {1, 1, 1}});
    }
    return result;
}

TEST(PhysicalDeviceTest, TheFirstSuitableDeviceIsTakenAndTheOthersAreSkippedWithTheirReasons)
{
    PhysicalDeviceReport noSwapChain = suitableDevice("NoSwapChain", 1);
    noSwapChain.extensions.items = {"VK_KHR_maintenance1"};
    PhysicalDeviceReport noTessellation = suitableDevice("NoTessellation", 2);
    noTessellation.features.tessellationShader = VK_FALSE;
    PhysicalDeviceReport noAnisotropy = suitableDevice("NoAnisotropy", 3);
    noAnisotropy.features.samplerAnisotropy = VK_FALSE;
    PhysicalDeviceReport noClipDistance = suitableDevice("NoClipDistance", 7);
    noClipDistance.features.shaderClipDistance = VK_FALSE;
    PhysicalDeviceReport srgbOnly = suitableDevice("SrgbOnly", 4);
    srgbOnly.surfaceFormats.items = {{VK_FORMAT_B8G8R8A8_SRGB, VK_COLOR_SPACE_SRGB_NONLINEAR_KHR}};
    PhysicalDeviceReport discrete = suitableDevice("Discrete", 6);
    discrete.properties.deviceType = VK_PHYSICAL_DEVICE_TYPE_DISCRETE_GPU;

    LogLines log;
    const std::optional<PhysicalDeviceInfo> info = choosePhysicalDevice(
        {noSwapChain, noTessellation, noAnisotropy, noClipDistance, srgbOnly, suitableDevice("Good", 5), discrete},
        log);
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->physicalDevice, reinterpret_cast<VkPhysicalDevice>(5));
    EXPECT_EQ(info->colourFormat, VK_FORMAT_B8G8R8A8_UNORM);
    EXPECT_EQ(info->depthFormat, VK_FORMAT_D32_SFLOAT);
    EXPECT_EQ(info->maxSamplerAnisotropy, 16.0f);
    const LogLines expected{
        {LogLevel::info, "Physical device extension VK_KHR_swapchain is not supported"},
        {LogLevel::debug, "Physical device \"NoSwapChain\" is not suitable."},
        {LogLevel::debug, "Physical device \"NoTessellation\" is not suitable."},
        {LogLevel::debug, "Physical device \"NoAnisotropy\" is not suitable."},
        {LogLevel::debug, "Physical device \"NoClipDistance\" is not suitable."},
        {LogLevel::debug, "Physical device extension VK_KHR_swapchain is supported"},
        {LogLevel::error, "No suitable colour formats are supported."},
        {LogLevel::debug, "Physical device \"SrgbOnly\" is not suitable."},
        {LogLevel::debug, "Physical device extension VK_KHR_swapchain is supported"},
        {LogLevel::debug, "Physical device \"Good\" was selected."},
    };
    EXPECT_EQ(log, expected);

    log.clear();
    EXPECT_FALSE(choosePhysicalDevice({noSwapChain}, log).has_value());
    EXPECT_EQ(log.back(), (LogLine{LogLevel::error, "No suitable physical devices were found."}));
}

TEST(PhysicalDeviceTest, DeviceListFailuresHaveTheirOwnSentences)
{
    LogLines log;
    EXPECT_FALSE(checkPhysicalDeviceList({EnumerationStatus::countFailed, {}}, log));
    EXPECT_FALSE(checkPhysicalDeviceList({EnumerationStatus::complete, {}}, log));
    EXPECT_FALSE(checkPhysicalDeviceList({EnumerationStatus::listFailed, {}}, log));
    EXPECT_TRUE(checkPhysicalDeviceList({EnumerationStatus::complete, {reinterpret_cast<VkPhysicalDevice>(1)}}, log));
    EXPECT_EQ(log, (LogLines{{LogLevel::error, "Available physical device count obtaining has failed."},
                             {LogLevel::error, "No suitable physical devices were found."},
                             {LogLevel::error, "Available physical devices obtaining has failed."}}));

    log.clear();
    EXPECT_FALSE(checkDeviceExtensions({EnumerationStatus::countFailed, {}}, log));
    EXPECT_FALSE(checkDeviceExtensions({EnumerationStatus::listFailed, {}}, log));
    EXPECT_FALSE(checkDeviceExtensions({EnumerationStatus::complete, {}}, log));
    EXPECT_EQ(log, (LogLines{{LogLevel::error, "Supported physical device extension count obtaining has failed."},
                             {LogLevel::error, "Supported physical device extensions obtaining has failed."},
                             {LogLevel::info, "Physical device extension VK_KHR_swapchain is not supported"}}));
}

TEST(PhysicalDeviceTest, QueueFamiliesAreFoundInOneScanThatStopsWhenBothAreKnown)
{
    LogLines log;
    EXPECT_EQ(findQueueFamilies(families({graphics, graphics}), {false, true}, log), (QueueFamilies{1, 1}));
    EXPECT_EQ(findQueueFamilies(families({graphics, computeOnly}), {false, true}, log), (QueueFamilies{0, 1}));
    // The scan stops at family 0, so the later graphics family does not replace it.
    EXPECT_EQ(findQueueFamilies(families({graphics, graphics}), {true, true}, log), (QueueFamilies{0, 0}));
    EXPECT_EQ(findQueueFamilies(families({computeOnly}), {true}, log), std::nullopt);
    EXPECT_EQ(findQueueFamilies(families({}), {}, log), std::nullopt);
    EXPECT_TRUE(log.empty());

    // A failed query does not offer the family for presentation.
    EXPECT_EQ(findQueueFamilies(families({graphics, graphics}), {std::nullopt, true}, log), (QueueFamilies{1, 1}));
    EXPECT_EQ(findQueueFamilies(families({graphics}), {std::nullopt}, log), std::nullopt);
    EXPECT_EQ(log, (LogLines{{LogLevel::info, "Physical device presentation support obtaining has failed."},
                             {LogLevel::info, "Physical device presentation support obtaining has failed."}}));

    // One queue for each distinct family, in ascending order.
    EXPECT_EQ(deviceQueueFamilies(1, 1), (std::vector<std::uint32_t>{1}));
    EXPECT_EQ(deviceQueueFamilies(2, 0), (std::vector<std::uint32_t>{0, 2}));
}

TEST(PhysicalDeviceTest, ColourFormatPrefersBgraUnormInTheNonLinearSpaceAndDepthTheFirstAttachmentFormat)
{
    LogLines log;
    const VkColorSpaceKHR nonLinear = VK_COLOR_SPACE_SRGB_NONLINEAR_KHR;
    Enumeration<VkSurfaceFormatKHR> formats{EnumerationStatus::complete,
                                            {{VK_FORMAT_R8G8B8A8_UNORM, nonLinear},
                                             {VK_FORMAT_B8G8R8A8_UNORM, VK_COLOR_SPACE_EXTENDED_SRGB_LINEAR_EXT},
                                             {VK_FORMAT_B8G8R8A8_UNORM, nonLinear}}};
    EXPECT_EQ(chooseColourFormat(formats, log)->format, VK_FORMAT_B8G8R8A8_UNORM);
    formats.items.pop_back();
    EXPECT_EQ(chooseColourFormat(formats, log)->format, VK_FORMAT_R8G8B8A8_UNORM);
    EXPECT_TRUE(log.empty());

    EXPECT_FALSE(chooseColourFormat({EnumerationStatus::countFailed, {}}, log));
    EXPECT_FALSE(chooseColourFormat({EnumerationStatus::complete, {}}, log));
    EXPECT_FALSE(chooseColourFormat({EnumerationStatus::listFailed, {}}, log));
    EXPECT_EQ(log, (LogLines{{LogLevel::error, "Supported physical device colour format count obtaining has failed."},
                             {LogLevel::error, "No colour formats are supported."},
                             {LogLevel::error, "Supported physical device colour formats obtaining has failed."}}));

    // Depth: the first candidate usable as an attachment.
    log.clear();
    EXPECT_EQ(chooseDepthFormat({{VK_FORMAT_D32_SFLOAT, VK_FORMAT_FEATURE_SAMPLED_IMAGE_BIT},
                                 {VK_FORMAT_D16_UNORM, VK_FORMAT_FEATURE_DEPTH_STENCIL_ATTACHMENT_BIT}},
                                log),
              VK_FORMAT_D16_UNORM);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(chooseDepthFormat({{VK_FORMAT_D32_SFLOAT, 0}, {VK_FORMAT_D16_UNORM, 0}}, log), std::nullopt);
    EXPECT_EQ(log, (LogLines{{LogLevel::error, "No suitable depth formats are supported."}}));
}
}
