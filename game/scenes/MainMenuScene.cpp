#include "game/scenes/MainMenuScene.hpp"

#include "engine/GraphicsSystem.hpp"
#include "engine/Keyboard.hpp"
#include "engine/Mouse.hpp"
#include "engine/SceneManager.hpp"
#include "engine/ScreenMaths.hpp"
#include "engine/Settings.hpp"
#include "engine/Timer.hpp"
#include "engine/Window.hpp"
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
    if (!loadStep(createHudPipeline(texturePipeline,
                                    describeScreenPipeline("Assets/Shaders/Texture Shader.vert.spv",
                                                           "Assets/Shaders/Texture Shader.frag.spv",
                                                           VK_ATTACHMENT_LOAD_OP_CLEAR)),
                  "The menu's background pipeline could not be created.") ||
        !loadStep(createHudPipeline(hudPipeline, describeScreenPipeline("Assets/Shaders/HUD Shader.vert.spv",
                                                                        "Assets/Shaders/HUD Shader.frag.spv",
                                                                        VK_ATTACHMENT_LOAD_OP_LOAD)),
                  "The menu's HUD pipeline could not be created.") ||
        !loadStep(createHudPipeline(textPipeline, describeScreenPipeline("Assets/Shaders/Text Shader.vert.spv",
                                                                         "Assets/Shaders/Text Shader.frag.spv",
                                                                         VK_ATTACHMENT_LOAD_OP_LOAD)),
                  "The menu's text pipeline could not be created."))
    {
        return false;
    }

    std::optional<UniformBufferCollection> projection = createProjectionUniforms(*graphicsSystem, hudProjection);
    if (!loadStep(projection.has_value(), "The menu's uniform buffers could not be created."))
    {
        return false;
    }
    uniforms = *projection;

    font = createFont(fonts, "Assets/QuorlDemoScene/Fonts/Antic-Regular.ttf", 12, textCodePoints).value_or(nullptr);
    if (!loadStep(font != nullptr, "The menu font could not be created."))
    {
        return false;
    }

    const auto width = static_cast<float>(Settings::getWindowWidth());
    const auto height = static_cast<float>(Settings::getWindowHeight());
    backgroundMesh = createMesh(meshes, createHudQuad(width, height, 0.0f, 0.0f)).value_or(nullptr);
    if (!loadStep(backgroundMesh != nullptr, "The menu's background mesh could not be created."))
    {
        return false;
    }
    fpsTextMesh = createFpsTextMesh(meshes, *font).value_or(nullptr);
    if (!loadStep(fpsTextMesh != nullptr, "The menu's FPS text mesh could not be created."))
    {
        return false;
    }

    const std::optional<ImageData<std::uint32_t>> picture = loadImage("Assets/Textures/Background.png");
    if (!loadStep(picture.has_value(), "The menu's background picture could not be loaded."))
    {
        return false;
    }
    const Texture* background = createTexture(textures, *picture, VK_FORMAT_R8G8B8A8_UNORM, true, imageTextureSettings);
    if (!loadStep(background != nullptr, "The menu's background texture could not be created."))
    {
        return false;
    }
    const Texture* atlas = createTexture(textures, font->getAtlas(), VK_FORMAT_R8_UNORM, false, imageTextureSettings);
    if (!loadStep(atlas != nullptr, "The menu font's atlas texture could not be created."))
    {
        return false;
    }
    const std::optional<VkSampler> backgroundSampler = createSampler(
        textures, background->mipLevels, VK_FILTER_LINEAR, VK_FILTER_LINEAR, VK_SAMPLER_MIPMAP_MODE_LINEAR);
    const std::optional<VkSampler> atlasSampler =
        createSampler(textures, atlas->mipLevels, VK_FILTER_LINEAR, VK_FILTER_LINEAR, VK_SAMPLER_MIPMAP_MODE_LINEAR);
    if (!loadStep(backgroundSampler && atlasSampler, "The menu's samplers could not be created."))
    {
        return false;
    }

    writeHudDescriptorSets(texturePipeline, uniforms, *background, *backgroundSampler);
    writeHudDescriptorSets(hudPipeline, uniforms, *atlas, *atlasSampler);
    writeHudDescriptorSets(textPipeline, uniforms, *atlas, *atlasSampler);
    return true;
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
