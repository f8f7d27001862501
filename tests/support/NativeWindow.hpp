#pragma once

#include <array>
#include <cstdint>
#include <string>

struct GLFWwindow;

// The title that the X server holds for the window (Xlib's macros stay in the .cpp).
std::string nativeWindowTitle(GLFWwindow* window);
// Puts the window above every other one.
void raiseNativeWindow(GLFWwindow* window);
// Red, green and blue of one pixel of what the window shows, from the X server.
std::array<std::uint8_t, 3> nativeWindowPixel(GLFWwindow* window, int x, int y);
