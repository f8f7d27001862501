#include "engine/GraphicsSystem.hpp"
#include "engine/Log.hpp"
#include "engine/Settings.hpp"
#include "graphics/ImageLoading.hpp"
#include "graphics/Sphere.hpp"
#include "graphics/UniformBuffers.hpp"
#include "renderers/deferred/DeferredRenderer.hpp"
#include "renderers/deferred/DescriptorWriters.hpp"
#include "renderers/deferred/OceanSphere.hpp"
#include "renderers/deferred/RendererPictures.hpp"

#include <fmt/format.h>

#include <cstdio>
#include <optional>

namespace
{
constexpr std::uint32_t ssaoWidth = 640;
constexpr std::uint32_t ssaoHeight = 360;
// Past the level count of any material map the scenes load.
constexpr std::uint32_t materialLevelLimit = 60;

Texture* loadImageTexture(TextureContainer& textures, const std::string& path)
{
    const std::optional<ImageData<std::uint32_t>> image = loadImage(path);
    if (!image)
    {
        return nullptr;
    }
    Texture* texture = createTexture(textures, *image, VK_FORMAT_R8G8B8A8_UNORM, false, imageTextureSettings);
    if (texture == nullptr)
    {
        logError(fmt::format("Texture of \"{}\" could not be created.", path));
    }
    return texture;
}

// For the steps whose creators report only at the debug level, so that every
// failed set-up leaves an error behind.
bool failed(const char* sentence)
{
    logError(sentence);
    return false;
}

void printStep(const char* line)
{
    std::printf("%s", line);
}
}

bool DeferredRenderer::createGBuffer()
{
    const std::uint32_t width = Settings::getWindowWidth();
    const std::uint32_t height = Settings::getWindowHeight();
    // The depth attachment must have the format the render passes are made
    // with, which is D32_SFLOAT wherever the device offers it.
    const VkFormat depthFormat = graphics->physicalDeviceInfo.depthFormat;
    const struct
    {
        TextureCollection& target;
        TargetShape shape;
    } targets[] = {
        {gBufferTarget0, {width, height, VK_FORMAT_R8G8B8A8_UNORM}},
        {gBufferTarget1, {width, height, VK_FORMAT_R16G16B16A16_SFLOAT}},
        {gBufferTarget2, {width, height, VK_FORMAT_R16_SFLOAT}},
        {depthTarget, {width, height, depthFormat}},
        {gBufferTarget3, {width, height, VK_FORMAT_R8G8B8A8_SRGB}},
        {ssaoTarget, {ssaoWidth, ssaoHeight, VK_FORMAT_R16G16_SFLOAT}},
        {pointLightTarget, {width, height, VK_FORMAT_R16G16B16A16_SFLOAT}},
        {directionalLightTarget, {width, height, VK_FORMAT_R16_SFLOAT}},
        {compositeTarget, {width, height, VK_FORMAT_R16G16B16A16_SFLOAT}},
        {bloomTarget, {width, height, VK_FORMAT_R16G16B16A16_SFLOAT}},
        {blurTarget, {width, height, VK_FORMAT_R16G16B16A16_SFLOAT}},
    };
    std::vector<TargetShape> shapes;
    for (const auto& entry : targets)
    {
        shapes.push_back(entry.shape);
    }
    renderTargets = sharedTargets(*graphics, shapes);
    if (!renderTargets)
    {
        return failed("Deferred renderer targets could not be created.");
    }
    for (std::size_t target = 0; target < shapes.size(); ++target)
    {
        targets[target].target = renderTargets->targets[target];
    }
    return true;
}

bool DeferredRenderer::initialise()
{
    // Once more would leak the buffers and append targets to the pipelines.
    if (cameraUniforms.buffers[0].buffer != VK_NULL_HANDLE)
    {
        return failed("The renderer is initialised already; it must be released first.");
    }
    std::optional<UniformBufferCollection> camera = createUniformBufferCollection<sizeof(CameraUniforms)>(*graphics);
    if (!camera)
    {
        return failed("Camera uniform buffers could not be created.");
    }
    cameraUniforms = *camera;
    std::optional<UniformBufferCollection> light = createUniformBufferCollection<sizeof(LightUniforms)>(*graphics);
    if (!light)
    {
        return failed("Light uniform buffers could not be created.");
    }
    lightUniforms = *light;

    if (!createGBuffer())
    {
        return false;
    }
    printStep("created G-Buffer \n ");
    const std::optional<VkSampler> materials = createLinearSampler(textures, materialLevelLimit);
    if (!materials)
    {
        return false;
    }
    materialSampler = *materials;
    const std::optional<VkSampler> nearest = createEdgeClampedSampler(textures, VK_FILTER_NEAREST);
    if (!nearest)
    {
        return false;
    }
    nearestSampler = *nearest;

    const std::vector<TextureCollection> gBufferTargets{gBufferTarget0, gBufferTarget1, gBufferTarget2,
                                                        gBufferTarget3, depthTarget};
    if (!createTextureRenderTargetPipeline2<ModelVertex, TwoMatrixInstance>(gBufferPipeline, gBufferDescription,
                                                                            gBufferTargets))
    {
        return false;
    }
    printStep("gBufferPassPipelineInit \n ");
    if (!createTextureRenderTargetPipeline2<ModelVertex, TwoMatrixInstance>(
            gBufferTessellationPipeline, gBufferTessellationDescription, gBufferTargets) ||
        !createTextureRenderTargetPipeline2<ModelVertex, TwoMatrixInstance>(
            gBufferTessellationLoadPipeline, gBufferTessellationLoadDescription, gBufferTargets))
    {
        return false;
    }
    printStep("gBufferTessellationPassPipelineInit \n ");

    if (!initialiseOceanPass())
    {
        return false;
    }
    printStep("oceanPassPipelineInit \n ");
    if (!initialiseSsaoPass())
    {
        return false;
    }
    printStep("ssaoPassPipelineInit \n ");

    if (!createTextureRenderTargetPipeline2<PositionVertex, PointLightInstance>(pointLightPipeline,
                                                                               pointLightDescription,
                                                                               {pointLightTarget}))
    {
        return false;
    }
    std::vector<PointLightInstance> instances;
    instances.reserve(pointLights.size());
    for (const PointLight& light : pointLights)
    {
        instances.push_back({glm::vec4(light.colour, light.radius), glm::vec4(light.position, light.spare)});
    }
    const std::optional<InstancedMesh*> lightMesh =
        createInstancedMesh(meshes, generateSphere(3.0f, 8, 4), instances);
    if (!lightMesh)
    {
        return failed("The point-light sphere could not be created.");
    }
    pointLightMesh = *lightMesh;
    pointLightMesh->instanceCount = 0;
    writePointLightDescriptorSets(pointLightPipeline, cameraUniforms,
                                  {gBufferTarget0, gBufferTarget1, gBufferTarget2, gBufferTarget3}, nearestSampler);
    printStep("pointLightPassPipelineInit \n ");

    if (!createTextureRenderTargetPipeline2<ModelVertex, TwoMatrixInstance>(
            directionalLightPipeline, directionalLightDescription, {directionalLightTarget, depthTarget}))
    {
        return false;
    }
    writeDirectionalLightDescriptorSets(directionalLightPipeline, lightUniforms);
    printStep("directionalLightPassPipelineInit \n ");

    if (!initialisePbrCompositePass())
    {
        return false;
    }
    printStep("pbrCompositePassPipelineInit \n ");

    if (!createTextureRenderTargetPipeline2<NoVertex>(firstBlurPipeline, blurDescription, {blurTarget}) ||
        !createTextureRenderTargetPipeline2<NoVertex>(secondBlurPipeline, blurDescription, {bloomTarget}))
    {
        return false;
    }
    writeBlurDescriptorSets(firstBlurPipeline, bloomTarget, nearestSampler);
    writeBlurDescriptorSets(secondBlurPipeline, blurTarget, nearestSampler);
    printStep("blurPassPipelineInit \n ");

    if (!createSwapChainPipeline2(colourGradingPipeline, colourGradingDescription))
    {
        return false;
    }
    writeColourGradingDescriptorSets(colourGradingPipeline, compositeTarget, blurTarget, nearestSampler);
    printStep("colorGradingPassPipelineInit \n ");
    return true;
}

bool DeferredRenderer::initialiseOceanPass()
{
    if (!createTextureRenderTargetPipeline2<PositionVertex>(
            oceanPipeline, oceanDescription, {gBufferTarget0, gBufferTarget1, gBufferTarget2, gBufferTarget3}))
    {
        return false;
    }
    const std::optional<VkSampler> linear = createLinearSampler(textures, environmentCubeTexture.mipLevels);
    if (!linear)
    {
        return false;
    }
    linearSampler = *linear;
    firstWaveTexture = loadImageTexture(textures, fmt::format("Assets/{}", oceanWavesFile));
    if (firstWaveTexture == nullptr)
    {
        return false;
    }
    // Both wave layers read the same picture: one texture serves them.
    secondWaveTexture = firstWaveTexture;
    const std::optional<Mesh*> sphere = createMesh(meshes, generateSphere(oceanRadius, oceanSegments, oceanRings));
    if (!sphere)
    {
        return failed("The ocean sphere could not be created.");
    }
    oceanMesh = *sphere;
    // Sampled through the scene's linear sampler, the depth target would be
    // invalid on drivers that cannot filter its format.
    const std::optional<VkSampler> nearestWhereNeeded = createTextureSampler(
        textures, *depthTarget.textures[0], 1, VK_FILTER_LINEAR, VK_FILTER_LINEAR, VK_SAMPLER_MIPMAP_MODE_NEAREST);
    if (!nearestWhereNeeded)
    {
        return false;
    }
    depthSampler = *nearestWhereNeeded;
    writeOceanDescriptorSets(oceanPipeline, cameraUniforms, depthTarget, depthSampler, *firstWaveTexture,
                             *secondWaveTexture, linearSampler);
    return true;
}

bool DeferredRenderer::initialisePbrCompositePass()
{
    // Descriptors of images and buffers that do not exist would be invalid.
    if (environmentCubeTexture.image.view == VK_NULL_HANDLE || shUniforms.buffers[0].buffer == VK_NULL_HANDLE)
    {
        logError("The environment must be loaded before the renderer is initialised.");
        return false;
    }
    if (!createTextureRenderTargetPipeline2<NoVertex>(compositePipeline, compositeDescription,
                                                      {compositeTarget, bloomTarget}))
    {
        return false;
    }
    brdfLookupTexture = loadImageTexture(textures, fmt::format("Assets/{}", brdfTableFile));
    if (brdfLookupTexture == nullptr)
    {
        return false;
    }
    const std::optional<VkSampler> clamped = createEdgeClampedSampler(textures, VK_FILTER_LINEAR);
    if (!clamped)
    {
        return false;
    }
    edgeSampler = *clamped;
    const CompositeInputs images{{gBufferTarget0, gBufferTarget1, gBufferTarget2, gBufferTarget3},
                                 ssaoTarget,
                                 pointLightTarget,
                                 directionalLightTarget,
                                 &environmentCubeTexture,
                                 brdfLookupTexture};
    writePbrCompositeDescriptorSets(compositePipeline, images, shUniforms, lightUniforms, cameraUniforms,
                                    nearestSampler, edgeSampler, linearSampler);
    return true;
}

void DeferredRenderer::setMaterialTextures(const Texture* albedo, const Texture* normal, const Texture* arme)
{
    if (albedo == nullptr || normal == nullptr || arme == nullptr)
    {
        return;
    }
    for (TextureRenderTargetPipeline2* pipeline :
         {&gBufferPipeline, &gBufferTessellationPipeline, &gBufferTessellationLoadPipeline})
    {
        // Before initialise, or after it failed, a pipeline has no sets to write.
        if (pipeline->descriptorSets[0] != VK_NULL_HANDLE)
        {
            writeGBufferDescriptorSets(*pipeline, cameraUniforms, *albedo, *normal, *arme, materialSampler);
        }
    }
}
