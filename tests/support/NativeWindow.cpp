#include "support/NativeWindow.hpp"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>
#define GLFW_EXPOSE_NATIVE_X11
#include <GLFW/glfw3native.h>

std::string nativeWindowTitle(GLFWwindow* window)
{
    char* name = nullptr;
    XFetchName(glfwGetX11Display(), glfwGetX11Window(window), &name);
    std::string title = name != nullptr ? name : "";
    XFree(name);
    return title;
}
