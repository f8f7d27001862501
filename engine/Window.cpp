#include "engine/Window.hpp"

#include "engine/Keyboard.hpp"
#include "engine/Log.hpp"
#include "engine/Mouse.hpp"
#include "engine/Settings.hpp"
#include "engine/Version.hpp"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>
#include <fmt/format.h>

glm::vec2 windowContentScale{1.0f, 1.0f};

bool createWindow(GLFWwindow*& window)
{
    if (glfwInit() != GLFW_TRUE)
    {
        logError("GLFW initialisation has failed.");
        return false;
    }
    logDebug("GLFW was initialised.");

    Version glfwVersion;
    int major = 0;
    int minor = 0;
    int revision = 0;
    glfwGetVersion(&major, &minor, &revision);
    glfwVersion.major = static_cast<std::uint32_t>(major);
    glfwVersion.minor = static_cast<std::uint32_t>(minor);
    glfwVersion.patch = static_cast<std::uint32_t>(revision);
    logInfo(fmt::format("GLFW {} is being used.", makeVersionString(glfwVersion)));

    if (glfwVulkanSupported() != GLFW_TRUE)
    {
        logError("Vulkan is not supported.");
        return false;
    }
    logDebug("Vulkan is supported.");

    glfwSetErrorCallback(handleGlfwError);

    // Without a monitor or its mode (a headless server, a monitor being
    // unplugged) the game still starts, in a window of the built-in size.
    GLFWmonitor* monitor = glfwGetPrimaryMonitor();
    const GLFWvidmode* mode = monitor != nullptr ? glfwGetVideoMode(monitor) : nullptr;
    if (mode != nullptr)
    {
        Settings::setDefaultWindowSize(static_cast<std::uint32_t>(mode->width), static_cast<std::uint32_t>(mode->height));
    }
    Settings::read();
    const bool fullscreen = Settings::isFullscreen() && mode != nullptr;
    if (mode == nullptr)
    {
        logInfo("No primary monitor with a video mode was found; the game opens in a window.");
    }

    glfwWindowHint(GLFW_CLIENT_API, GLFW_NO_API);
    if (!fullscreen)
    {
        glfwWindowHint(GLFW_RESIZABLE, GLFW_FALSE);
    }
    window = glfwCreateWindow(static_cast<int>(Settings::getWindowWidth()), static_cast<int>(Settings::getWindowHeight()),
                              gameName, fullscreen ? monitor : nullptr, nullptr);
    if (window == nullptr)
    {
        logError("GLFW window creation has failed.");
        return false;
    }

    Keyboard::initialise(window);
    Mouse::initialise(window);
    glfwGetWindowContentScale(window, &windowContentScale.x, &windowContentScale.y);
    logDebug("Window was created.");
    return true;
}

void destroyWindow(GLFWwindow*& window)
{
    glfwDestroyWindow(window);
    glfwTerminate();
    logDebug("Window was destroyed.");
}

void pollWindowEvents()
{
    glfwPollEvents();
}

bool windowShouldClose(GLFWwindow*& window)
{
    return glfwWindowShouldClose(window) == GLFW_TRUE;
}

void requestWindowClose(GLFWwindow*& window)
{
    glfwSetWindowShouldClose(window, GLFW_TRUE);
}

void updateFramebufferSize(GLFWwindow*& window)
{
    int width = 0;
    int height = 0;
    glfwGetFramebufferSize(window, &width, &height);
    Settings::setWindowSize(static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height));
}

void handleGlfwError(int, const char* description)
{
    logError(description);
}
