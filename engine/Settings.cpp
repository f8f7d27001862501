#include "engine/Settings.hpp"

#include "engine/FileIo.hpp"

#include <charconv>
#include <fmt/format.h>

namespace
{
constexpr std::uint32_t initialWindowWidth = 1280;
constexpr std::uint32_t initialWindowHeight = 720;
constexpr bool initialFullscreen = true;

std::uint32_t defaultWindowWidth = initialWindowWidth;
std::uint32_t defaultWindowHeight = initialWindowHeight;
constexpr bool defaultFullscreen = initialFullscreen;
constexpr PresentMode defaultPreferredPresentMode = presentModeFifo;

std::uint32_t windowWidth = defaultWindowWidth;
std::uint32_t windowHeight = defaultWindowHeight;
bool fullscreen = defaultFullscreen;
PresentMode preferredPresentMode = defaultPreferredPresentMode;

const std::filesystem::path settingsPath = "Settings.txt";

// A side outside 1 to 16384 cannot make a window or a swap chain; such a value
// is ignored like an unparsable one.
void applyWindowSide(std::string_view value, std::uint32_t& side)
{
    const std::optional<std::int32_t> number = parseInteger(value);
    if (number && *number >= 1 && static_cast<std::uint32_t>(*number) <= Settings::largestWindowSide)
    {
        side = static_cast<std::uint32_t>(*number);
    }
}

PresentMode presentModeFromName(std::string_view name)
{
    if (name == "Immediate")
    {
        return presentModeImmediate;
    }
    if (name == "Mailbox")
    {
        return presentModeMailbox;
    }
    if (name == "Relaxed FIFO")
    {
        return presentModeFifoRelaxed;
    }
    return presentModeFifo;
}

void applyLine(std::string_view line)
{
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos)
    {
        return;
    }
    const std::string_view key = trim(line.substr(0, colon));
    const std::string_view value = trim(line.substr(colon + 1));
    if (key == "Window-Width")
    {
        applyWindowSide(value, windowWidth);
    }
    else if (key == "Window-Height")
    {
        applyWindowSide(value, windowHeight);
    }
    else if (key == "Fullscreen")
    {
        fullscreen = value == "true";
    }
    else if (key == "PreferredPresentMode")
    {
        preferredPresentMode = presentModeFromName(value);
    }
}
}

namespace Settings
{
void read()
{
    const std::optional<std::string> content = readFile(settingsPath);
    if (!content)
    {
        // Only a missing file gets the defaults: one that exists but cannot be
        // read holds the user's settings and must not be overwritten.
        std::error_code error;
        if (!std::filesystem::exists(settingsPath, error) && !error)
        {
            writeDefaults();
        }
        return;
    }

    std::string_view rest = *content;
    while (!rest.empty())
    {
        const std::size_t end = rest.find('\n');
        applyLine(rest.substr(0, end));
        if (end == std::string_view::npos)
        {
            break;
        }
        rest.remove_prefix(end + 1);
    }
}

void writeDefaults()
{
    windowWidth = defaultWindowWidth;
    windowHeight = defaultWindowHeight;
    fullscreen = defaultFullscreen;
    preferredPresentMode = defaultPreferredPresentMode;
    const std::string text = fmt::format("Window-Width: {}\nWindow-Height: {}\nFullscreen: {}\nPreferredPresentMode: {}\n",
                                         windowWidth, windowHeight, fullscreen ? "true" : "false",
                                         presentModeName(preferredPresentMode));
    writeFile(settingsPath, text, false);
}

std::uint32_t getWindowWidth()
{
    return windowWidth;
}

std::uint32_t getWindowHeight()
{
    return windowHeight;
}

bool isFullscreen()
{
    return fullscreen;
}

PresentMode getPreferredPresentMode()
{
    return preferredPresentMode;
}

void setDefaultWindowSize(std::uint32_t width, std::uint32_t height)
{
    defaultWindowWidth = width;
    defaultWindowHeight = height;
}

void setWindowSize(std::uint32_t width, std::uint32_t height)
{
    windowWidth = width;
    windowHeight = height;
}

const std::filesystem::path& getSettingsPath()
{
    return settingsPath;
}

void resetForTesting()
{
    defaultWindowWidth = initialWindowWidth;
    defaultWindowHeight = initialWindowHeight;
    windowWidth = initialWindowWidth;
    windowHeight = initialWindowHeight;
    fullscreen = initialFullscreen;
    preferredPresentMode = defaultPreferredPresentMode;
}
}

std::optional<std::int32_t> parseInteger(std::string_view text)
{
    std::int32_t value = 0;
    if (std::from_chars(text.data(), text.data() + text.size(), value).ec != std::errc{})
    {
        return std::nullopt;
    }
    return value;
}

std::string_view trim(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
    {
        return {};
    }
    const std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}
