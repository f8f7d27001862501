#pragma once

#include <cstdint>
#include <functional>

struct GLFWwindow;

using KeyPressedCallback = std::function<void(std::int16_t key)>;

// Process-wide keyboard state over the one window; presses go to one handler
// that the active scene installs.
namespace Keyboard
{
void initialise(GLFWwindow* window);
void keyCallback(GLFWwindow* window, int key, int scanCode, int action, int modifiers);
bool isKeyPressed(std::int16_t key);
void setKeyPressedCallback(const KeyPressedCallback& callback);
const KeyPressedCallback& getKeyPressedCallback();

// Lets tests hold keys down without a window or an X server.
void setKeyHeldForTesting(std::int16_t key, bool held);
void releaseAllKeysForTesting();
}
