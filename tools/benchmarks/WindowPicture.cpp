#include "tools/benchmarks/WindowPicture.hpp"

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
    return mask == 0 ? 0 : static_cast<std::uint8_t>((pixel & mask) >> std::countr_zero(mask));
}
}

std::optional<ImageData<std::uint32_t>> windowPicture(GLFWwindow* window, int x, int y, VkExtent2D extent)
{
    Display* display = glfwGetX11Display();
    XSync(display, False);
    XImage* image =
        XGetImage(display, glfwGetX11Window(window), x, y, extent.width, extent.height, AllPlanes, ZPixmap);
    if (image == nullptr)
    {
        return std::nullopt;
    }
    ImageData<std::uint32_t> picture(extent.width, extent.height);
    auto* bytes = reinterpret_cast<std::uint8_t*>(picture.pixels.data());
    for (std::uint32_t row = 0; row < extent.height; ++row)
    {
        for (std::uint32_t column = 0; column < extent.width; ++column)
        {
            const unsigned long pixel = XGetPixel(image, static_cast<int>(column), static_cast<int>(row));
            std::uint8_t* rgba = bytes + (static_cast<std::size_t>(row) * extent.width + column) * 4;
            rgba[0] = channel(pixel, image->red_mask);
            rgba[1] = channel(pixel, image->green_mask);
            rgba[2] = channel(pixel, image->blue_mask);
            rgba[3] = 0xFF;
        }
    }
    XDestroyImage(image);
    return picture;
}
