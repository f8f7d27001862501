#pragma once

#include "engine/vulkan/ResourceRecords.hpp"
#include "graphics/Mesh.hpp"
#include "graphics/Pipeline2.hpp"
#include "graphics/PipelineDescription.hpp"
#include "graphics/Texture.hpp"
#include "graphics/TextureRenderTargetPipeline2.hpp"
#include "renderers/deferred/DeferredUniforms.hpp"
#include "renderers/deferred/FramePasses.hpp"
#include "renderers/deferred/SharedTargets.hpp"

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>
#include <vulkan/vulkan.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class GraphicsSystem;
struct ModelCollection;

// Records the scene's models into the frame: called inside the geometry pass,
// where each model's material is pushed first, and inside the sun's shadow
// pass, where the shapes alone count.
using ModelDraws = std::function<void(const FrameInfo& frame, PassKind pass)>;

// Called as a frame is recorded, at its start and after each of its passes,
// outside any render pass, with the number of passes recorded so far.
using PassHook = std::function<void(VkCommandBuffer commandBuffer, std::size_t passesRecorded)>;

// The renderer of the track scenes: models into a G-buffer, the ocean, ambient
// occlusion, point lights and the sun's shadow map, a physically based
// composite with image-based lighting, bloom and colour grading onto the swap
// chain. Vulkan objects are made by loadEnvironment and initialise and
// released only by release.
class DeferredRenderer
{
public:
    DeferredRenderer(GraphicsSystem* graphics, std::uint32_t pointLightCapacity, VkSampler sampler);
    ~DeferredRenderer();
    DeferredRenderer(const DeferredRenderer&) = delete;
    DeferredRenderer& operator=(const DeferredRenderer&) = delete;

    // Environment lighting: the cube map from six faces in layer order +X, -X,
    // +Y, -Y, +Z, -Z, and its diffuse irradiance. Before initialise.
    bool loadEnvironment(const std::array<std::string, 6>& paths);

    // Prints one progress line per step; false at the first failure, leaving
    // what was made for release.
    bool initialise();
    bool createGBuffer();
    bool initialiseOceanPass();
    bool initialiseSsaoPass();
    bool initialisePbrCompositePass();
    // The scene's albedo, normal and ARME texture arrays for the geometry passes.
    void setMaterialTextures(const Texture* albedo, const Texture* normal, const Texture* arme);
    void release();

    // A frame's passes, recorded in this order between the graphics system's
    // beginFrame and endFrame: the geometry pass, into which the scene draws
    // its models with their materials between begin and end; the lighting
    // passes (ocean, ambient occlusion, point lights; `time` moves the ocean,
    // in seconds); the sun's pass, into which the scene draws its shadow
    // casters again between begin and end, without materials; the
    // post-process passes (composite, blur, colour grading), the last onto
    // the acquired swap-chain image. Together they are the passes of
    // framePasses(blurIterations), and the pass hook runs ahead of the first
    // and after each.
    void beginGeometryPass(VkCommandBuffer commandBuffer, std::uint32_t frameIndex);
    void endGeometryPass(VkCommandBuffer commandBuffer);
    void recordLightingPasses(VkCommandBuffer commandBuffer, std::uint32_t frameIndex, float time);
    void beginSecondPass(VkCommandBuffer commandBuffer, std::uint32_t frameIndex);
    void endSecondPass(VkCommandBuffer commandBuffer);
    void recordPostProcessPasses(VkCommandBuffer commandBuffer, std::uint32_t frameIndex, std::uint32_t imageIndex);
    // The whole frame through the operations above, `drawModels` filling both
    // model passes: for the tests and benchmarks, which draw the same models
    // in each.
    void recordFrame(const FrameInfo& frame, float time, const ModelDraws& drawModels);

    // For the graphics system's current frame.
    void updateCamera(const glm::mat4& view, const glm::mat4& projection);
    void setDirectionalLight(const glm::vec3& direction, const glm::vec3& centre, const glm::vec3& colour,
                             float intensity, float extent, bool bothFrames);
    // The new light's index, or -1 when the capacity is reached.
    std::int32_t addPointLight(const glm::vec3& position, const glm::vec3& colour, float radius);
    bool setPointLight(const glm::vec3& position, const glm::vec3& colour, float radius, std::uint32_t index);
    void setOceanDisabled(bool disabled);
    void setIntroFlag(bool intro);

    void previousRenderMode();
    void nextRenderMode();
    void nextPointLightMode();
    void nextColourGradingMode();

    TextureRenderTargetPipeline2 gBufferTessellationPipeline;
    TextureRenderTargetPipeline2 gBufferTessellationLoadPipeline;
    TextureRenderTargetPipeline2 gBufferPipeline;
    InstancedMesh* pointLightMesh = nullptr;
    std::vector<PointLight> pointLights;
    std::uint32_t pointLightCapacity = 0;
    Mesh* oceanMesh = nullptr;
    GraphicsSystem* graphics = nullptr;
    // The scene's, for the material textures and the targets whose texels the
    // passes read whole; the images the renderer filters go through samplers
    // of its own (below).
    VkSampler sampler = VK_NULL_HANDLE;
    Texture environmentCubeTexture;
    TextureContainer textures;
    MeshContainer meshes;
    std::int32_t blurIterations = 3;
    SphericalHarmonicsUniforms shCoefficients{};
    UniformBufferCollection cameraUniforms;
    UniformBufferCollection ssaoKernelUniforms;
    UniformBufferCollection lightUniforms;
    UniformBufferCollection shUniforms;
    std::uint32_t pointLightMode = 0;
    CompositePushConstants compositePushConstants;
    ColourGradingPushConstants colourGradingPushConstants;
    OceanPushConstants oceanPushConstants;

    // Owns the targets below, which the renderer may share with others.
    std::shared_ptr<SharedTargets> renderTargets;
    TextureCollection gBufferTarget0;
    TextureCollection gBufferTarget3;
    TextureCollection gBufferTarget1;
    TextureCollection gBufferTarget2;
    TextureCollection depthTarget;
    TextureCollection ssaoTarget;
    TextureCollection pointLightTarget;
    TextureCollection directionalLightTarget;
    TextureCollection compositeTarget;
    TextureCollection bloomTarget;
    TextureCollection blurTarget;

    TextureRenderTargetPipeline2 oceanPipeline;
    TextureRenderTargetPipeline2 ssaoPipeline;
    TextureRenderTargetPipeline2 pointLightPipeline;
    TextureRenderTargetPipeline2 directionalLightPipeline;
    TextureRenderTargetPipeline2 compositePipeline;
    TextureRenderTargetPipeline2 firstBlurPipeline;
    TextureRenderTargetPipeline2 secondBlurPipeline;
    Pipeline2 colourGradingPipeline;

    PipelineDescription gBufferDescription;
    PipelineDescription gBufferTessellationDescription;
    PipelineDescription gBufferTessellationLoadDescription;
    PipelineDescription oceanDescription;
    PipelineDescription ssaoDescription;
    PipelineDescription pointLightDescription;
    PipelineDescription directionalLightDescription;
    PipelineDescription compositeDescription;
    PipelineDescription blurDescription;
    PipelineDescription colourGradingDescription;

    // Owned by `textures`.
    Texture* firstWaveTexture = nullptr;
    Texture* secondWaveTexture = nullptr;
    Texture* brdfLookupTexture = nullptr;
    // Nearest where the depth format cannot be filtered linearly; owned by `textures`.
    VkSampler depthSampler = VK_NULL_HANDLE;
    // Clamped to the edge, so that a look-up at the BRDF table's edge or the
    // occlusion at the screen's edge does not wrap to the opposite one; owned
    // by `textures`.
    VkSampler edgeSampler = VK_NULL_HANDLE;
    // Linear without anisotropy, for the environment cube (read at explicit
    // levels) and the wave textures (without levels); owned by `textures`.
    VkSampler linearSampler = VK_NULL_HANDLE;
    // Trilinear without anisotropy, for the scene's material maps: a software
    // driver runs an anisotropic read as many trilinear ones, which made the
    // geometry pass the frame's dearest; owned by `textures`.
    VkSampler materialSampler = VK_NULL_HANDLE;
    // Nearest and clamped to the edge, for the passes that read screen images
    // texel by texel (ambient occlusion, point lights, composite, blur, colour
    // grading); owned by `textures`.
    VkSampler nearestSampler = VK_NULL_HANDLE;
    // Each frame's camera as updateCamera last gave it: the point-light pass
    // draws only the lights that can reach its view.
    std::array<glm::mat4, 2> frameViewProjections{glm::mat4(1.0f), glm::mat4(1.0f)};
    std::array<glm::vec3, 2> frameEyes{glm::vec3(0.0f), glm::vec3(0.0f)};
    // Empty in the game, which then records no more than its passes; a pass
    // timer writes its time stamps here.
    PassHook passHook;
    // The passes of the frame being recorded so far, as the hook is given them.
    std::size_t passesRecorded = 0;
};

// Every model of the collection that has instances: with its material inside
// the geometry pass (the flag pushed false when `clearFlag`, the stored
// material unchanged), without inside the sun's shadow pass.
void drawModelCollection(const DeferredRenderer& renderer, const ModelCollection& collection, const FrameInfo& frame,
                         PassKind pass, bool clearFlag = false);
