#include "renderers/ParticleSystem.hpp"

#include "engine/GraphicsSystem.hpp"
#include "graphics/DescriptorWriting.hpp"
#include "graphics/ImageLoading.hpp"
#include "graphics/PipelineStates.hpp"

#include <bit>
#include <cstdio>
#include <limits>

namespace
{
// An instance buffer's size is a 32-bit byte count.
constexpr std::int32_t maxParticlesPerEmitter =
    static_cast<std::int32_t>(std::numeric_limits<std::uint32_t>::max() / sizeof(Particle));

PipelineDescription describeParticlePipeline()
{
    PipelineDescription description;
    description.shaders = {{VK_SHADER_STAGE_VERTEX_BIT, "Assets/ZavikDemoScene/Shaders/Particle Shader.vert.spv"},
                           {VK_SHADER_STAGE_FRAGMENT_BIT, "Assets/ZavikDemoScene/Shaders/Particle Shader.frag.spv"}};
    description.cullMode = VK_CULL_MODE_BACK_BIT;
    description.depthTest = true;
    description.depthWrite = true;
    description.blendMode = BlendMode::AlphaBlend;
    description.descriptorBindings = {{VK_DESCRIPTOR_TYPE_COMBINED_IMAGE_SAMPLER, VK_SHADER_STAGE_FRAGMENT_BIT}};
    description.pushConstantRanges = {{VK_SHADER_STAGE_VERTEX_BIT, sizeof(ParticleSystem::PushBlock)}};
    description.colourLoadOp = VK_ATTACHMENT_LOAD_OP_LOAD;
    description.depthLoadOp = VK_ATTACHMENT_LOAD_OP_DONT_CARE;
    description.hasDepthAttachment = false;
    return description;
}

bool validEmitterIndex(std::int32_t index, std::size_t emitterCount)
{
    return index >= 0 && static_cast<std::size_t>(index) < emitterCount;
}
}

ParticleSystem::ParticleSystem(GraphicsSystem* graphics)
    : pipeline(graphics), textures{graphics, {}, {}}, meshContainer{graphics, {}, {}}, graphics(graphics)
{
}

void freeParticleSystem(ParticleSystem* system)
{
    delete system;
}

bool ParticleSystem::initialise(const std::string& texturePath)
{
    std::printf("creating particle Pipeline\n");
    if (!createParticlePipeline(pipeline, describeParticlePipeline()))
    {
        std::printf("FAIL!\n");
        return false;
    }
    std::printf("creating textures and Mesh\n");
    quad = createParticleQuad();
    std::printf("load Particle Texture\n");
    const std::optional<ImageData<std::uint32_t>> image = loadImage(texturePath);
    if (!image)
    {
        std::printf("error in Texture loading\n");
        return false;
    }
    texture = createTexture(textures, *image, VK_FORMAT_R8G8B8A8_UNORM, false, imageTextureSettings);
    const std::optional<VkSampler> created =
        texture != nullptr ? createSampler(textures, texture->mipLevels, VK_FILTER_LINEAR, VK_FILTER_LINEAR,
                                           VK_SAMPLER_MIPMAP_MODE_LINEAR)
                           : std::nullopt;
    if (!created)
    {
        std::printf("error in Texture loading\n");
        return false;
    }
    sampler = *created;
    std::printf("SUCCESS!\n");
    writeParticleDescriptorSets(pipeline, {texture, sampler});
    std::printf("Particle System init complete!\n");
    return true;
}

std::int32_t ParticleSystem::addEmitter(const ParticleEmitter& emitter, std::int32_t count)
{
    if (count <= 0 || count > maxParticlesPerEmitter)
    {
        return -1;
    }
    Particle unlaunched;
    unlaunched.size = glm::vec4(emitter.startSize, emitter.startAlpha, 0.0f, 0.0f);
    const std::vector<ModelInstance> instances(static_cast<std::size_t>(count),
                                               std::bit_cast<ModelInstance>(unlaunched));
    const std::optional<InstancedMesh*> mesh = createInstancedMesh(meshContainer, quad, instances);
    if (!mesh)
    {
        return -1;
    }
    (*mesh)->instanceCount = 0;
    particles.emplace_back(static_cast<std::size_t>(count), unlaunched);
    emitters.push_back(emitter);
    meshes.push_back(*mesh);
    particleCounts.push_back(static_cast<std::uint32_t>(count));
    return static_cast<std::int32_t>(emitters.size()) - 1;
}

void ParticleSystem::setEmitter(std::int32_t index, const glm::vec3& position, const glm::vec3& direction,
                                float speed)
{
    if (!validEmitterIndex(index, emitters.size()))
    {
        return;
    }
    ParticleEmitter& emitter = emitters[static_cast<std::size_t>(index)];
    emitter.position = position;
    emitter.direction = direction;
    emitter.speed = speed;
}

void ParticleSystem::setEmitterActive(std::int32_t index, bool active)
{
    if (validEmitterIndex(index, emitters.size()))
    {
        emitters[static_cast<std::size_t>(index)].active = active;
    }
}

void ParticleSystem::setMatrices(const glm::mat4& view, const glm::mat4& projection)
{
    pushBlock.view = view;
    pushBlock.projection = projection;
}

void ParticleSystem::update(float dt)
{
    for (std::size_t index = 0; index < emitters.size(); ++index)
    {
        InstancedMesh& mesh = *meshes[index];
        if (!emitters[index].active && mesh.instanceCount == 0)
        {
            continue;
        }
        mesh.instanceCount = simulateParticles(emitters[index], particles[index], mesh.instanceCount, dt, random);
        updateInstances(mesh, *graphics, particles[index].data(),
                        static_cast<std::uint32_t>(particleCounts[index] * sizeof(Particle)));
    }
}

void ParticleSystem::recordDraw(const FrameInfo& frame)
{
    // Without a pipeline (a failed initialise) there is no pass to record.
    if (pipeline.pipeline == VK_NULL_HANDLE)
    {
        return;
    }
    vkCmdPushConstants(frame.commandBuffer, pipeline.pipelineLayout, VK_SHADER_STAGE_VERTEX_BIT, 0, sizeof(pushBlock),
                       &pushBlock);
    beginPipeline2(pipeline, frame.commandBuffer, frame.frameIndex, frame.imageIndex);
    for (const InstancedMesh* mesh : meshes)
    {
        drawInstancedMesh(*mesh, frame);
    }
    vkCmdEndRenderPass(frame.commandBuffer);
}

void ParticleSystem::destroy()
{
    destroyTextures(textures);
    texture = nullptr;
    sampler = VK_NULL_HANDLE;
    destroyMeshes(meshContainer);
    // The emitters go with their meshes, so a later update or draw finds none.
    particles.clear();
    emitters.clear();
    meshes.clear();
    particleCounts.clear();
    destroyPipeline2(pipeline);
}

bool createParticlePipeline(Pipeline2& pipeline, const PipelineDescription& description)
{
    appendColourClearValues(pipeline.clearValues, 1);
    const VkExtent2D extent = pipeline.graphicsSystem->swapChain.extent;
    return createPipeline2<ModelVertex, ModelInstance>(pipeline, description, {viewportCovering(extent)},
                                                       {scissorCovering(extent)});
}

void writeParticleDescriptorSets(Pipeline2& pipeline, const std::pair<Texture*, VkSampler>& texture)
{
    writeDescriptorSets(pipeline, {imageInput(*texture.first, texture.second)});
}

MeshData<ModelVertex> createParticleQuad()
{
    const glm::vec3 normal(0.0f, 0.0f, 1.0f);
    const glm::vec3 tangent(0.0f);
    return {{{{-1.0f, 1.0f, 0.0f}, {0.0f, 1.0f}, normal, tangent},
             {{-1.0f, -1.0f, 0.0f}, {0.0f, 0.0f}, normal, tangent},
             {{1.0f, 1.0f, 0.0f}, {1.0f, 1.0f}, normal, tangent},
             {{1.0f, -1.0f, 0.0f}, {1.0f, 0.0f}, normal, tangent}},
            {0, 1, 2, 2, 1, 3}};
}
