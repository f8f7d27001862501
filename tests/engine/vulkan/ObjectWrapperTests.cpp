#include "engine/FileIo.hpp"
#include "engine/Log.hpp"
#include "engine/vulkan/Memory.hpp"
#include "engine/vulkan/ObjectWrappers.hpp"
#include "support/ErrorFlagTest.hpp"
#include "support/StdoutCapture.hpp"
#include "support/TemporaryFolder.hpp"

namespace
{
// Everything here is refused or skipped before Vulkan is reached, so no device is needed.
class RefusalTest : public ErrorFlagTest
{
protected:
    VkDevice device = VK_NULL_HANDLE;
};

PhysicalDeviceInfo formats()
{
    PhysicalDeviceInfo info;
    info.colourFormat = VK_FORMAT_B8G8R8A8_UNORM;
    info.depthFormat = VK_FORMAT_D32_SFLOAT;
    return info;
}

TEST(RenderPassLayoutTest, LoadingAttachmentsKeepTheirLayoutsAndTheDepthAttachmentComesLast)
{
    const RenderPassLayout swapChain =
        describeRenderPass(formats(), {VK_ATTACHMENT_LOAD_OP_LOAD, VK_ATTACHMENT_LOAD_OP_CLEAR, true}, {});
    ASSERT_EQ(swapChain.attachments.size(), 2u);
    EXPECT_EQ(swapChain.attachments[0].initialLayout, VK_IMAGE_LAYOUT_PRESENT_SRC_KHR);
    EXPECT_EQ(swapChain.attachments[0].finalLayout, VK_IMAGE_LAYOUT_PRESENT_SRC_KHR);
    EXPECT_EQ(swapChain.attachments[1].initialLayout, VK_IMAGE_LAYOUT_UNDEFINED);

    const RenderPassLayout texture =
        describeRenderPass(formats(), {VK_ATTACHMENT_LOAD_OP_CLEAR, VK_ATTACHMENT_LOAD_OP_LOAD, true},
                           {VK_FORMAT_R16G16B16A16_SFLOAT, VK_FORMAT_R8G8B8A8_UNORM});
    ASSERT_EQ(texture.attachments.size(), 3u);
    EXPECT_EQ(texture.attachments[1].format, VK_FORMAT_R8G8B8A8_UNORM);
    EXPECT_EQ(texture.attachments[1].initialLayout, VK_IMAGE_LAYOUT_UNDEFINED);
    EXPECT_EQ(texture.attachments[1].finalLayout, VK_IMAGE_LAYOUT_COLOR_ATTACHMENT_OPTIMAL);
    EXPECT_EQ(texture.attachments[2].initialLayout, VK_IMAGE_LAYOUT_DEPTH_STENCIL_ATTACHMENT_OPTIMAL);
    EXPECT_EQ(texture.depthReference->attachment, 2u);
}

TEST(RenderPassLayoutTest, EveryPassWaitsForEarlierAttachmentWrites)
{
    const VkSubpassDependency dependency =
        describeRenderPass(formats(), {VK_ATTACHMENT_LOAD_OP_LOAD, VK_ATTACHMENT_LOAD_OP_CLEAR, true}, {}).dependency;
    EXPECT_EQ(dependency.srcSubpass, VK_SUBPASS_EXTERNAL);
    EXPECT_EQ(dependency.dstSubpass, 0u);
    for (const VkPipelineStageFlags stages : {dependency.srcStageMask, dependency.dstStageMask})
    {
        EXPECT_NE(stages & VK_PIPELINE_STAGE_COLOR_ATTACHMENT_OUTPUT_BIT, 0u);
        EXPECT_NE(stages & VK_PIPELINE_STAGE_EARLY_FRAGMENT_TESTS_BIT, 0u);
        EXPECT_NE(stages & VK_PIPELINE_STAGE_LATE_FRAGMENT_TESTS_BIT, 0u);
    }
    EXPECT_EQ(dependency.srcAccessMask,
              static_cast<VkAccessFlags>(VK_ACCESS_COLOR_ATTACHMENT_WRITE_BIT | VK_ACCESS_DEPTH_STENCIL_ATTACHMENT_WRITE_BIT));
    EXPECT_NE(dependency.dstAccessMask & VK_ACCESS_DEPTH_STENCIL_ATTACHMENT_READ_BIT, 0u);
    EXPECT_NE(dependency.dstAccessMask & VK_ACCESS_COLOR_ATTACHMENT_WRITE_BIT, 0u);
}

TEST_F(RefusalTest, ShaderFilesThatAreNotSpirvNeverReachTheDriver)
{
    TemporaryFolder folder;
    const std::string magic("\x03\x02\x23\x07", 4);
    ASSERT_TRUE(writeFile("empty.spv", "", false));
    ASSERT_TRUE(writeFile("odd.spv", magic + "\x01\x00", false));
    ASSERT_TRUE(writeFile("text.spv", "void main() {}\n", false));
    // The magic number, the version and the size of a module, the rest garbage.
    ASSERT_TRUE(writeFile("damaged.spv", magic + std::string("\x00\x00\x01\x00", 4) + std::string(64, '\x5a'), false));
    EXPECT_TRUE(isSpirvCode(magic + std::string(4, '\0')));

    StdoutCapture capture;
    VkShaderModule shaderModule = VK_NULL_HANDLE;
    for (const char* path : {"missing.spv", "empty.spv", "odd.spv", "text.spv", "damaged.spv"})
    {
        EXPECT_FALSE(createShaderModule(shaderModule, device, path));
    }
    EXPECT_EQ(shaderModule, VK_NULL_HANDLE);
    const std::string refused = "ERROR: Vulkan shader module creation has failed.";
    std::vector<std::string> messages = capture.messages();
    ASSERT_EQ(messages.size(), 5u);
    const std::string invalid = "ERROR: Shader file \"damaged.spv\" is not valid SPIR-V: ";
    EXPECT_EQ(messages.back().substr(0, invalid.size()), invalid) << messages.back();
    messages.pop_back();
    EXPECT_EQ(messages, (std::vector<std::string>{"ERROR: Shader file \"missing.spv\" could not be read.", refused,
                                                  refused, refused}));
}

TEST_F(RefusalTest, ZeroSizedBuffersImagesAndMappingsAreRefused)
{
    StdoutCapture capture;
    VkBuffer buffer = VK_NULL_HANDLE;
    EXPECT_FALSE(createBufferHandle(buffer, device, 0, VK_BUFFER_USAGE_VERTEX_BUFFER_BIT));
    VkImage image = VK_NULL_HANDLE;
    EXPECT_FALSE(createImage(image, device, 0, 16, VK_FORMAT_R8G8B8A8_UNORM, 1, VK_IMAGE_TILING_OPTIMAL,
                             VK_IMAGE_USAGE_SAMPLED_BIT, 1));
    EXPECT_FALSE(createImage(image, device, 16, 16, VK_FORMAT_R8G8B8A8_UNORM, 1, VK_IMAGE_TILING_OPTIMAL,
                             VK_IMAGE_USAGE_SAMPLED_BIT, 0));
    EXPECT_FALSE(createCubeImage(image, device, 16, 16, VK_FORMAT_R8G8B8A8_UNORM, 0, VK_IMAGE_USAGE_SAMPLED_BIT));
    VkDeviceMemory memory = reinterpret_cast<VkDeviceMemory>(std::uintptr_t{1});
    void* mapped = nullptr;
    EXPECT_FALSE(mapMemory(memory, device, 0, mapped));
    EXPECT_EQ(buffer, VK_NULL_HANDLE);
    EXPECT_EQ(image, VK_NULL_HANDLE);
    EXPECT_EQ(mapped, nullptr);
    const std::string refused = "ERROR: Vulkan image creation has failed.";
    EXPECT_EQ(capture.messages(), (std::vector<std::string>{"ERROR: Vulkan buffer creation has failed.", refused,
                                                            refused, refused, "ERROR: Device memory mapping has failed."}));
}

TEST_F(RefusalTest, NullHandlesAreSkippedByReleasesAndMappingsWithoutASentence)
{
    StdoutCapture capture;
    VkFence fence = VK_NULL_HANDLE;
    destroyFence(fence, device);
    VkDeviceMemory memory = VK_NULL_HANDLE;
    void* mapped = nullptr;
    int value = 5;
    EXPECT_FALSE(mapMemory(memory, device, 16, mapped));
    EXPECT_FALSE(copyToMemory(memory, device, sizeof(value), &value));
    UniformBuffer uniformBuffer;
    EXPECT_FALSE(mapUniformBuffer(memory, device, uniformBuffer, 16));
    unmapMemory(memory, device);
    freeMemory(memory, device);
    EXPECT_TRUE(capture.text().empty());
    EXPECT_FALSE(hasErrors());
}

TEST(MemoryTypeTest, TheLowestAllowedTypeWithEveryRequiredPropertyIsChosen)
{
    VkPhysicalDeviceMemoryProperties properties{};
    properties.memoryTypeCount = 4;
    properties.memoryTypes[0].propertyFlags = VK_MEMORY_PROPERTY_HOST_VISIBLE_BIT | VK_MEMORY_PROPERTY_HOST_COHERENT_BIT;
    properties.memoryTypes[1].propertyFlags = VK_MEMORY_PROPERTY_DEVICE_LOCAL_BIT;
    properties.memoryTypes[2].propertyFlags = VK_MEMORY_PROPERTY_DEVICE_LOCAL_BIT | VK_MEMORY_PROPERTY_HOST_VISIBLE_BIT;
    properties.memoryTypes[3].propertyFlags = VK_MEMORY_PROPERTY_HOST_VISIBLE_BIT;

    EXPECT_EQ(findMemoryType(properties, 0b0110, VK_MEMORY_PROPERTY_HOST_VISIBLE_BIT), 2u);
    EXPECT_EQ(findMemoryType(properties, 0b1111, VK_MEMORY_PROPERTY_DEVICE_LOCAL_BIT), 1u);
    EXPECT_EQ(findMemoryType(properties, 0b0010, VK_MEMORY_PROPERTY_HOST_VISIBLE_BIT), std::nullopt);
    // Types past the reported count do not exist, whatever the bits say.
    EXPECT_EQ(findMemoryType(properties, 0b10000, 0), std::nullopt);
}
}
