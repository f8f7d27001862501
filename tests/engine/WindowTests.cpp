#include "engine/FileIo.hpp"
#include "engine/Keyboard.hpp"
#include "engine/Log.hpp"
#include "engine/Mouse.hpp"
#include "engine/Settings.hpp"
#include "engine/Window.hpp"
#include "support/ErrorFlagTest.hpp"
#include "support/NativeWindow.hpp"
#include "support/StdoutCapture.hpp"
#include "support/TemporaryFolder.hpp"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>
#include <fmt/format.h>
#include <gtest/gtest.h>

#include <vector>

namespace
{
class WindowTest : public ErrorFlagTest
{
protected:
    void SetUp() override
    {
        ErrorFlagTest::SetUp();
        Settings::resetForTesting();
    }

    void TearDown() override
    {
        destroyWindow(window);
        Keyboard::setKeyPressedCallback({});
        Mouse::setButtonPressedCallback({});
        Settings::resetForTesting();
        ErrorFlagTest::TearDown();
    }

    TemporaryFolder folder;
    GLFWwindow* window = nullptr;
};

// The version line is pinned by the graphics system's bring-up.
TEST_F(WindowTest, FirstStartWritesTheMonitorsSizeAndOpensTheGamesWindow)
{
    StdoutCapture capture;
    ASSERT_TRUE(createWindow(window));
    EXPECT_EQ(capture.messages().size(), 1u);
    const GLFWvidmode* mode = glfwGetVideoMode(glfwGetPrimaryMonitor());
    ASSERT_NE(mode, nullptr);
    EXPECT_EQ(readFile("Settings.txt"), fmt::format("Window-Width: {}\nWindow-Height: {}\nFullscreen: true\n"
                                                    "PreferredPresentMode: FIFO\n",
                                                    mode->width, mode->height));
    EXPECT_EQ(nativeWindowTitle(window), "Kelvane");
    EXPECT_EQ(glfwGetWindowMonitor(window), glfwGetPrimaryMonitor());
    EXPECT_FALSE(hasErrors());
}

TEST_F(WindowTest, WindowedModeUsesTheSettingsAndCannotBeResized)
{
    ASSERT_TRUE(writeFile("Settings.txt", "Window-Width: 320\nWindow-Height: 200\nFullscreen: false\n", false));
    ASSERT_TRUE(createWindow(window));
    EXPECT_EQ(glfwGetWindowMonitor(window), nullptr);
    EXPECT_EQ(glfwGetWindowAttrib(window, GLFW_RESIZABLE), GLFW_FALSE);
    int width = 0;
    int height = 0;
    glfwGetWindowSize(window, &width, &height);
    EXPECT_EQ(width, 320);
    EXPECT_EQ(height, 200);
    EXPECT_EQ(readFile("Settings.txt"), "Window-Width: 320\nWindow-Height: 200\nFullscreen: false\n");
}

TEST_F(WindowTest, GlfwCallbacksReachTheHandlersOnPressOnlyAndGlfwErrorsAreLogged)
{
    ASSERT_TRUE(writeFile("Settings.txt", "Fullscreen: false\nWindow-Width: 64\nWindow-Height: 64\n", false));
    ASSERT_TRUE(createWindow(window));

    // The entry points that GLFW calls for this window.
    const GLFWkeyfun keyEntry = glfwSetKeyCallback(window, nullptr);
    const GLFWmousebuttonfun buttonEntry = glfwSetMouseButtonCallback(window, nullptr);

    std::vector<int> keys;
    std::vector<int> buttons;
    Keyboard::setKeyPressedCallback([&](std::int16_t key) { keys.push_back(key); });
    Mouse::setButtonPressedCallback([&](std::uint8_t button) { buttons.push_back(button); });
    keyEntry(window, GLFW_KEY_W, 25, GLFW_PRESS, 0);
    keyEntry(window, GLFW_KEY_W, 25, GLFW_REPEAT, 0);
    keyEntry(window, GLFW_KEY_W, 25, GLFW_RELEASE, 0);
    keyEntry(window, GLFW_KEY_ESCAPE, 9, GLFW_PRESS, GLFW_MOD_SHIFT);
    buttonEntry(window, GLFW_MOUSE_BUTTON_RIGHT, GLFW_PRESS, 0);
    buttonEntry(window, GLFW_MOUSE_BUTTON_RIGHT, GLFW_RELEASE, 0);
    EXPECT_EQ(keys, (std::vector<int>{GLFW_KEY_W, GLFW_KEY_ESCAPE}));
    EXPECT_EQ(buttons, (std::vector<int>{GLFW_MOUSE_BUTTON_RIGHT}));

    Keyboard::setKeyPressedCallback({});
    keyEntry(window, GLFW_KEY_W, 25, GLFW_PRESS, 0);
    EXPECT_EQ(keys.size(), 2u);

    EXPECT_FALSE(hasErrors());

    StdoutCapture capture;
    glfwSetInputMode(window, GLFW_CURSOR, 12345);
    ASSERT_FALSE(capture.lines().empty());
    EXPECT_EQ(capture.messages()[0].rfind("ERROR: ", 0), 0u);
    EXPECT_TRUE(hasErrors());
}
}
