#include "support/NativeWindow.hpp"

#include "tools/benchmarks/WindowPicture.hpp"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>
#define GLFW_EXPOSE_NATIVE_X11
#include <GLFW/glfw3native.h>

#include <bit>
#include <optional>

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
    const std::optional<ImageData<std::uint32_t>> picture = windowPicture(window, x, y, {1, 1});
    if (!picture)
    {
        return {0, 0, 0};
    }
    const auto rgba = std::bit_cast<std::array<std::uint8_t, 4>>(picture->pixels[0]);
    return {rgba[0], rgba[1], rgba[2]};
}
