// Frames per second of the deferred renderer's frame in a 1280 x 720 window,
// two spheres over the ocean under the sky, beside the clearing scene's; then
// the GPU time of each of its passes from timestamp queries. Needs an X server
// and a Vulkan driver, e.g. on the software driver:
//   export VK_ICD_FILENAMES=/usr/share/vulkan/icd.d/lvp_icd.x86_64.json
//   xvfb-run -s "-screen 0 1920x1080x24" build/tools/DeferredFrameBenchmark [seconds] [assets folder]
// The assets folder holds the built shaders (by default the build's "Assets",
// beside this program's folder); the images the renderer reads are made here.
#include "engine/ClearScene.hpp"
#include "engine/FileIo.hpp"
#include "engine/GraphicsSystem.hpp"
#include "engine/Log.hpp"
#include "engine/SceneManager.hpp"
#include "engine/Window.hpp"
#include "graphics/ModelCollection.hpp"
#include "graphics/Sphere.hpp"
#include "graphics/TextureArray.hpp"
#include "renderers/deferred/DeferredRenderer.hpp"

#include <fmt/format.h>
#include <glm/gtc/matrix_transform.hpp>
#include <stb_image_write.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace
{
namespace fs = std::filesystem;

constexpr std::uint32_t width = 1280;
constexpr std::uint32_t height = 720;

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The game writes and reads "Settings.txt" in its working folder; the
// benchmark's own settings must not replace the user's.
fs::path enterScratchFolder()
{
    std::string pathTemplate = (fs::temp_directory_path() / "kelvane-benchmark-XXXXXX").string();
    const fs::path folder = mkdtemp(pathTemplate.data());
    fs::current_path(folder);
    return folder;
}

bool writePicture(const std::string& path, int side, const std::function<std::array<std::uint8_t, 4>(int, int)>& at)
{
    std::vector<std::uint8_t> pixels;
    for (int y = 0; y < side; ++y)
    {
        for (int x = 0; x < side; ++x)
        {
            const std::array<std::uint8_t, 4> rgba = at(x, y);
            pixels.insert(pixels.end(), rgba.begin(), rgba.end());
        }
    }
    return stbi_write_png(path.c_str(), side, side, 4, pixels.data(), side * 4) != 0;
}

// The shaders from the build, and stand-ins for the images the renderer reads:
// rippled waves, a smooth BRDF table and a sky with a brighter top.
bool prepareAssets(const fs::path& built)
{
    std::error_code error;
    fs::create_directories("Assets/ZavikDemoScene/Textures", error);
    fs::create_directories("Assets/QuorlDemoScene", error);
    fs::create_directory_symlink(built / "Shaders", "Assets/Shaders", error);
    fs::create_directory_symlink(built / "ZavikDemoScene/Shaders", "Assets/ZavikDemoScene/Shaders", error);
    fs::create_directory_symlink(built / "QuorlDemoScene/Shaders", "Assets/QuorlDemoScene/Shaders", error);
    const auto byte = [](float value) { return static_cast<std::uint8_t>(std::clamp(value, 0.0f, 1.0f) * 255.0f); };
    bool written = writePicture("Assets/ZavikDemoScene/Textures/Wave B.png", 256, [&](int x, int y) {
        return std::array<std::uint8_t, 4>{byte(0.5f + 0.3f * std::sin(float(x) * 0.1f)),
                                           byte(0.5f + 0.3f * std::cos(float(y) * 0.13f)), 255, 255};
    });
    written = written && writePicture("Assets/ZavikDemoScene/Textures/tex_brdflut.png", 256, [&](int x, int y) {
        return std::array<std::uint8_t, 4>{byte(float(x) / 255.0f), byte(0.1f * float(255 - y) / 255.0f), 0, 255};
    });
    const std::array<const char*, 6> faces{"right.png", "left.png", "top.png", "bottom.png", "front.png", "back.png"};
    for (std::size_t face = 0; face < faces.size(); ++face)
    {
        written = written && writePicture(faces[face], 256, [&](int, int y) {
            const float up = face == 2 ? 1.0f : face == 3 ? 0.0f : 1.0f - float(y) / 255.0f;
            return std::array<std::uint8_t, 4>{byte(0.3f + 0.3f * up), byte(0.45f + 0.3f * up), byte(0.6f + 0.35f * up),
                                               255};
        });
    }
    return written;
}

MeshData<ModelVertex> modelSphere()
{
    const MeshData<PositionVertex> sphere = generateSphere(1.0f, 32, 16);
    MeshData<ModelVertex> model{{}, sphere.indices};
    for (const PositionVertex& vertex : sphere.vertices)
    {
        model.vertices.push_back({vertex.position, {0.5f, 0.5f}, glm::normalize(vertex.position), {1, 0, 0}});
    }
    return model;
}

ImageData<std::uint32_t> filled(std::array<std::uint8_t, 4> rgba)
{
    ImageData<std::uint32_t> image(4, 4);
    std::uint32_t pixel = 0;
    std::memcpy(&pixel, rgba.data(), sizeof(pixel));
    std::fill(image.pixels.begin(), image.pixels.end(), pixel);
    return image;
}

// The passes of the renderer's frame in recording order, as timed.
const std::array<const char*, 14> passNames{
    "geometry", "ocean",  "ambient occlusion", "point lights", "sun shadow", "composite", "blur 1 across",
    "blur 1 down", "blur 2 across", "blur 2 down", "blur 3 across", "blur 3 down", "colour grading", "whole frame"};

// Two spheres standing on the ocean, seen from just above its surface.
struct Scene
{
    explicit Scene(GraphicsSystem& graphics) : graphics(graphics) {}

    GraphicsSystem& graphics;
    TextureContainer textures{&graphics, {}, {}};
    MeshContainer meshes{&graphics, {}, {}};
    std::unique_ptr<DeferredRenderer> renderer;
    const InstancedMesh* spheres = nullptr;
    ModelMaterial material;
    glm::mat4 view{1.0f};
    glm::mat4 projection{1.0f};

    bool load()
    {
        const std::optional<VkSampler> sampler =
            createSampler(textures, 12, VK_FILTER_LINEAR, VK_FILTER_LINEAR, VK_SAMPLER_MIPMAP_MODE_LINEAR);
        if (!sampler)
        {
            return false;
        }
        renderer = std::make_unique<DeferredRenderer>(&graphics, 75, *sampler);
        if (!renderer->loadEnvironment({"right.png", "left.png", "top.png", "bottom.png", "front.png", "back.png"}) ||
            !renderer->initialise())
        {
            return false;
        }
        const Texture* albedo = createTextureArray<3>(textures, {filled({200, 200, 200, 255}), filled({}), filled({})},
                                                      VK_FORMAT_R8G8B8A8_SRGB, false, imageTextureSettings);
        const Texture* normal = createTextureArray<3>(textures, {filled({128, 128, 255, 255}), filled({}), filled({})},
                                                      VK_FORMAT_R8G8B8A8_UNORM, false, imageTextureSettings);
        const Texture* arme = createTextureArray<3>(textures, {filled({255, 140, 0, 0}), filled({}), filled({})},
                                                    VK_FORMAT_R8G8B8A8_UNORM, false, imageTextureSettings);
        if (albedo == nullptr || normal == nullptr || arme == nullptr)
        {
            return false;
        }
        renderer->setMaterialTextures(albedo, normal, arme);
        const glm::mat4 left = glm::translate(glm::mat4(1.0f), glm::vec3(-2.0f, 0.0f, 109.0f));
        const glm::mat4 right = glm::translate(glm::mat4(1.0f), glm::vec3(2.0f, 1.0f, 109.5f));
        spheres = createInstancedMesh(meshes, modelSphere(),
                                      std::vector<TwoMatrixInstance>{{left, glm::mat4(1.0f)}, {right, glm::mat4(1.0f)}})
                      .value_or(nullptr);
        if (spheres == nullptr)
        {
            return false;
        }
        material.firstValues = glm::vec3(-1.0f);
        material.flag = true;
        view = glm::lookAt(glm::vec3(0.0f, -9.0f, 110.5f), glm::vec3(0.0f, 0.0f, 109.0f), glm::vec3(0, 0, 1));
        projection = glm::perspectiveRH_ZO(glm::radians(60.0f), float(width) / float(height), 0.1f, 500.0f);
        projection[1][1] = -projection[1][1];
        renderer->setDirectionalLight({-0.3f, 0.4f, -1.0f}, {0.0f, 0.0f, 109.0f}, {1.0f, 0.96f, 0.87f}, 3.0f, 50.0f,
                                      true);
        renderer->addPointLight({0.0f, -1.0f, 110.0f}, {1.0f, 0.5f, 0.2f}, 4.0f);
        return true;
    }

    void drawModels(VkCommandBuffer commandBuffer, std::uint32_t frameIndex, bool withMaterial) const
    {
        if (withMaterial)
        {
            vkCmdPushConstants(commandBuffer, renderer->gBufferPipeline.pipelineLayout, VK_SHADER_STAGE_FRAGMENT_BIT, 0,
                               sizeof(material), &material);
        }
        drawInstancedMesh(*spheres, {commandBuffer, frameIndex, 0});
    }

    // The frame as the track scenes record it.
    void record(const FrameInfo& frame, float time)
    {
        renderer->updateCamera(view, projection);
        renderer->beginGeometryPass(frame.commandBuffer, frame.frameIndex);
        drawModels(frame.commandBuffer, frame.frameIndex, true);
        renderer->endGeometryPass(frame.commandBuffer);
        renderer->recordLightingPasses(frame.commandBuffer, frame.frameIndex, time);
        renderer->beginSecondPass(frame.commandBuffer, frame.frameIndex);
        drawModels(frame.commandBuffer, frame.frameIndex, false);
        renderer->endSecondPass(frame.commandBuffer);
        renderer->recordPostProcessPasses(frame.commandBuffer, frame.frameIndex, frame.imageIndex);
    }

    // The same passes one by one, each followed by a time stamp; the order and
    // the push constants are those of the renderer's own recording.
    void recordTimed(const FrameInfo& frame, VkQueryPool queries, float time)
    {
        VkCommandBuffer commandBuffer = frame.commandBuffer;
        std::uint32_t stamp = 0;
        const auto mark = [&] { vkCmdWriteTimestamp(commandBuffer, VK_PIPELINE_STAGE_BOTTOM_OF_PIPE_BIT, queries, stamp++); };
        const auto push = [&](const Pipeline2& pipeline, const void* block, std::uint32_t size) {
            vkCmdPushConstants(commandBuffer, pipeline.pipelineLayout, VK_SHADER_STAGE_FRAGMENT_BIT, 0, size, block);
        };
        const auto screenPass = [&](TextureRenderTargetPipeline2& pipeline) {
            beginTextureRenderTargetPipeline2(pipeline, commandBuffer, frame.frameIndex);
            vkCmdDraw(commandBuffer, 3, 1, 0, 0);
            endTextureRenderTargetPipeline2(pipeline, commandBuffer);
            mark();
        };
        DeferredRenderer& passes = *renderer;
        vkCmdResetQueryPool(commandBuffer, queries, 0, static_cast<std::uint32_t>(passNames.size()));
        passes.updateCamera(view, projection);
        mark();
        passes.beginGeometryPass(commandBuffer, frame.frameIndex);
        drawModels(commandBuffer, frame.frameIndex, true);
        passes.endGeometryPass(commandBuffer);
        mark();
        passes.oceanPushConstants.time = time;
        push(passes.oceanPipeline, &passes.oceanPushConstants, sizeof(passes.oceanPushConstants));
        beginTextureRenderTargetPipeline2(passes.oceanPipeline, commandBuffer, frame.frameIndex);
        drawMesh(*passes.oceanMesh, frame);
        endTextureRenderTargetPipeline2(passes.oceanPipeline, commandBuffer);
        mark();
        screenPass(passes.ssaoPipeline);
        push(passes.pointLightPipeline, &passes.pointLightMode, sizeof(passes.pointLightMode));
        beginTextureRenderTargetPipeline2(passes.pointLightPipeline, commandBuffer, frame.frameIndex);
        drawInstancedMesh(*passes.pointLightMesh, frame);
        endTextureRenderTargetPipeline2(passes.pointLightPipeline, commandBuffer);
        mark();
        passes.beginSecondPass(commandBuffer, frame.frameIndex);
        drawModels(commandBuffer, frame.frameIndex, false);
        passes.endSecondPass(commandBuffer);
        mark();
        push(passes.compositePipeline, &passes.compositePushConstants, sizeof(passes.compositePushConstants));
        screenPass(passes.compositePipeline);
        for (std::int32_t iteration = 0; iteration < passes.blurIterations; ++iteration)
        {
            const BlurPushConstants across{1, 1.5f};
            const BlurPushConstants down{0, 1.5f};
            push(passes.firstBlurPipeline, &across, sizeof(across));
            screenPass(passes.firstBlurPipeline);
            push(passes.secondBlurPipeline, &down, sizeof(down));
            screenPass(passes.secondBlurPipeline);
        }
        push(passes.colourGradingPipeline, &passes.colourGradingPushConstants,
             sizeof(passes.colourGradingPushConstants));
        beginPipeline2(passes.colourGradingPipeline, commandBuffer, frame.frameIndex, frame.imageIndex);
        vkCmdDraw(commandBuffer, 3, 1, 0, 0);
        vkCmdEndRenderPass(commandBuffer);
        mark();
    }

    void release()
    {
        graphics.waitIdle();
        renderer->release();
        destroyMeshes(meshes);
        destroyTextures(textures);
    }
};

// Frames per second over `seconds` after a few frames to settle.
double frameRate(double seconds, const std::function<void()>& frame)
{
    for (int settle = 0; settle < 5; ++settle)
    {
        frame();
    }
    std::uint64_t frames = 0;
    const auto start = std::chrono::steady_clock::now();
    while (secondsSince(start) < seconds)
    {
        frame();
        ++frames;
    }
    return static_cast<double>(frames) / secondsSince(start);
}

int run(double seconds, const fs::path& built)
{
    // Immediate presentation where the surface has it, so the display's pace does not cap the figure.
    writeFile("Settings.txt",
              "Window-Width: 1280\nWindow-Height: 720\nFullscreen: false\nPreferredPresentMode: Immediate\n", false);
    if (!prepareAssets(built))
    {
        std::printf("The benchmark's images could not be written.\n");
        return EXIT_FAILURE;
    }
    GraphicsSystem graphicsSystem;
    SceneManager sceneManager(&graphicsSystem);
    sceneManager.addScene<ClearScene>();
    if (hasErrors())
    {
        std::printf("The clearing scene could not be started.\n");
        return EXIT_FAILURE;
    }
    const double clearing = frameRate(seconds, [&] {
        pollWindowEvents();
        sceneManager.update();
        sceneManager.render();
    });
    graphicsSystem.waitIdle();
    sceneManager.unloadScenes();

    Scene scene(graphicsSystem);
    if (!scene.load())
    {
        std::printf("The deferred renderer could not be set up.\n");
        return EXIT_FAILURE;
    }
    const auto start = std::chrono::steady_clock::now();
    const double deferred = frameRate(seconds, [&] {
        pollWindowEvents();
        if (const std::optional<FrameInfo> frame = graphicsSystem.beginFrame())
        {
            scene.record(*frame, static_cast<float>(secondsSince(start)));
            graphicsSystem.endFrame(frame->imageIndex);
        }
    });
    std::printf("%s\n", fmt::format("At {} x {}: clearing frame {:.1f} frames per second ({:.2f} ms), deferred "
                                    "frame {:.1f} frames per second ({:.2f} ms), {:.1f} times the clearing frame",
                                    width, height, clearing, 1000.0 / clearing, deferred, 1000.0 / deferred,
                                    clearing / deferred)
                            .c_str());

    // Pass by pass, from time stamps on the GPU's clock.
    VkPhysicalDeviceProperties properties{};
    vkGetPhysicalDeviceProperties(graphicsSystem.physicalDeviceInfo.physicalDevice, &properties);
    const auto stamps = static_cast<std::uint32_t>(passNames.size());
    VkQueryPoolCreateInfo poolInfo{};
    poolInfo.sType = VK_STRUCTURE_TYPE_QUERY_POOL_CREATE_INFO;
    poolInfo.queryType = VK_QUERY_TYPE_TIMESTAMP;
    poolInfo.queryCount = stamps;
    VkQueryPool queries = VK_NULL_HANDLE;
    if (vkCreateQueryPool(graphicsSystem.logicalDevice.device, &poolInfo, nullptr, &queries) != VK_SUCCESS)
    {
        std::printf("No time stamps.\n");
        scene.release();
        return EXIT_FAILURE;
    }
    std::vector<double> milliseconds(stamps, 0.0);
    int timed = 0;
    const auto timedStart = std::chrono::steady_clock::now();
    while (timed < 5 || secondsSince(timedStart) < seconds)
    {
        pollWindowEvents();
        const std::optional<FrameInfo> frame = graphicsSystem.beginFrame();
        if (!frame)
        {
            continue;
        }
        scene.recordTimed(*frame, queries, static_cast<float>(secondsSince(start)));
        graphicsSystem.endFrame(frame->imageIndex);
        graphicsSystem.waitIdle();
        std::vector<std::uint64_t> values(stamps);
        if (vkGetQueryPoolResults(graphicsSystem.logicalDevice.device, queries, 0, stamps,
                                  values.size() * sizeof(std::uint64_t), values.data(), sizeof(std::uint64_t),
                                  VK_QUERY_RESULT_64_BIT | VK_QUERY_RESULT_WAIT_BIT) != VK_SUCCESS)
        {
            continue;
        }
        for (std::uint32_t pass = 0; pass + 1 < stamps; ++pass)
        {
            milliseconds[pass] += static_cast<double>(values[pass + 1] - values[pass]) * properties.limits.timestampPeriod * 1e-6;
        }
        milliseconds[stamps - 1] +=
            static_cast<double>(values[stamps - 1] - values[0]) * properties.limits.timestampPeriod * 1e-6;
        ++timed;
    }
    std::printf("GPU time per pass, mean of %d frames:\n", timed);
    for (std::uint32_t pass = 0; pass < stamps; ++pass)
    {
        std::printf("%s\n", fmt::format("  {:<18} {:8.2f} ms", passNames[pass], milliseconds[pass] / timed).c_str());
    }
    vkDestroyQueryPool(graphicsSystem.logicalDevice.device, queries, nullptr);
    scene.release();
    return hasErrors() ? EXIT_FAILURE : EXIT_SUCCESS;
}
}

int main(int argc, char** argv)
{
    const double seconds = argc > 1 ? std::atof(argv[1]) : 3.0;
    std::error_code error;
    const fs::path built =
        argc > 2 ? fs::absolute(argv[2]) : fs::canonical("/proc/self/exe", error).parent_path().parent_path() / "Assets";
    const fs::path previous = fs::current_path();
    const fs::path folder = enterScratchFolder();
    const int result = run(seconds > 0.0 ? seconds : 3.0, built);
    fs::current_path(previous);
    fs::remove_all(folder, error);
    return result;
}
