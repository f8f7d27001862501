#include "game/Gamepad.hpp"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

namespace
{
TEST(GamepadTest, JoystickOneAloneDecidesWhetherTheGamepadIsRead)
{
    const GamepadEventOutcome unchangedOff{false, ""};
    const GamepadEventOutcome unchangedOn{true, ""};

    EXPECT_EQ(gamepadAfterJoystickEvent(GLFW_JOYSTICK_1, GLFW_CONNECTED, true, false),
              (GamepadEventOutcome{true, "controller connected\n"}));
    EXPECT_EQ(gamepadAfterJoystickEvent(GLFW_JOYSTICK_1, GLFW_DISCONNECTED, false, true),
              (GamepadEventOutcome{false, "controller disconnected\n"}));

    // A second pad comes and goes: the first one keeps driving.
    EXPECT_EQ(gamepadAfterJoystickEvent(GLFW_JOYSTICK_2, GLFW_CONNECTED, true, true), unchangedOn);
    EXPECT_EQ(gamepadAfterJoystickEvent(GLFW_JOYSTICK_2, GLFW_DISCONNECTED, false, true), unchangedOn);
    EXPECT_EQ(gamepadAfterJoystickEvent(GLFW_JOYSTICK_LAST, GLFW_DISCONNECTED, false, true), unchangedOn);

    // A joystick without a gamepad mapping in slot 1, and a pad in slot 2:
    // nothing that is read is a gamepad, so the keyboard drives.
    EXPECT_EQ(gamepadAfterJoystickEvent(GLFW_JOYSTICK_1, GLFW_CONNECTED, false, false), unchangedOff);
    EXPECT_EQ(gamepadAfterJoystickEvent(GLFW_JOYSTICK_2, GLFW_CONNECTED, true, false), unchangedOff);
    // Its unplugging says nothing about a controller that was never in use.
    EXPECT_EQ(gamepadAfterJoystickEvent(GLFW_JOYSTICK_1, GLFW_DISCONNECTED, false, false), unchangedOff);

    // Codes that are no connection event change nothing.
    EXPECT_EQ(gamepadAfterJoystickEvent(GLFW_JOYSTICK_1, 0, true, true), unchangedOn);
    EXPECT_EQ(gamepadAfterJoystickEvent(GLFW_JOYSTICK_1, 0, true, false), unchangedOff);
}

TEST(GamepadTest, TheStickSteersTheTriggersDriveAndWithoutAGamepadNothingMoves)
{
    GamepadState state;
    state.axes[GamepadAxis::leftX] = 0.5f;
    // Released triggers read -1: no thrust either way.
    state.axes[GamepadAxis::leftTrigger] = -1.0f;
    state.axes[GamepadAxis::rightTrigger] = -1.0f;
    EXPECT_EQ(gamepadControls(state), (BoatControls{-0.5f, 0.0f, false, false}));

    // The right trigger full, the left half way: half ahead. A is the race's to read.
    state.axes[GamepadAxis::rightTrigger] = 1.0f;
    state.axes[GamepadAxis::leftTrigger] = 0.0f;
    state.buttons[GamepadButton::rightBumper] = GLFW_PRESS;
    state.buttons[GamepadButton::a] = GLFW_PRESS;
    EXPECT_EQ(gamepadControls(state), (BoatControls{-0.5f, 0.5f, true, false}));
    EXPECT_TRUE(state.isPressed(GamepadButton::a));

    // GLFW is not even asked without a gamepad.
    gamepadConnected = false;
    const GamepadState none = readGamepad();
    EXPECT_EQ(none.buttons, GamepadState{}.buttons);
    EXPECT_EQ(none.axes, GamepadState{}.axes);
}
}
