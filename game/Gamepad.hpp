#pragma once

// Whether a gamepad is plugged in; the race's joystick callback keeps it, and
// the boat reads the gamepad only while it is set.
extern bool gamepadConnected;
