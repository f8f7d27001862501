#pragma once

#include <glm/vec2.hpp>

#include <cstdint>
#include <functional>

struct GLFWwindow;

using ButtonPressedCallback = std::function<void(std::uint8_t button)>;

// Process-wide mouse state over the one window.
namespace Mouse
{
void initialise(GLFWwindow* window);
void cursorPositionCallback(GLFWwindow* window, double x, double y);
void scrollCallback(GLFWwindow* window, double x, double y);
void mouseButtonCallback(GLFWwindow* window, int button, int action, int modifiers);

const glm::vec2& getPosition();
const glm::vec2& getScroll();
void resetScroll();

void setButtonPressedCallback(const ButtonPressedCallback& callback);
const ButtonPressedCallback& getButtonPressedCallback();

void setCursorMode(int mode);
// The mode last set, GLFW's normal cursor until a scene sets one.
int getCursorMode();
}
