#include "game/Gamepad.hpp"

bool gamepadConnected = false;
