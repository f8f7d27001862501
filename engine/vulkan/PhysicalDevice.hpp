#pragma once

#include "engine/Log.hpp"
#include "engine/vulkan/DriverReports.hpp"

#include <vulkan/vulkan.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct PhysicalDeviceInfo
{
    VkPhysicalDevice physicalDevice = VK_NULL_HANDLE;
    std::uint32_t graphicsFamily = 0;
    std::uint32_t presentFamily = 0;
    VkFormat colourFormat = VK_FORMAT_UNDEFINED;
    VkColorSpaceKHR colourSpace = VK_COLOR_SPACE_SRGB_NONLINEAR_KHR;
    VkFormat depthFormat = VK_FORMAT_UNDEFINED;
    float maxSamplerAnisotropy = 0.0f;
};

struct QueueFamilies
{
    std::uint32_t graphicsFamily = 0;
    std::uint32_t presentFamily = 0;

    bool operator==(const QueueFamilies&) const = default;
};

struct FormatFeatures
{
    VkFormat format = VK_FORMAT_UNDEFINED;
    VkFormatFeatureFlags optimalTilingFeatures = 0;
};

// Everything the driver said about one device and the window's surface.
struct PhysicalDeviceReport
{
    VkPhysicalDevice physicalDevice = VK_NULL_HANDLE;
    VkPhysicalDeviceProperties properties{};
    VkPhysicalDeviceFeatures features{};
    Enumeration<std::string> extensions;
    std::vector<VkQueueFamilyProperties> queueFamilies;
    // One entry per family; no value where the query failed.
    std::vector<std::optional<bool>> presentSupport;
    Enumeration<VkSurfaceFormatKHR> surfaceFormats;
    // The depth candidates, in order of preference.
    std::vector<FormatFeatures> depthFormats;
};

inline constexpr const char* requiredDeviceExtension = VK_KHR_SWAPCHAIN_EXTENSION_NAME;
inline constexpr VkFormat depthFormatCandidates[] = {VK_FORMAT_D32_SFLOAT, VK_FORMAT_D16_UNORM};

// The choices, over what the driver reported; each adds its sentences to the log.
bool checkPhysicalDeviceList(const Enumeration<VkPhysicalDevice>& devices, LogLines& log);
bool checkDeviceExtensions(const Enumeration<std::string>& extensions, LogLines& log);
std::optional<QueueFamilies> findQueueFamilies(const std::vector<VkQueueFamilyProperties>& families,
                                               const std::vector<std::optional<bool>>& presentSupport, LogLines& log);
std::optional<VkSurfaceFormatKHR> chooseColourFormat(const Enumeration<VkSurfaceFormatKHR>& formats, LogLines& log);
std::optional<VkFormat> chooseDepthFormat(const std::vector<FormatFeatures>& candidates, LogLines& log);
// The pipelines tessellate, the samplers filter anisotropically and the
// deferred passes clip what cannot be seen before it is shaded.
bool hasRequiredFeatures(const VkPhysicalDeviceFeatures& features);
// The first suitable device in the driver's order.
std::optional<PhysicalDeviceInfo> choosePhysicalDevice(const std::vector<PhysicalDeviceReport>& reports, LogLines& log);

bool selectPhysicalDevice(PhysicalDeviceInfo& info, VkInstance instance, VkSurfaceKHR surface);
// What the driver answers, in its order, or which of the two queries failed.
// The sentences of a failure are the choices' above (checkPhysicalDeviceList,
// checkDeviceExtensions, chooseColourFormat). The selection asks the driver
// for every device's lists before it chooses, but logs a list's sentences only
// where the choice reaches it: a device rejected earlier never has its later
// lists reported.
Enumeration<VkPhysicalDevice> enumeratePhysicalDevices(VkInstance instance);
Enumeration<std::string> enumerateDeviceExtensions(VkPhysicalDevice physicalDevice);
Enumeration<VkSurfaceFormatKHR> enumerateSurfaceFormats(VkSurfaceKHR surface, VkPhysicalDevice physicalDevice);
PhysicalDeviceReport reportPhysicalDevice(VkPhysicalDevice physicalDevice, VkSurfaceKHR surface);
