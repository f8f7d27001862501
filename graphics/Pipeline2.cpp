#include "graphics/Pipeline2.hpp"

#include "engine/GraphicsSystem.hpp"
#include "engine/Log.hpp"
#include "engine/SwapChainDependents.hpp"
#include "engine/vulkan/ObjectWrappers.hpp"
#include "graphics/PipelineStates.hpp"

#include <algorithm>

namespace
{
// The rebuild passes over a pipeline without a render pass: one constructed
// but not created yet has no frame buffers to remake.
void listOnSwapChain(Pipeline2& pipeline)
{
    const std::vector<SwapChainDependent>& dependents = getSwapChainDependents();
    const bool listed = std::any_of(dependents.begin(), dependents.end(),
                                    [&](const SwapChainDependent& dependent) { return dependent.owner == &pipeline; });
    if (listed)
    {
        return;
    }
    addSwapChainDependent(
        &pipeline, [&pipeline] { destroyPipelineFramebuffers(pipeline); },
        [&pipeline] { return pipeline.renderPass == VK_NULL_HANDLE || createPipelineFramebuffers(pipeline); });
}

std::vector<DescriptorBinding> descriptorBindings(const PipelineDescription& description)
{
    std::vector<DescriptorBinding> bindings;
    bindings.reserve(description.descriptorBindings.size());
    for (const PipelineDescriptorBinding& binding : description.descriptorBindings)
    {
        bindings.push_back({binding.descriptorType, binding.stageFlags});
    }
    return bindings;
}

bool createDescriptorsAndLayout(Pipeline2& pipeline, const PipelineDescription& description)
{
    VkDevice& device = pipeline.graphicsSystem->logicalDevice.device;
    if (!createDescriptorPool(pipeline.descriptorPool, device, buildDescriptorTypes(description)) ||
        !createDescriptorSetLayout(pipeline.descriptorSetLayout, device, descriptorBindings(description)))
    {
        return false;
    }
    const std::optional<std::array<VkDescriptorSet, 2>> sets =
        allocateDescriptorSets(pipeline.descriptorPool, device, pipeline.descriptorSetLayout);
    if (!sets)
    {
        return false;
    }
    pipeline.descriptorSets = *sets;
    return createPipelineLayout(pipeline.pipelineLayout, device, {pipeline.descriptorSetLayout},
                                buildPushConstantRanges(description));
}

std::vector<VkPipelineShaderStageCreateInfo> shaderStageInfos(const PipelineDescription& description,
                                                              const std::vector<VkShaderModule>& modules)
{
    std::vector<VkPipelineShaderStageCreateInfo> stages;
    stages.reserve(modules.size());
    for (std::size_t index = 0; index < modules.size(); ++index)
    {
        VkPipelineShaderStageCreateInfo stage{};
        stage.sType = VK_STRUCTURE_TYPE_PIPELINE_SHADER_STAGE_CREATE_INFO;
        stage.stage = description.shaders[index].stage;
        stage.module = modules[index];
        stage.pName = "main";
        stages.push_back(stage);
    }
    return stages;
}

bool createGraphicsPipeline(Pipeline2& pipeline, const PipelineDescription& description,
                            const VertexInput& vertexInput, const std::vector<VkViewport>& viewports,
                            const std::vector<VkRect2D>& scissors, const PipelineTargets& targets,
                            const std::vector<VkShaderModule>& modules)
{
    const std::vector<VkPipelineShaderStageCreateInfo> stages = shaderStageInfos(description, modules);
    const VkPipelineVertexInputStateCreateInfo vertexInputInfo = vertexInputState(vertexInput);
    const VkPipelineInputAssemblyStateCreateInfo inputAssembly = inputAssemblyState(description);
    const std::optional<VkPipelineTessellationStateCreateInfo> tessellation = tessellationState(description);
    const VkPipelineViewportStateCreateInfo viewport = viewportState(viewports, scissors);
    const VkPipelineRasterizationStateCreateInfo rasterisation = rasterisationState(description);
    const VkPipelineMultisampleStateCreateInfo multisample = multisampleState();
    const VkPipelineDepthStencilStateCreateInfo depthStencil = depthStencilState(description);
    const VkPipelineColorBlendStateCreateInfo colourBlend = colourBlendState(targets.colourBlendAttachments);
    const std::vector<VkDynamicState> dynamicStates = copyDynamicStates(description);
    const VkPipelineDynamicStateCreateInfo dynamic = dynamicState(dynamicStates);

    VkGraphicsPipelineCreateInfo createInfo{};
    createInfo.sType = VK_STRUCTURE_TYPE_GRAPHICS_PIPELINE_CREATE_INFO;
    createInfo.stageCount = static_cast<std::uint32_t>(stages.size());
    createInfo.pStages = stages.data();
    createInfo.pVertexInputState = &vertexInputInfo;
    createInfo.pInputAssemblyState = &inputAssembly;
    createInfo.pTessellationState = tessellation ? &*tessellation : nullptr;
    createInfo.pViewportState = &viewport;
    createInfo.pRasterizationState = &rasterisation;
    createInfo.pMultisampleState = &multisample;
    createInfo.pDepthStencilState = &depthStencil;
    createInfo.pColorBlendState = &colourBlend;
    createInfo.pDynamicState = &dynamic;
    createInfo.layout = pipeline.pipelineLayout;
    createInfo.renderPass = pipeline.renderPass;
    createInfo.subpass = 0;
    createInfo.basePipelineHandle = VK_NULL_HANDLE;
    createInfo.basePipelineIndex = 0;

    VkPipeline created = VK_NULL_HANDLE;
    if (vkCreateGraphicsPipelines(pipeline.graphicsSystem->logicalDevice.device, VK_NULL_HANDLE, 1, &createInfo,
                                  nullptr, &created) != VK_SUCCESS)
    {
        return false;
    }
    pipeline.pipeline = created;
    return true;
}
}

Pipeline2::Pipeline2(GraphicsSystem* graphicsSystem) : graphicsSystem(graphicsSystem)
{
    listOnSwapChain(*this);
}

Pipeline2::Pipeline2(GraphicsSystem* graphicsSystem, NotOnSwapChain) : graphicsSystem(graphicsSystem)
{
}

Pipeline2::~Pipeline2()
{
    removeSwapChainDependent(this);
}

bool buildPipeline2(Pipeline2& pipeline, const PipelineDescription& description, const VertexInput& vertexInput,
                    const std::vector<VkViewport>& viewports, const std::vector<VkRect2D>& scissors,
                    const PipelineTargets& targets)
{
    pipeline.hasDepthAttachment = description.hasDepthAttachment;
    appendDepthClearValue(pipeline.clearValues, description);
    if (!createDescriptorsAndLayout(pipeline, description) || !targets.createRenderPass() ||
        !targets.createFramebuffers())
    {
        return false;
    }

    std::vector<VkShaderModule> modules;
    bool created = false;
    if (setupShaderStages(pipeline, description, modules))
    {
        created = createGraphicsPipeline(pipeline, description, vertexInput, viewports, scissors, targets, modules);
        if (!created)
        {
            logError("Vulkan pipeline creation has failed.");
        }
    }
    for (VkShaderModule& module : modules)
    {
        destroyShaderModule(module, pipeline.graphicsSystem->logicalDevice.device);
    }
    if (!created)
    {
        return false;
    }
    logDebug("Pipeline 2 was created.");
    return true;
}

template <typename Vertex, typename Instance>
bool createPipeline2(Pipeline2& pipeline, const PipelineDescription& description,
                     const std::vector<VkViewport>& viewports, const std::vector<VkRect2D>& scissors)
{
    listOnSwapChain(pipeline);
    const PipelineTargets targets{
        [&] {
            VkDevice& device = pipeline.graphicsSystem->logicalDevice.device;
            const RenderPassOptions options{description.colourLoadOp, description.depthLoadOp,
                                            description.hasDepthAttachment};
            return createRenderPass(pipeline.renderPass, pipeline.graphicsSystem->physicalDeviceInfo, device,
                                    options, {});
        },
        [&] { return createPipelineFramebuffers(pipeline); },
        {colourBlendAttachmentState(description.blendMode)}};
    return buildPipeline2(pipeline, description, buildVertexInput<Vertex, Instance>(), viewports, scissors, targets);
}

template bool createPipeline2<LineVertex>(Pipeline2&, const PipelineDescription&, const std::vector<VkViewport>&,
                                          const std::vector<VkRect2D>&);
template bool createPipeline2<ScreenVertex>(Pipeline2&, const PipelineDescription&, const std::vector<VkViewport>&,
                                            const std::vector<VkRect2D>&);
template bool createPipeline2<ModelVertex, ModelInstance>(Pipeline2&, const PipelineDescription&,
                                                          const std::vector<VkViewport>&,
                                                          const std::vector<VkRect2D>&);
template bool createPipeline2<NoVertex>(Pipeline2&, const PipelineDescription&, const std::vector<VkViewport>&,
                                        const std::vector<VkRect2D>&);

bool createSwapChainPipeline2(Pipeline2& pipeline, const PipelineDescription& description)
{
    appendColourClearValues(pipeline.clearValues, 1);
    const VkExtent2D extent = pipeline.graphicsSystem->swapChain.extent;
    return createPipeline2<NoVertex>(pipeline, description, {viewportCovering(extent)}, {scissorCovering(extent)});
}

bool setupShaderStages(Pipeline2& pipeline, const PipelineDescription& description,
                       std::vector<VkShaderModule>& modules)
{
    VkDevice& device = pipeline.graphicsSystem->logicalDevice.device;
    VkShaderStageFlags seen = 0;
    for (const PipelineShader& shader : description.shaders)
    {
        if ((seen & shader.stage) != 0)
        {
            logError("Only one shader per stage is allowed.");
            return false;
        }
        VkShaderModule module = VK_NULL_HANDLE;
        if (!createShaderModule(module, device, shader.path))
        {
            return false;
        }
        modules.push_back(module);
        seen |= shader.stage;
    }
    if ((seen & VK_SHADER_STAGE_VERTEX_BIT) == 0)
    {
        logError("One vertex shader is needed.");
        return false;
    }
    return true;
}

bool createPipelineFramebuffers(Pipeline2& pipeline)
{
    GraphicsSystem& system = *pipeline.graphicsSystem;
    const SwapChain& swapChain = system.swapChain;
    pipeline.framebuffers.reserve(swapChain.imageViews.size());
    for (std::size_t index = 0; index < swapChain.imageViews.size(); ++index)
    {
        FrameBufferDescription description{swapChain.extent.width, swapChain.extent.height, pipeline.renderPass,
                                           {swapChain.imageViews[index]}};
        if (pipeline.hasDepthAttachment)
        {
            description.attachments.push_back(system.depthImages[index].view);
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

void destroyPipelineFramebuffers(Pipeline2& pipeline)
{
    for (VkFramebuffer& framebuffer : pipeline.framebuffers)
    {
        destroyFrameBuffer(framebuffer, pipeline.graphicsSystem->logicalDevice.device);
    }
    pipeline.framebuffers.clear();
}

void beginPipeline2(Pipeline2& pipeline, VkCommandBuffer commandBuffer, std::uint32_t frameIndex,
                    std::uint32_t imageIndex)
{
    vkCmdBindPipeline(commandBuffer, VK_PIPELINE_BIND_POINT_GRAPHICS, pipeline.pipeline);
    VkRenderPassBeginInfo beginInfo{};
    beginInfo.sType = VK_STRUCTURE_TYPE_RENDER_PASS_BEGIN_INFO;
    beginInfo.renderPass = pipeline.renderPass;
    beginInfo.framebuffer = pipeline.framebuffers[imageIndex];
    beginInfo.renderArea = {{0, 0}, pipeline.graphicsSystem->swapChain.extent};
    beginInfo.clearValueCount = static_cast<std::uint32_t>(pipeline.clearValues.size());
    beginInfo.pClearValues = pipeline.clearValues.data();
    vkCmdBeginRenderPass(commandBuffer, &beginInfo, VK_SUBPASS_CONTENTS_INLINE);
    vkCmdBindDescriptorSets(commandBuffer, VK_PIPELINE_BIND_POINT_GRAPHICS, pipeline.pipelineLayout, 0, 1,
                            &pipeline.descriptorSets[frameIndex], 0, nullptr);
}

void destroyPipeline2(Pipeline2& pipeline)
{
    removeSwapChainDependent(&pipeline);
    VkDevice& device = pipeline.graphicsSystem->logicalDevice.device;
    if (pipeline.pipeline != VK_NULL_HANDLE)
    {
        vkDestroyPipeline(device, pipeline.pipeline, nullptr);
        pipeline.pipeline = VK_NULL_HANDLE;
        logDebug("Pipeline 2 was destroyed.");
    }
    destroyPipelineFramebuffers(pipeline);
    destroyRenderPass(pipeline.renderPass, device);
    destroyPipelineLayout(pipeline.pipelineLayout, device);
    destroyDescriptorSetLayout(pipeline.descriptorSetLayout, device);
    destroyDescriptorPool(pipeline.descriptorPool, device);
}
