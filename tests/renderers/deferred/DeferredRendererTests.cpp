#include "renderers/deferred/DeferredRenderer.hpp"
#include "renderers/deferred/EnvironmentLighting.hpp"
#include "renderers/deferred/FramePasses.hpp"
#include "renderers/deferred/PassDescriptions.hpp"
#include "renderers/deferred/SsaoKernel.hpp"
#include "support/StdoutCapture.hpp"

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/packing.hpp>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace
{
void expectNear(const glm::vec3& actual, const glm::vec3& expected, float tolerance)
{
    for (int axis = 0; axis < 3; ++axis)
    {
        EXPECT_NEAR(actual[axis], expected[axis], tolerance) << "axis " << axis;
    }
}

void expectNear(const glm::mat4& actual, const glm::mat4& expected)
{
    for (int column = 0; column < 4; ++column)
    {
        for (int row = 0; row < 4; ++row)
        {
            EXPECT_NEAR(actual[column][row], expected[column][row], 1e-5f) << column << ", " << row;
        }
    }
}

// Six 64 x 64 faces in layer order, each texel the face's bytes.
std::vector<std::uint8_t> cubeLevel(const std::array<std::vector<std::uint8_t>, 6>& texelOfFace)
{
    std::vector<std::uint8_t> pixels;
    for (const std::vector<std::uint8_t>& texel : texelOfFace)
    {
        for (std::size_t index = 0; index < 64 * 64; ++index)
        {
            pixels.insert(pixels.end(), texel.begin(), texel.end());
        }
    }
    return pixels;
}

std::vector<std::uint8_t> halfTexel(float value)
{
    const std::uint16_t half = glm::packHalf1x16(value);
    std::vector<std::uint8_t> bytes(8);
    for (std::size_t channel = 0; channel < 4; ++channel)
    {
        std::memcpy(&bytes[channel * 2], &half, sizeof(half));
    }
    return bytes;
}

TEST(SsaoKernelTest, SixteenGrowingSamplesInTheUpperHalfSpace)
{
    const SsaoKernelUniforms kernel = computeSsaoKernel();
    const std::array<std::pair<std::size_t, glm::vec3>, 4> tellingRows{
        {{0, {0.0f, 0.0f, 0.1f}}, {1, {-0.0370f, 0.0339f, 0.0906f}}, {8, {0.3053f, 0.1115f, 0.0f}},
         {15, {-0.0554f, -0.4278f, 0.7796f}}}};
    for (const auto& [index, expected] : tellingRows)
    {
        expectNear(glm::vec3(kernel.samples[index]), expected, 1e-4f);
    }
    EXPECT_NEAR(glm::length(glm::vec3(kernel.samples[8])), 0.325f, 1e-5f);
    EXPECT_NEAR(glm::length(glm::vec3(kernel.samples[15])), 0.891f, 1e-4f);
    EXPECT_NEAR(kernel.samples[7].z, 0.034f, 1e-3f);
    float previousLength = 0.0f;
    for (const glm::vec4& sample : kernel.samples)
    {
        EXPECT_EQ(sample.w, 0.0f);
        EXPECT_GE(sample.z, 0.0f);
        EXPECT_GT(glm::length(glm::vec3(sample)), previousLength);
        previousLength = glm::length(glm::vec3(sample));
    }
}

TEST(EnvironmentLightingTest, WhiteCubeGivesOnlyTheConstantTermOfAboutFourPiTimesPi)
{
    const std::vector<std::uint8_t> white(6 * 64 * 64 * 4, 255);
    const SphericalHarmonicsUniforms fromBytes = projectIrradianceSH(white, false);
    expectNear(glm::vec3(fromBytes.coefficients[0]), glm::vec3(11.137f), 2e-3f);
    for (std::size_t k = 1; k < 9; ++k)
    {
        expectNear(glm::vec3(fromBytes.coefficients[k]), glm::vec3(0.0f), 1e-4f);
    }
    // Half floats of 1 are the same light as white sRGB bytes.
    const SphericalHarmonicsUniforms fromHalves = projectIrradianceSH(
        cubeLevel({halfTexel(1.0f), halfTexel(1.0f), halfTexel(1.0f), halfTexel(1.0f), halfTexel(1.0f),
                   halfTexel(1.0f)}),
        true);
    for (std::size_t k = 0; k < 9; ++k)
    {
        expectNear(glm::vec3(fromHalves.coefficients[k]), glm::vec3(fromBytes.coefficients[k]), 1e-4f);
        EXPECT_EQ(fromHalves.coefficients[k].w, 0.0f);
    }
}

TEST(EnvironmentLightingTest, LightFromAboveOnlyTurnsTheIrradianceUpwards)
{
    const std::vector<std::uint8_t> dark{0, 0, 0, 255};
    // sRGB 188 is about 0.5 in linear light, on red alone.
    const std::vector<std::uint8_t> redAbove{188, 0, 0, 255};
    const SphericalHarmonicsUniforms sh =
        projectIrradianceSH(cubeLevel({dark, dark, redAbove, dark, dark, dark}), false);
    const float constant = sh.coefficients[0].r;
    EXPECT_NEAR(constant, 11.137f / 6.0f * 0.5f, 0.03f);
    EXPECT_GT(sh.coefficients[1].r, 0.5f * constant);
    EXPECT_NEAR(sh.coefficients[2].r, 0.0f, 1e-4f);
    EXPECT_NEAR(sh.coefficients[3].r, 0.0f, 1e-4f);
    for (const glm::vec4& coefficient : sh.coefficients)
    {
        EXPECT_EQ(coefficient.g, 0.0f);
        EXPECT_EQ(coefficient.b, 0.0f);
    }
    // Up the irradiance is that of the bright face, down nearly nothing.
    const float up = 0.282095f * constant + 0.488603f * sh.coefficients[1].r - 0.315392f * sh.coefficients[6].r -
                     0.546274f * sh.coefficients[8].r;
    const float down = 0.282095f * constant - 0.488603f * sh.coefficients[1].r - 0.315392f * sh.coefficients[6].r -
                       0.546274f * sh.coefficients[8].r;
    EXPECT_GT(up, 10.0f * std::abs(down));

    const SphericalHarmonicsUniforms fromTooFew = projectIrradianceSH(std::vector<std::uint8_t>(100, 255), false);
    EXPECT_EQ(fromTooFew.coefficients[0], glm::vec4(0.0f))
        << "too few bytes are not read past";
}

TEST(EnvironmentLightingTest, FirstPathAloneChoosesTheFaceKindAndSizesMustHaveA64Level)
{
    EXPECT_EQ(cubeFaceKind("sky/right.png"), CubeFaceKind::EightBit);
    EXPECT_EQ(cubeFaceKind(".png"), CubeFaceKind::EightBit);
    EXPECT_EQ(cubeFaceKind("right.hdr"), CubeFaceKind::HalfFloat);
    EXPECT_EQ(cubeFaceKind("hdr"), CubeFaceKind::HalfFloat);
    EXPECT_EQ(cubeFaceKind("right.jpg"), std::nullopt);
    EXPECT_EQ(cubeFaceKind("png"), std::nullopt);
    EXPECT_EQ(cubeFaceKind(""), std::nullopt);

    EXPECT_TRUE(cubeFaceSizeFits(64, 64));
    EXPECT_TRUE(cubeFaceSizeFits(2048, 2048));
    EXPECT_FALSE(cubeFaceSizeFits(32, 32));
    EXPECT_FALSE(cubeFaceSizeFits(96, 96));
    EXPECT_FALSE(cubeFaceSizeFits(128, 64));
}

TEST(DeferredUniformsTest, CameraBlockHoldsTheProductsAndInverses)
{
    const glm::mat4 view = glm::lookAt(glm::vec3(1, 2, 3), glm::vec3(0), glm::vec3(0, 1, 0));
    const glm::mat4 projection = glm::perspective(1.2f, 1.5f, 0.1f, 50.0f);
    const CameraUniforms camera = makeCameraUniforms(view, projection);
    EXPECT_EQ(camera.viewProjection, projection * view);
    expectNear(camera.inverseView * view, glm::mat4(1.0f));
    expectNear(camera.inverseViewProjection * camera.viewProjection, glm::mat4(1.0f));
}

TEST(DeferredUniformsTest, SunStandsHalfTheExtentAwayWhateverTheDirectionsLength)
{
    const glm::vec3 centre(3, 100, -2);
    expectNear(sunEye({0, -2, 0.5f}, centre, 50.0f), centre + glm::normalize(glm::vec3(0, 2, -0.5f)) * 25.0f, 1e-4f);
    expectNear(sunViewProjection({0, -2, 0.5f}, centre, 50.0f), sunViewProjection({0, -1, 0.25f}, centre, 50.0f));

    const glm::mat4 box = sunProjection(10.0f);
    EXPECT_FLOAT_EQ(box[0][0], 0.1f);
    EXPECT_FLOAT_EQ(box[1][1], -0.1f) << "Y turned over, as the cameras have it";
    EXPECT_FLOAT_EQ(box[2][2], -1.0f / 9.99f);
    EXPECT_FLOAT_EQ(box[3][2], -0.01f / 9.99f);
    EXPECT_EQ(box[3][0], 0.0f);
    EXPECT_EQ(box[3][3], 1.0f);
    // The centre lies half way into the depth range, the far end at 1.
    const glm::vec4 middle = sunViewProjection({1, 0, 0}, centre, 10.0f) * glm::vec4(centre, 1.0f);
    EXPECT_NEAR(middle.z, (5.0f - 0.01f) / 9.99f, 1e-5f);
    const glm::vec4 far = sunViewProjection({1, 0, 0}, centre, 10.0f) * glm::vec4(centre + glm::vec3(5, 0, 0), 1.0f);
    EXPECT_NEAR(far.z, 1.0f, 1e-5f);
}

TEST(DeferredUniformsTest, ASunAlongTheAxisGivesAMatrixAndAZeroOneIsIgnored)
{
    for (const glm::vec3& direction : {glm::vec3(0, -1, 0), glm::vec3(0, 3, 0), glm::vec3(1e-4f, -1, 0)})
    {
        const glm::mat4 matrix = sunViewProjection(direction, {}, 10.0f);
        for (int column = 0; column < 4; ++column)
        {
            EXPECT_FALSE(glm::any(glm::isnan(matrix[column])) || glm::any(glm::isinf(matrix[column]))) << direction.y;
        }
        // The centre still lies half way into the depth range.
        EXPECT_NEAR((matrix * glm::vec4(0, 0, 0, 1)).z, (5.0f - 0.01f) / 9.99f, 1e-5f);
    }
    EXPECT_EQ(sunUp({1, -1, 0}), glm::vec3(0, -1, 0));
    EXPECT_FALSE(sunIsPlaceable({}, 10.0f));
    EXPECT_FALSE(sunIsPlaceable({NAN, -1, 0}, 10.0f));
    EXPECT_FALSE(sunIsPlaceable({0, -1, 0}, 0.01f));
    EXPECT_TRUE(sunIsPlaceable({0, -1e-3f, 0}, 0.02f));

    DeferredRenderer renderer(nullptr, 1, VK_NULL_HANDLE);
    renderer.setDirectionalLight({1, -1, 0}, {}, {1, 1, 1}, 2.0f, 10.0f, true);
    renderer.setDirectionalLight({}, {}, {0, 0, 0}, 0.0f, 10.0f, true);
    EXPECT_EQ(renderer.compositePushConstants.lightDirection, glm::vec4(1, -1, 0, 0));
    EXPECT_EQ(renderer.compositePushConstants.lightColour, glm::vec4(1, 1, 1, 2));
    EXPECT_EQ(renderer.oceanPushConstants.lightDirection, glm::vec4(1, -1, 0, 0));
}

TEST(DeferredRendererTest, StartsWithItsDefaultsAndStoresTheSunUnnormalised)
{
    DeferredRenderer renderer(nullptr, 75, VK_NULL_HANDLE);
    ASSERT_EQ(renderer.pointLights.size(), 75u);
    EXPECT_EQ(renderer.pointLights[74].position, glm::vec3(100.0f));
    EXPECT_EQ(renderer.pointLights[74].radius, 0.0f);
    EXPECT_EQ(renderer.pointLights[74].spare, 100.0f);
    EXPECT_EQ(renderer.blurIterations, 3);
    EXPECT_EQ(renderer.compositePushConstants.fogDistance, 140.0f);
    EXPECT_EQ(renderer.colourGradingPushConstants.bloomStrength, 1.4f);
    EXPECT_EQ(renderer.oceanPushConstants.lightDirection, glm::vec4(0.2f, -1.0f, 0.2f, 0.0f));
    // Before initialise there is nothing to hold a light.
    EXPECT_EQ(renderer.addPointLight({}, {1, 1, 1}, 1.0f), -1);
    EXPECT_FALSE(renderer.setPointLight({}, {1, 1, 1}, 1.0f, 0));
    const Texture array;
    renderer.setMaterialTextures(&array, &array, &array);

    renderer.setDirectionalLight({0, -2, 0}, {}, {1.0f, 0.5f, 0.25f}, 3.0f, 10.0f, true);
    EXPECT_EQ(renderer.compositePushConstants.lightDirection, glm::vec4(0, -2, 0, 0));
    EXPECT_EQ(renderer.compositePushConstants.lightColour, glm::vec4(1.0f, 0.5f, 0.25f, 3.0f));
    EXPECT_EQ(renderer.oceanPushConstants.lightDirection, glm::vec4(0, -2, 0, 0));
    renderer.setIntroFlag(true);
    renderer.setOceanDisabled(true);
    EXPECT_EQ(renderer.compositePushConstants.introFlag, 1u);
    EXPECT_EQ(renderer.compositePushConstants.oceanDisabled, 1u);
}

TEST(DeferredRendererTest, DebugModesCountWithoutBoundsAndOnlyTheRenderModeIsPrinted)
{
    DeferredRenderer backwards(nullptr, 1, VK_NULL_HANDLE);
    DeferredRenderer forwards(nullptr, 1, VK_NULL_HANDLE);
    StdoutCapture capture;
    backwards.previousRenderMode();
    for (int press = 0; press < 3; ++press)
    {
        forwards.nextRenderMode();
    }
    forwards.nextPointLightMode();
    forwards.nextColourGradingMode();
    forwards.nextColourGradingMode();
    EXPECT_EQ(capture.text(), "render Mode: -1\nrender Mode: 1\nrender Mode: 2\nrender Mode: 3\n");
    EXPECT_EQ(backwards.compositePushConstants.renderMode, -1);
    EXPECT_EQ(forwards.compositePushConstants.renderMode, 3);
    EXPECT_EQ(forwards.pointLightMode, 1u);
    EXPECT_EQ(forwards.colourGradingPushConstants.colourGradingMode, 2u);
    EXPECT_EQ(backwards.pointLightMode, 0u);
}

std::vector<std::string> passNames(std::int32_t blurRounds)
{
    std::vector<std::string> names;
    for (const FramePass& pass : framePasses(blurRounds))
    {
        names.push_back(passName(pass));
    }
    return names;
}

// The names are those the benchmarks print, pass by pass.
TEST(FramePassesTest, EachBlurRoundIsAnAcrossAndADownPassBetweenCompositeAndColourGrading)
{
    EXPECT_EQ(passNames(3),
              (std::vector<std::string>{"geometry", "ocean", "ambient occlusion", "point lights", "sun shadow",
                                        "composite", "blur 1 across", "blur 1 down", "blur 2 across", "blur 2 down",
                                        "blur 3 across", "blur 3 down", "colour grading"}));
    const std::vector<std::string> unblurred{"geometry",   "ocean",     "ambient occlusion", "point lights",
                                             "sun shadow", "composite", "colour grading"};
    EXPECT_EQ(passNames(0), unblurred);
    EXPECT_EQ(passNames(-2), unblurred);
    const std::vector<FramePass> oneRound = framePasses(1);
    ASSERT_EQ(oneRound.size(), 9u);
    EXPECT_EQ(oneRound[6].kind, PassKind::blurAcross);
    EXPECT_EQ(oneRound[7].kind, PassKind::blurDown);
    EXPECT_EQ(oneRound[7].round, 1);
    EXPECT_EQ(oneRound[8].round, 0);
}

TEST(PassDescriptionsTest, BindingsAndPushRangesMatchTheShaders)
{
    const auto types = [](const PipelineDescription& description) {
        std::string letters;
        for (const PipelineDescriptorBinding& binding : description.descriptorBindings)
        {
            letters += binding.descriptorType == VK_DESCRIPTOR_TYPE_UNIFORM_BUFFER ? 'U' : 'I';
        }
        return letters;
    };
    EXPECT_EQ(types(describeGBufferPass()), "UIII");
    EXPECT_EQ(types(describeOceanPass()), "UIII");
    EXPECT_EQ(types(describeSsaoPass()), "UUII");
    EXPECT_EQ(types(describePointLightPass()), "UIIII");
    EXPECT_EQ(types(describeDirectionalLightPass()), "U");
    EXPECT_EQ(types(describeCompositePass()), "IIIIIIIIIUUU");
    EXPECT_EQ(types(describeBlurPass()), "I");
    EXPECT_EQ(types(describeColourGradingPass()), "II");

    const PipelineDescription tessellated = describeGBufferTessellationPass(VK_ATTACHMENT_LOAD_OP_LOAD);
    EXPECT_EQ(tessellated.topology, VK_PRIMITIVE_TOPOLOGY_PATCH_LIST);
    EXPECT_EQ(tessellated.shaders.size(), 4u);
    EXPECT_EQ(tessellated.descriptorBindings[0].stageFlags, VK_SHADER_STAGE_TESSELLATION_EVALUATION_BIT);
    ASSERT_EQ(tessellated.pushConstantRanges.size(), 2u);
    EXPECT_EQ(tessellated.pushConstantRanges[1].stageFlags, VK_SHADER_STAGE_TESSELLATION_EVALUATION_BIT);
    EXPECT_EQ(tessellated.colourLoadOp, VK_ATTACHMENT_LOAD_OP_LOAD);
    EXPECT_EQ(tessellated.depthLoadOp, VK_ATTACHMENT_LOAD_OP_LOAD);

    const PipelineDescription lights = describePointLightPass();
    EXPECT_EQ(lights.cullMode, VK_CULL_MODE_FRONT_BIT);
    EXPECT_EQ(lights.blendMode, BlendMode::Additive);
    EXPECT_EQ(lights.descriptorBindings[0].stageFlags, VK_SHADER_STAGE_VERTEX_BIT | VK_SHADER_STAGE_FRAGMENT_BIT);
    EXPECT_EQ(describeCompositePass().pushConstantRanges[0].size, sizeof(CompositePushConstants));
    EXPECT_EQ(describeColourGradingPass().pushConstantRanges[0].size, sizeof(ColourGradingPushConstants));
    EXPECT_EQ(describeOceanPass().pushConstantRanges[0].size, sizeof(OceanPushConstants));
    EXPECT_EQ(describeBlurPass().pushConstantRanges[0].size, sizeof(BlurPushConstants));
    EXPECT_TRUE(describeDirectionalLightPass().hasDepthAttachment);
    EXPECT_FALSE(describeOceanPass().hasDepthAttachment);
}
}
