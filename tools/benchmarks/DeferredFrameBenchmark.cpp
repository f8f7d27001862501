// Frames per second of the deferred renderer's frame in a 1280 x 720 window,
// two spheres over the ocean under the sky, beside the clearing scene's; then
// the GPU time of each of its passes from timestamp queries. Needs an X server
// and a Vulkan driver, e.g. on the software driver:
//   export VK_ICD_FILENAMES=/usr/share/vulkan/icd.d/lvp_icd.x86_64.json
//   xvfb-run -s "-screen 0 1920x1080x24" build/tools/DeferredFrameBenchmark [seconds] [assets folder]
// The assets folder holds the built shaders (by default the build's "Assets",
// beside this program's folder); the images the renderer reads are made here.
#include "engine/GraphicsSystem.hpp"
#include "engine/Log.hpp"
#include "engine/Window.hpp"
#include "game/assets/AssetPaths.hpp"
#include "graphics/ModelCollection.hpp"
#include "graphics/Sphere.hpp"
#include "graphics/TextureArray.hpp"
#include "renderers/deferred/DeferredRenderer.hpp"
#include "renderers/deferred/RendererPictures.hpp"
#include "tools/benchmarks/BenchmarkFrames.hpp"
#include "tools/benchmarks/PassTimer.hpp"

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
    bool written = writePicture(inAssets(oceanWavesFile), 256, [&](int x, int y) {
        return std::array<std::uint8_t, 4>{byte(0.5f + 0.3f * std::sin(float(x) * 0.1f)),
                                           byte(0.5f + 0.3f * std::cos(float(y) * 0.13f)), 255, 255};
    });
    written = written && writePicture(inAssets(brdfTableFile), 256, [&](int x, int y) {
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
        projection = glm::perspectiveRH_ZO(glm::radians(60.0f), float(benchmark::windowWidth) / float(benchmark::windowHeight), 0.1f, 500.0f);
        projection[1][1] = -projection[1][1];
        renderer->setDirectionalLight({-0.3f, 0.4f, -1.0f}, {0.0f, 0.0f, 109.0f}, {1.0f, 0.96f, 0.87f}, 3.0f, 50.0f,
                                      true);
        renderer->addPointLight({0.0f, -1.0f, 110.0f}, {1.0f, 0.5f, 0.2f}, 4.0f);
        return true;
    }

    void drawModels(const FrameInfo& frame, PassKind pass) const
    {
        if (pass == PassKind::geometry)
        {
            vkCmdPushConstants(frame.commandBuffer, renderer->gBufferPipeline.pipelineLayout,
                               VK_SHADER_STAGE_FRAGMENT_BIT, 0, sizeof(material), &material);
        }
        drawInstancedMesh(*spheres, frame);
    }

    // The frame as the track scenes record it.
    void record(const FrameInfo& frame, float time)
    {
        renderer->updateCamera(view, projection);
        renderer->recordFrame(frame, time,
                              [this](const FrameInfo& recorded, PassKind pass) { drawModels(recorded, pass); });
    }

    // Also after a load that stopped part-way.
    void release()
    {
        graphics.waitIdle();
        if (renderer)
        {
            renderer->release();
        }
        destroyMeshes(meshes);
        destroyTextures(textures);
    }
};

int measureDeferredFrame(GraphicsSystem& graphicsSystem, double clearing, double seconds)
{
    Scene scene(graphicsSystem);
    if (!scene.load())
    {
        std::printf("The deferred renderer could not be set up.\n");
        scene.release();
        return EXIT_FAILURE;
    }
    const auto start = std::chrono::steady_clock::now();
    const auto drawFrame = [&] {
        if (const std::optional<FrameInfo> frame = graphicsSystem.beginFrame())
        {
            scene.record(*frame, static_cast<float>(benchmark::secondsSince(start)));
            graphicsSystem.endFrame(frame->imageIndex);
        }
    };
    const double deferred = benchmark::frameRate(seconds, [&] {
        pollWindowEvents();
        drawFrame();
    });
    std::printf("%s\n", fmt::format("At {} x {}: clearing frame {:.1f} frames per second ({:.2f} ms), deferred "
                                    "frame {:.1f} frames per second ({:.2f} ms), {:.1f} times the clearing frame",
                                    benchmark::windowWidth, benchmark::windowHeight, clearing, 1000.0 / clearing,
                                    deferred, 1000.0 / deferred, clearing / deferred)
                            .c_str());

    const bool timed = benchmark::printPassTimes(graphicsSystem, *scene.renderer, seconds, drawFrame);
    scene.release();
    return timed && !hasErrors() ? EXIT_SUCCESS : EXIT_FAILURE;
}
}

int main(int argc, char** argv)
{
    const double seconds = benchmark::secondsArgument(argc, argv, 1);
    std::error_code error;
    const fs::path built =
        argc > 2 ? fs::absolute(argv[2]) : fs::canonical("/proc/self/exe", error).parent_path().parent_path() / "Assets";
    const benchmark::ScratchFolder folder;
    if (!prepareAssets(built))
    {
        std::printf("The benchmark's images could not be written.\n");
        return EXIT_FAILURE;
    }
    return benchmark::runFrameBenchmark(seconds, measureDeferredFrame);
}
