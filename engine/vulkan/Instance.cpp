#include "engine/vulkan/Instance.hpp"

#include "engine/Version.hpp"
#include "engine/vulkan/DriverReports.hpp"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>
#include <fmt/format.h>

#include <algorithm>

namespace
{
std::vector<std::string> layerNames(const std::vector<VkLayerProperties>& layers)
{
    std::vector<std::string> names;
    for (const VkLayerProperties& layer : layers)
    {
        names.emplace_back(layer.layerName);
    }
    return names;
}

std::vector<std::string> extensionNames(const std::vector<VkExtensionProperties>& extensions)
{
    std::vector<std::string> names;
    for (const VkExtensionProperties& extension : extensions)
    {
        names.emplace_back(extension.extensionName);
    }
    return names;
}
}

std::string apiVersionText(std::uint32_t version)
{
    return makeVersionString(Version{version >> 22, (version >> 12) & 0x3FF, version & 0xFFF});
}

bool checkRequiredExtensions(const std::optional<std::vector<std::string>>& required,
                             const std::vector<std::string>& supported, LogLines& log)
{
    if (!required)
    {
        log.push_back({LogLevel::error, fmt::format("Extension {} is not supported", VK_KHR_SURFACE_EXTENSION_NAME)});
        return false;
    }
    for (const std::string& name : *required)
    {
        if (std::find(supported.begin(), supported.end(), name) == supported.end())
        {
            log.push_back({LogLevel::error, fmt::format("Extension {} is not supported", name)});
            return false;
        }
        log.push_back({LogLevel::debug, fmt::format("Extension {} is supported", name)});
    }
    return true;
}

std::optional<std::uint32_t> getInstanceApiVersion()
{
    std::uint32_t version = 0;
    if (vkEnumerateInstanceVersion(&version) != VK_SUCCESS)
    {
        logError("Vulkan API version enumeration has failed.");
        return std::nullopt;
    }
    logInfo(fmt::format("Vulkan API {} is supported.", apiVersionText(version)));
    return version;
}

std::optional<std::vector<std::string>> enumerateInstanceLayers()
{
    const Enumeration<VkLayerProperties> layers = enumerate<VkLayerProperties>(
        [](std::uint32_t* count, VkLayerProperties* items) { return vkEnumerateInstanceLayerProperties(count, items); });
    if (const std::optional<std::string> failure =
            enumerationFailure(layers, "Supported instance layer count obtaining has failed.",
                               "Supported instance layers obtaining has failed."))
    {
        logError(*failure);
        return std::nullopt;
    }
    return layerNames(layers.items);
}

std::optional<std::vector<std::string>> enumerateInstanceExtensions()
{
    const Enumeration<VkExtensionProperties> extensions =
        enumerate<VkExtensionProperties>([](std::uint32_t* count, VkExtensionProperties* items) {
            return vkEnumerateInstanceExtensionProperties(nullptr, count, items);
        });
    if (const std::optional<std::string> failure =
            enumerationFailure(extensions, "Supported instance extension count obtaining has failed.",
                               "Supported instance extension obtaining has failed."))
    {
        logError(*failure);
        return std::nullopt;
    }
    return extensionNames(extensions.items);
}

std::optional<std::vector<std::string>> getRequiredInstanceExtensions()
{
    const std::optional<std::vector<std::string>> supported = enumerateInstanceExtensions();
    if (!supported)
    {
        return std::nullopt;
    }

    std::uint32_t count = 0;
    const char** names = glfwGetRequiredInstanceExtensions(&count);
    std::optional<std::vector<std::string>> required;
    if (names != nullptr)
    {
        required.emplace(names, names + count);
    }
    LogLines log;
    const bool allSupported = checkRequiredExtensions(required, *supported, log);
    logLines(log);
    if (!allSupported)
    {
        return std::nullopt;
    }
    return required;
}

bool createInstance(VkInstance& instance)
{
    const std::optional<std::uint32_t> apiVersion = getInstanceApiVersion();
    if (!apiVersion || !enumerateInstanceLayers())
    {
        return false;
    }
    const std::optional<std::vector<std::string>> extensions = getRequiredInstanceExtensions();
    if (!extensions)
    {
        return false;
    }
    std::vector<const char*> extensionPointers;
    for (const std::string& extension : *extensions)
    {
        extensionPointers.push_back(extension.c_str());
    }

    VkApplicationInfo application{};
    application.sType = VK_STRUCTURE_TYPE_APPLICATION_INFO;
    application.pApplicationName = gameName;
    application.applicationVersion = 0;
    application.pEngineName = gameName;
    application.engineVersion = 0;
    application.apiVersion = *apiVersion;

    VkInstanceCreateInfo createInfo{};
    createInfo.sType = VK_STRUCTURE_TYPE_INSTANCE_CREATE_INFO;
    createInfo.pApplicationInfo = &application;
    createInfo.enabledExtensionCount = static_cast<std::uint32_t>(extensionPointers.size());
    createInfo.ppEnabledExtensionNames = extensionPointers.data();

    VkInstance created = VK_NULL_HANDLE;
    if (vkCreateInstance(&createInfo, nullptr, &created) != VK_SUCCESS)
    {
        logError("Vulkan instance creation has failed.");
        return false;
    }
    instance = created;
    logDebug("Instance was created.");
    return true;
}

void destroyInstance(VkInstance& instance)
{
    if (instance == VK_NULL_HANDLE)
    {
        return;
    }
    vkDestroyInstance(instance, nullptr);
    instance = VK_NULL_HANDLE;
    logDebug("Instance was destroyed.");
}

bool createSurface(VkSurfaceKHR& surface, GLFWwindow* window, VkInstance instance)
{
    VkSurfaceKHR created = VK_NULL_HANDLE;
    if (glfwCreateWindowSurface(instance, window, nullptr, &created) != VK_SUCCESS)
    {
        logError("Vulkan surface creation has failed.");
        return false;
    }
    surface = created;
    logDebug("Surface was created.");
    return true;
}

void destroySurface(VkSurfaceKHR& surface, VkInstance instance)
{
    if (surface == VK_NULL_HANDLE)
    {
        return;
    }
    vkDestroySurfaceKHR(instance, surface, nullptr);
    surface = VK_NULL_HANDLE;
    logDebug("Surface was destroyed.");
}
