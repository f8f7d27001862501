#pragma once

#include <glm/vec2.hpp>

#include <cstdint>
#include <functional>

struct GLFWwindow;

using ButtonPressedCallback = std::function<void(std::uint8_t button)>;

// Process-wide mouse state over the one window.
namespace Mouse
{
// GLFW's cursor modes, by name.
inline constexpr int cursorNormal = 0x34001;
inline constexpr int cursorHidden = 0x34002;
// Hidden and held in the window: the position moves on without bounds.
inline constexpr int cursorDisabled = 0x34003;

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
// The mode last set, cursorNormal until a scene sets one.
int getCursorMode();
}
