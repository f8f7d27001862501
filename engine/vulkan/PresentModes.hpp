#pragma once

#include <cstdint>
#include <string>

// Values equal VkPresentModeKHR, so the settings can hold one without Vulkan.
using PresentMode = std::int32_t;

inline constexpr PresentMode presentModeImmediate = 0;
inline constexpr PresentMode presentModeMailbox = 1;
inline constexpr PresentMode presentModeFifo = 2;
inline constexpr PresentMode presentModeFifoRelaxed = 3;

// "Immediate", "Mailbox", "FIFO", "Relaxed FIFO", or "Not supported".
std::string presentModeName(PresentMode mode);
