#include "engine/Keyboard.hpp"
#include "engine/Log.hpp"
#include "engine/Mouse.hpp"
#include "engine/SceneManager.hpp"
#include "engine/Timer.hpp"
#include "support/StdoutCapture.hpp"

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
// What the scenes did, in order, as "<name>.<operation>".
std::vector<std::string> events;
// Operations ("<name>.<operation>") that log an error when they run.
std::vector<std::string> failing;

class RecordingScene : public Scene
{
public:
    explicit RecordingScene(std::string name, SceneManager* manager) : name(std::move(name)), manager(manager)
    {
        events.push_back(this->name + ".construct");
    }
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

protected:
    void run(const std::string& operation)
    {
        const std::string event = name + "." + operation;
        events.push_back(event);
        if (std::find(failing.begin(), failing.end(), event) != failing.end())
        {
            logError(event + " failed");
        }
    }

    std::string name;
    SceneManager* manager;
};

class MenuScene : public RecordingScene
{
public:
    MenuScene(GraphicsSystem*, SceneManager* manager) : RecordingScene("menu", manager) {}
};

class RaceScene : public RecordingScene
{
public:
    RaceScene(GraphicsSystem*, SceneManager* manager) : RecordingScene("race", manager) {}
};

class BrokenScene : public RecordingScene
{
public:
    BrokenScene(GraphicsSystem*, SceneManager* manager) : RecordingScene("broken", manager) { logError("no asset"); }
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

    static void pressKey(int key) { Keyboard::keyCallback(nullptr, key, 0, GLFW_PRESS, 0); }
};

TEST_F(SceneManagerTest, TheFirstSceneIsActivatedBeforeTheNextIsConstructed)
{
    SceneManager manager(nullptr);
    manager.addScene<MenuScene>();
    manager.addScene<RaceScene>();
    EXPECT_EQ(events, (std::vector<std::string>{"menu.construct", "menu.load", "menu.initialise", "race.construct"}));
    EXPECT_TRUE(manager.isLoaded(0));
    EXPECT_FALSE(manager.isLoaded(1));
}

TEST_F(SceneManagerTest, SwitchingBackAndForthLoadsEachSceneOnceAndNeverUnloadsTheOneLeft)
{
    SceneManager manager(nullptr);
    manager.addScene<MenuScene>();
    manager.addScene<RaceScene>();
    events.clear();
    manager.setScene(1);
    manager.setScene(0);
    manager.update();
    manager.render();
    EXPECT_EQ(events, (std::vector<std::string>{"race.load", "race.initialise", "menu.initialise", "menu.update",
                                                "menu.render"}));
}

TEST_F(SceneManagerTest, ASwitchMadeByAKeyHandlerRunsAtOnce)
{
    SceneManager manager(nullptr);
    manager.addScene<MenuScene>();
    manager.addScene<RaceScene>();
    Keyboard::setKeyPressedCallback([&](std::int16_t) {
        manager.setScene(1);
        events.push_back("after switch");
    });
    events.clear();
    pressKey(GLFW_KEY_ENTER);
    pressKey(GLFW_KEY_A);
    manager.render();
    EXPECT_EQ(events, (std::vector<std::string>{"race.load", "race.initialise", "after switch",
                                                "race.key65", "race.render"}));
}

TEST_F(SceneManagerTest, AFailedInitialiseUnloadsThatSceneAndKeepsThePreviousInputInCharge)
{
    SceneManager manager(nullptr);
    manager.addScene<MenuScene>();
    manager.addScene<RaceScene>();
    Mouse::setCursorMode(GLFW_CURSOR_DISABLED);
    Keyboard::setKeyPressedCallback([](std::int16_t) { events.push_back("previous.key"); });
    failing = {"race.initialise"};
    events.clear();
    StdoutCapture capture;
    manager.setScene(1);

    EXPECT_EQ(events, (std::vector<std::string>{"race.load", "race.initialise", "race.unload"}));
    EXPECT_EQ(withoutTimestamp(capture.lines().back()),
              "ERROR: Errors occurred during the initialisation of scene (index 1)");
    EXPECT_FALSE(manager.isLoaded(1));
    EXPECT_EQ(Mouse::getCursorMode(), GLFW_CURSOR_DISABLED);
    pressKey(GLFW_KEY_A);
    EXPECT_EQ(events.back(), "previous.key");

    events.clear();
    manager.update();
    manager.unloadScenes();
    EXPECT_EQ(events, (std::vector<std::string>{"menu.update", "menu.unload", "menu.delete", "race.delete"}));
}

TEST_F(SceneManagerTest, AfterAnyErrorEverySwitchFailsAndTheSceneIsLoadedAnewLater)
{
    SceneManager manager(nullptr);
    manager.addScene<MenuScene>();
    manager.addScene<RaceScene>();
    failing = {"race.load"};
    events.clear();
    StdoutCapture capture;
    manager.setScene(1);
    manager.setScene(1);
    const std::vector<std::string> lines = capture.lines();

    EXPECT_EQ(events, (std::vector<std::string>{"race.load", "race.unload", "race.load", "race.unload"}));
    EXPECT_EQ(withoutTimestamp(lines.at(1)), "ERROR: Errors occurred during the loading of scene (index 1)");
    events.clear();
    manager.render();
    EXPECT_EQ(events, (std::vector<std::string>{"menu.render"}));
}

TEST_F(SceneManagerTest, ReactivatingTheActiveSceneWithAnErrorNeverUnloadsIt)
{
    SceneManager manager(nullptr);
    manager.addScene<MenuScene>();
    failing = {"menu.initialise"};
    events.clear();
    manager.setScene(0);
    EXPECT_EQ(events, (std::vector<std::string>{"menu.initialise"}));
    EXPECT_TRUE(manager.isLoaded(0));
    events.clear();
    manager.render();
    EXPECT_EQ(events, (std::vector<std::string>{"menu.render"}));
}

TEST_F(SceneManagerTest, BadRequestsAreRefusedWithTheirSentences)
{
    StdoutCapture capture;
    {
        SceneManager manager(nullptr);
        manager.setScene(0);
        manager.addScene<MenuScene>();
        resetErrorFlagForTesting();
        manager.addScene<MenuScene>();
        manager.setScene(1);
    }
    const std::vector<std::string> lines = capture.lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(withoutTimestamp(lines[0]), "ERROR: There are no scenes.");
    EXPECT_EQ(withoutTimestamp(lines[1]), "ERROR: Scene (index 0) has not been added due to previous errors.");
    EXPECT_EQ(withoutTimestamp(lines[2]), "ERROR: Scene index 1 is out of range.");
}

TEST_F(SceneManagerTest, ASceneWhoseConstructorFailsIsKeptButNotActivated)
{
    SceneManager manager(nullptr);
    StdoutCapture capture;
    manager.addScene<BrokenScene>();
    manager.addScene<MenuScene>();
    EXPECT_EQ(manager.getActiveScene(), nullptr);
    EXPECT_EQ(withoutTimestamp(capture.lines().back()),
              "ERROR: Scene (index 1) has not been added due to previous errors.");
    events.clear();
    manager.unloadScenes();
    EXPECT_EQ(events, (std::vector<std::string>{"broken.delete"}));
}
}
