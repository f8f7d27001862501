#pragma once

#include "engine/Settings.hpp"
#include "gpu/Frames.hpp"
#include "gpu/GpuHarness.hpp"
#include "graphics/ImageLoading.hpp"
#include "graphics/ModelCollection.hpp"
#include "graphics/Sphere.hpp"
#include "graphics/TextureArray.hpp"
#include "renderers/deferred/DeferredRenderer.hpp"
#include "renderers/deferred/RendererPictures.hpp"
#include "support/StdoutCapture.hpp"
#include "support/TemporaryFolder.hpp"

#include <glm/geometric.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/packing.hpp>
#include <stb_image_write.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// What the deferred renderer's GPU tests share: a working folder with the
// built shaders and the renderer's images, a renderer as a track scene makes
// it, models made of quads, and frames recorded as a scene records them.
namespace deferred_scene
{
namespace fs = std::filesystem;

inline const glm::vec3 skyAbove(0.5f, 0.65f, 0.9f);
inline const glm::vec3 skyAround(0.2f, 0.28f, 0.4f);
inline const glm::vec3 groundBelow(0.05f, 0.04f, 0.03f);
inline const std::array<std::string, 6> hdrFaces{"right.hdr", "left.hdr",  "top.hdr",
                                                 "bottom.hdr", "front.hdr", "back.hdr"};

inline void writeHdrFace(const std::string& path, int side, const glm::vec3& colour)
{
    std::vector<float> rgb;
    for (int pixel = 0; pixel < side * side; ++pixel)
    {
        rgb.insert(rgb.end(), {colour.r, colour.g, colour.b});
    }
    ASSERT_NE(stbi_write_hdr(path.c_str(), side, side, 3, rgb.data()), 0);
}

inline void writeCubeFaces(int side)
{
    for (std::size_t face = 0; face < hdrFaces.size(); ++face)
    {
        writeHdrFace(hdrFaces[face], side, face == 2 ? skyAbove : face == 3 ? groundBelow : skyAround);
    }
}

// A picture of `width` x `height` pixels, each given by its column.
inline void writePng(const std::string& path, int width, int height,
                     const std::function<std::array<std::uint8_t, 4>(int)>& columnColour)
{
    std::vector<std::uint8_t> pixels;
    for (int pixel = 0; pixel < width * height; ++pixel)
    {
        const std::array<std::uint8_t, 4> rgba = columnColour(pixel % width);
        pixels.insert(pixels.end(), rgba.begin(), rgba.end());
    }
    ASSERT_NE(stbi_write_png(path.c_str(), width, height, 4, pixels.data(), width * 4), 0);
}

inline void writePng(const std::string& path, std::array<std::uint8_t, 4> rgba)
{
    writePng(path, 4, 4, [&](int) { return rgba; });
}

inline ImageData<std::uint32_t> filled(std::array<std::uint8_t, 4> rgba)
{
    ImageData<std::uint32_t> image(4, 4);
    std::uint32_t pixel = 0;
    std::memcpy(&pixel, rgba.data(), sizeof(pixel));
    std::fill(image.pixels.begin(), image.pixels.end(), pixel);
    return image;
}

inline MeshData<ModelVertex> modelSphere()
{
    const MeshData<PositionVertex> sphere = generateSphere(1.0f, 32, 16);
    MeshData<ModelVertex> model{{}, sphere.indices};
    for (const PositionVertex& vertex : sphere.vertices)
    {
        const glm::vec3 normal = glm::normalize(vertex.position);
        model.vertices.push_back({vertex.position, {0.5f, 0.5f}, normal, {1.0f, 0.0f, 0.0f}});
    }
    return model;
}

// A rectangle about `centre` spanning +-`across` and +-`up`, facing along
// across x up (counter-clockwise seen from there).
inline void addQuad(MeshData<ModelVertex>& mesh, const glm::vec3& centre, const glm::vec3& across,
                    const glm::vec3& up)
{
    const glm::vec3 normal = glm::normalize(glm::cross(across, up));
    const glm::vec3 tangent = glm::normalize(across);
    const auto first = static_cast<std::uint32_t>(mesh.vertices.size());
    mesh.vertices.push_back({centre - across - up, {0, 0}, normal, tangent});
    mesh.vertices.push_back({centre + across - up, {1, 0}, normal, tangent});
    mesh.vertices.push_back({centre + across + up, {1, 1}, normal, tangent});
    mesh.vertices.push_back({centre - across + up, {0, 1}, normal, tangent});
    mesh.indices.insert(mesh.indices.end(), {first, first + 1, first + 2, first + 2, first + 3, first});
}

// A closed box with outward faces.
inline MeshData<ModelVertex> box(const glm::vec3& centre, float half)
{
    const glm::vec3 x(half, 0, 0);
    const glm::vec3 y(0, half, 0);
    const glm::vec3 z(0, 0, half);
    MeshData<ModelVertex> mesh;
    addQuad(mesh, centre + x, y, z);
    addQuad(mesh, centre - x, z, y);
    addQuad(mesh, centre + y, z, x);
    addQuad(mesh, centre - y, x, z);
    addQuad(mesh, centre + z, x, y);
    addQuad(mesh, centre - z, y, x);
    return mesh;
}

// The ground at y = 0, facing up.
inline MeshData<ModelVertex> ground(float half)
{
    MeshData<ModelVertex> mesh;
    addQuad(mesh, {}, {0, 0, half}, {half, 0, 0});
    return mesh;
}

inline glm::vec3 halfPixel(const std::vector<std::uint8_t>& bytes, std::uint32_t width, std::uint32_t x,
                           std::uint32_t y)
{
    std::uint16_t halves[3];
    std::memcpy(halves, &bytes.at((y * width + x) * 8), sizeof(halves));
    return {glm::unpackHalf1x16(halves[0]), glm::unpackHalf1x16(halves[1]), glm::unpackHalf1x16(halves[2])};
}

inline glm::vec3 halfPixel(const std::vector<std::uint8_t>& bytes, std::uint32_t width, glm::ivec2 pixel)
{
    return halfPixel(bytes, width, static_cast<std::uint32_t>(pixel.x), static_cast<std::uint32_t>(pixel.y));
}

// A flat material of the push constants alone: base colour, roughness, metallic, emission.
inline ModelMaterial flatMaterial(const glm::vec3& colour, float roughness, float metallic, float emission = 0.0f)
{
    ModelMaterial material;
    material.firstValues = colour;
    material.value3 = glm::vec3(emission);
    material.value = metallic;
    material.fourValues = {1.0f, roughness, 0.0f, 0.0f};
    return material;
}

struct SceneModel
{
    const InstancedMesh* mesh = nullptr;
    ModelMaterial material;
};

class DeferredRendererTest : public GpuTest
{
protected:
    void SetUp() override
    {
        GpuTest::SetUp();
        const fs::path built(KELVANE_ASSETS_DIR);
        fs::create_directories("Assets/ZavikDemoScene/Textures");
        fs::create_directories("Assets/QuorlDemoScene");
        fs::create_directory_symlink(built / "Shaders", "Assets/Shaders");
        fs::create_directory_symlink(built / "ZavikDemoScene/Shaders", "Assets/ZavikDemoScene/Shaders");
        fs::create_directory_symlink(built / "QuorlDemoScene/Shaders", "Assets/QuorlDemoScene/Shaders");
        writePng(std::string("Assets/") + oceanWavesFile, {128, 128, 255, 255});
        writePng(std::string("Assets/") + brdfTableFile, {230, 8, 0, 255});
        writeCubeFaces(64);
        sampler = createSampler(sceneTextures, 12, VK_FILTER_LINEAR, VK_FILTER_LINEAR, VK_SAMPLER_MIPMAP_MODE_LINEAR)
                      .value_or(VK_NULL_HANDLE);
        renderer = std::make_unique<DeferredRenderer>(&system, 75, sampler);
        width = Settings::getWindowWidth();
        height = Settings::getWindowHeight();
        projection = glm::perspectiveRH_ZO(glm::radians(45.0f), float(width) / float(height), 0.1f, 500.0f);
        projection[1][1] = -projection[1][1];
    }

    void TearDown() override
    {
        system.waitIdle();
        renderer->release();
        destroyMeshes(sceneMeshes);
        destroyTextures(sceneTextures);
        GpuTest::TearDown();
    }

    bool bringUp()
    {
        StdoutCapture quiet;
        return renderer->loadEnvironment(hdrFaces) && renderer->initialise();
    }

    // Material arrays of one layer each, for models whose flat materials do
    // not read them but whose pass still binds them; the normal map's texel
    // leaves the surface's normal as it is unless another is given.
    bool useFlatMaterials(std::array<std::uint8_t, 4> normalTexel = {128, 128, 255, 255})
    {
        const Texture* albedo = createTextureArray<3>(sceneTextures, {filled({200, 200, 200, 255}), filled({}), filled({})},
                                                      VK_FORMAT_R8G8B8A8_SRGB, false, imageTextureSettings);
        const Texture* normal = createTextureArray<3>(sceneTextures, {filled(normalTexel), filled({}), filled({})},
                                                      VK_FORMAT_R8G8B8A8_UNORM, false, imageTextureSettings);
        const Texture* arme = createTextureArray<3>(sceneTextures, {filled({255, 140, 0, 0}), filled({}), filled({})},
                                                    VK_FORMAT_R8G8B8A8_UNORM, false, imageTextureSettings);
        if (albedo == nullptr || normal == nullptr || arme == nullptr)
        {
            return false;
        }
        renderer->setMaterialTextures(albedo, normal, arme);
        return true;
    }

    const InstancedMesh* addModel(const MeshData<ModelVertex>& mesh, const glm::mat4& placement = glm::mat4(1.0f))
    {
        return createInstancedMesh(sceneMeshes, mesh,
                                   std::vector<TwoMatrixInstance>{{placement, glm::transpose(glm::inverse(placement))}})
            .value_or(nullptr);
    }

    // A frame as the track scenes record it.
    FrameRecorder recordScene(const std::vector<SceneModel>& models)
    {
        return [this, models](const FrameInfo& frame) {
            drawnFrame = frame.frameIndex;
            renderer->updateCamera(view, projection);
            renderer->recordFrame(frame, 0.5f, [this, &models](const FrameInfo& recorded, PassKind pass) {
                for (const SceneModel& model : models)
                {
                    if (pass == PassKind::geometry)
                    {
                        vkCmdPushConstants(recorded.commandBuffer, renderer->gBufferPipeline.pipelineLayout,
                                           VK_SHADER_STAGE_FRAGMENT_BIT, 0, sizeof(model.material), &model.material);
                    }
                    drawInstancedMesh(*model.mesh, recorded);
                }
            });
        };
    }

    void drawFrame(const std::vector<SceneModel>& models)
    {
        ASSERT_TRUE(presentFrame(system, recordScene(models)));
        system.waitIdle();
    }

    // A window-sized target of half-float pixels as the last frame left it.
    std::vector<std::uint8_t> readTarget(const TextureCollection& target, std::uint32_t bytesPerPixel = 8)
    {
        const Texture& texture = *target.textures[drawnFrame];
        return readImage(system, texture.image.image, VK_IMAGE_LAYOUT_SHADER_READ_ONLY_OPTIMAL, texture.width,
                         texture.height, bytesPerPixel);
    }

    // The pixel of a target of the given size where a world point is drawn.
    glm::ivec2 pixelOf(const glm::vec3& point, std::uint32_t targetWidth, std::uint32_t targetHeight) const
    {
        const glm::vec4 clip = projection * view * glm::vec4(point, 1.0f);
        const glm::vec2 ndc = glm::vec2(clip) / clip.w;
        return glm::ivec2((ndc * 0.5f + 0.5f) * glm::vec2(targetWidth, targetHeight));
    }

    glm::ivec2 pixelOf(const glm::vec3& point) const { return pixelOf(point, width, height); }

    TemporaryFolder folder;
    TextureContainer sceneTextures{&system, {}, {}};
    MeshContainer sceneMeshes{&system, {}, {}};
    VkSampler sampler = VK_NULL_HANDLE;
    std::unique_ptr<DeferredRenderer> renderer;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    glm::mat4 view{1.0f};
    glm::mat4 projection{1.0f};
    std::uint32_t drawnFrame = 0;
};
}
