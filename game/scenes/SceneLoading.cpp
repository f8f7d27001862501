#include "game/scenes/SceneLoading.hpp"

#include "engine/GraphicsSystem.hpp"
#include "engine/Log.hpp"
#include "graphics/Pipeline2.hpp"
#include "graphics/UniformBuffers.hpp"
#include "renderers/Hud.hpp"
#include "renderers/Text.hpp"

#include <fmt/format.h>

#include <cstring>

const std::u32string textCodePoints =
    U"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789.,-;:_\u00E2\u201A\u00AC!\"%&/()=[] ";
const std::u32string clockCodePoints = U"0123456789:.";

bool loadStep(bool succeeded, const std::string& sentence)
{
    if (!succeeded)
    {
        logError(sentence);
    }
    return succeeded;
}

std::optional<UniformBufferCollection> createProjectionUniforms(GraphicsSystem& graphicsSystem,
                                                                const glm::mat4& projection)
{
    std::optional<UniformBufferCollection> uniforms = createUniformBufferCollection<64>(graphicsSystem);
    if (uniforms)
    {
        for (UniformBuffer& buffer : uniforms->buffers)
        {
            std::memcpy(buffer.mapped, &projection, sizeof(projection));
        }
    }
    return uniforms;
}

bool loadScreen(GraphicsSystem& graphicsSystem, TextureContainer& textures, std::vector<std::unique_ptr<Font>>& fonts,
                const glm::mat4& projection, const ScreenLoad& load)
{
    for (const ScreenPipelineLoad& step : load.pipelines)
    {
        if (!loadStep(createHudPipeline(*step.pipeline, step.description), step.failure))
        {
            return false;
        }
    }
    std::optional<UniformBufferCollection> uniforms = createProjectionUniforms(graphicsSystem, projection);
    if (!loadStep(uniforms.has_value(), load.uniformsFailure))
    {
        return false;
    }
    *load.uniforms = *uniforms;

    std::vector<const Font*> made;
    for (const ScreenFontLoad& step : load.fonts)
    {
        *step.font = createFont(fonts, step.path, step.pointSize, step.codePoints).value_or(nullptr);
        if (!loadStep(*step.font != nullptr, step.failure))
        {
            return false;
        }
        made.push_back(*step.font);
    }
    if (!load.createMeshes())
    {
        return false;
    }
    const Texture* picture = load.loadPicture();
    if (picture == nullptr)
    {
        return false;
    }
    std::vector<const Texture*> atlases;
    for (const Font* font : made)
    {
        atlases.push_back(createTexture(textures, font->getAtlas(), VK_FORMAT_R8_UNORM, false, imageTextureSettings));
        if (!loadStep(atlases.back() != nullptr, load.atlasFailure))
        {
            return false;
        }
    }
    const std::optional<VkSampler> pictureSampler = createSampler(textures, picture->mipLevels, VK_FILTER_LINEAR,
                                                                  VK_FILTER_LINEAR, VK_SAMPLER_MIPMAP_MODE_LINEAR);
    // The atlases are made without a mip chain.
    const std::optional<VkSampler> atlasSampler =
        createSampler(textures, 1, VK_FILTER_LINEAR, VK_FILTER_LINEAR, VK_SAMPLER_MIPMAP_MODE_LINEAR);
    if (!loadStep(pictureSampler && atlasSampler, load.samplerFailure))
    {
        return false;
    }
    for (const ScreenPipelineLoad& step : load.pipelines)
    {
        if (step.font)
        {
            writeHudDescriptorSets(*step.pipeline, *load.uniforms, *atlases.at(*step.font), *atlasSampler);
        }
        else
        {
            writeHudDescriptorSets(*step.pipeline, *load.uniforms, *picture, *pictureSampler);
        }
    }
    return true;
}

std::optional<Mesh*> createFpsTextMesh(MeshContainer& meshes, const Font& font)
{
    const std::string placeholder = "FPS: -";
    std::optional<Mesh*> mesh =
        createDynamicMesh(meshes, createText(font, fmt::format("{:<{}}", placeholder, fpsTextCapacity), textAlignLeft));
    if (mesh)
    {
        (*mesh)->indexCount = static_cast<std::uint32_t>(6 * placeholder.size());
    }
    return mesh;
}

std::optional<FrameInfo> beginLoadedFrame(GraphicsSystem* graphicsSystem, bool loaded)
{
    if (!loaded)
    {
        return std::nullopt;
    }
    return graphicsSystem->beginFrame();
}
