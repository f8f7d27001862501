#pragma once

#include <glm/vec2.hpp>

struct GLFWwindow;

// The window's content scale (dots per inch over 96), read when it is made.
extern glm::vec2 windowContentScale;

// GLFW, "Settings.txt", the window, keyboard and mouse; false on failure.
bool createWindow(GLFWwindow*& window);
void destroyWindow(GLFWwindow*& window);
void pollWindowEvents();
bool windowShouldClose(GLFWwindow*& window);
void requestWindowClose(GLFWwindow*& window);
// Stores the frame buffer's size as the settings' window size.
void updateFramebufferSize(GLFWwindow*& window);
void handleGlfwError(int code, const char* description);
