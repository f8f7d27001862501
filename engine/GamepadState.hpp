#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// A gamepad's state as GLFW reads it, buttons and axes in GLFW's order, so
// that its readers need no GLFW. A released trigger reads -1, a pressed one 1.
struct GamepadState
{
    static constexpr std::uint8_t pressed = 1;

    std::array<std::uint8_t, 15> buttons{};
    std::array<float, 6> axes{};

    bool isPressed(std::size_t button) const { return buttons[button] == pressed; }
};

// GLFW's indices of the buttons and axes that the game reads.
namespace GamepadButton
{
inline constexpr std::size_t a = 0;
inline constexpr std::size_t rightBumper = 5;
}

namespace GamepadAxis
{
inline constexpr std::size_t leftX = 0;
inline constexpr std::size_t leftTrigger = 4;
inline constexpr std::size_t rightTrigger = 5;
}
