#include "engine/ClearScene.hpp"
#include "engine/Keyboard.hpp"
#include "engine/Keys.hpp"
#include "engine/SceneManager.hpp"
#include "engine/Timer.hpp"
#include "game/Gamepad.hpp"
#include "game/assets/AssetPaths.hpp"
#include "game/physics/Boat.hpp"
#include "game/physics/LapTracker.hpp"
#include "game/race/Autopilot.hpp"
#include "game/race/HeadlessRace.hpp"
#include "game/race/RacePhysics.hpp"
#include "game/race/RaceResult.hpp"
#include "game/race/TrackLayout.hpp"
#include "game/scenes/RaceScene.hpp"
#include "game/scenes/SceneKeys.hpp"
#include "game/scenes/TrophyScene.hpp"
#include "gpu/GpuHarness.hpp"
#include "support/StdoutCapture.hpp"
#include "support/TemporaryFolder.hpp"
#include "tools/assets/Ghosts.hpp"

#include <BulletDynamics/Vehicle/btRaycastVehicle.h>
#include <btBulletDynamicsCommon.h>
#include <fmt/format.h>
#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

namespace
{
namespace fs = std::filesystem;

constexpr float frameTime = 1.0f / 60.0f;

// The race in a working folder whose Assets/ are the build's, all but the
// folder where the finish saves the player's ghost, which is the test's own.
class RaceSceneGpuTest : public GpuTest
{
protected:
    void SetUp() override
    {
        GpuTest::SetUp();
        linkAssets();
        Timer::resetForTesting();
        Keyboard::releaseAllKeysForTesting();
        lastRacePlace = 0;
    }

    void TearDown() override
    {
        system.waitIdle();
        if (scenes)
        {
            scenes->unloadScenes();
        }
        Keyboard::releaseAllKeysForTesting();
        Keyboard::setKeyPressedCallback({});
        gamepadConnected = false;
        lastRacePlace = 0;
        Timer::resetForTesting();
        GpuTest::TearDown();
    }

    static void linkAssets()
    {
        const fs::path built(KELVANE_ASSETS_DIR);
        fs::create_directories("Assets/ZavikDemoScene");
        for (const fs::directory_entry& entry : fs::directory_iterator(built))
        {
            if (entry.path().filename() != "ZavikDemoScene")
            {
                fs::create_directory_symlink(entry.path(), fs::path("Assets") / entry.path().filename());
            }
        }
        for (const fs::directory_entry& entry : fs::directory_iterator(built / "ZavikDemoScene"))
        {
            fs::create_directory_symlink(entry.path(), fs::path("Assets/ZavikDemoScene") / entry.path().filename());
        }
    }

    // The game's three scenes as main adds them, a cheap one standing in for the menu.
    RaceScene& loadRace()
    {
        scenes = std::make_unique<SceneManager>(&system);
        scenes->addScene<ClearScene>();
        scenes->addScene<RaceScene>();
        scenes->addScene<TrophyScene>();
        {
            StdoutCapture quiet;
            scenes->setScene(raceSceneIndex);
        }
        race = dynamic_cast<RaceScene*>(scenes->getActiveScene());
        EXPECT_NE(race, nullptr);
        return *race;
    }

    static void press(std::int16_t key)
    {
        Keyboard::getKeyPressedCallback()(key);
    }

    void frame(bool draw)
    {
        Timer::tickBy(frameTime);
        scenes->update();
        if (draw)
        {
            scenes->render();
        }
    }

    static glm::vec3 instancePosition(const ModelCollection& models, std::uint32_t model, std::uint32_t instance)
    {
        return glm::vec3(models.instanceData.at(model).at(instance).model[3]);
    }

    TemporaryFolder folder;
    std::unique_ptr<SceneManager> scenes;
    RaceScene* race = nullptr;
};

// The folder's tree, its files linked, so that one of them can be taken away.
void linkFilesOf(const fs::path& from, const fs::path& to)
{
    fs::create_directories(to);
    for (const fs::directory_entry& entry : fs::directory_iterator(from))
    {
        if (entry.is_directory())
        {
            linkFilesOf(entry.path(), to / entry.path().filename());
        }
        else
        {
            fs::create_symlink(entry.path(), to / entry.path().filename());
        }
    }
}

void expectNear(const glm::vec3& actual, const glm::vec3& expected, float tolerance)
{
    EXPECT_LE(glm::length(actual - expected), tolerance)
        << "(" << actual.x << ", " << actual.y << ", " << actual.z << ")";
}

std::string describePose(const btTransform& pose)
{
    const btVector3& origin = pose.getOrigin();
    const btQuaternion rotation = pose.getRotation();
    return fmt::format("at ({} {} {}) turned ({} {} {} {})", origin.x(), origin.y(), origin.z(), rotation.x(),
                       rotation.y(), rotation.z(), rotation.w());
}

// A shape's kind and sizes, its children and hull points included, to the last bit.
std::string describeShape(const btCollisionShape& shape)
{
    const auto vector = [](const btVector3& v) { return fmt::format("({} {} {})", v.x(), v.y(), v.z()); };
    std::string text = fmt::format("{} margin {}", shape.getName(), shape.getMargin());
    if (const auto* box = dynamic_cast<const btBoxShape*>(&shape))
    {
        text += " half extents " + vector(box->getHalfExtentsWithoutMargin());
    }
    else if (const auto* sphere = dynamic_cast<const btSphereShape*>(&shape))
    {
        text += fmt::format(" radius {}", sphere->getRadius());
    }
    else if (const auto* cylinder = dynamic_cast<const btCylinderShape*>(&shape))
    {
        text += fmt::format(" axis {} half extents {}", cylinder->getUpAxis(),
                            vector(cylinder->getHalfExtentsWithoutMargin()));
    }
    else if (const auto* hull = dynamic_cast<const btConvexHullShape*>(&shape))
    {
        for (int point = 0; point < hull->getNumPoints(); ++point)
        {
            text += " " + vector(hull->getUnscaledPoints()[point]);
        }
    }
    else if (const auto* compound = dynamic_cast<const btCompoundShape*>(&shape))
    {
        for (int child = 0; child < compound->getNumChildShapes(); ++child)
        {
            text += fmt::format(" [{} {}]", describeShape(*compound->getChildShape(child)),
                                describePose(compound->getChildTransform(child)));
        }
    }
    return text;
}

// Every object of a world in the order of addition: shape, pose, mass and
// collision flags.
std::vector<std::string> describeWorld(const PhysicsWorld& world)
{
    std::vector<std::string> objects;
    const btCollisionObjectArray& array = world.dynamicsWorld()->getCollisionObjectArray();
    for (int index = 0; index < array.size(); ++index)
    {
        const btCollisionObject& object = *array[index];
        const btRigidBody* body = btRigidBody::upcast(&object);
        objects.push_back(fmt::format("{} {} inverse mass {} flags {}", describeShape(*object.getCollisionShape()),
                                      describePose(object.getWorldTransform()),
                                      body != nullptr ? body->getInvMass() : 0.0f, object.getCollisionFlags()));
    }
    return objects;
}

// The opponents are recorded in a race without a window, built from the hull
// points that the model writer puts into the files; the player races in the
// world that the scene builds from those files.
TEST_F(RaceSceneGpuTest, ThePlayerRacesInTheWorldThatTheOpponentsWereRecordedIn)
{
    RaceScene& scene = loadRace();
    ASSERT_FALSE(hasErrors());
    HeadlessRace headless(generatedHullPoints());
    const std::vector<std::string> raced = describeWorld(scene.physics());
    const std::vector<std::string> recorded = describeWorld(headless.world());
    // The track's bodies, the boat and the five checkpoints.
    EXPECT_EQ(raced.size(), trackBodyCount + 1 + 5);
    ASSERT_EQ(raced.size(), recorded.size());
    for (std::size_t object = 0; object < raced.size(); ++object)
    {
        EXPECT_EQ(raced[object], recorded[object]) << object;
    }
    EXPECT_EQ(scene.physics().gravityMagnitude(), headless.world().gravityMagnitude());
}

// The autopilot drives the player's boat in the keyboard's place and asks for
// the boat to be put back when it is stranded; a drawn frame every simulated
// second keeps the test short and still runs the passes at every stage of the race.
TEST_F(RaceSceneGpuTest, AWholeRaceRunsFromTheWaitToTheTrophyAndSavesTheGhost)
{
    RaceScene& scene = loadRace();
    ASSERT_FALSE(hasErrors());
    ASSERT_NE(scene.playerBoat(), nullptr);

    // The boats stand at the start from the first frame of the wait.
    const ModelCollection& models = *scene.modelCollection();
    EXPECT_FALSE(models.dirty.at(scene.boatInstance().model())) << "not uploaded";
    expectNear(instancePosition(models, scene.boatInstance().model(), scene.boatInstance().instance()),
               raceStartPosition, 1e-3f);
    for (const OpponentGhost& opponent : scene.opponentGhosts())
    {
        EXPECT_GT(opponent.recording.frameCount(), 0);
        expectNear(instancePosition(models, opponent.modelIndex, opponent.instanceIndex),
                   opponent.recording.startPosition(), 1e-3f);
    }
    for (int wait = 0; wait < 30; ++wait)
    {
        frame(wait % 10 == 0);
    }
    EXPECT_EQ(scene.rules().state(), RaceState::Waiting);
    expectNear(scene.playerBoat()->interpolatedPosition(0.0f), raceStartPosition, 1e-3f);

    StdoutCapture output;
    Autopilot autopilot(AutopilotSkill{}, trackLayout().course);
    scene.setBoatDriver([&](const Boat& boat, float deltaTime) { return autopilot.drive(boat, deltaTime); });
    press(Key::enter);
    EXPECT_EQ(scene.rules().state(), RaceState::Countdown);
    std::vector<RaceState> states{RaceState::Countdown};
    int frames = 0;
    for (; frames < 60 * 300 && scenes->getActiveScene() == &scene; ++frames)
    {
        frame(frames % 60 == 0);
        if (states.back() != scene.rules().state())
        {
            states.push_back(scene.rules().state());
        }
        if (frames == 4 * 60 + 1)
        {
            EXPECT_EQ(scene.rules().state(), RaceState::Racing) << "after the four seconds of the countdown";
        }
    }
    system.waitIdle();
    const std::vector<std::string> lines = output.lines();

    EXPECT_EQ(states, (std::vector<RaceState>{RaceState::Countdown, RaceState::Racing, RaceState::Finished}));
    ASSERT_EQ(scene.rules().state(), RaceState::Finished) << "within " << frames << " frames";
    EXPECT_NE(dynamic_cast<TrophyScene*>(scenes->getActiveScene()), nullptr) << "the trophy follows the finish";
    EXPECT_EQ(scene.laps()->currentLap(), 4);
    // The autopilot drove over the line; from the finish on the boat coasts.
    const btRaycastVehicle& vehicle = *scene.playerBoat()->vehicle();
    for (int wheel = 0; wheel < 4; ++wheel)
    {
        EXPECT_EQ(vehicle.getWheelInfo(wheel).m_engineForce, 0.0f) << wheel;
        EXPECT_EQ(vehicle.getWheelInfo(wheel).m_steering, 0.0f) << wheel;
    }
    EXPECT_FALSE(scene.playerBoat()->isSliding());

    const std::uint32_t place = scene.rules().place();
    EXPECT_GE(place, 1u);
    EXPECT_LE(place, 6u);
    EXPECT_EQ(lastRacePlace, static_cast<std::int32_t>(place));
    const auto finished = std::find(lines.begin(), lines.end(), "!!! RACE FINISHED !!!");
    ASSERT_NE(finished, lines.end()) << output.text();
    ASSERT_GE(finished - lines.begin(), 1);
    ASSERT_LT(finished + 2 - lines.begin(), static_cast<std::ptrdiff_t>(lines.size()));
    EXPECT_EQ(*(finished - 1), "saved successfully!");
    EXPECT_EQ(*(finished + 1), "Your Position: " + std::to_string(place));
    EXPECT_TRUE(std::regex_match(*(finished + 2), std::regex("Your Time: [0-9]+\\.[0-9]{6} s")));
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "!!! RACE FINISHED !!!"), 1);

    GhostRecording saved(180, 15);
    ASSERT_TRUE(saved.loadFromFile(RaceScene::savedGhostPath));
    EXPECT_EQ(checkpointsPassedInPlayback(saved), 15) << "three laps of five checkpoints";
    EXPECT_FALSE(hasErrors());
}

TEST_F(RaceSceneGpuTest, RaceKeysReachTheSceneThroughTheKeyboard)
{
    // GLFW reports no event for a joystick plugged in before the load, so the
    // load reads joystick 1 itself, whatever the flag said before.
    const bool gamepadInSlotOne = glfwJoystickIsGamepad(GLFW_JOYSTICK_1) == GLFW_TRUE;
    gamepadConnected = !gamepadInSlotOne;
    RaceScene& scene = loadRace();
    ASSERT_FALSE(hasErrors());
    EXPECT_EQ(gamepadConnected, gamepadInSlotOne);
    gamepadConnected = false;

    for (int press = 0; press < 8; ++press)
    {
        RaceSceneGpuTest::press(Key::f3);
    }
    EXPECT_EQ(scene.getMusicVolume(), 1.0f);
    for (int press = 0; press < 12; ++press)
    {
        RaceSceneGpuTest::press(Key::f4);
    }
    EXPECT_EQ(scene.getMusicVolume(), 0.0f);
    for (int press = 0; press < 3; ++press)
    {
        RaceSceneGpuTest::press(Key::down);
    }
    EXPECT_EQ(scene.getCameraSpeed(), -0.5f);
    press(Key::f6);
    EXPECT_FALSE(scene.isFollowCamera());
    press(Key::f6);
    EXPECT_TRUE(scene.isFollowCamera());

    // Off the start and into the water beside it, then R: back on the start line.
    press(Key::enter);
    for (int countdown = 0; countdown < 4 * 60 + 2; ++countdown)
    {
        frame(false);
    }
    ASSERT_EQ(scene.rules().state(), RaceState::Racing);
    press(Key::enter);
    EXPECT_EQ(scene.rules().state(), RaceState::Racing) << "Enter starts nothing once the race is on";
    // A stall moves the race on only as far as the world: a quarter of a second.
    const float clockBeforeStall = scene.rules().clock();
    Timer::tickBy(2.0);
    scenes->update();
    EXPECT_NEAR(scene.rules().clock() - clockBeforeStall, 0.25f, 1e-4f);
    Keyboard::setKeyHeldForTesting(Key::w, true);
    Keyboard::setKeyHeldForTesting(Key::a, true);
    for (int drive = 0; drive < 120; ++drive)
    {
        frame(drive == 119);
    }
    Keyboard::releaseAllKeysForTesting();
    const Boat& boat = *scene.playerBoat();
    EXPECT_GT(glm::length(boat.interpolatedPosition(0.0f) - raceStartPosition), 3.0f) << "the boat moved";
    press(Key::r);
    const glm::vec3 startLine = scene.laps()->currentCheckpointPosition();
    expectNear(boat.interpolatedPosition(0.0f), startLine, 1e-3f);
    const ModelRef drawn = scene.boatInstance();
    frame(true);
    expectNear(instancePosition(*scene.modelCollection(), drawn.model(), drawn.instance()), startLine, 0.2f);
    EXPECT_LT(boat.speedKmh(), 5.0f);

    // The chase camera stands 8 units from the boat, looking at it.
    EXPECT_NEAR(glm::length(scene.cameraPosition() - scene.cameraTarget()), 8.0f, 0.1f);

    StdoutCapture output;
    press(Key::p);
    EXPECT_EQ(output.text().substr(0, 4), "test");
    EXPECT_NE(dynamic_cast<TrophyScene*>(scenes->getActiveScene()), nullptr);
    EXPECT_EQ(scene.rules().state(), RaceState::Racing) << "the race waits for the return";
    system.waitIdle();
    EXPECT_FALSE(hasErrors());
}

// The free camera flies where each of its keys says, as its own view shows
// it: I ahead and K back, L right and J left, U up and O down.
TEST_F(RaceSceneGpuTest, EachFreeCameraKeyFliesTheCameraItsOwnWay)
{
    RaceScene& scene = loadRace();
    ASSERT_FALSE(hasErrors());
    gamepadConnected = false;
    press(Key::f6);
    ASSERT_FALSE(scene.isFollowCamera());
    // The countdown: every state but the wait shows the race through the chosen camera.
    press(Key::enter);
    frame(true);
    const glm::vec3 up(0.0f, 1.0f, 0.0f);
    const glm::vec3 looking = glm::normalize(scene.cameraTarget() - scene.cameraPosition());
    const glm::vec3 ahead = glm::normalize(looking - glm::dot(looking, up) * up);
    const glm::vec3 right = glm::normalize(glm::cross(looking, up));

    struct Flight
    {
        std::int16_t key;
        const char* name;
        glm::vec3 direction;
    };
    const Flight flights[] = {{Key::i, "I", ahead}, {Key::k, "K", -ahead}, {Key::l, "L", right},
                              {Key::j, "J", -right}, {Key::u, "U", up},    {Key::o, "O", -up}};
    for (const Flight& flight : flights)
    {
        const glm::vec3 before = scene.cameraPosition();
        Keyboard::setKeyHeldForTesting(flight.key, true);
        frame(true);
        frame(true);
        Keyboard::setKeyHeldForTesting(flight.key, false);
        const glm::vec3 moved = scene.cameraPosition() - before;
        // Twenty units a second at the starting speed: two frames go two thirds of a unit.
        EXPECT_NEAR(glm::length(moved), 2.0f / 3.0f, 1e-3f) << flight.name;
        EXPECT_GT(glm::dot(glm::normalize(moved), flight.direction), 0.999f) << flight.name;
    }
    EXPECT_EQ(scene.rules().state(), RaceState::Countdown);
    system.waitIdle();
    EXPECT_FALSE(hasErrors());
}

// The HUD's texts and the physics debug lines change while frames are in
// flight; a wait for the whole queue in a frame would serialise the processor
// and the card. Race and trophy frames make none: not at the HUD ticks that
// rewrite the clock, nor at the once-a-second frames-per-second text, nor
// with the lines shown.
TEST_F(RaceSceneGpuTest, RaceAndTrophyFramesWaitForNoQueue)
{
    RaceScene& scene = loadRace();
    ASSERT_FALSE(hasErrors());
    press(Key::f1);
    press(Key::f7);
    ASSERT_TRUE(scene.isDebugTextVisible());
    const std::uint64_t raceWaits = system.queueWaitCount();
    for (int wait = 0; wait < 10; ++wait)
    {
        frame(wait % 3 == 0);
    }
    press(Key::enter);
    // The countdown, then a second and a half of the race, its clock rewritten
    // at every tick and the frames-per-second text at every whole second.
    int frames = 0;
    for (; frames < 4 * 60 + 90; ++frames)
    {
        frame(frames % 20 == 0 || frames >= 4 * 60);
    }
    EXPECT_EQ(scene.rules().state(), RaceState::Racing);
    EXPECT_GT(Timer::getFramesPerSecond(), 1u) << "the frames-per-second text was refreshed";
    EXPECT_EQ(system.queueWaitCount(), raceWaits) << "in " << frames << " race frames";

    {
        StdoutCapture quiet;
        press(Key::p);
    }
    auto* trophy = dynamic_cast<TrophyScene*>(scenes->getActiveScene());
    ASSERT_NE(trophy, nullptr);
    press(Key::f1);
    ASSERT_TRUE(trophy->isDebugTextVisible());
    const std::uint64_t trophyWaits = system.queueWaitCount();
    for (frames = 0; frames < 90; ++frames)
    {
        frame(frames % 2 == 0);
    }
    EXPECT_EQ(system.queueWaitCount(), trophyWaits) << "in " << frames << " trophy frames";
    system.waitIdle();
    EXPECT_FALSE(hasErrors());
}

struct SpoiledAsset
{
    std::string file;
    const char* sentence;
};

// Each step that fails says so at the error level, so the scene manager
// refuses the race, and the half-made race draws nothing.
TEST_F(RaceSceneGpuTest, AFailedLoadStepLogsItsSentenceAndTheRaceIsRefused)
{
    const std::vector<SpoiledAsset> spoiled{
        {trackModelFile(trackModel(TrackModelId::Barrier)), "ERROR: The track's models could not all be placed."},
        {boatModelFile, "ERROR: The player's boat could not be added."},
        {smokeFile, "ERROR: The smoke could not be created."},
        {materialName(TrackMaterial::Ramp) + " Normal.png", "ERROR: The track's textures could not be loaded."},
        // Refused before the scene writes the lines' descriptor sets.
        {"QuorlDemoScene/Shaders/Debug Shader.vert.spv", "ERROR: The physics debug lines could not be created."},
    };
    for (const SpoiledAsset& asset : spoiled)
    {
        SCOPED_TRACE(asset.file);
        const TemporaryFolder stepFolder;
        linkFilesOf(KELVANE_ASSETS_DIR, "Assets");
        fs::remove(fs::path("Assets") / asset.file);

        RaceScene scene(&system, nullptr);
        StdoutCapture capture;
        scene.load();
        const std::vector<std::string> messages = capture.messages();
        EXPECT_TRUE(hasErrors());
        EXPECT_NE(std::find(messages.begin(), messages.end(), asset.sentence), messages.end());

        const std::uint32_t frameIndex = system.getCurrentFrame();
        scene.update();
        scene.render();
        EXPECT_EQ(system.getCurrentFrame(), frameIndex) << "no frame was drawn";
        system.waitIdle();
        scene.unload();
        resetErrorFlagForTesting();
    }
}
}

namespace
{
// Without a ghost file the race still loads; each opponent stays at the start
// and counts as ahead of the player from the second update of the race.
TEST_F(RaceSceneGpuTest, OpponentsWithoutGhostFilesFinishAtTheStartOfTheRace)
{
    const TemporaryFolder withoutGhosts;
    linkFilesOf(KELVANE_ASSETS_DIR, "Assets");
    fs::remove_all("Assets/Ghosts");
    RaceScene scene(&system, nullptr);
    {
        StdoutCapture quiet;
        scene.load();
    }
    ASSERT_FALSE(hasErrors());
    scene.onKeyPressed(Key::enter);
    int racingUpdates = 0;
    for (int frame = 0; frame < 5 * 60 && racingUpdates < 2; ++frame)
    {
        Timer::tickBy(frameTime);
        scene.update();
        if (scene.rules().state() == RaceState::Racing)
        {
            ++racingUpdates;
            for (std::size_t slot = 0; slot < opponentCount; ++slot)
            {
                EXPECT_EQ(scene.rules().isOpponentFinished(slot), racingUpdates == 2) << slot;
            }
        }
    }
    EXPECT_EQ(racingUpdates, 2);
    EXPECT_EQ(scene.rules().place(), 5u);
    system.waitIdle();
    scene.unload();
}
}
