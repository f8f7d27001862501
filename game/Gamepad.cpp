#include "game/Gamepad.hpp"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include <cstdio>

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

BoatControls gamepadControls(const GLFWgamepadstate& state)
{
    const float ahead = state.axes[GLFW_GAMEPAD_AXIS_RIGHT_TRIGGER] * 0.5f + 0.5f;
    const float astern = state.axes[GLFW_GAMEPAD_AXIS_LEFT_TRIGGER] * 0.5f + 0.5f;
    return {-state.axes[GLFW_GAMEPAD_AXIS_LEFT_X], ahead - astern,
            state.buttons[GLFW_GAMEPAD_BUTTON_RIGHT_BUMPER] == GLFW_PRESS,
            state.buttons[GLFW_GAMEPAD_BUTTON_A] == GLFW_PRESS};
}

BoatControls readGamepadControls()
{
    GLFWgamepadstate state{};
    // Without a gamepad GLFW may not even be initialised, so it is not asked.
    if (!gamepadConnected || glfwGetGamepadState(GLFW_JOYSTICK_1, &state) != GLFW_TRUE)
    {
        return {};
    }
    return gamepadControls(state);
}
