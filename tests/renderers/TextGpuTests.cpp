#include "engine/Log.hpp"
#include "engine/ScreenMaths.hpp"
#include "engine/Timer.hpp"
#include "gpu/Frames.hpp"
#include "gpu/GpuHarness.hpp"
#include "graphics/Mesh.hpp"
#include "graphics/Pipeline2.hpp"
#include "graphics/Texture.hpp"
#include "graphics/UniformBuffers.hpp"
#include "renderers/Hud.hpp"
#include "renderers/Text.hpp"
#include "support/StdoutCapture.hpp"

#include <fmt/format.h>
#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace
{
const std::filesystem::path fontFolder = "/usr/share/fonts/truetype/dejavu";

class TextTest : public GpuTest
{
protected:
    void TearDown() override
    {
        system.waitIdle();
        destroyPipeline2(text);
        destroyPipeline2(hud);
        system.destroyUniformBuffers(uniforms);
        destroyTextures(textures);
        destroyMeshes(meshes);
        GpuTest::TearDown();
    }

    // As the scenes make their screen-space pipelines, over the window's projection.
    bool createPipeline(Pipeline2& pipeline, const std::string& vertexShader, const std::string& fragmentShader,
                        VkAttachmentLoadOp colourLoadOp, const Texture& texture)
    {
        const std::string folder = KELVANE_ASSETS_DIR "/Shaders/";
        const PipelineDescription description =
            describeScreenPipeline(folder + vertexShader + ".spv", folder + fragmentShader + ".spv", colourLoadOp);
        const bool created = createHudPipeline(pipeline, description);
        if (created)
        {
            writeHudDescriptorSets(pipeline, uniforms, texture, sampler);
        }
        return created;
    }

    // The font's atlas, a nearest sampler, the window's projection and the text pipeline over them.
    const Texture* prepareText(const Font& font, VkAttachmentLoadOp colourLoadOp)
    {
        const Texture* atlas = createTexture(textures, font.getAtlas(), VK_FORMAT_R8_UNORM, false, imageTextureSettings);
        // Nearest and without anisotropy (which the software driver filters even
        // when nearest is asked for): each window pixel shows the texel under its centre.
        const VkSamplerCreateInfo samplerInfo =
            describeSampler(1, {VK_FILTER_NEAREST, VK_FILTER_NEAREST, VK_SAMPLER_MIPMAP_MODE_NEAREST, false}, 1.0f);
        if (atlas == nullptr ||
            vkCreateSampler(system.logicalDevice.device, &samplerInfo, nullptr, &sampler) != VK_SUCCESS)
        {
            return nullptr;
        }
        textures.samplers.push_back(sampler);
        uniforms = createUniformBufferCollection<64>(system).value();
        const glm::mat4 projection = screenProjection();
        std::memcpy(uniforms.buffers[0].mapped, &projection, sizeof(projection));
        std::memcpy(uniforms.buffers[1].mapped, &projection, sizeof(projection));
        return createPipeline(text, "Text Shader.vert", "Text Shader.frag", colourLoadOp, *atlas) ? atlas : nullptr;
    }

    Pipeline2 text{&system};
    Pipeline2 hud{&system};
    UniformBufferCollection uniforms;
    VkSampler sampler = VK_NULL_HANDLE;
    TextureContainer textures{&system, {}, {}};
    MeshContainer meshes{&system, {}, {}};
    std::vector<std::unique_ptr<Font>> fonts;
};

void drawQuad(Pipeline2& pipeline, const Mesh& mesh, const FrameInfo& frame)
{
    beginPipeline2(pipeline, frame.commandBuffer, frame.frameIndex, frame.imageIndex);
    vkCmdPushConstants(frame.commandBuffer, pipeline.pipelineLayout, VK_SHADER_STAGE_VERTEX_BIT, 0, sizeof(glm::mat4),
                       &mesh.model);
    drawMesh(mesh, frame);
    vkCmdEndRenderPass(frame.commandBuffer);
}

TEST_F(TextTest, GlyphInkShowsWhereTheAtlasHasItAndHudQuadsShowTheirImages)
{
    const Font* font = createFont(fonts, fontFolder / "DejaVuSans-Bold.ttf", 24, U"HI").value_or(nullptr);
    ASSERT_NE(font, nullptr);
    const ImageData<std::uint8_t>& atlas = font->getAtlas();
    ASSERT_NE(prepareText(*font, VK_ATTACHMENT_LOAD_OP_CLEAR), nullptr);
    ImageData<std::uint32_t> image(1, 1);
    image.pixels[0] = 0xFF4080FF;
    Texture* orange = createTexture(textures, image, VK_FORMAT_R8G8B8A8_UNORM, false, imageTextureSettings);
    ASSERT_NE(orange, nullptr);
    ASSERT_TRUE(createPipeline(hud, "HUD Shader.vert", "HUD Shader.frag", VK_ATTACHMENT_LOAD_OP_LOAD, *orange));

    // The first baseline on a whole pixel, so that the H covers whole pixels.
    // The text is drawn from the frame's own vertex buffer, as the scenes' texts are.
    const glm::vec2 origin(8.0f, 12.0f + std::round(font->ascent) - font->ascent);
    Mesh* textMesh = createDynamicMesh(meshes, createText(*font, "HI", textAlignLeft)).value_or(nullptr);
    Mesh* quad = createMesh(meshes, createHudQuad(20.0f, 20.0f, 10.0f, 10.0f)).value_or(nullptr);
    ASSERT_TRUE(textMesh && quad);
    textMesh->model = glm::translate(glm::mat4(1.0f), glm::vec3(origin, 0.0f));
    quad->model = glm::translate(glm::mat4(1.0f), glm::vec3(130.0f, 90.0f, 0.0f));

    // The H pixel for texel, blanks beside the I and around the quad.
    const Glyph& h = font->glyphs.at(U'H');
    const glm::ivec2 hCorner(origin.x + h.x0, origin.y + font->ascent + h.y0);
    std::vector<WindowPixel> expected;
    const auto atlasLeft = std::lround(h.u * static_cast<float>(atlas.width));
    const auto atlasTop = std::lround(h.v * static_cast<float>(atlas.height));
    for (int y = 0; y < static_cast<int>(h.y1 - h.y0); ++y)
    {
        for (int x = 0; x < static_cast<int>(h.x1 - h.x0); ++x)
        {
            const std::uint8_t ink = atlas.pixels[(atlasTop + y) * atlas.width + atlasLeft + x];
            expected.push_back({hCorner.x + x, hCorner.y + y, {ink, ink, ink}});
        }
    }
    ASSERT_TRUE(std::any_of(expected.begin(), expected.end(), [](const WindowPixel& p) { return p.colour[0] == 255; }));
    const int afterI = static_cast<int>(origin.x + h.advance + h.kerning.at(U'I') + font->glyphs.at(U'I').x1) + 2;
    const std::array<std::uint8_t, 3> orangeColour{255, 128, 64};
    expected.insert(expected.end(), {{afterI, hCorner.y + 4, {}}, {hCorner.x, hCorner.y - 3, {}}, {130, 78, {}},
                                     {118, 90, {}}, {142, 102, {}}, {121, 81, orangeColour}, {130, 90, orangeColour},
                                     {138, 98, orangeColour}});
    const FrameRecorder record = [&](const FrameInfo& frame) {
        drawQuad(text, *textMesh, frame);
        drawQuad(hud, *quad, frame);
    };
    expectWindowShows(system, record, expected);
    EXPECT_FALSE(hasErrors());
}

std::vector<std::uint8_t> bytesOf(const void* data, std::size_t size)
{
    const auto* first = static_cast<const std::uint8_t*>(data);
    return {first, first + size};
}

// The scenes rewrite their texts while frames are in flight: an update waits
// for nothing and writes no buffer that a frame may still read; each frame's
// buffer takes the text when that frame draws it, everything the updates since
// its last draw changed, a shorter last text or not.
TEST_F(TextTest, FpsTextIsRewrittenWithinItsRoomAndReachesEachFrameWhenItDrawsIt)
{
    const Font* font = createFont(fonts, fontFolder / "DejaVuSans.ttf", 12, U"FPS: 0123456789-").value_or(nullptr);
    ASSERT_NE(font, nullptr);
    ASSERT_NE(prepareText(*font, VK_ATTACHMENT_LOAD_OP_CLEAR), nullptr);
    const MeshData<ScreenVertex> initial = createText(*font, fmt::format("{:<15}", "FPS: -"), textAlignLeft);
    Mesh& mesh = *createDynamicMesh(meshes, initial).value();
    const FrameRecords& vertices = mesh.dynamicVertices;
    const std::size_t roomBytes = initial.vertices.size() * sizeof(ScreenVertex);
    const auto heldBy = [&](std::uint32_t frame) { return bytesOf(vertices.buffers[frame].mapped, roomBytes); };
    const auto records = [&] { return bytesOf(vertices.records.data(), roomBytes); };
    const std::vector<std::uint8_t> before = bytesOf(initial.vertices.data(), roomBytes);
    const FrameRecorder draw = [&](const FrameInfo& frame) { drawQuad(text, mesh, frame); };
    const std::uint64_t waits = system.queueWaitCount();

    Timer::resetForTesting();
    Timer::start();
    for (int tick = 0; tick < 16; ++tick)
    {
        Timer::tickBy(0.0625);
    }
    StdoutCapture capture;
    refreshFpsText(*font, mesh);
    EXPECT_EQ(capture.text(), "");
    Timer::resetForTesting();
    const std::vector<ScreenVertex> sixteen = createText(*font, "FPS: 16", textAlignLeft).vertices;
    EXPECT_EQ(mesh.indexCount, 42u);
    EXPECT_EQ(bytesOf(vertices.records.data(), sixteen.size() * sizeof(ScreenVertex)),
              bytesOf(sixteen.data(), sixteen.size() * sizeof(ScreenVertex)));
    EXPECT_EQ(heldBy(0), before);
    EXPECT_EQ(heldBy(1), before);

    const std::uint32_t first = system.getCurrentFrame();
    ASSERT_TRUE(presentFrame(system, draw));
    EXPECT_EQ(heldBy(first), records());
    EXPECT_EQ(heldBy(1 - first), before) << "the other frame may still be drawing from it";
    // A shorter text before the other frame draws: that frame still takes the
    // seventh character of the longer one, which it has never had.
    ASSERT_TRUE(updateTextMesh(mesh, createText(*font, "FPS: 5", textAlignLeft)));
    EXPECT_EQ(mesh.indexCount, 36u);
    ASSERT_TRUE(presentFrame(system, draw));
    ASSERT_TRUE(presentFrame(system, draw));
    EXPECT_EQ(heldBy(0), records());
    EXPECT_EQ(heldBy(1), records());
    EXPECT_EQ(system.queueWaitCount(), waits);
    system.waitIdle();

    EXPECT_FALSE(updateTextMesh(mesh, createText(*font, "FPS: 0123456789-", textAlignLeft)));
    EXPECT_EQ(mesh.indexCount, 36u);
    EXPECT_EQ(records(), heldBy(0)) << "a refused text writes nothing";
    // An empty text draws nothing.
    EXPECT_TRUE(updateTextMesh(mesh, createText(*font, "", textAlignLeft)));
    EXPECT_EQ(mesh.indexCount, 0u);
    // A text made once has no room to be rewritten in.
    Mesh& fixed = *createMesh(meshes, initial).value();
    EXPECT_FALSE(updateTextMesh(fixed, createText(*font, "FPS: 1", textAlignLeft)));
    EXPECT_FALSE(updateTextMesh(fixed, createText(*font, "", textAlignLeft)));
    EXPECT_EQ(fixed.indexCount, 90u);
    EXPECT_FALSE(hasErrors());
}
}
