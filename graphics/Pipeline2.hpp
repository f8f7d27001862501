#pragma once

#include "graphics/PipelineDescription.hpp"
#include "graphics/VertexLayouts.hpp"

#include <vulkan/vulkan.h>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

class GraphicsSystem;

// A graphics pipeline with everything it is recorded with. It owns its Vulkan
// objects but releases them only through destroyPipeline2. A swap-chain
// pipeline is listed for the swap-chain rebuild from construction until it is
// destroyed or deleted, and the list holds its address: it is neither copied
// nor moved.
struct Pipeline2
{
    explicit Pipeline2(GraphicsSystem* graphicsSystem);
    ~Pipeline2();
    Pipeline2(const Pipeline2&) = delete;
    Pipeline2& operator=(const Pipeline2&) = delete;

    GraphicsSystem* graphicsSystem = nullptr;
    VkPipeline pipeline = VK_NULL_HANDLE;
    VkDescriptorPool descriptorPool = VK_NULL_HANDLE;
    VkDescriptorSetLayout descriptorSetLayout = VK_NULL_HANDLE;
    // Indexed by the frame index; the owner writes the descriptors.
    std::array<VkDescriptorSet, 2> descriptorSets{};
    VkPipelineLayout pipelineLayout = VK_NULL_HANDLE;
    // A swap-chain pipeline's are indexed by the swap-chain image index.
    std::vector<VkFramebuffer> framebuffers;
    // One per attachment, in attachment order.
    std::vector<VkClearValue> clearValues;
    VkRenderPass renderPass = VK_NULL_HANDLE;
    bool hasDepthAttachment = false;

protected:
    // Pipelines that draw into textures do not follow the swap chain.
    struct NotOnSwapChain
    {
    };
    Pipeline2(GraphicsSystem* graphicsSystem, NotOnSwapChain);
};

// The creation steps that swap-chain and texture pipelines share. The render
// pass and the frame buffers are made in their place in the order; the blend
// states are one per colour attachment. What is made before a failure stays in
// the pipeline for destroyPipeline2.
struct PipelineTargets
{
    std::function<bool()> createRenderPass;
    std::function<bool()> createFramebuffers;
    std::vector<VkPipelineColorBlendAttachmentState> colourBlendAttachments;
};
bool buildPipeline2(Pipeline2& pipeline, const PipelineDescription& description, const VertexInput& vertexInput,
                    const std::vector<VkViewport>& viewports, const std::vector<VkRect2D>& scissors,
                    const PipelineTargets& targets);

// The caller has appended the colour clear value; the depth one follows it.
template <typename Vertex, typename Instance = void>
bool createPipeline2(Pipeline2& pipeline, const PipelineDescription& description,
                     const std::vector<VkViewport>& viewports, const std::vector<VkRect2D>& scissors);

extern template bool createPipeline2<LineVertex>(Pipeline2&, const PipelineDescription&,
                                                 const std::vector<VkViewport>&, const std::vector<VkRect2D>&);
extern template bool createPipeline2<ScreenVertex>(Pipeline2&, const PipelineDescription&,
                                                   const std::vector<VkViewport>&, const std::vector<VkRect2D>&);
extern template bool createPipeline2<ModelVertex, ModelInstance>(Pipeline2&, const PipelineDescription&,
                                                                 const std::vector<VkViewport>&,
                                                                 const std::vector<VkRect2D>&);
extern template bool createPipeline2<NoVertex>(Pipeline2&, const PipelineDescription&, const std::vector<VkViewport>&,
                                               const std::vector<VkRect2D>&);

// A full-screen pass onto the swap chain, cleared to transparent black.
bool createSwapChainPipeline2(Pipeline2& pipeline, const PipelineDescription& description);

// One module per shader, in order, appended to `modules`; after a failure the
// modules already made are there too, for the caller to destroy.
bool setupShaderStages(Pipeline2& pipeline, const PipelineDescription& description,
                       std::vector<VkShaderModule>& modules);

// One per swap-chain image: its view, then its depth image's view when the
// pass has depth. On failure the frame buffers made so far are kept.
bool createPipelineFramebuffers(Pipeline2& pipeline);
void destroyPipelineFramebuffers(Pipeline2& pipeline);

// Binds the pipeline, begins its render pass on the swap-chain image and binds
// the frame's descriptor set. The caller ends the render pass.
void beginPipeline2(Pipeline2& pipeline, VkCommandBuffer commandBuffer, std::uint32_t frameIndex,
                    std::uint32_t imageIndex);

// Releases everything the pipeline made and takes it off the swap-chain list.
// A second call does nothing.
void destroyPipeline2(Pipeline2& pipeline);
