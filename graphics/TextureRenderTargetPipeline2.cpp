#include "graphics/TextureRenderTargetPipeline2.hpp"

#include "engine/GraphicsSystem.hpp"
#include "engine/Log.hpp"
#include "engine/vulkan/ObjectWrappers.hpp"
#include "graphics/PipelineStates.hpp"

namespace
{
std::size_t colourTargetCount(const std::vector<Texture*>& targets, bool hasDepthAttachment)
{
    return hasDepthAttachment && !targets.empty() ? targets.size() - 1 : targets.size();
}

void refuseCreation(const char* reason)
{
    logError(reason);
    logError("Texture render target pipeline 2 creation has failed.");
}

// The targets of one frame go between the shader-read layout and their
// attachment layouts, in list order.
void transitionTargets(const TextureRenderTargetPipeline2& pipeline, VkCommandBuffer commandBuffer,
                       std::uint32_t frameIndex, bool intoAttachments)
{
    const std::vector<Texture*>& targets = pipeline.frameTargets[frameIndex];
    const std::size_t colourCount = colourTargetCount(targets, pipeline.hasDepthAttachment);
    for (std::size_t index = 0; index < targets.size(); ++index)
    {
        const bool depth = index >= colourCount;
        const VkImageLayout attachmentLayout =
            depth ? VK_IMAGE_LAYOUT_DEPTH_STENCIL_ATTACHMENT_OPTIMAL : VK_IMAGE_LAYOUT_COLOR_ATTACHMENT_OPTIMAL;
        const VkImageLayout oldLayout = intoAttachments ? VK_IMAGE_LAYOUT_SHADER_READ_ONLY_OPTIMAL : attachmentLayout;
        const VkImageLayout newLayout = intoAttachments ? attachmentLayout : VK_IMAGE_LAYOUT_SHADER_READ_ONLY_OPTIMAL;
        GraphicsSystem::recordImageLayoutTransition(commandBuffer, targets[index]->image.image, 1, 1, oldLayout,
                                                    newLayout, depth);
    }
}

template <typename Vertex, typename Instance>
bool buildTextureRenderTargetPipeline2(TextureRenderTargetPipeline2& pipeline, const PipelineDescription& description,
                                       const std::vector<VkViewport>& viewports,
                                       const std::vector<VkRect2D>& scissors)
{
    const PipelineTargets targets{[&] { return createRenderTargetRenderPass(pipeline, description); },
                                  [&] { return createRenderTargetFramebuffers(pipeline); },
                                  addColourBlendAttachment(pipeline, description)};
    return buildPipeline2(pipeline, description, buildVertexInput<Vertex, Instance>(), viewports, scissors, targets);
}
}

TextureRenderTargetPipeline2::TextureRenderTargetPipeline2(GraphicsSystem* graphicsSystem)
    : Pipeline2(graphicsSystem, NotOnSwapChain{})
{
}

template <typename Vertex, typename Instance>
bool createTextureRenderTargetPipeline2(TextureRenderTargetPipeline2& pipeline, const PipelineDescription& description,
                                        const std::vector<TextureCollection>& collections)
{
    if (collections.empty())
    {
        refuseCreation("Texture render target pipeline 2 needs at least 1 texture collection.");
        return false;
    }
    // Without one the render pass would take the swap chain's format.
    if (description.hasDepthAttachment && collections.size() == 1)
    {
        refuseCreation("Texture render target pipeline 2 needs at least 1 colour target.");
        return false;
    }
    for (std::uint32_t frame = 0; frame < framesInFlight; ++frame)
    {
        std::vector<Texture*>& targets = pipeline.frameTargets[frame];
        targets.reserve(targets.size() + collections.size());
        for (const TextureCollection& collection : collections)
        {
            targets.push_back(collection.textures[frame]);
        }
    }
    const auto colourCount = static_cast<std::uint32_t>(
        colourTargetCount(pipeline.frameTargets[0], description.hasDepthAttachment));
    appendColourClearValues(pipeline.clearValues, colourCount);

    const Texture& first = *pipeline.frameTargets[pipeline.graphicsSystem->getCurrentFrame()].front();
    const VkExtent2D extent{first.width, first.height};
    return buildTextureRenderTargetPipeline2<Vertex, Instance>(pipeline, description, {viewportCovering(extent)},
                                                               {scissorCovering(extent)});
}

template bool createTextureRenderTargetPipeline2<ModelVertex, TwoMatrixInstance>(
    TextureRenderTargetPipeline2&, const PipelineDescription&, const std::vector<TextureCollection>&);
template bool createTextureRenderTargetPipeline2<PositionVertex>(TextureRenderTargetPipeline2&,
                                                                 const PipelineDescription&,
                                                                 const std::vector<TextureCollection>&);
template bool createTextureRenderTargetPipeline2<PositionVertex, PointLightInstance>(
    TextureRenderTargetPipeline2&, const PipelineDescription&, const std::vector<TextureCollection>&);
template bool createTextureRenderTargetPipeline2<NoVertex>(TextureRenderTargetPipeline2&, const PipelineDescription&,
                                                           const std::vector<TextureCollection>&);

bool createRenderTargetRenderPass(TextureRenderTargetPipeline2& pipeline, const PipelineDescription& description)
{
    const std::vector<Texture*>& targets = pipeline.frameTargets[0];
    std::vector<VkFormat> colourFormats;
    const std::size_t colourCount = colourTargetCount(targets, description.hasDepthAttachment);
    for (std::size_t index = 0; index < colourCount; ++index)
    {
        colourFormats.push_back(targets[index]->format);
    }
    GraphicsSystem& system = *pipeline.graphicsSystem;
    const RenderPassOptions options{description.colourLoadOp, description.depthLoadOp, description.hasDepthAttachment};
    return createRenderPass(pipeline.renderPass, system.physicalDeviceInfo, system.logicalDevice.device, options,
                            colourFormats);
}

bool createRenderTargetFramebuffers(TextureRenderTargetPipeline2& pipeline)
{
    GraphicsSystem& system = *pipeline.graphicsSystem;
    const Texture& first = *pipeline.frameTargets[system.getCurrentFrame()].front();
    pipeline.framebuffers.reserve(framesInFlight);
    for (const std::vector<Texture*>& targets : pipeline.frameTargets)
    {
        FrameBufferDescription description{first.width, first.height, pipeline.renderPass, {}};
        for (const Texture* target : targets)
        {
            description.attachments.push_back(target->image.view);
        }
        VkFramebuffer framebuffer = VK_NULL_HANDLE;
        if (!createFrameBuffer(framebuffer, system.logicalDevice.device, description))
        {
            return false;
        }
        pipeline.framebuffers.push_back(framebuffer);
    }
    return true;
}

std::vector<VkPipelineColorBlendAttachmentState> addColourBlendAttachment(const TextureRenderTargetPipeline2& pipeline,
                                                                          const PipelineDescription& description)
{
    const std::size_t colourCount = colourTargetCount(pipeline.frameTargets[0], description.hasDepthAttachment);
    return std::vector<VkPipelineColorBlendAttachmentState>(colourCount,
                                                            colourBlendAttachmentState(description.blendMode));
}

void beginTextureRenderTargetPipeline2(TextureRenderTargetPipeline2& pipeline, VkCommandBuffer commandBuffer,
                                       std::uint32_t frameIndex)
{
    vkCmdBindPipeline(commandBuffer, VK_PIPELINE_BIND_POINT_GRAPHICS, pipeline.pipeline);
    pipeline.passFrame = frameIndex;
    transitionTargets(pipeline, commandBuffer, frameIndex, true);
    const Texture& first = *pipeline.frameTargets[frameIndex].front();
    VkRenderPassBeginInfo beginInfo{};
    beginInfo.sType = VK_STRUCTURE_TYPE_RENDER_PASS_BEGIN_INFO;
    beginInfo.renderPass = pipeline.renderPass;
    beginInfo.framebuffer = pipeline.framebuffers[frameIndex];
    beginInfo.renderArea = {{0, 0}, {first.width, first.height}};
    beginInfo.clearValueCount = static_cast<std::uint32_t>(pipeline.clearValues.size());
    beginInfo.pClearValues = pipeline.clearValues.data();
    vkCmdBeginRenderPass(commandBuffer, &beginInfo, VK_SUBPASS_CONTENTS_INLINE);
    vkCmdBindDescriptorSets(commandBuffer, VK_PIPELINE_BIND_POINT_GRAPHICS, pipeline.pipelineLayout, 0, 1,
                            &pipeline.descriptorSets[frameIndex], 0, nullptr);
}

void endTextureRenderTargetPipeline2(TextureRenderTargetPipeline2& pipeline, VkCommandBuffer commandBuffer)
{
    vkCmdEndRenderPass(commandBuffer);
    transitionTargets(pipeline, commandBuffer, pipeline.passFrame, false);
}
