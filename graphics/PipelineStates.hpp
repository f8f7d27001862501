#pragma once

#include "graphics/PipelineDescription.hpp"

#include <vulkan/vulkan.h>

#include <cstdint>
#include <optional>
#include <vector>

// The create-info records of a graphics pipeline that follow from its
// description alone. Records that point at lists point into the caller's
// vectors, which must outlive the pipeline creation.

std::vector<VkPushConstantRange> buildPushConstantRanges(const PipelineDescription& description);
std::vector<VkDynamicState> copyDynamicStates(const PipelineDescription& description);
// One entry per descriptor binding, in binding order, for the descriptor pool.
std::vector<VkDescriptorType> buildDescriptorTypes(const PipelineDescription& description);

// Colour attachments clear to transparent black; the depth value, when the
// pass has a depth attachment, comes after all of them.
void appendColourClearValues(std::vector<VkClearValue>& clearValues, std::uint32_t colourAttachmentCount);
void appendDepthClearValue(std::vector<VkClearValue>& clearValues, const PipelineDescription& description);

VkViewport viewportCovering(VkExtent2D extent);
VkRect2D scissorCovering(VkExtent2D extent);
VkPipelineViewportStateCreateInfo viewportState(const std::vector<VkViewport>& viewports,
                                                const std::vector<VkRect2D>& scissors);

VkPipelineInputAssemblyStateCreateInfo inputAssemblyState(const PipelineDescription& description);
// Only patch lists are tessellated, always in triangles.
std::optional<VkPipelineTessellationStateCreateInfo> tessellationState(const PipelineDescription& description);
VkPipelineRasterizationStateCreateInfo rasterisationState(const PipelineDescription& description);
VkPipelineMultisampleStateCreateInfo multisampleState();
VkPipelineDepthStencilStateCreateInfo depthStencilState(const PipelineDescription& description);

// An unknown mode blends as Additive.
VkPipelineColorBlendAttachmentState colourBlendAttachmentState(BlendMode mode);
VkPipelineColorBlendStateCreateInfo colourBlendState(
    const std::vector<VkPipelineColorBlendAttachmentState>& attachments);
VkPipelineDynamicStateCreateInfo dynamicState(const std::vector<VkDynamicState>& dynamicStates);
