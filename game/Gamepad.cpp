#include "game/Gamepad.hpp"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <type_traits>

// The game's record of the state holds what GLFW's does, where GLFW has it.
static_assert(std::tuple_size_v<decltype(GamepadState::buttons)> ==
              std::extent_v<decltype(GLFWgamepadstate::buttons)>);
static_assert(std::tuple_size_v<decltype(GamepadState::axes)> == std::extent_v<decltype(GLFWgamepadstate::axes)>);
static_assert(GamepadState::pressed == GLFW_PRESS);
static_assert(GamepadButton::a == GLFW_GAMEPAD_BUTTON_A);
static_assert(GamepadButton::rightBumper == GLFW_GAMEPAD_BUTTON_RIGHT_BUMPER);
static_assert(GamepadAxis::leftX == GLFW_GAMEPAD_AXIS_LEFT_X);
static_assert(GamepadAxis::leftTrigger == GLFW_GAMEPAD_AXIS_LEFT_TRIGGER);
static_assert(GamepadAxis::rightTrigger == GLFW_GAMEPAD_AXIS_RIGHT_TRIGGER);

bool gamepadConnected = false;

namespace
{
void onJoystickEvent(int joystick, int event)
{
    const bool isGamepad = event == GLFW_CONNECTED && glfwJoystickIsGamepad(joystick) == GLFW_TRUE;
    const GamepadEventOutcome outcome = gamepadAfterJoystickEvent(joystick, event, isGamepad, gamepadConnected);
    std::printf("%s", outcome.line.c_str());
    gamepadConnected = outcome.connected;
}
}

GamepadEventOutcome gamepadAfterJoystickEvent(int joystick, int event, bool isGamepad, bool connected)
{
    if (joystick != GLFW_JOYSTICK_1)
    {
        return {connected, ""};
    }
    if (event == GLFW_CONNECTED)
    {
        // A joystick without a gamepad mapping leaves the boat to the keyboard.
        return isGamepad ? GamepadEventOutcome{true, "controller connected\n"} : GamepadEventOutcome{false, ""};
    }
    if (event == GLFW_DISCONNECTED)
    {
        return {false, connected ? "controller disconnected\n" : ""};
    }
    return {connected, ""};
}

void watchGamepad()
{
    gamepadConnected = glfwJoystickIsGamepad(GLFW_JOYSTICK_1) == GLFW_TRUE;
    glfwSetJoystickCallback(onJoystickEvent);
}

BoatControls gamepadControls(const GamepadState& state)
{
    const float ahead = state.axes[GamepadAxis::rightTrigger] * 0.5f + 0.5f;
    const float astern = state.axes[GamepadAxis::leftTrigger] * 0.5f + 0.5f;
    return {-state.axes[GamepadAxis::leftX], ahead - astern, state.isPressed(GamepadButton::rightBumper), false};
}

GamepadState readGamepad()
{
    GLFWgamepadstate read{};
    // Without a gamepad GLFW may not even be initialised, so it is not asked.
    if (!gamepadConnected || glfwGetGamepadState(GLFW_JOYSTICK_1, &read) != GLFW_TRUE)
    {
        return {};
    }
    GamepadState state;
    std::copy(std::begin(read.buttons), std::end(read.buttons), state.buttons.begin());
    std::copy(std::begin(read.axes), std::end(read.axes), state.axes.begin());
    return state;
}
