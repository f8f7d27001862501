#pragma once

#include "engine/vulkan/PresentModes.hpp"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// The window and presentation values, from "Settings.txt" in the working folder.
namespace Settings
{
inline constexpr std::uint32_t largestWindowSide = 16384;

void read();
void writeDefaults();

std::uint32_t getWindowWidth();
std::uint32_t getWindowHeight();
bool isFullscreen();
PresentMode getPreferredPresentMode();

// Window creation puts the monitor's size here before the file is read.
void setDefaultWindowSize(std::uint32_t width, std::uint32_t height);
// The frame buffer's real size, after every swap-chain creation.
void setWindowSize(std::uint32_t width, std::uint32_t height);

const std::filesystem::path& getSettingsPath();

// Tests start each case from the values the program starts with.
void resetForTesting();
}

// Base-10 signed 32-bit number at the start of the text; the rest is ignored.
std::optional<std::int32_t> parseInteger(std::string_view text);
// The text without leading and trailing blanks and tabs.
std::string_view trim(std::string_view text);
