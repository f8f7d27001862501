#include "engine/vulkan/ObjectWrappers.hpp"

#include "engine/FileIo.hpp"
#include "engine/Log.hpp"
#include "engine/vulkan/SpirvValidation.hpp"

#include <fmt/format.h>

#include <cstring>

namespace
{
constexpr std::uint32_t spirvMagicNumber = 0x07230203;

template <typename Handle, typename Create>
bool createHandle(Handle& handle, Create create, const char* failureSentence, const char* successSentence)
{
    Handle created = VK_NULL_HANDLE;
    if (create(&created) != VK_SUCCESS)
    {
        logError(failureSentence);
        return false;
    }
    handle = created;
    if (successSentence != nullptr)
    {
        logDebug(successSentence);
    }
    return true;
}

template <typename Handle, typename Destroy>
void destroyHandle(Handle& handle, Destroy destroy, const char* sentence)
{
    if (handle == VK_NULL_HANDLE)
    {
        return;
    }
    destroy(handle);
    handle = VK_NULL_HANDLE;
    if (sentence != nullptr)
    {
        logDebug(sentence);
    }
}

VkImageLayout initialLayout(VkAttachmentLoadOp loadOp, VkImageLayout kept)
{
    return loadOp == VK_ATTACHMENT_LOAD_OP_LOAD ? kept : VK_IMAGE_LAYOUT_UNDEFINED;
}

VkAttachmentDescription attachment(VkFormat format, VkAttachmentLoadOp loadOp, VkImageLayout layout)
{
    VkAttachmentDescription description{};
    description.format = format;
    description.samples = VK_SAMPLE_COUNT_1_BIT;
    description.loadOp = loadOp;
    description.storeOp = VK_ATTACHMENT_STORE_OP_STORE;
    description.stencilLoadOp = VK_ATTACHMENT_LOAD_OP_DONT_CARE;
    description.stencilStoreOp = VK_ATTACHMENT_STORE_OP_DONT_CARE;
    description.initialLayout = initialLayout(loadOp, layout);
    description.finalLayout = layout;
    return description;
}

bool createImageWith(VkImage& image, VkDevice& device, const VkImageCreateInfo& createInfo)
{
    // A zero size is invalid usage that the driver need not catch.
    if (createInfo.extent.width == 0 || createInfo.extent.height == 0 || createInfo.mipLevels == 0 ||
        createInfo.arrayLayers == 0)
    {
        logError("Vulkan image creation has failed.");
        return false;
    }
    return createHandle(
        image, [&](VkImage* created) { return vkCreateImage(device, &createInfo, nullptr, created); },
        "Vulkan image creation has failed.", "Image was created.");
}
}

DescriptorPoolLayout describeDescriptorPool(const std::vector<VkDescriptorType>& types)
{
    DescriptorPoolLayout layout;
    for (const VkDescriptorType type : types)
    {
        layout.sizes.push_back({type, 2});
    }
    layout.maxSets = 2 * static_cast<std::uint32_t>(types.size()) + 2;
    return layout;
}

std::vector<VkDescriptorSetLayoutBinding> describeDescriptorSetLayout(const std::vector<DescriptorBinding>& bindings)
{
    std::vector<VkDescriptorSetLayoutBinding> result;
    for (std::uint32_t index = 0; index < bindings.size(); ++index)
    {
        result.push_back({index, bindings[index].type, 1, bindings[index].stages, nullptr});
    }
    return result;
}

RenderPassLayout describeRenderPass(const PhysicalDeviceInfo& info, const RenderPassOptions& options,
                                    const std::vector<VkFormat>& colourFormats)
{
    RenderPassLayout layout;
    if (colourFormats.empty())
    {
        layout.attachments.push_back(attachment(info.colourFormat, options.colourLoadOp, VK_IMAGE_LAYOUT_PRESENT_SRC_KHR));
        layout.colourReferences.push_back({0, VK_IMAGE_LAYOUT_COLOR_ATTACHMENT_OPTIMAL});
    }
    for (std::uint32_t index = 0; index < colourFormats.size(); ++index)
    {
        layout.attachments.push_back(
            attachment(colourFormats[index], options.colourLoadOp, VK_IMAGE_LAYOUT_COLOR_ATTACHMENT_OPTIMAL));
        layout.colourReferences.push_back({index, VK_IMAGE_LAYOUT_COLOR_ATTACHMENT_OPTIMAL});
    }
    if (options.depth)
    {
        layout.attachments.push_back(
            attachment(info.depthFormat, options.depthLoadOp, VK_IMAGE_LAYOUT_DEPTH_STENCIL_ATTACHMENT_OPTIMAL));
        layout.depthReference = VkAttachmentReference{static_cast<std::uint32_t>(layout.colourReferences.size()),
                                                      VK_IMAGE_LAYOUT_DEPTH_STENCIL_ATTACHMENT_OPTIMAL};
    }

    // Orders the pass after the previous writers of its attachments: the
    // acquire (the swap-chain image's layout change waits for it), earlier
    // passes that it loads from, and the last frame's use of the depth image.
    const VkPipelineStageFlags stages = VK_PIPELINE_STAGE_COLOR_ATTACHMENT_OUTPUT_BIT |
                                        VK_PIPELINE_STAGE_EARLY_FRAGMENT_TESTS_BIT |
                                        VK_PIPELINE_STAGE_LATE_FRAGMENT_TESTS_BIT;
    layout.dependency.srcSubpass = VK_SUBPASS_EXTERNAL;
    layout.dependency.dstSubpass = 0;
    layout.dependency.srcStageMask = stages;
    layout.dependency.dstStageMask = stages;
    layout.dependency.srcAccessMask =
        VK_ACCESS_COLOR_ATTACHMENT_WRITE_BIT | VK_ACCESS_DEPTH_STENCIL_ATTACHMENT_WRITE_BIT;
    layout.dependency.dstAccessMask = VK_ACCESS_COLOR_ATTACHMENT_READ_BIT | VK_ACCESS_COLOR_ATTACHMENT_WRITE_BIT |
                                      VK_ACCESS_DEPTH_STENCIL_ATTACHMENT_READ_BIT |
                                      VK_ACCESS_DEPTH_STENCIL_ATTACHMENT_WRITE_BIT;
    return layout;
}

bool isSpirvCode(const std::string& code)
{
    if (code.empty() || code.size() % sizeof(std::uint32_t) != 0)
    {
        return false;
    }
    std::uint32_t firstWord = 0;
    std::memcpy(&firstWord, code.data(), sizeof(firstWord));
    return firstWord == spirvMagicNumber;
}

bool createFence(VkFence& fence, VkDevice& device, bool signalled)
{
    VkFenceCreateInfo createInfo{};
    createInfo.sType = VK_STRUCTURE_TYPE_FENCE_CREATE_INFO;
    createInfo.flags = signalled ? VK_FENCE_CREATE_SIGNALED_BIT : 0;
    return createHandle(
        fence, [&](VkFence* created) { return vkCreateFence(device, &createInfo, nullptr, created); },
        "Vulkan fence creation has failed.", "Fence was created.");
}

void destroyFence(VkFence& fence, VkDevice& device)
{
    destroyHandle(fence, [&](VkFence handle) { vkDestroyFence(device, handle, nullptr); }, "Fence was destroyed.");
}

bool createSemaphore(VkSemaphore& semaphore, VkDevice& device)
{
    VkSemaphoreCreateInfo createInfo{};
    createInfo.sType = VK_STRUCTURE_TYPE_SEMAPHORE_CREATE_INFO;
    return createHandle(
        semaphore, [&](VkSemaphore* created) { return vkCreateSemaphore(device, &createInfo, nullptr, created); },
        "Vulkan semaphore creation has failed.", "Semaphore was created.");
}

void destroySemaphore(VkSemaphore& semaphore, VkDevice& device)
{
    destroyHandle(
        semaphore, [&](VkSemaphore handle) { vkDestroySemaphore(device, handle, nullptr); }, "Semaphore was destroyed.");
}

bool createImageView(VkImageView& view, VkDevice& device, VkImage image, VkImageViewType viewType, VkFormat format,
                     VkComponentMapping components, VkImageSubresourceRange range)
{
    VkImageViewCreateInfo createInfo{};
    createInfo.sType = VK_STRUCTURE_TYPE_IMAGE_VIEW_CREATE_INFO;
    createInfo.image = image;
    createInfo.viewType = viewType;
    createInfo.format = format;
    createInfo.components = components;
    createInfo.subresourceRange = range;
    return createHandle(
        view, [&](VkImageView* created) { return vkCreateImageView(device, &createInfo, nullptr, created); },
        "Vulkan image view creation has failed.", "Image view was created.");
}

void destroyImageView(VkImageView& view, VkDevice& device)
{
    destroyHandle(
        view, [&](VkImageView handle) { vkDestroyImageView(device, handle, nullptr); }, "Image view was destroyed.");
}

bool createImage(VkImage& image, VkDevice& device, std::uint32_t width, std::uint32_t height, VkFormat format,
                 std::uint32_t mipLevels, VkImageTiling tiling, VkImageUsageFlags usage, std::uint32_t arrayLayers)
{
    VkImageCreateInfo createInfo{};
    createInfo.sType = VK_STRUCTURE_TYPE_IMAGE_CREATE_INFO;
    createInfo.imageType = VK_IMAGE_TYPE_2D;
    createInfo.format = format;
    createInfo.extent = {width, height, 1};
    createInfo.mipLevels = mipLevels;
    createInfo.arrayLayers = arrayLayers;
    createInfo.samples = VK_SAMPLE_COUNT_1_BIT;
    createInfo.tiling = tiling;
    createInfo.usage = usage;
    createInfo.sharingMode = VK_SHARING_MODE_EXCLUSIVE;
    createInfo.initialLayout = VK_IMAGE_LAYOUT_UNDEFINED;
    return createImageWith(image, device, createInfo);
}

bool createCubeImage(VkImage& image, VkDevice& device, std::uint32_t width, std::uint32_t height, VkFormat format,
                     std::uint32_t mipLevels, VkImageUsageFlags usage)
{
    VkImageCreateInfo createInfo{};
    createInfo.sType = VK_STRUCTURE_TYPE_IMAGE_CREATE_INFO;
    createInfo.flags = VK_IMAGE_CREATE_CUBE_COMPATIBLE_BIT;
    createInfo.imageType = VK_IMAGE_TYPE_2D;
    createInfo.format = format;
    createInfo.extent = {width, height, 1};
    createInfo.mipLevels = mipLevels;
    createInfo.arrayLayers = 6;
    createInfo.samples = VK_SAMPLE_COUNT_1_BIT;
    createInfo.tiling = VK_IMAGE_TILING_OPTIMAL;
    createInfo.usage = usage;
    createInfo.sharingMode = VK_SHARING_MODE_EXCLUSIVE;
    createInfo.initialLayout = VK_IMAGE_LAYOUT_UNDEFINED;
    return createImageWith(image, device, createInfo);
}

void destroyImage(VkImage& image, VkDevice& device)
{
    destroyHandle(image, [&](VkImage handle) { vkDestroyImage(device, handle, nullptr); }, "Image was destroyed.");
}

bool createBufferHandle(VkBuffer& buffer, VkDevice& device, VkDeviceSize size, VkBufferUsageFlags usage)
{
    if (size == 0)
    {
        logError("Vulkan buffer creation has failed.");
        return false;
    }
    VkBufferCreateInfo createInfo{};
    createInfo.sType = VK_STRUCTURE_TYPE_BUFFER_CREATE_INFO;
    createInfo.size = size;
    createInfo.usage = usage;
    createInfo.sharingMode = VK_SHARING_MODE_EXCLUSIVE;
    return createHandle(
        buffer, [&](VkBuffer* created) { return vkCreateBuffer(device, &createInfo, nullptr, created); },
        "Vulkan buffer creation has failed.", nullptr);
}

void destroyBufferHandle(VkBuffer& buffer, VkDevice& device)
{
    destroyHandle(buffer, [&](VkBuffer handle) { vkDestroyBuffer(device, handle, nullptr); }, nullptr);
}

bool createDescriptorPool(VkDescriptorPool& pool, VkDevice& device, const std::vector<VkDescriptorType>& types)
{
    const DescriptorPoolLayout layout = describeDescriptorPool(types);
    VkDescriptorPoolCreateInfo createInfo{};
    createInfo.sType = VK_STRUCTURE_TYPE_DESCRIPTOR_POOL_CREATE_INFO;
    createInfo.maxSets = layout.maxSets;
    createInfo.poolSizeCount = static_cast<std::uint32_t>(layout.sizes.size());
    createInfo.pPoolSizes = layout.sizes.data();
    return createHandle(
        pool, [&](VkDescriptorPool* created) { return vkCreateDescriptorPool(device, &createInfo, nullptr, created); },
        "Vulkan descriptor pool creation has failed.", "Descriptor pool was created.");
}

void destroyDescriptorPool(VkDescriptorPool& pool, VkDevice& device)
{
    destroyHandle(
        pool, [&](VkDescriptorPool handle) { vkDestroyDescriptorPool(device, handle, nullptr); },
        "Descriptor pool was destroyed.");
}

std::optional<std::array<VkDescriptorSet, 2>> allocateDescriptorSets(VkDescriptorPool& pool, VkDevice& device,
                                                                     VkDescriptorSetLayout layout)
{
    const std::array<VkDescriptorSetLayout, 2> layouts{layout, layout};
    VkDescriptorSetAllocateInfo allocateInfo{};
    allocateInfo.sType = VK_STRUCTURE_TYPE_DESCRIPTOR_SET_ALLOCATE_INFO;
    allocateInfo.descriptorPool = pool;
    allocateInfo.descriptorSetCount = 2;
    allocateInfo.pSetLayouts = layouts.data();
    std::array<VkDescriptorSet, 2> sets{};
    if (vkAllocateDescriptorSets(device, &allocateInfo, sets.data()) != VK_SUCCESS)
    {
        logError("Descriptor sets allocation has failed.");
        return std::nullopt;
    }
    logDebug("Descriptor sets were allocated.");
    return sets;
}

bool createDescriptorSetLayout(VkDescriptorSetLayout& layout, VkDevice& device,
                               const std::vector<DescriptorBinding>& bindings)
{
    const std::vector<VkDescriptorSetLayoutBinding> layoutBindings = describeDescriptorSetLayout(bindings);
    VkDescriptorSetLayoutCreateInfo createInfo{};
    createInfo.sType = VK_STRUCTURE_TYPE_DESCRIPTOR_SET_LAYOUT_CREATE_INFO;
    createInfo.bindingCount = static_cast<std::uint32_t>(layoutBindings.size());
    createInfo.pBindings = layoutBindings.data();
    return createHandle(
        layout,
        [&](VkDescriptorSetLayout* created) { return vkCreateDescriptorSetLayout(device, &createInfo, nullptr, created); },
        "Vulkan descriptor set layout creation has failed.", "Descriptor set layout was created.");
}

void destroyDescriptorSetLayout(VkDescriptorSetLayout& layout, VkDevice& device)
{
    destroyHandle(
        layout, [&](VkDescriptorSetLayout handle) { vkDestroyDescriptorSetLayout(device, handle, nullptr); },
        "Descriptor set layout was destroyed.");
}

bool createFrameBuffer(VkFramebuffer& frameBuffer, VkDevice& device, const FrameBufferDescription& description)
{
    VkFramebufferCreateInfo createInfo{};
    createInfo.sType = VK_STRUCTURE_TYPE_FRAMEBUFFER_CREATE_INFO;
    createInfo.renderPass = description.renderPass;
    createInfo.attachmentCount = static_cast<std::uint32_t>(description.attachments.size());
    createInfo.pAttachments = description.attachments.data();
    createInfo.width = description.width;
    createInfo.height = description.height;
    createInfo.layers = 1;
    return createHandle(
        frameBuffer, [&](VkFramebuffer* created) { return vkCreateFramebuffer(device, &createInfo, nullptr, created); },
        "Vulkan frame buffer creation has failed.", "Frame buffer was created.");
}

void destroyFrameBuffer(VkFramebuffer& frameBuffer, VkDevice& device)
{
    destroyHandle(
        frameBuffer, [&](VkFramebuffer handle) { vkDestroyFramebuffer(device, handle, nullptr); },
        "Frame buffer was destroyed.");
}

bool createPipelineLayout(VkPipelineLayout& layout, VkDevice& device, const std::vector<VkDescriptorSetLayout>& setLayouts,
                          const std::vector<VkPushConstantRange>& pushConstantRanges)
{
    VkPipelineLayoutCreateInfo createInfo{};
    createInfo.sType = VK_STRUCTURE_TYPE_PIPELINE_LAYOUT_CREATE_INFO;
    createInfo.setLayoutCount = static_cast<std::uint32_t>(setLayouts.size());
    createInfo.pSetLayouts = setLayouts.data();
    createInfo.pushConstantRangeCount = static_cast<std::uint32_t>(pushConstantRanges.size());
    createInfo.pPushConstantRanges = pushConstantRanges.data();
    return createHandle(
        layout, [&](VkPipelineLayout* created) { return vkCreatePipelineLayout(device, &createInfo, nullptr, created); },
        "Vulkan pipeline layout creation has failed.", "Pipeline layout was created.");
}

void destroyPipelineLayout(VkPipelineLayout& layout, VkDevice& device)
{
    destroyHandle(
        layout, [&](VkPipelineLayout handle) { vkDestroyPipelineLayout(device, handle, nullptr); },
        "Pipeline layout was destroyed.");
}

bool createRenderPass(VkRenderPass& renderPass, const PhysicalDeviceInfo& info, VkDevice& device,
                      const RenderPassOptions& options, std::vector<VkFormat> colourFormats)
{
    const RenderPassLayout layout = describeRenderPass(info, options, colourFormats);
    VkSubpassDescription subpass{};
    subpass.pipelineBindPoint = VK_PIPELINE_BIND_POINT_GRAPHICS;
    subpass.colorAttachmentCount = static_cast<std::uint32_t>(layout.colourReferences.size());
    subpass.pColorAttachments = layout.colourReferences.data();
    subpass.pDepthStencilAttachment = layout.depthReference ? &*layout.depthReference : nullptr;

    VkRenderPassCreateInfo createInfo{};
    createInfo.sType = VK_STRUCTURE_TYPE_RENDER_PASS_CREATE_INFO;
    createInfo.attachmentCount = static_cast<std::uint32_t>(layout.attachments.size());
    createInfo.pAttachments = layout.attachments.data();
    createInfo.subpassCount = 1;
    createInfo.pSubpasses = &subpass;
    createInfo.dependencyCount = 1;
    createInfo.pDependencies = &layout.dependency;
    return createHandle(
        renderPass, [&](VkRenderPass* created) { return vkCreateRenderPass(device, &createInfo, nullptr, created); },
        "Vulkan render pass creation has failed.", "Render pass was created.");
}

void destroyRenderPass(VkRenderPass& renderPass, VkDevice& device)
{
    destroyHandle(
        renderPass, [&](VkRenderPass handle) { vkDestroyRenderPass(device, handle, nullptr); },
        "Render pass was destroyed.");
}

bool createShaderModule(VkShaderModule& shaderModule, VkDevice& device, const std::filesystem::path& path)
{
    const std::optional<std::string> code = readFile(path);
    if (!code)
    {
        logError(fmt::format("Shader file \"{}\" could not be read.", path.string()));
        return false;
    }
    // The driver may read past a truncated or foreign file, so it gets only SPIR-V.
    if (!isSpirvCode(*code))
    {
        logError("Vulkan shader module creation has failed.");
        return false;
    }
    std::vector<std::uint32_t> words(code->size() / sizeof(std::uint32_t));
    std::memcpy(words.data(), code->data(), code->size());
    // Invalid SPIR-V is undefined behaviour for the driver and the layers
    // above it (some crash or hang on a damaged file): it is refused here,
    // held to the version the shaders are compiled for. The instance's version
    // says nothing of the device's, which may take less.
    if (const std::optional<std::string> fault = findSpirvFault(words, shaderApiVersion))
    {
        logError(fmt::format("Shader file \"{}\" is not valid SPIR-V: {}", path.string(), *fault));
        return false;
    }

    VkShaderModuleCreateInfo createInfo{};
    createInfo.sType = VK_STRUCTURE_TYPE_SHADER_MODULE_CREATE_INFO;
    createInfo.codeSize = code->size();
    createInfo.pCode = words.data();
    return createHandle(
        shaderModule,
        [&](VkShaderModule* created) { return vkCreateShaderModule(device, &createInfo, nullptr, created); },
        "Vulkan shader module creation has failed.", "Shader module was created.");
}

void destroyShaderModule(VkShaderModule& shaderModule, VkDevice& device)
{
    destroyHandle(
        shaderModule, [&](VkShaderModule handle) { vkDestroyShaderModule(device, handle, nullptr); },
        "Shader module was destroyed.");
}
