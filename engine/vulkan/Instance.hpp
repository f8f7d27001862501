#pragma once

#include "engine/Log.hpp"

#include <vulkan/vulkan.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct GLFWwindow;

// "major.minor.patch" of a Vulkan version number; the variant bits are not
// masked off, so they stay in the major number.
std::string apiVersionText(std::uint32_t version);

// Checks each extension that GLFW requires, in GLFW's order, against the
// loader's list and stops at the first one missing. GLFW gives no list at all
// when the loader cannot make surfaces: then the surface extension is missing.
bool checkRequiredExtensions(const std::optional<std::vector<std::string>>& required,
                             const std::vector<std::string>& supported, LogLines& log);

std::optional<std::uint32_t> getInstanceApiVersion();
std::optional<std::vector<std::string>> enumerateInstanceLayers();
std::optional<std::vector<std::string>> enumerateInstanceExtensions();
std::optional<std::vector<std::string>> getRequiredInstanceExtensions();

bool createInstance(VkInstance& instance);
void destroyInstance(VkInstance& instance);
bool createSurface(VkSurfaceKHR& surface, GLFWwindow* window, VkInstance instance);
void destroySurface(VkSurfaceKHR& surface, VkInstance instance);
