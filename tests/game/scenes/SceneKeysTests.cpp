#include "engine/Keyboard.hpp"
#include "engine/Keys.hpp"
#include "engine/SceneManager.hpp"
#include "game/race/RaceResult.hpp"
#include "game/scenes/MainMenuScene.hpp"
#include "game/scenes/SceneKeys.hpp"
#include "game/scenes/TrophyScene.hpp"
#include "support/ErrorFlagTest.hpp"

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

    for (const std::int16_t key : {Key::enter, Key::keypadEnter})
    {
        backToMenu();
        press(key);
        EXPECT_EQ(manager.getActiveScene(), raceStandIn) << key;
    }
    for (std::int32_t place = 1; place <= 6; ++place)
    {
        backToMenu();
        press(static_cast<std::int16_t>(Key::keypad0 + place));
        EXPECT_EQ(lastRacePlace, place);
        EXPECT_EQ(manager.getActiveScene(), trophyStandIn) << place;
    }

    backToMenu();
    lastRacePlace = 0;
    for (const std::int16_t key : {Key::a, Key::z, Key::digit1, Key::digit6, Key::f2, Key::keypad0,
                                   Key::keypad7, Key::space})
    {
        press(key);
        EXPECT_EQ(manager.getActiveScene(), menuStandIn) << key;
        EXPECT_EQ(lastRacePlace, 0) << key;
        EXPECT_FALSE(menu.isFpsTextVisible()) << key;
    }
    press(Key::f1);
    EXPECT_TRUE(menu.isFpsTextVisible());
    // Not loaded: the once-per-second refresh must not reach for the text mesh.
    menu.refreshFpsText();
    press(Key::f1);
    EXPECT_FALSE(menu.isFpsTextVisible());
    EXPECT_EQ(menuKeyCommand(Key::escape), MenuKeyCommand{MenuKeyAction::closeWindow});
    EXPECT_FALSE(hasErrors());
}

TEST_F(SceneKeysTest, TrackKeysToggleTheDebugTextSwallowF2AndPassTheRestToTheTrophy)
{
    EXPECT_EQ(trackKeyAction(Key::escape), TrackKeyAction::closeWindow);
    EXPECT_EQ(trackKeyAction(Key::f2), TrackKeyAction::swallow);
    EXPECT_EQ(trophyKeyAction(Key::keypadEnter), TrophyKeyAction::none);
    EXPECT_EQ(rendererViewAction(Key::f8), RendererViewAction::previousRenderMode);
    EXPECT_EQ(rendererViewAction(Key::f11), RendererViewAction::nextColourGradingMode);

    manager.setScene(trophySceneIndex);
    TrophyScene trophy(nullptr, &manager);
    trophy.initialise();
    press(Key::f1);
    EXPECT_TRUE(trophy.isDebugTextVisible());
    trophy.refreshFpsText();
    // Nothing was loaded: the debug modes and the frame have no renderer to reach.
    for (const std::int16_t key : {Key::f2, Key::f8, Key::f9, Key::f10, Key::f11, Key::keypadEnter})
    {
        press(key);
        EXPECT_EQ(manager.getActiveScene(), trophyStandIn) << key;
    }
    trophy.update();
    trophy.render();
    press(Key::f1);
    EXPECT_FALSE(trophy.isDebugTextVisible());
    press(Key::enter);
    EXPECT_EQ(manager.getActiveScene(), raceStandIn);
    EXPECT_FALSE(hasErrors());
}

// Both Enters start the countdown and R alone puts the boat back; the driving
// keys, read as held keys, and the menu's keypad digits do nothing on a press.
TEST(RaceKeysTest, EnterStartsRPutsBackAndDrivingKeysAreNoPresses)
{
    EXPECT_EQ(raceKeyAction(Key::enter), RaceKeyAction::startCountdown);
    EXPECT_EQ(raceKeyAction(Key::keypadEnter), RaceKeyAction::startCountdown);
    EXPECT_EQ(raceKeyAction(Key::r), RaceKeyAction::resetBoat);
    EXPECT_EQ(raceKeyAction(Key::p), RaceKeyAction::showTrophy);
    for (const std::int16_t key : {Key::w, Key::a, Key::s, Key::d, Key::leftShift, Key::i, Key::k, Key::keypad1,
                                   Key::f5, Key::space})
    {
        EXPECT_EQ(raceKeyAction(key), RaceKeyAction::none) << key;
    }
}
}
