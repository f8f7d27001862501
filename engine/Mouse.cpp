#include "engine/Mouse.hpp"

#include <GLFW/glfw3.h>

static_assert(Mouse::cursorNormal == GLFW_CURSOR_NORMAL && Mouse::cursorHidden == GLFW_CURSOR_HIDDEN &&
              Mouse::cursorDisabled == GLFW_CURSOR_DISABLED);

namespace
{
GLFWwindow* mouseWindow = nullptr;
glm::vec2 position{0.0f};
glm::vec2 scroll{0.0f};
ButtonPressedCallback buttonPressedCallback = [](std::uint8_t) {};
int cursorMode = Mouse::cursorNormal;
}

namespace Mouse
{
void initialise(GLFWwindow* window)
{
    mouseWindow = window;
    glfwSetCursorPosCallback(window, cursorPositionCallback);
    glfwSetScrollCallback(window, scrollCallback);
    glfwSetMouseButtonCallback(window, mouseButtonCallback);
}

void cursorPositionCallback(GLFWwindow*, double x, double y)
{
    position = glm::vec2(static_cast<float>(x), static_cast<float>(y));
}

void scrollCallback(GLFWwindow*, double x, double y)
{
    scroll = glm::vec2(static_cast<float>(x), static_cast<float>(y));
}

void mouseButtonCallback(GLFWwindow*, int button, int action, int)
{
    if (action == GLFW_PRESS)
    {
        // The handler may switch scenes and so replace itself while it runs.
        const ButtonPressedCallback callback = buttonPressedCallback;
        callback(static_cast<std::uint8_t>(button));
    }
}

const glm::vec2& getPosition()
{
    return position;
}

const glm::vec2& getScroll()
{
    return scroll;
}

void resetScroll()
{
    scroll = glm::vec2(0.0f);
}

void setButtonPressedCallback(const ButtonPressedCallback& callback)
{
    buttonPressedCallback = callback ? callback : [](std::uint8_t) {};
}

const ButtonPressedCallback& getButtonPressedCallback()
{
    return buttonPressedCallback;
}

void setCursorMode(int mode)
{
    cursorMode = mode;
    if (mouseWindow != nullptr)
    {
        glfwSetInputMode(mouseWindow, GLFW_CURSOR, mode);
    }
}

int getCursorMode()
{
    return cursorMode;
}
}
