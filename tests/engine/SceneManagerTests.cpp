#include "engine/Keyboard.hpp"
#include "engine/Log.hpp"
#include "engine/Mouse.hpp"
#include "engine/SceneManager.hpp"
#include "support/StdoutCapture.hpp"

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
using Events = std::vector<std::string>;
// What the scenes did, in order, as "<name>.<operation>".
Events events;
// Operations ("<name>.<operation>") that log an error when they run.
Events failing;

class RecordingScene : public Scene
{
public:
    explicit RecordingScene(std::string name) : name(std::move(name)) { events.push_back(this->name + ".construct"); }
    ~RecordingScene() override { events.push_back(name + ".delete"); }

    void load() override { run("load"); }
    void initialise() override
    {
        Keyboard::setKeyPressedCallback([this](std::int16_t key) { events.push_back(name + ".key" + std::to_string(key)); });
        Mouse::setCursorMode(GLFW_CURSOR_HIDDEN);
        run("initialise");
    }
    void update() override { run("update"); }
    void render() override { run("render"); }
    void unload() override { run("unload"); }

private:
    void run(const std::string& operation)
    {
        events.push_back(name + "." + operation);
        if (std::find(failing.begin(), failing.end(), events.back()) != failing.end())
        {
            logError(events.back() + " failed");
        }
    }

    std::string name;
};

struct MenuScene : RecordingScene
{
    MenuScene(GraphicsSystem*, SceneManager*) : RecordingScene("menu") {}
};

struct RaceScene : RecordingScene
{
    RaceScene(GraphicsSystem*, SceneManager*) : RecordingScene("race") {}
};

struct BrokenScene : RecordingScene
{
    BrokenScene(GraphicsSystem*, SceneManager*) : RecordingScene("broken") { logError("no asset"); }
};

class SceneManagerTest : public ::testing::Test
{
protected:
    void SetUp() override { reset(); }
    void TearDown() override { reset(); }

    static void reset()
    {
        events.clear();
        failing.clear();
        resetErrorFlagForTesting();
        Keyboard::setKeyPressedCallback({});
        Mouse::setCursorMode(GLFW_CURSOR_NORMAL);
    }

    // The menu, active, and the race; what that took is forgotten.
    void addMenuAndRace()
    {
        manager.addScene<MenuScene>();
        manager.addScene<RaceScene>();
        events.clear();
    }

    static void pressKey(int key) { Keyboard::keyCallback(nullptr, key, 0, GLFW_PRESS, 0); }

    SceneManager manager{nullptr};
};

TEST_F(SceneManagerTest, TheFirstSceneIsActivatedBeforeTheNextIsConstructedAndEachIsLoadedOnce)
{
    manager.addScene<MenuScene>();
    manager.addScene<RaceScene>();
    manager.setScene(1);
    manager.setScene(0);
    manager.update();
    manager.render();
    EXPECT_EQ(events, (Events{"menu.construct", "menu.load", "menu.initialise", "race.construct", "race.load",
                              "race.initialise", "menu.initialise", "menu.update", "menu.render"}));
}

TEST_F(SceneManagerTest, ASwitchMadeByAKeyHandlerRunsAtOnce)
{
    addMenuAndRace();
    Keyboard::setKeyPressedCallback([&](std::int16_t) {
        manager.setScene(1);
        events.push_back("after switch");
    });
    pressKey(GLFW_KEY_ENTER);
    pressKey(GLFW_KEY_A);
    manager.render();
    EXPECT_EQ(events, (Events{"race.load", "race.initialise", "after switch", "race.key65", "race.render"}));
}

TEST_F(SceneManagerTest, AFailedInitialiseUnloadsThatSceneButNeverTheActiveOne)
{
    addMenuAndRace();
    Mouse::setCursorMode(GLFW_CURSOR_DISABLED);
    Keyboard::setKeyPressedCallback([](std::int16_t) { events.push_back("previous.key"); });
    failing = {"race.initialise"};
    StdoutCapture capture;
    manager.setScene(1);
    EXPECT_EQ(capture.messages().back(), "ERROR: Errors occurred during the initialisation of scene (index 1)");
    EXPECT_EQ(Mouse::getCursorMode(), GLFW_CURSOR_DISABLED);
    pressKey(GLFW_KEY_A);

    // The race's error does not hold against the menu, which is initialised again.
    manager.setScene(0);
    EXPECT_EQ(capture.messages().size(), 2u);
    manager.update();
    manager.unloadScenes();
    EXPECT_EQ(events, (Events{"race.load", "race.initialise", "race.unload", "previous.key", "menu.initialise",
                              "menu.update", "menu.unload", "menu.delete", "race.delete"}));
}

TEST_F(SceneManagerTest, AFailedLoadIsRefusedEachTimeItFailsAndTheSceneIsLoadedAnewLater)
{
    addMenuAndRace();
    failing = {"race.load"};
    StdoutCapture capture;
    manager.setScene(1);
    manager.setScene(1);
    manager.render();
    EXPECT_EQ(events, (Events{"race.load", "race.unload", "race.load", "race.unload", "menu.render"}));
    EXPECT_EQ(capture.messages().at(1), "ERROR: Errors occurred during the loading of scene (index 1)");

    failing.clear();
    events.clear();
    manager.setScene(1);
    manager.render();
    EXPECT_EQ(events, (Events{"race.load", "race.initialise", "race.render"}));
    EXPECT_TRUE(manager.isLoaded(1));
}

// A GLFW error or a failed upload while a scene runs is no fault of the next
// scene: the finish must still reach the trophy. A scene's own failure refuses
// that activation only.
TEST_F(SceneManagerTest, OnlyTheErrorsOfTheScenesOwnStepsRefuseASwitch)
{
    addMenuAndRace();
    failing = {"menu.update"};
    StdoutCapture capture;
    manager.update();
    ASSERT_TRUE(hasErrors());
    manager.setScene(1);
    manager.render();

    failing = {"race.initialise"};
    manager.setScene(0);
    manager.setScene(1);
    manager.render();
    failing.clear();
    manager.setScene(1);
    manager.render();
    EXPECT_EQ(events, (Events{"menu.update", "race.load", "race.initialise", "race.render", "menu.initialise",
                              "race.initialise", "race.unload", "menu.render", "race.load", "race.initialise",
                              "race.render"}));
    EXPECT_EQ(capture.messages(), (Events{"ERROR: menu.update failed", "ERROR: race.initialise failed",
                                          "ERROR: Errors occurred during the initialisation of scene (index 1)"}));
    EXPECT_TRUE(hasErrors()) << "start-up's check still sees every error";
}

TEST_F(SceneManagerTest, BadRequestsAndBrokenScenesAreRefusedWithTheirSentences)
{
    StdoutCapture capture;
    manager.setScene(0);
    manager.addScene<MenuScene>();
    resetErrorFlagForTesting();
    manager.addScene<BrokenScene>();
    manager.addScene<MenuScene>();
    manager.setScene(1);
    EXPECT_EQ(manager.getActiveScene(), nullptr);
    events.clear();
    manager.unloadScenes();
    EXPECT_EQ(events, (Events{"broken.delete"}));
    EXPECT_EQ(capture.messages(),
              (Events{"ERROR: There are no scenes.", "ERROR: Scene (index 0) has not been added due to previous errors.",
                      "ERROR: no asset", "ERROR: Scene (index 1) has not been added due to previous errors.",
                      "ERROR: Scene index 1 is out of range."}));
}
}
