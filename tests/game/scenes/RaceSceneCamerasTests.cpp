#include "engine/Keyboard.hpp"
#include "engine/Keys.hpp"
#include "game/scenes/RaceScene.hpp"

#include <gtest/gtest.h>

namespace
{
// The free camera's keys, in the order in which the race scene passes them.
glm::vec3 freeCameraAxis()
{
    return RaceScene::keyAxis(Key::i, Key::k, Key::j, Key::l, Key::u, Key::o);
}

TEST(RaceSceneKeyAxisTest, HeldKeysFlyTheFreeCameraAndOppositeKeysCancel)
{
    Keyboard::releaseAllKeysForTesting();
    EXPECT_EQ(freeCameraAxis(), glm::vec3(0.0f));
    Keyboard::setKeyHeldForTesting(Key::i, true);
    Keyboard::setKeyHeldForTesting(Key::l, true);
    Keyboard::setKeyHeldForTesting(Key::u, true);
    EXPECT_EQ(freeCameraAxis(), glm::vec3(1.0f, 1.0f, -1.0f));
    Keyboard::setKeyHeldForTesting(Key::k, true);
    Keyboard::setKeyHeldForTesting(Key::j, true);
    Keyboard::setKeyHeldForTesting(Key::o, true);
    EXPECT_EQ(freeCameraAxis(), glm::vec3(0.0f));
    Keyboard::releaseAllKeysForTesting();
    Keyboard::setKeyHeldForTesting(Key::k, true);
    Keyboard::setKeyHeldForTesting(Key::j, true);
    Keyboard::setKeyHeldForTesting(Key::o, true);
    EXPECT_EQ(freeCameraAxis(), glm::vec3(-1.0f, -1.0f, 1.0f));
    Keyboard::releaseAllKeysForTesting();
}
}
