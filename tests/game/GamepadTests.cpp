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
}
