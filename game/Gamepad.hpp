#pragma once

#include "engine/GamepadState.hpp"
#include "game/physics/BoatControls.hpp"

#include <string>

// Whether joystick 1, the only one the boat reads, is a gamepad. The race
// reads it when it loads and its joystick callback keeps it.
extern bool gamepadConnected;

// The flag after a joystick event, and the line printed for it (empty for none).
struct GamepadEventOutcome
{
    bool connected;
    std::string line;

    bool operator==(const GamepadEventOutcome&) const = default;
};

// The event of a GLFW joystick id and event code, where isGamepad tells whether
// the joystick has a gamepad mapping; connected is the flag before the event.
// Joysticks other than joystick 1 change nothing: they are never read.
GamepadEventOutcome gamepadAfterJoystickEvent(int joystick, int event, bool isGamepad, bool connected);

// Reads joystick 1 now, because GLFW reports only the connections made later,
// and follows it from then on through the joystick callback. GLFW must be up.
void watchGamepad();

// The boat's controls of a gamepad's state: the left stick steers, the right
// trigger drives ahead and the left one astern (each from [-1, 1] to [0, 1]),
// the right bumper slides. A, which puts the boat back (or starts the
// countdown while the race waits), is the race's to read from the state.
BoatControls gamepadControls(const GamepadState& state);
// Joystick 1's state while gamepadConnected says it is a gamepad; all zero
// otherwise, or when it cannot be read.
GamepadState readGamepad();
