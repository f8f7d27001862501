#pragma once

#include <string>

struct GLFWwindow;

// The title that the X server holds for the window (Xlib's macros stay in the .cpp).
std::string nativeWindowTitle(GLFWwindow* window);
