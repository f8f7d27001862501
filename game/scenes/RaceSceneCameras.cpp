#include "game/scenes/RaceScene.hpp"

#include "engine/GraphicsSystem.hpp"
#include "engine/Keyboard.hpp"
#include "engine/Keys.hpp"
#include "engine/Mouse.hpp"
#include "engine/Settings.hpp"
#include "engine/Timer.hpp"
#include "game/physics/Boat.hpp"
#include "game/race/RaceCameras.hpp"
#include "renderers/ParticleSystem.hpp"
#include "renderers/deferred/DeferredRenderer.hpp"

#include <glm/geometric.hpp>

#include <cstring>

namespace
{
// The chase camera orbits a point this far above the keel, on the boat's
// deck, so that its eye stays above the water when it is level with it.
constexpr float chasePivotHeight = 1.5f;

void setSun(DeferredRenderer& renderer, const SunLight& sun)
{
    renderer.setDirectionalLight(sun.direction, sun.centre, sun.colour, sun.intensity, sun.extent, false);
}

void aim(Camera& camera, const CameraView& view)
{
    camera.setPosition(view.position);
    camera.setTarget(view.target);
    camera.setUp(view.up);
    camera.updateMatrices();
}
}

void RaceScene::publishCamera(const glm::vec3& position, const glm::vec3& target, const glm::mat4& view,
                              const glm::mat4& projection, const glm::mat4& viewProjection)
{
    shownPosition = position;
    shownTarget = target;
    particles->setMatrices(view, projection);
    renderer->updateCamera(view, projection);
    std::memcpy(debugUniforms.buffers[graphicsSystem->getCurrentFrame()].mapped, &viewProjection,
                sizeof(viewProjection));
}

void RaceScene::updateAttractCamera()
{
    const AttractShot shot = ::attractCamera(Timer::getElapsedTime());
    aim(attractCamera, shot.view);
    setSun(*renderer, shot.sun);
    publishCamera(attractCamera.getPosition(), attractCamera.getTarget(), attractCamera.getView(),
                  attractCamera.getProjection(), attractCamera.getViewProjection());
}

void RaceScene::updateChaseCamera()
{
    Mouse::setCursorMode(Mouse::cursorDisabled);
    const glm::vec3 keel = boat->interpolatedPosition(interpolationFactor);
    const ChaseShot shot = ::chaseCamera({keel + chasePivotHeight * glm::normalize(keel), boat->axes().forward(),
                                          Mouse::getPosition(),
                                          glm::vec2(static_cast<float>(Settings::getWindowWidth()),
                                                    static_cast<float>(Settings::getWindowHeight())),
                                          chaseSide});
    chaseSide = shot.side;
    aim(chaseCamera, shot.view);
}

void RaceScene::updateCamera()
{
    glm::vec3 sunCentre;
    if (followCamera)
    {
        updateChaseCamera();
        sunCentre = chaseSunCentre({chaseCamera.getPosition(), chaseCamera.getTarget(), glm::vec3(0.0f)});
        publishCamera(chaseCamera.getPosition(), chaseCamera.getTarget(), chaseCamera.getView(),
                      chaseCamera.getProjection(), chaseCamera.getViewProjection());
    }
    else
    {
        freeCamera.update(Mouse::getPosition(), keyAxis(Key::i, Key::k, Key::j, Key::l, Key::u, Key::o),
                          Timer::getDeltaTime() * cameraSpeed);
        sunCentre = freeSunCentre({freeCamera.getPosition(), freeCamera.getTarget(), glm::vec3(0.0f)});
        publishCamera(freeCamera.getPosition(), freeCamera.getTarget(), freeCamera.getView(),
                      freeCamera.getProjection(), freeCamera.getViewProjection());
    }
    setSun(*renderer, raceSun(raceRules.clock(), sunCentre));
}

glm::vec3 RaceScene::keyAxis(std::int16_t k1, std::int16_t k2, std::int16_t k3, std::int16_t k4, std::int16_t k5,
                             std::int16_t k6)
{
    const auto held = [](std::int16_t key) { return Keyboard::isKeyPressed(key) ? 1.0f : 0.0f; };
    return glm::vec3(held(k4) - held(k3), held(k5) - held(k6), held(k2) - held(k1));
}

const glm::vec3& RaceScene::cameraPosition() const
{
    return shownPosition;
}

const glm::vec3& RaceScene::cameraTarget() const
{
    return shownTarget;
}
