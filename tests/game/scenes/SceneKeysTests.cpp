#include "engine/Keyboard.hpp"
#include "engine/SceneManager.hpp"
#include "game/race/RaceResult.hpp"
#include "game/scenes/MainMenuScene.hpp"
#include "game/scenes/SceneKeys.hpp"
#include "game/scenes/TrophyScene.hpp"
#include "support/ErrorFlagTest.hpp"

#include <GLFW/glfw3.h>

namespace
{
// Stands at an index of the manager; records nothing, needs no device.
struct StandInScene : Scene
{
    StandInScene(GraphicsSystem*, SceneManager*) {}
    void load() override {}
    void initialise() override {}
    void update() override {}
    void render() override {}
    void unload() override {}
};

// Scenes 0, 1 and 2 as stand-ins, so the key handlers' switches land
// somewhere that can be told apart.
class SceneKeysTest : public ErrorFlagTest
{
protected:
    void SetUp() override
    {
        ErrorFlagTest::SetUp();
        manager.addScene<StandInScene>();
        manager.addScene<StandInScene>();
        manager.addScene<StandInScene>();
        manager.setScene(raceSceneIndex);
        raceStandIn = manager.getActiveScene();
        manager.setScene(trophySceneIndex);
        trophyStandIn = manager.getActiveScene();
        manager.setScene(menuSceneIndex);
        menuStandIn = manager.getActiveScene();
        lastRacePlace = 0;
    }

    void TearDown() override
    {
        Keyboard::setKeyPressedCallback({});
        lastRacePlace = 0;
        ErrorFlagTest::TearDown();
    }

    static void press(std::int16_t key) { Keyboard::getKeyPressedCallback()(key); }

    SceneManager manager{nullptr};
    Scene* menuStandIn = nullptr;
    Scene* raceStandIn = nullptr;
    Scene* trophyStandIn = nullptr;
};

TEST_F(SceneKeysTest, MenuKeysStartTheRaceOpenTheTrophyWithAPlaceOrDoNothing)
{
    MainMenuScene menu(nullptr, &manager);
    const auto backToMenu = [&] {
        manager.setScene(menuSceneIndex);
        menu.initialise();
    };

    for (const std::int16_t key : {GLFW_KEY_ENTER, GLFW_KEY_KP_ENTER})
    {
        backToMenu();
        press(key);
        EXPECT_EQ(manager.getActiveScene(), raceStandIn) << key;
    }
    for (std::int32_t place = 1; place <= 6; ++place)
    {
        backToMenu();
        press(static_cast<std::int16_t>(GLFW_KEY_KP_0 + place));
        EXPECT_EQ(lastRacePlace, place);
        EXPECT_EQ(manager.getActiveScene(), trophyStandIn) << place;
    }

    backToMenu();
    lastRacePlace = 0;
    for (const std::int16_t key : {GLFW_KEY_A, GLFW_KEY_Z, GLFW_KEY_1, GLFW_KEY_6, GLFW_KEY_F2, GLFW_KEY_KP_0,
                                   GLFW_KEY_KP_7, GLFW_KEY_SPACE})
    {
        press(key);
        EXPECT_EQ(manager.getActiveScene(), menuStandIn) << key;
        EXPECT_EQ(lastRacePlace, 0) << key;
        EXPECT_FALSE(menu.isFpsTextVisible()) << key;
    }
    press(GLFW_KEY_F1);
    EXPECT_TRUE(menu.isFpsTextVisible());
    // Not loaded: the once-per-second refresh must not reach for the text mesh.
    menu.refreshFpsText();
    press(GLFW_KEY_F1);
    EXPECT_FALSE(menu.isFpsTextVisible());
    EXPECT_EQ(menuKeyCommand(GLFW_KEY_ESCAPE), MenuKeyCommand{MenuKeyAction::closeWindow});
    EXPECT_FALSE(hasErrors());
}

TEST_F(SceneKeysTest, TrackKeysToggleTheDebugTextSwallowF2AndPassTheRestToTheTrophy)
{
    EXPECT_EQ(trackKeyAction(GLFW_KEY_ESCAPE), TrackKeyAction::closeWindow);
    EXPECT_EQ(trackKeyAction(GLFW_KEY_F2), TrackKeyAction::swallow);
    EXPECT_EQ(trophyKeyAction(GLFW_KEY_KP_ENTER), TrophyKeyAction::none);
    EXPECT_EQ(trophyKeyAction(GLFW_KEY_F8), TrophyKeyAction::previousRenderMode);
    EXPECT_EQ(trophyKeyAction(GLFW_KEY_F11), TrophyKeyAction::nextColourGradingMode);

    manager.setScene(trophySceneIndex);
    TrophyScene trophy(nullptr, &manager);
    trophy.initialise();
    press(GLFW_KEY_F1);
    EXPECT_TRUE(trophy.isDebugTextVisible());
    trophy.refreshFpsText();
    // Nothing was loaded: the debug modes and the frame have no renderer to reach.
    for (const std::int16_t key : {GLFW_KEY_F2, GLFW_KEY_F8, GLFW_KEY_F9, GLFW_KEY_F10, GLFW_KEY_F11, GLFW_KEY_KP_ENTER})
    {
        press(key);
        EXPECT_EQ(manager.getActiveScene(), trophyStandIn) << key;
    }
    trophy.update();
    trophy.render();
    press(GLFW_KEY_F1);
    EXPECT_FALSE(trophy.isDebugTextVisible());
    press(GLFW_KEY_ENTER);
    EXPECT_EQ(manager.getActiveScene(), raceStandIn);
    EXPECT_FALSE(hasErrors());
}
}
