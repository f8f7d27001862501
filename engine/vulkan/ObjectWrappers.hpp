#pragma once

#include "engine/vulkan/PhysicalDevice.hpp"

#include <vulkan/vulkan.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// Create operations fill their handle only on success and log one sentence on
// failure; destroy operations skip a null handle and null the one they destroy.

struct DescriptorBinding
{
    VkDescriptorType type = VK_DESCRIPTOR_TYPE_UNIFORM_BUFFER;
    VkShaderStageFlags stages = 0;
};

struct FrameBufferDescription
{
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    VkRenderPass renderPass = VK_NULL_HANDLE;
    std::vector<VkImageView> attachments;
};

struct RenderPassOptions
{
    VkAttachmentLoadOp colourLoadOp = VK_ATTACHMENT_LOAD_OP_CLEAR;
    VkAttachmentLoadOp depthLoadOp = VK_ATTACHMENT_LOAD_OP_CLEAR;
    bool depth = false;
};

struct DescriptorPoolLayout
{
    std::vector<VkDescriptorPoolSize> sizes;
    std::uint32_t maxSets = 0;
};

struct RenderPassLayout
{
    std::vector<VkAttachmentDescription> attachments;
    std::vector<VkAttachmentReference> colourReferences;
    std::optional<VkAttachmentReference> depthReference;
    VkSubpassDependency dependency{};
};

// Two descriptors of each listed type (one per frame in flight).
DescriptorPoolLayout describeDescriptorPool(const std::vector<VkDescriptorType>& types);
// Binding numbers are the positions in the list.
std::vector<VkDescriptorSetLayoutBinding> describeDescriptorSetLayout(const std::vector<DescriptorBinding>& bindings);
// An empty colour-format list draws into the swap chain's image.
RenderPassLayout describeRenderPass(const PhysicalDeviceInfo& info, const RenderPassOptions& options,
                                    const std::vector<VkFormat>& colourFormats);
// A whole number of 32-bit words starting with the SPIR-V magic number.
bool isSpirvCode(const std::string& code);

bool createFence(VkFence& fence, VkDevice& device, bool signalled);
void destroyFence(VkFence& fence, VkDevice& device);
bool createSemaphore(VkSemaphore& semaphore, VkDevice& device);
void destroySemaphore(VkSemaphore& semaphore, VkDevice& device);
bool createImageView(VkImageView& view, VkDevice& device, VkImage image, VkImageViewType viewType, VkFormat format,
                     VkComponentMapping components, VkImageSubresourceRange range);
void destroyImageView(VkImageView& view, VkDevice& device);
bool createImage(VkImage& image, VkDevice& device, std::uint32_t width, std::uint32_t height, VkFormat format,
                 std::uint32_t mipLevels, VkImageTiling tiling, VkImageUsageFlags usage, std::uint32_t arrayLayers);
bool createCubeImage(VkImage& image, VkDevice& device, std::uint32_t width, std::uint32_t height, VkFormat format,
                     std::uint32_t mipLevels, VkImageUsageFlags usage);
void destroyImage(VkImage& image, VkDevice& device);
bool createBufferHandle(VkBuffer& buffer, VkDevice& device, VkDeviceSize size, VkBufferUsageFlags usage);
void destroyBufferHandle(VkBuffer& buffer, VkDevice& device);
bool createDescriptorPool(VkDescriptorPool& pool, VkDevice& device, const std::vector<VkDescriptorType>& types);
void destroyDescriptorPool(VkDescriptorPool& pool, VkDevice& device);
std::optional<std::array<VkDescriptorSet, 2>> allocateDescriptorSets(VkDescriptorPool& pool, VkDevice& device,
                                                                     VkDescriptorSetLayout layout);
bool createDescriptorSetLayout(VkDescriptorSetLayout& layout, VkDevice& device,
                               const std::vector<DescriptorBinding>& bindings);
void destroyDescriptorSetLayout(VkDescriptorSetLayout& layout, VkDevice& device);
bool createFrameBuffer(VkFramebuffer& frameBuffer, VkDevice& device, const FrameBufferDescription& description);
void destroyFrameBuffer(VkFramebuffer& frameBuffer, VkDevice& device);
bool createPipelineLayout(VkPipelineLayout& layout, VkDevice& device, const std::vector<VkDescriptorSetLayout>& setLayouts,
                          const std::vector<VkPushConstantRange>& pushConstantRanges);
void destroyPipelineLayout(VkPipelineLayout& layout, VkDevice& device);
bool createRenderPass(VkRenderPass& renderPass, const PhysicalDeviceInfo& info, VkDevice& device,
                      const RenderPassOptions& options, std::vector<VkFormat> colourFormats);
void destroyRenderPass(VkRenderPass& renderPass, VkDevice& device);
bool createShaderModule(VkShaderModule& shaderModule, VkDevice& device, const std::filesystem::path& path);
void destroyShaderModule(VkShaderModule& shaderModule, VkDevice& device);
