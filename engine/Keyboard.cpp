#include "engine/Keyboard.hpp"

#include <GLFW/glfw3.h>

#include <set>

namespace
{
GLFWwindow* keyboardWindow = nullptr;
KeyPressedCallback keyPressedCallback = [](std::int16_t) {};
std::set<std::int16_t> keysHeldForTesting;
}

namespace Keyboard
{
void initialise(GLFWwindow* window)
{
    keyboardWindow = window;
    glfwSetKeyCallback(window, keyCallback);
}

void keyCallback(GLFWwindow*, int key, int, int action, int)
{
    if (action == GLFW_PRESS)
    {
        // The handler may switch scenes and so replace itself while it runs.
        const KeyPressedCallback callback = keyPressedCallback;
        callback(static_cast<std::int16_t>(key));
    }
}

bool isKeyPressed(std::int16_t key)
{
    if (keysHeldForTesting.contains(key))
    {
        return true;
    }
    return keyboardWindow != nullptr && glfwGetKey(keyboardWindow, key) == GLFW_PRESS;
}

void setKeyPressedCallback(const KeyPressedCallback& callback)
{
    keyPressedCallback = callback ? callback : [](std::int16_t) {};
}

const KeyPressedCallback& getKeyPressedCallback()
{
    return keyPressedCallback;
}

void setKeyHeldForTesting(std::int16_t key, bool held)
{
    if (held)
    {
        keysHeldForTesting.insert(key);
    }
    else
    {
        keysHeldForTesting.erase(key);
    }
}

void releaseAllKeysForTesting()
{
    keysHeldForTesting.clear();
}
}
