#include "support/NativeWindow.hpp"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>
#define GLFW_EXPOSE_NATIVE_X11
#include <GLFW/glfw3native.h>
#include <X11/Xutil.h>

#include <bit>

namespace
{
std::uint8_t channel(unsigned long pixel, unsigned long mask)
{
    if (mask == 0)
    {
        return 0;
    }
    return static_cast<std::uint8_t>((pixel & mask) >> std::countr_zero(mask));
}
}

std::string nativeWindowTitle(GLFWwindow* window)
{
    char* name = nullptr;
    XFetchName(glfwGetX11Display(), glfwGetX11Window(window), &name);
    std::string title = name != nullptr ? name : "";
    XFree(name);
    return title;
}

void raiseNativeWindow(GLFWwindow* window)
{
    XRaiseWindow(glfwGetX11Display(), glfwGetX11Window(window));
    XSync(glfwGetX11Display(), False);
}

std::array<std::uint8_t, 3> nativeWindowPixel(GLFWwindow* window, int x, int y)
{
    Display* display = glfwGetX11Display();
    XSync(display, False);
    XImage* image = XGetImage(display, glfwGetX11Window(window), x, y, 1, 1, AllPlanes, ZPixmap);
    if (image == nullptr)
    {
        return {0, 0, 0};
    }
    const unsigned long pixel = XGetPixel(image, 0, 0);
    const std::array<std::uint8_t, 3> colour{channel(pixel, image->red_mask), channel(pixel, image->green_mask),
                                             channel(pixel, image->blue_mask)};
    XDestroyImage(image);
    return colour;
}
