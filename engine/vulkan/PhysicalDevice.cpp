#include "engine/vulkan/PhysicalDevice.hpp"

#include <fmt/format.h>

#include <algorithm>

namespace
{
std::optional<PhysicalDeviceInfo> suitableDevice(const PhysicalDeviceReport& report, LogLines& log)
{
    if (!hasRequiredFeatures(report.features) || !checkDeviceExtensions(report.extensions, log))
    {
        return std::nullopt;
    }
    const std::optional<QueueFamilies> families = findQueueFamilies(report.queueFamilies, report.presentSupport, log);
    if (!families)
    {
        return std::nullopt;
    }
    const std::optional<VkSurfaceFormatKHR> colourFormat = chooseColourFormat(report.surfaceFormats, log);
    if (!colourFormat)
    {
        return std::nullopt;
    }
    const std::optional<VkFormat> depthFormat = chooseDepthFormat(report.depthFormats, log);
    if (!depthFormat)
    {
        return std::nullopt;
    }
    PhysicalDeviceInfo info;
    info.physicalDevice = report.physicalDevice;
    info.graphicsFamily = families->graphicsFamily;
    info.presentFamily = families->presentFamily;
    info.colourFormat = colourFormat->format;
    info.colourSpace = colourFormat->colorSpace;
    info.depthFormat = *depthFormat;
    info.maxSamplerAnisotropy = report.properties.limits.maxSamplerAnisotropy;
    return info;
}
}

bool checkPhysicalDeviceList(const Enumeration<VkPhysicalDevice>& devices, LogLines& log)
{
    if (const std::optional<std::string> failure =
            enumerationFailure(devices, "Available physical device count obtaining has failed.",
                               "Available physical devices obtaining has failed."))
    {
        log.push_back({LogLevel::error, *failure});
        return false;
    }
    if (devices.items.empty())
    {
        log.push_back({LogLevel::error, "No suitable physical devices were found."});
        return false;
    }
    return true;
}

bool checkDeviceExtensions(const Enumeration<std::string>& extensions, LogLines& log)
{
    if (const std::optional<std::string> failure =
            enumerationFailure(extensions, "Supported physical device extension count obtaining has failed.",
                               "Supported physical device extensions obtaining has failed."))
    {
        log.push_back({LogLevel::error, *failure});
        return false;
    }
    const std::string required = requiredDeviceExtension;
    if (std::find(extensions.items.begin(), extensions.items.end(), required) == extensions.items.end())
    {
        log.push_back({LogLevel::info, fmt::format("Physical device extension {} is not supported", required)});
        return false;
    }
    log.push_back({LogLevel::debug, fmt::format("Physical device extension {} is supported", required)});
    return true;
}

std::optional<QueueFamilies> findQueueFamilies(const std::vector<VkQueueFamilyProperties>& families,
                                               const std::vector<std::optional<bool>>& presentSupport, LogLines& log)
{
    std::optional<std::uint32_t> graphicsFamily;
    std::optional<std::uint32_t> presentFamily;
    for (std::uint32_t index = 0; index < families.size(); ++index)
    {
        if ((families[index].queueFlags & VK_QUEUE_GRAPHICS_BIT) != 0)
        {
            graphicsFamily = index;
        }
        const std::optional<bool> presents = index < presentSupport.size() ? presentSupport[index] : std::nullopt;
        if (!presents)
        {
            log.push_back({LogLevel::info, "Physical device presentation support obtaining has failed."});
            continue;
        }
        if (*presents)
        {
            presentFamily = index;
        }
        if (graphicsFamily && presentFamily)
        {
            break;
        }
    }
    if (!graphicsFamily || !presentFamily)
    {
        return std::nullopt;
    }
    return QueueFamilies{*graphicsFamily, *presentFamily};
}

std::optional<VkSurfaceFormatKHR> chooseColourFormat(const Enumeration<VkSurfaceFormatKHR>& formats, LogLines& log)
{
    if (const std::optional<std::string> failure =
            enumerationFailure(formats, "Supported physical device colour format count obtaining has failed.",
                               "Supported physical device colour formats obtaining has failed."))
    {
        log.push_back({LogLevel::error, *failure});
        return std::nullopt;
    }
    if (formats.items.empty())
    {
        log.push_back({LogLevel::error, "No colour formats are supported."});
        return std::nullopt;
    }
    for (const VkFormat candidate : {VK_FORMAT_B8G8R8A8_UNORM, VK_FORMAT_R8G8B8A8_UNORM})
    {
        for (const VkSurfaceFormatKHR& format : formats.items)
        {
            if (format.format == candidate && format.colorSpace == VK_COLOR_SPACE_SRGB_NONLINEAR_KHR)
            {
                return format;
            }
        }
    }
    log.push_back({LogLevel::error, "No suitable colour formats are supported."});
    return std::nullopt;
}

std::optional<VkFormat> chooseDepthFormat(const std::vector<FormatFeatures>& candidates, LogLines& log)
{
    for (const FormatFeatures& candidate : candidates)
    {
        if ((candidate.optimalTilingFeatures & VK_FORMAT_FEATURE_DEPTH_STENCIL_ATTACHMENT_BIT) != 0)
        {
            return candidate.format;
        }
    }
    log.push_back({LogLevel::error, "No suitable depth formats are supported."});
    return std::nullopt;
}

bool hasRequiredFeatures(const VkPhysicalDeviceFeatures& features)
{
    return features.tessellationShader == VK_TRUE && features.samplerAnisotropy == VK_TRUE &&
           features.shaderClipDistance == VK_TRUE;
}

std::optional<PhysicalDeviceInfo> choosePhysicalDevice(const std::vector<PhysicalDeviceReport>& reports, LogLines& log)
{
    for (const PhysicalDeviceReport& report : reports)
    {
        const std::string name = report.properties.deviceName;
        if (std::optional<PhysicalDeviceInfo> info = suitableDevice(report, log))
        {
            log.push_back({LogLevel::debug, fmt::format("Physical device \"{}\" was selected.", name)});
            return info;
        }
        log.push_back({LogLevel::debug, fmt::format("Physical device \"{}\" is not suitable.", name)});
    }
    log.push_back({LogLevel::error, "No suitable physical devices were found."});
    return std::nullopt;
}

Enumeration<VkPhysicalDevice> enumeratePhysicalDevices(VkInstance instance)
{
    return enumerate<VkPhysicalDevice>([instance](std::uint32_t* count, VkPhysicalDevice* items) {
        return vkEnumeratePhysicalDevices(instance, count, items);
    });
}

Enumeration<std::string> enumerateDeviceExtensions(VkPhysicalDevice physicalDevice)
{
    const Enumeration<VkExtensionProperties> properties =
        enumerate<VkExtensionProperties>([physicalDevice](std::uint32_t* count, VkExtensionProperties* items) {
            return vkEnumerateDeviceExtensionProperties(physicalDevice, nullptr, count, items);
        });
    Enumeration<std::string> names{properties.status, {}};
    for (const VkExtensionProperties& extension : properties.items)
    {
        names.items.emplace_back(extension.extensionName);
    }
    return names;
}

Enumeration<VkSurfaceFormatKHR> enumerateSurfaceFormats(VkSurfaceKHR surface, VkPhysicalDevice physicalDevice)
{
    return enumerate<VkSurfaceFormatKHR>([physicalDevice, surface](std::uint32_t* count, VkSurfaceFormatKHR* items) {
        return vkGetPhysicalDeviceSurfaceFormatsKHR(physicalDevice, surface, count, items);
    });
}

PhysicalDeviceReport reportPhysicalDevice(VkPhysicalDevice physicalDevice, VkSurfaceKHR surface)
{
    PhysicalDeviceReport report;
    report.physicalDevice = physicalDevice;
    vkGetPhysicalDeviceProperties(physicalDevice, &report.properties);
    vkGetPhysicalDeviceFeatures(physicalDevice, &report.features);

    report.extensions = enumerateDeviceExtensions(physicalDevice);

    std::uint32_t familyCount = 0;
    vkGetPhysicalDeviceQueueFamilyProperties(physicalDevice, &familyCount, nullptr);
    report.queueFamilies.resize(familyCount);
    vkGetPhysicalDeviceQueueFamilyProperties(physicalDevice, &familyCount, report.queueFamilies.data());
    report.queueFamilies.resize(familyCount);
    for (std::uint32_t index = 0; index < familyCount; ++index)
    {
        VkBool32 supported = VK_FALSE;
        if (vkGetPhysicalDeviceSurfaceSupportKHR(physicalDevice, index, surface, &supported) == VK_SUCCESS)
        {
            report.presentSupport.emplace_back(supported == VK_TRUE);
        }
        else
        {
            report.presentSupport.emplace_back(std::nullopt);
        }
    }

    report.surfaceFormats = enumerateSurfaceFormats(surface, physicalDevice);

    for (const VkFormat format : depthFormatCandidates)
    {
        VkFormatProperties properties{};
        vkGetPhysicalDeviceFormatProperties(physicalDevice, format, &properties);
        report.depthFormats.push_back({format, properties.optimalTilingFeatures});
    }
    return report;
}

bool selectPhysicalDevice(PhysicalDeviceInfo& info, VkInstance instance, VkSurfaceKHR surface)
{
    const Enumeration<VkPhysicalDevice> devices = enumeratePhysicalDevices(instance);
    LogLines log;
    if (!checkPhysicalDeviceList(devices, log))
    {
        logLines(log);
        return false;
    }

    std::vector<PhysicalDeviceReport> reports;
    for (const VkPhysicalDevice device : devices.items)
    {
        reports.push_back(reportPhysicalDevice(device, surface));
    }
    const std::optional<PhysicalDeviceInfo> chosen = choosePhysicalDevice(reports, log);
    logLines(log);
    if (!chosen)
    {
        return false;
    }
    info = *chosen;
    return true;
}
