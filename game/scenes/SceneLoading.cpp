#include "game/scenes/SceneLoading.hpp"

#include "engine/GraphicsSystem.hpp"
#include "engine/Log.hpp"
#include "graphics/UniformBuffers.hpp"
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

PipelineDescription describeScreenPipeline(const std::string& vertexShader, const std::string& fragmentShader,
                                           VkAttachmentLoadOp colourLoadOp)
{
    PipelineDescription description;
    description.shaders = {{VK_SHADER_STAGE_VERTEX_BIT, vertexShader}, {VK_SHADER_STAGE_FRAGMENT_BIT, fragmentShader}};
    description.cullMode = VK_CULL_MODE_BACK_BIT;
    description.blendMode = BlendMode::AlphaBlend;
    description.descriptorBindings = {{VK_DESCRIPTOR_TYPE_UNIFORM_BUFFER, VK_SHADER_STAGE_VERTEX_BIT},
                                      {VK_DESCRIPTOR_TYPE_COMBINED_IMAGE_SAMPLER, VK_SHADER_STAGE_FRAGMENT_BIT}};
    description.pushConstantRanges = {{VK_SHADER_STAGE_VERTEX_BIT, 64}};
    description.colourLoadOp = colourLoadOp;
    return description;
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
