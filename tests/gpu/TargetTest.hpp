#pragma once

#include "gpu/GpuHarness.hpp"
#include "graphics/Mesh.hpp"
#include "graphics/TextureRenderTargetPipeline2.hpp"

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

using Rgba = std::array<std::uint8_t, 4>;
inline constexpr std::uint32_t targetSize = 16;

inline Rgba at(const std::vector<Rgba>& pixels, std::uint32_t x, std::uint32_t y)
{
    return pixels.at(y * targetSize + x);
}

// A render-target pipeline that draws into targets of targetSize x targetSize
// pixels; the pipeline, the meshes and the targets are released after each test.
class TargetTest : public GpuTest
{
protected:
    void TearDown() override
    {
        system.waitIdle();
        destroyPipeline2(pipeline);
        pipeline.frameTargets = {};
        destroyMeshes(meshes);
        destroyTextures(textures);
        GpuTest::TearDown();
    }

    TextureCollection target(VkFormat format)
    {
        return createRenderTargetTexture<std::uint32_t>(textures, targetSize, targetSize, format, false).value();
    }

    // Passes of the pipeline over the meshes, recorded outside the frames for
    // the frame slot the graphics system is in.
    void recordPasses(const std::vector<InstancedMesh*>& drawn, int passes = 1)
    {
        VkCommandBuffer commandBuffer = system.beginSingleTimeCommands().value();
        const FrameInfo frame{commandBuffer, system.getCurrentFrame(), 0};
        for (int pass = 0; pass < passes; ++pass)
        {
            beginTextureRenderTargetPipeline2(pipeline, commandBuffer, frame.frameIndex);
            for (const InstancedMesh* mesh : drawn)
            {
                drawInstancedMesh(*mesh, frame);
            }
            endTextureRenderTargetPipeline2(pipeline, commandBuffer);
        }
        ASSERT_TRUE(system.endSingleTimeCommands(commandBuffer));
    }

    // One frame's colour target, row by row.
    std::vector<Rgba> read(const TextureCollection& collection, std::uint32_t frame)
    {
        const std::vector<std::uint8_t> bytes = readImage(system, collection.textures[frame]->image.image,
                                                          VK_IMAGE_LAYOUT_SHADER_READ_ONLY_OPTIMAL, targetSize,
                                                          targetSize, 4);
        std::vector<Rgba> pixels(bytes.size() / 4);
        std::memcpy(pixels.data(), bytes.data(), bytes.size());
        return pixels;
    }

    TextureContainer textures{&system, {}, {}};
    MeshContainer meshes{&system, {}, {}};
    TextureRenderTargetPipeline2 pipeline{&system};
};
