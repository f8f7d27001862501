#include "engine/vulkan/Instance.hpp"

#include <gtest/gtest.h>

namespace
{
TEST(InstanceTest, RequiredExtensionsAreCheckedInOrderUntilOneIsMissing)
{
    const std::vector<std::string> supported{"VK_KHR_surface", "VK_KHR_xlib_surface", "VK_EXT_debug_utils"};
    LogLines log;
    EXPECT_TRUE(checkRequiredExtensions(std::vector<std::string>{"VK_KHR_surface", "VK_KHR_xlib_surface"}, supported, log));
    EXPECT_EQ(log, (LogLines{{LogLevel::debug, "Extension VK_KHR_surface is supported"},
                             {LogLevel::debug, "Extension VK_KHR_xlib_surface is supported"}}));

    log.clear();
    EXPECT_FALSE(checkRequiredExtensions(
        std::vector<std::string>{"VK_KHR_surface", "VK_KHR_wayland_surface", "VK_KHR_missing"}, supported, log));
    EXPECT_EQ(log, (LogLines{{LogLevel::debug, "Extension VK_KHR_surface is supported"},
                             {LogLevel::error, "Extension VK_KHR_wayland_surface is not supported"}}));

    // Equal names only: a prefix is not the extension.
    log.clear();
    EXPECT_FALSE(checkRequiredExtensions(std::vector<std::string>{"VK_KHR_surf"}, supported, log));
}

TEST(InstanceTest, NoListFromGlfwMeansTheLoaderCannotMakeSurfaces)
{
    LogLines log;
    EXPECT_FALSE(checkRequiredExtensions(std::nullopt, {"VK_KHR_surface"}, log));
    EXPECT_EQ(log, (LogLines{{LogLevel::error, "Extension VK_KHR_surface is not supported"}}));
    log.clear();
    EXPECT_TRUE(checkRequiredExtensions(std::vector<std::string>{}, {}, log));
    EXPECT_TRUE(log.empty());
}
}
