#include "game/scenes/MainMenuScene.hpp"

#include "engine/GraphicsSystem.hpp"
#include "engine/Keyboard.hpp"
#include "engine/Mouse.hpp"
#include "engine/SceneManager.hpp"
#include "engine/ScreenMaths.hpp"
#include "engine/Settings.hpp"
#include "engine/Timer.hpp"
#include "engine/Window.hpp"
#include "game/assets/AssetPaths.hpp"
#include "game/race/RaceResult.hpp"
#include "game/scenes/SceneKeys.hpp"
#include "game/scenes/SceneLoading.hpp"
#include "graphics/ImageLoading.hpp"
#include "renderers/Hud.hpp"
#include "renderers/Text.hpp"

MainMenuScene::MainMenuScene(GraphicsSystem* graphicsSystem, SceneManager* sceneManager)
    : graphicsSystem(graphicsSystem),
      sceneManager(sceneManager),
      meshes{graphicsSystem, {}, {}},
      textures{graphicsSystem, {}, {}},
      texturePipeline(graphicsSystem),
      hudPipeline(graphicsSystem),
      textPipeline(graphicsSystem),
      hudProjection(screenProjection())
{
}

MainMenuScene::~MainMenuScene() = default;

void MainMenuScene::load()
{
    loaded = loadResources();
}

bool MainMenuScene::loadResources()
{
    ScreenLoad menu;
    menu.pipelines = {
        {&texturePipeline,
         describeScreenPipeline("Assets/Shaders/Texture Shader.vert.spv", "Assets/Shaders/Texture Shader.frag.spv",
                                VK_ATTACHMENT_LOAD_OP_CLEAR),
         "The menu's background pipeline could not be created.", std::nullopt},
        {&hudPipeline,
         describeScreenPipeline("Assets/Shaders/HUD Shader.vert.spv", "Assets/Shaders/HUD Shader.frag.spv",
                                VK_ATTACHMENT_LOAD_OP_LOAD),
         "The menu's HUD pipeline could not be created.", 0},
        {&textPipeline,
         describeScreenPipeline("Assets/Shaders/Text Shader.vert.spv", "Assets/Shaders/Text Shader.frag.spv",
                                VK_ATTACHMENT_LOAD_OP_LOAD),
         "The menu's text pipeline could not be created.", 0}};
    menu.uniforms = &uniforms;
    menu.uniformsFailure = "The menu's uniform buffers could not be created.";
    menu.fonts = {{&font, inAssets(menuFontFile), 12, textCodePoints, "The menu font could not be created."}};
    menu.createMeshes = [this] {
        const auto width = static_cast<float>(Settings::getWindowWidth());
        const auto height = static_cast<float>(Settings::getWindowHeight());
        backgroundMesh = createMesh(meshes, createHudQuad(width, height, 0.0f, 0.0f)).value_or(nullptr);
        if (!loadStep(backgroundMesh != nullptr, "The menu's background mesh could not be created."))
        {
            return false;
        }
        fpsTextMesh = createFpsTextMesh(meshes, *font).value_or(nullptr);
        return loadStep(fpsTextMesh != nullptr, "The menu's FPS text mesh could not be created.");
    };
    menu.loadPicture = [this]() -> const Texture* {
        const std::optional<ImageData<std::uint32_t>> picture = loadImage(inAssets(menuBackgroundFile));
        if (!loadStep(picture.has_value(), "The menu's background picture could not be loaded."))
        {
            return nullptr;
        }
        const Texture* background =
            createTexture(textures, *picture, VK_FORMAT_R8G8B8A8_UNORM, true, imageTextureSettings);
        loadStep(background != nullptr, "The menu's background texture could not be created.");
        return background;
    };
    menu.atlasFailure = "The menu font's atlas texture could not be created.";
    menu.samplerFailure = "The menu's samplers could not be created.";
    return loadScreen(*graphicsSystem, textures, fonts, hudProjection, menu);
}

void MainMenuScene::initialise()
{
    Mouse::setCursorMode(Mouse::cursorHidden);
    Keyboard::setKeyPressedCallback([this](std::int16_t key) { onKeyPressed(key); });
    Mouse::setButtonPressedCallback({});
    Timer::setPerSecondCallback([this] { refreshFpsText(); });
}

void MainMenuScene::onKeyPressed(std::int16_t key)
{
    const MenuKeyCommand command = menuKeyCommand(key);
    switch (command.action)
    {
    case MenuKeyAction::closeWindow:
        requestWindowClose(graphicsSystem->window);
        break;
    case MenuKeyAction::startRace:
        sceneManager->setScene(raceSceneIndex);
        break;
    case MenuKeyAction::toggleFpsText:
        fpsTextVisible = !fpsTextVisible;
        break;
    case MenuKeyAction::showTrophy:
        lastRacePlace = command.place;
        sceneManager->setScene(trophySceneIndex);
        break;
    case MenuKeyAction::none:
        break;
    }
}

void MainMenuScene::update()
{
}

void MainMenuScene::refreshFpsText()
{
    if (fpsTextVisible && loaded)
    {
        ::refreshFpsText(*font, *fpsTextMesh);
    }
}

bool MainMenuScene::isFpsTextVisible() const
{
    return fpsTextVisible;
}

void MainMenuScene::render()
{
    const std::optional<FrameInfo> frame = beginLoadedFrame(graphicsSystem, loaded);
    if (!frame)
    {
        return;
    }
    const VkCommandBuffer commandBuffer = frame->commandBuffer;
    beginPipeline2(texturePipeline, commandBuffer, frame->frameIndex, frame->imageIndex);
    vkCmdPushConstants(commandBuffer, texturePipeline.pipelineLayout, VK_SHADER_STAGE_VERTEX_BIT, 0,
                       sizeof(glm::mat4), &backgroundMesh->model);
    drawMesh(*backgroundMesh, *frame);
    vkCmdEndRenderPass(commandBuffer);

    beginPipeline2(textPipeline, commandBuffer, frame->frameIndex, frame->imageIndex);
    if (fpsTextVisible)
    {
        vkCmdPushConstants(commandBuffer, textPipeline.pipelineLayout, VK_SHADER_STAGE_VERTEX_BIT, 0,
                           sizeof(glm::mat4), &fpsTextMesh->model);
        drawMesh(*fpsTextMesh, *frame);
    }
    vkCmdEndRenderPass(commandBuffer);
    graphicsSystem->endFrame(frame->imageIndex);
}

void MainMenuScene::unload()
{
    loaded = false;
    graphicsSystem->destroyUniformBuffers(uniforms);
    destroyPipeline2(textPipeline);
    destroyPipeline2(hudPipeline);
    destroyPipeline2(texturePipeline);
    fonts.clear();
    font = nullptr;
    destroyTextures(textures);
    destroyMeshes(meshes);
    backgroundMesh = nullptr;
    fpsTextMesh = nullptr;
}
