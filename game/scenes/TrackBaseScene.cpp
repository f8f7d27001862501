#include "game/scenes/TrackBaseScene.hpp"

#include "engine/GraphicsSystem.hpp"
#include "engine/Keyboard.hpp"
#include "engine/Mouse.hpp"
#include "engine/ScreenMaths.hpp"
#include "engine/Settings.hpp"
#include "engine/Timer.hpp"
#include "engine/Window.hpp"
#include "game/assets/AssetPaths.hpp"
#include "game/race/RaceResult.hpp"
#include "game/scenes/SceneKeys.hpp"
#include "game/scenes/SceneLoading.hpp"
#include "graphics/TextureArray.hpp"
#include "renderers/Hud.hpp"
#include "renderers/Text.hpp"
#include "renderers/deferred/DeferredRenderer.hpp"

#include <glm/gtc/matrix_transform.hpp>

namespace
{
glm::mat4 placedAt(const glm::vec2& position)
{
    return glm::translate(glm::mat4(1.0f), glm::vec3(position, 0.0f));
}

constexpr float gravity = 9.80665f;
}

TrackBaseScene::TrackBaseScene(GraphicsSystem* graphicsSystem, SceneManager* sceneManager)
    : graphicsSystem(graphicsSystem),
      sceneManager(sceneManager),
      meshes{graphicsSystem, {}, {}},
      textures{graphicsSystem, {}, {}},
      hudPipeline(graphicsSystem),
      debugTextPipeline(graphicsSystem),
      clockTextPipeline(graphicsSystem),
      hudProjection(screenProjection()),
      layout(hudLayoutFor(Settings::getWindowWidth(), Settings::getWindowHeight()))
{
}

TrackBaseScene::~TrackBaseScene() = default;

void TrackBaseScene::load()
{
    hudMade = loadHud();
}

bool TrackBaseScene::loadHud()
{
    PipelineDescription hudDescription = describeScreenPipeline(
        "Assets/Shaders/Texture Shader.vert.spv", "Assets/Shaders/Texture Array Shader.frag.spv",
        VK_ATTACHMENT_LOAD_OP_LOAD);
    hudDescription.pushConstantRanges.push_back({VK_SHADER_STAGE_FRAGMENT_BIT, 4});
    const PipelineDescription textDescription = describeScreenPipeline(
        "Assets/Shaders/Text Shader.vert.spv", "Assets/Shaders/Text Shader.frag.spv", VK_ATTACHMENT_LOAD_OP_LOAD);
    ScreenLoad hud;
    hud.pipelines = {{&hudPipeline, hudDescription, "The HUD pipeline could not be created.", std::nullopt},
                     {&debugTextPipeline, textDescription, "The debug text pipeline could not be created.", 0},
                     {&clockTextPipeline, textDescription, "The race clock pipeline could not be created.", 1}};
    hud.uniforms = &hudUniforms;
    hud.uniformsFailure = "The HUD's uniform buffers could not be created.";
    hud.fonts = {
        {&debugFont, inAssets(debugFontFile), 12, textCodePoints, "The debug text font could not be created."},
        {&clockFont, inAssets(clockFontFile), 24, clockCodePoints, "The race clock font could not be created."}};
    hud.createMeshes = [this] { return loadStep(createHudMeshes(), "The HUD meshes could not be created."); };
    hud.loadPicture = [this] {
        const Texture* layers = loadTextureArray(textures, hudTextureNames, true);
        loadStep(layers != nullptr, "The HUD's texture array could not be loaded.");
        return layers;
    };
    hud.atlasFailure = "The HUD fonts' atlas textures could not be created.";
    hud.samplerFailure = "The HUD's samplers could not be created.";
    if (!loadScreen(*graphicsSystem, textures, fonts, hudProjection, hud))
    {
        return false;
    }
    physicsWorld.setRadialGravity(glm::vec3(0.0f), gravity);
    return true;
}

bool TrackBaseScene::createHudMeshes()
{
    layout = hudLayoutFor(Settings::getWindowWidth(), Settings::getWindowHeight());
    const float dial = layout.speedometerSize;
    const float badge = layout.badgeSize;
    const MeshData<ScreenVertex> dialQuad = createHudQuad(dial, dial, dial * 0.5f, dial * 0.5f);
    const MeshData<ScreenVertex> badgeQuad = createHudQuad(badge, badge, badge * 0.5f, badge * 0.5f);
    debugQuadMesh = createMesh(meshes, dialQuad).value_or(nullptr);
    speedometerMesh = createMesh(meshes, dialQuad).value_or(nullptr);
    needleMesh = createMesh(meshes, dialQuad).value_or(nullptr);
    placeMesh = createMesh(meshes, badgeQuad).value_or(nullptr);
    lapMesh = createMesh(meshes, badgeQuad).value_or(nullptr);
    clockTextMesh = createDynamicMesh(meshes, createText(*clockFont, "00:00.00", textAlignLeft)).value_or(nullptr);
    debugTextMesh = createFpsTextMesh(meshes, *debugFont).value_or(nullptr);
    for (Mesh* mesh : {debugQuadMesh, speedometerMesh, needleMesh, placeMesh, lapMesh, clockTextMesh, debugTextMesh})
    {
        if (mesh == nullptr)
        {
            return false;
        }
    }
    debugQuadMesh->model = placedAt(layout.debugQuadCentre);
    speedometerMesh->model = placedAt({layout.speedometerX, layout.speedometerY});
    needleMesh->model = placedAt({layout.speedometerX, layout.speedometerY});
    placeMesh->model = placedAt(layout.badgeCentre);
    lapMesh->model = placedAt(layout.badgeCentre);
    clockTextMesh->model = placedAt(layout.clockPosition);
    return true;
}

bool TrackBaseScene::hudLoaded() const
{
    return hudMade;
}

void TrackBaseScene::initialise()
{
    Mouse::setCursorMode(Mouse::cursorHidden);
    Keyboard::setKeyPressedCallback([this](std::int16_t key) { handleKey(key); });
    Mouse::setButtonPressedCallback({});
    Timer::setPerSecondCallback([this] { refreshFpsText(); });
}

void TrackBaseScene::handleKey(std::int16_t key)
{
    switch (trackKeyAction(key))
    {
    case TrackKeyAction::closeWindow:
        requestWindowClose(graphicsSystem->window);
        break;
    case TrackKeyAction::toggleDebugText:
        debugTextVisible = !debugTextVisible;
        break;
    case TrackKeyAction::swallow:
        break;
    case TrackKeyAction::passOn:
        onKeyPressed(key);
        break;
    }
}

bool TrackBaseScene::stepRendererView(DeferredRenderer& renderer, std::int16_t key)
{
    switch (rendererViewAction(key))
    {
    case RendererViewAction::previousRenderMode:
        renderer.previousRenderMode();
        return true;
    case RendererViewAction::nextRenderMode:
        renderer.nextRenderMode();
        return true;
    case RendererViewAction::nextPointLightMode:
        renderer.nextPointLightMode();
        return true;
    case RendererViewAction::nextColourGradingMode:
        renderer.nextColourGradingMode();
        return true;
    case RendererViewAction::none:
        break;
    }
    return false;
}

void TrackBaseScene::update()
{
}

void TrackBaseScene::refreshFpsText()
{
    if (debugTextVisible && hudMade)
    {
        ::refreshFpsText(*debugFont, *debugTextMesh);
    }
}

bool TrackBaseScene::isDebugTextVisible() const
{
    return debugTextVisible;
}

void TrackBaseScene::drawHudQuad(const FrameInfo& frame, const Mesh& mesh, std::int32_t layer)
{
    vkCmdPushConstants(frame.commandBuffer, hudPipeline.pipelineLayout, VK_SHADER_STAGE_VERTEX_BIT, 0,
                       sizeof(glm::mat4), &mesh.model);
    vkCmdPushConstants(frame.commandBuffer, hudPipeline.pipelineLayout, VK_SHADER_STAGE_FRAGMENT_BIT,
                       sizeof(glm::mat4), sizeof(layer), &layer);
    drawMesh(mesh, frame);
}

void TrackBaseScene::drawText(Pipeline2& pipeline, const FrameInfo& frame, const Mesh& mesh)
{
    vkCmdPushConstants(frame.commandBuffer, pipeline.pipelineLayout, VK_SHADER_STAGE_VERTEX_BIT, 0,
                       sizeof(glm::mat4), &mesh.model);
    drawMesh(mesh, frame);
}

void TrackBaseScene::drawRaceHud(const FrameInfo& frame)
{
    beginPipeline2(hudPipeline, frame.commandBuffer, frame.frameIndex, frame.imageIndex);
    if (debugQuadVisible)
    {
        drawHudQuad(frame, *debugQuadMesh, debugLayer);
    }
    drawHudQuad(frame, *needleMesh, needleLayer);
    drawHudQuad(frame, *speedometerMesh, speedometerLayer);
    drawHudQuad(frame, *lapMesh, lapLayer(hudLap));
    vkCmdEndRenderPass(frame.commandBuffer);

    beginPipeline2(clockTextPipeline, frame.commandBuffer, frame.frameIndex, frame.imageIndex);
    drawText(clockTextPipeline, frame, *clockTextMesh);
    vkCmdEndRenderPass(frame.commandBuffer);

    drawDebugText(frame);
}

void TrackBaseScene::drawDebugText(const FrameInfo& frame)
{
    beginPipeline2(debugTextPipeline, frame.commandBuffer, frame.frameIndex, frame.imageIndex);
    if (debugTextVisible)
    {
        drawText(debugTextPipeline, frame, *debugTextMesh);
    }
    vkCmdEndRenderPass(frame.commandBuffer);
}

void TrackBaseScene::drawPlaceHud(const FrameInfo& frame)
{
    beginPipeline2(hudPipeline, frame.commandBuffer, frame.frameIndex, frame.imageIndex);
    drawHudQuad(frame, *placeMesh, placeLayer(lastRacePlace));
    vkCmdEndRenderPass(frame.commandBuffer);
    drawDebugText(frame);
}

void TrackBaseScene::unload()
{
    hudMade = false;
    physicsWorld.removeAllObjects();
    graphicsSystem->destroyUniformBuffers(hudUniforms);
    destroyPipeline2(clockTextPipeline);
    destroyPipeline2(debugTextPipeline);
    destroyPipeline2(hudPipeline);
    physicsResources.destroyAll();
    fonts.clear();
    debugFont = nullptr;
    clockFont = nullptr;
    destroyTextures(textures);
    destroyMeshes(meshes);
    for (Mesh** mesh : {&speedometerMesh, &needleMesh, &placeMesh, &lapMesh, &clockTextMesh, &debugTextMesh,
                        &debugQuadMesh})
    {
        *mesh = nullptr;
    }
}
