#include "engine/ClearScene.hpp"
#include "engine/Keyboard.hpp"
#include "engine/SceneManager.hpp"
#include "engine/Timer.hpp"
#include "game/assets/AssetPaths.hpp"
#include "game/race/RaceResult.hpp"
#include "game/scenes/HudLayout.hpp"
#include "game/scenes/MainMenuScene.hpp"
#include "game/scenes/TrophyScene.hpp"
#include "gpu/GpuHarness.hpp"
#include "support/StandInAssets.hpp"
#include "support/StdoutCapture.hpp"
#include "support/TemporaryFolder.hpp"

#include <stb_image_write.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace
{
namespace fs = std::filesystem;

// A working folder with the built shaders, copies of the fonts and the
// stand-in pictures and models.
class SceneGpuTest : public GpuTest
{
protected:
    void SetUp() override
    {
        GpuTest::SetUp();
        prepareAssets();
        Timer::resetForTesting();
        lastRacePlace = 0;
    }

    static void prepareAssets()
    {
        const fs::path built(KELVANE_ASSETS_DIR);
        fs::create_directories("Assets/ZavikDemoScene");
        fs::create_directories("Assets/QuorlDemoScene");
        for (const char* shaders : {"Shaders", "ZavikDemoScene/Shaders", "QuorlDemoScene/Shaders"})
        {
            fs::create_directory_symlink(built / shaders, fs::path("Assets") / shaders);
        }
        for (const char* fonts : {"Fonts", "QuorlDemoScene/Fonts"})
        {
            fs::copy(built / fonts, fs::path("Assets") / fonts);
        }
        ASSERT_TRUE(writeStandInAssets("Assets"));
    }

    void TearDown() override
    {
        system.waitIdle();
        Keyboard::setKeyPressedCallback({});
        lastRacePlace = 0;
        Timer::resetForTesting();
        GpuTest::TearDown();
    }

    // The instance record of a goblet, which must have reached its instance
    // buffer: the upload clears the model's dirty mark.
    static TwoMatrixInstance uploadedRecord(const TrophyScene& scene, std::uint32_t model)
    {
        const ModelCollection& goblets = *scene.getGoblets();
        EXPECT_FALSE(goblets.dirty.at(model)) << "not uploaded";
        EXPECT_EQ(goblets.instanceCounts.at(model), 1u);
        return goblets.instanceData.at(model).at(0);
    }

    TemporaryFolder folder;
};

void expectNear(const glm::vec4& actual, const glm::vec4& expected)
{
    for (int component = 0; component < 4; ++component)
    {
        EXPECT_NEAR(actual[component], expected[component], 1e-5f) << component;
    }
}

TEST_F(SceneGpuTest, TheWonGobletStandsInFrontAndSpinsTheOthersStayAtRest)
{
    for (const std::int32_t place : {1, 4})
    {
        SCOPED_TRACE(place);
        lastRacePlace = place;
        TrophyScene scene(&system, nullptr);
        {
            StdoutCapture quiet;
            scene.load();
        }
        ASSERT_FALSE(hasErrors());
        ASSERT_EQ(scene.getTrophyInstance().added(), place == 1);

        Timer::tickBy(3.0);
        scene.update();
        const TwoMatrixInstance gold = uploadedRecord(scene, 0);
        if (place == 1)
        {
            // A quarter turn after three seconds, in front of the others.
            expectNear(gold.model[3], {0.0f, 0.0f, 0.3f, 1.0f});
            expectNear(gold.model[0], {0.0f, 0.0f, -1.0f, 0.0f});
            expectNear(gold.normalMatrix[0], {0.0f, 0.0f, -1.0f, 0.0f});
        }
        else
        {
            expectNear(gold.model[3], {0.0f, 0.0f, -1.5f, 1.0f});
            expectNear(gold.model[0], {1.0f, 0.0f, 0.0f, 0.0f});
        }
        const TwoMatrixInstance silver = uploadedRecord(scene, 1);
        expectNear(silver.model[3], {-1.0f, 0.0f, -1.5f, 1.0f});
        expectNear(silver.model[0], {1.0f, 0.0f, 0.0f, 0.0f});

        const std::uint32_t frame = system.getCurrentFrame();
        scene.render();
        EXPECT_NE(system.getCurrentFrame(), frame) << "a frame was presented";
        system.waitIdle();
        scene.unload();
        EXPECT_FALSE(hasErrors());
    }
}

// The trophy scene is loaded once, the first time it is shown, but the place
// it shows changes: P during the race opens it before any finish, and the
// finish opens it again.
TEST_F(SceneGpuTest, EveryVisitBringsTheGobletOfTheLatestPlaceToTheFront)
{
    SceneManager scenes(&system);
    scenes.addScene<ClearScene>();
    scenes.addScene<TrophyScene>();
    const auto visitTrophy = [&] {
        StdoutCapture quiet;
        scenes.setScene(0);
        scenes.setScene(1);
    };
    visitTrophy();
    auto* trophy = dynamic_cast<TrophyScene*>(scenes.getActiveScene());
    ASSERT_NE(trophy, nullptr);
    EXPECT_FALSE(trophy->getTrophyInstance().added()) << "no race finished yet";

    lastRacePlace = 1;
    visitTrophy();
    ASSERT_TRUE(trophy->getTrophyInstance().added());
    EXPECT_EQ(trophy->getTrophyInstance().model(), 0u);
    Timer::tickBy(3.0);
    scenes.update();
    expectNear(uploadedRecord(*trophy, 0).model[0], {0.0f, 0.0f, -1.0f, 0.0f});

    lastRacePlace = 3;
    visitTrophy();
    ASSERT_TRUE(trophy->getTrophyInstance().added());
    EXPECT_EQ(trophy->getTrophyInstance().model(), 2u);
    // Placed and uploaded by the visit itself, before any update: the switch's
    // own frame may be drawn first.
    const TwoMatrixInstance gold = uploadedRecord(*trophy, 0);
    expectNear(gold.model[3], {0.0f, 0.0f, -1.5f, 1.0f});
    expectNear(gold.model[0], {1.0f, 0.0f, 0.0f, 0.0f});
    expectNear(uploadedRecord(*trophy, 2).model[3], {0.0f, 0.0f, 0.3f, 1.0f});
    scenes.update();
    expectNear(uploadedRecord(*trophy, 2).model[0], {0.0f, 0.0f, -1.0f, 0.0f});
    expectNear(uploadedRecord(*trophy, 0).model[0], {1.0f, 0.0f, 0.0f, 0.0f});

    const std::uint32_t frame = system.getCurrentFrame();
    scenes.render();
    EXPECT_NE(system.getCurrentFrame(), frame) << "a frame was presented";
    system.waitIdle();
    scenes.unloadScenes();
    EXPECT_FALSE(hasErrors());
}

struct RefusedStep
{
    const char* scene;
    std::function<void()> spoil;
    std::string sentence;
};

void writeOddSizedPicture(const std::string& path)
{
    std::vector<std::uint8_t> pixels(8 * 8 * 4, 200);
    ASSERT_NE(stbi_write_png(path.c_str(), 8, 8, 4, pixels.data(), 8 * 4), 0);
}

// Steps whose creators refuse without a sentence at the error level, and
// steps that fail on a missing file: each logs its own sentence, so the
// scene manager refuses the scene, and the half-made scene draws nothing.
TEST_F(SceneGpuTest, AFailedLoadStepLogsItsOwnSentenceAndTheSceneDrawsNothing)
{
    const std::vector<RefusedStep> steps{
        {"menu", [] { fs::remove(inAssets(menuBackgroundFile)); },
         "ERROR: The menu's background picture could not be loaded."},
        {"menu", [] { std::filesystem::resize_file(inAssets(menuFontFile), 100); },
         "ERROR: The menu font could not be created."},
        {"trophy", [] { writeOddSizedPicture(inAssets(hudTextureNames[debugLayer] + ".png")); },
         "ERROR: The HUD's texture array could not be loaded."},
        {"trophy", [] { std::filesystem::resize_file(inAssets(clockFontFile), 0); },
         "ERROR: The race clock font could not be created."},
        {"trophy", [] { fs::remove(inAssets(skyFaceFiles(Sky::Trophy)[3])); },
         "ERROR: The trophy scene's environment could not be loaded."},
        {"trophy", [] { fs::remove(inAssets(materialName(GobletMaterial::Bronze) + " ARME.png")); },
         "ERROR: The goblets' textures could not be loaded."},
        {"trophy", [] { fs::remove(inAssets(stageBallModelFile)); },
         "ERROR: The stage's ball could not be added."},
    };
    for (const RefusedStep& step : steps)
    {
        SCOPED_TRACE(step.sentence);
        const TemporaryFolder stepFolder;
        prepareAssets();
        step.spoil();
        std::unique_ptr<Scene> scene;
        if (std::string(step.scene) == "menu")
        {
            scene = std::make_unique<MainMenuScene>(&system, nullptr);
        }
        else
        {
            lastRacePlace = 2;
            scene = std::make_unique<TrophyScene>(&system, nullptr);
        }
        StdoutCapture capture;
        scene->load();
        const std::vector<std::string> messages = capture.messages();
        EXPECT_TRUE(hasErrors());
        EXPECT_NE(std::find(messages.begin(), messages.end(), step.sentence), messages.end());

        const std::uint32_t frame = system.getCurrentFrame();
        scene->update();
        scene->render();
        EXPECT_EQ(system.getCurrentFrame(), frame) << "no frame was drawn";
        scene->unload();
        resetErrorFlagForTesting();
    }
}
}
