#pragma once

#include "graphics/VertexLayouts.hpp"

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>
#include <glm/vec4.hpp>

#include <array>
#include <cstddef>
#include <cstdint>

// What the deferred renderer hands its shaders: uniform blocks (std140, so
// every member is a vec4 or a mat4) and push-constant blocks, byte for byte as
// the shaders declare them.

// One instance of the point-light sphere.
struct PointLight
{
    glm::vec3 colour{0.0f};
    float radius = 0.0f;
    glm::vec3 position{100.0f};
    float spare = 100.0f;
};

struct CameraUniforms
{
    glm::mat4 view{1.0f};
    glm::mat4 projection{1.0f};
    glm::mat4 viewProjection{1.0f};
    glm::mat4 inverseView{1.0f};
    glm::mat4 inverseViewProjection{1.0f};
};

// The sun's projection x view, for its shadow map.
struct LightUniforms
{
    glm::mat4 viewProjection{1.0f};
};

struct SsaoKernelUniforms
{
    std::array<glm::vec4, 16> samples{};
};

// Nine RGB coefficients of the diffuse irradiance in the order L00, L1-1, L10,
// L11, L2-2, L2-1, L20, L21, L22, already scaled by the cosine lobe.
struct SphericalHarmonicsUniforms
{
    std::array<glm::vec4, 9> coefficients{};
};

struct CompositePushConstants
{
    glm::vec4 lightDirection{0.0f};
    // The intensity in w.
    glm::vec4 lightColour{0.0f};
    float fogDistance = 140.0f;
    std::int32_t renderMode = 0;
    std::uint32_t introFlag = 0;
    std::uint32_t oceanDisabled = 0;
};

struct ColourGradingPushConstants
{
    float gamma = 2.2f;
    float exposure = 1.2f;
    float saturation = 1.2f;
    float bloomStrength = 1.4f;
    std::uint32_t colourGradingMode = 0;
};

struct OceanPushConstants
{
    glm::vec4 lightDirection{0.2f, -1.0f, 0.2f, 0.0f};
    float time = 0.0f;
};

struct BlurPushConstants
{
    // 1 across, 0 down.
    std::uint32_t horizontal = 1;
    float spread = 1.5f;
};

static_assert(sizeof(PointLight) == sizeof(PointLightInstance));
static_assert(sizeof(CameraUniforms) == 320);
static_assert(sizeof(LightUniforms) == 64);
static_assert(sizeof(SsaoKernelUniforms) == 256);
static_assert(sizeof(SphericalHarmonicsUniforms) == 144);
static_assert(sizeof(CompositePushConstants) == 48);
static_assert(sizeof(ColourGradingPushConstants) == 20);
static_assert(sizeof(OceanPushConstants) == 20);
static_assert(sizeof(BlurPushConstants) == 8);
static_assert(offsetof(CompositePushConstants, fogDistance) == 32);
static_assert(offsetof(CompositePushConstants, oceanDisabled) == 44);
static_assert(offsetof(ColourGradingPushConstants, colourGradingMode) == 16);
static_assert(offsetof(OceanPushConstants, time) == 16);

CameraUniforms makeCameraUniforms(const glm::mat4& view, const glm::mat4& projection);

// An orthographic box of half-width `extent` with Vulkan's depth range, from
// 0.01 to `extent` in front of the sun. Y is turned over as in the cameras'
// projections, so that the shadow pass's front-face culling drops the faces
// turned to the sun and a closed occluder leaves its far side in the map.
glm::mat4 sunProjection(float extent);
// A sun that can be placed: a finite direction that is not zero and a box
// deeper than its near plane. Any other gives no matrix and is ignored.
bool sunIsPlaceable(const glm::vec3& direction, float extent);
// The sun camera's up: -Y, or +Z where the light falls (nearly) along Y.
glm::vec3 sunUp(const glm::vec3& direction);
// The sun's camera stands half the extent from the centre, against the light,
// and looks at the centre; the direction's length does not matter.
glm::vec3 sunEye(const glm::vec3& direction, const glm::vec3& centre, float extent);
glm::mat4 sunViewProjection(const glm::vec3& direction, const glm::vec3& centre, float extent);
