#include "renderers/deferred/DeferredUniforms.hpp"

#include "engine/GraphicsSystem.hpp"
#include "renderers/deferred/DeferredRenderer.hpp"

#include <glm/geometric.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/matrix.hpp>

#include <cmath>
#include <cstring>

namespace
{
constexpr float sunNear = 0.01f;

// A collection not made (before initialise, or after release) is not mapped.
template <typename Block>
void writeBlock(const UniformBuffer& buffer, const Block& block)
{
    if (buffer.mapped != nullptr)
    {
        std::memcpy(buffer.mapped, &block, sizeof(block));
    }
}
}

CameraUniforms makeCameraUniforms(const glm::mat4& view, const glm::mat4& projection)
{
    const glm::mat4 viewProjection = projection * view;
    return {view, projection, viewProjection, glm::inverse(view), glm::inverse(viewProjection)};
}

glm::mat4 sunProjection(float extent)
{
    const float left = -extent;
    const float right = extent;
    glm::mat4 projection(0.0f);
    projection[0][0] = 2.0f / (2.0f * extent);
    projection[1][1] = -2.0f / (2.0f * extent);
    projection[2][2] = -1.0f / (extent - sunNear);
    projection[3][0] = -(left + right) / (2.0f * extent);
    projection[3][1] = -(left + right) / (2.0f * extent);
    projection[3][2] = -sunNear / (extent - sunNear);
    projection[3][3] = 1.0f;
    return projection;
}

bool sunIsPlaceable(const glm::vec3& direction, float extent)
{
    const float length = glm::length(direction);
    return std::isfinite(length) && length > 0.0f && std::isfinite(extent) && extent > sunNear;
}

glm::vec3 sunUp(const glm::vec3& direction)
{
    const glm::vec3 down(0.0f, -1.0f, 0.0f);
    // Within about 2.5 degrees of the pole the look-at's side vector would be
    // too short to normalise.
    return std::abs(glm::dot(glm::normalize(direction), down)) < 0.999f ? down : glm::vec3(0.0f, 0.0f, 1.0f);
}

glm::vec3 sunEye(const glm::vec3& direction, const glm::vec3& centre, float extent)
{
    const glm::vec3 towardsSun = -direction;
    return centre + (towardsSun / glm::length(towardsSun)) * extent * 0.5f;
}

glm::mat4 sunViewProjection(const glm::vec3& direction, const glm::vec3& centre, float extent)
{
    const glm::mat4 view = glm::lookAtRH(sunEye(direction, centre, extent), centre, sunUp(direction));
    return sunProjection(extent) * view;
}

void DeferredRenderer::updateCamera(const glm::mat4& view, const glm::mat4& projection)
{
    const std::uint32_t frame = graphics->getCurrentFrame();
    const CameraUniforms camera = makeCameraUniforms(view, projection);
    writeBlock(cameraUniforms.buffers[frame], camera);
    frameViewProjections[frame] = camera.viewProjection;
    frameEyes[frame] = glm::vec3(camera.inverseView[3]);
}

void DeferredRenderer::setDirectionalLight(const glm::vec3& direction, const glm::vec3& centre,
                                           const glm::vec3& colour, float intensity, float extent, bool bothFrames)
{
    if (!sunIsPlaceable(direction, extent))
    {
        return;
    }
    const LightUniforms light{sunViewProjection(direction, centre, extent)};
    if (bothFrames)
    {
        for (const UniformBuffer& buffer : lightUniforms.buffers)
        {
            writeBlock(buffer, light);
        }
    }
    else
    {
        writeBlock(lightUniforms.buffers[graphics->getCurrentFrame()], light);
    }
    compositePushConstants.lightDirection = glm::vec4(direction, 0.0f);
    compositePushConstants.lightColour = glm::vec4(colour, intensity);
    oceanPushConstants.lightDirection = glm::vec4(direction, 0.0f);
}

std::int32_t DeferredRenderer::addPointLight(const glm::vec3& position, const glm::vec3& colour, float radius)
{
    // Before initialise there is no light sphere to hold the light.
    if (pointLightMesh == nullptr || pointLightMesh->instanceCount >= pointLightCapacity)
    {
        return -1;
    }
    const std::uint32_t count = pointLightMesh->instanceCount;
    pointLights[count] = {colour, radius, position, 0.0f};
    updateInstances(*pointLightMesh, *graphics, pointLights.data(),
                    static_cast<std::uint32_t>(pointLights.size() * sizeof(PointLight)));
    pointLightMesh->instanceCount = count + 1;
    return static_cast<std::int32_t>(count);
}

bool DeferredRenderer::setPointLight(const glm::vec3& position, const glm::vec3& colour, float radius,
                                     std::uint32_t index)
{
    if (pointLightMesh == nullptr || index >= pointLightMesh->instanceCount)
    {
        return false;
    }
    pointLights[index] = {colour, radius, position, 0.0f};
    updateInstances(*pointLightMesh, *graphics, pointLights.data(),
                    static_cast<std::uint32_t>(pointLights.size() * sizeof(PointLight)));
    return true;
}

void DeferredRenderer::setOceanDisabled(bool disabled)
{
    compositePushConstants.oceanDisabled = disabled ? 1 : 0;
}

void DeferredRenderer::setIntroFlag(bool intro)
{
    compositePushConstants.introFlag = intro ? 1 : 0;
}
