#pragma once

#include "graphics/ImageData.hpp"

#include <vulkan/vulkan.h>

#include <cstdint>
#include <optional>

struct GLFWwindow;

// What the window shows in the area of `extent` from (x, y), overlays
// included, from the X server (the bytes R, G, B, A of each pixel): the swap
// chain's images are only drawn into, so the server's copy of the presented
// frame is the one to read. Empty when the server gives none.
std::optional<ImageData<std::uint32_t>> windowPicture(GLFWwindow* window, int x, int y, VkExtent2D extent);
