#include "engine/Log.hpp"
#include "engine/vulkan/ObjectWrappers.hpp"
#include "gpu/GpuHarness.hpp"

namespace
{
using ObjectWrapperTest = GpuTest;

TEST_F(ObjectWrapperTest, ThePipelineObjectsAreMadeFromTheirDescriptions)
{
    VkDevice& device = system.logicalDevice.device;
    VkDescriptorPool pool = VK_NULL_HANDLE;
    VkDescriptorSetLayout setLayout = VK_NULL_HANDLE;
    VkPipelineLayout pipelineLayout = VK_NULL_HANDLE;
    ASSERT_TRUE(createDescriptorPool(pool, device,
                                     {VK_DESCRIPTOR_TYPE_UNIFORM_BUFFER, VK_DESCRIPTOR_TYPE_COMBINED_IMAGE_SAMPLER}));
    ASSERT_TRUE(createDescriptorSetLayout(setLayout, device,
                                          {{VK_DESCRIPTOR_TYPE_UNIFORM_BUFFER, VK_SHADER_STAGE_VERTEX_BIT},
                                           {VK_DESCRIPTOR_TYPE_COMBINED_IMAGE_SAMPLER, VK_SHADER_STAGE_FRAGMENT_BIT}}));
    const std::optional<std::array<VkDescriptorSet, 2>> sets = allocateDescriptorSets(pool, device, setLayout);
    ASSERT_TRUE(sets.has_value());
    EXPECT_NE((*sets)[0], (*sets)[1]);
    EXPECT_TRUE(createPipelineLayout(pipelineLayout, device, {setLayout}, {{VK_SHADER_STAGE_FRAGMENT_BIT, 0, 64}}));

    VkRenderPass renderPass = VK_NULL_HANDLE;
    ASSERT_TRUE(createRenderPass(renderPass, system.physicalDeviceInfo, device,
                                 {VK_ATTACHMENT_LOAD_OP_CLEAR, VK_ATTACHMENT_LOAD_OP_CLEAR, true},
                                 {VK_FORMAT_R16G16B16A16_SFLOAT}));
    const auto target = [&](VkFormat format, VkImageUsageFlags usage, VkImageAspectFlags aspect) {
        return system
            .createImageResource(8, 8, 1, format, VK_IMAGE_TILING_OPTIMAL, usage, VK_MEMORY_PROPERTY_DEVICE_LOCAL_BIT,
                                 aspect, 1)
            .value();
    };
    ImageResource colour = target(VK_FORMAT_R16G16B16A16_SFLOAT,
                                  VK_IMAGE_USAGE_COLOR_ATTACHMENT_BIT | VK_IMAGE_USAGE_SAMPLED_BIT,
                                  VK_IMAGE_ASPECT_COLOR_BIT);
    ImageResource depth = target(system.physicalDeviceInfo.depthFormat, VK_IMAGE_USAGE_DEPTH_STENCIL_ATTACHMENT_BIT,
                                 VK_IMAGE_ASPECT_DEPTH_BIT);
    VkFramebuffer frameBuffer = VK_NULL_HANDLE;
    EXPECT_TRUE(createFrameBuffer(frameBuffer, device, {8, 8, renderPass, {colour.view, depth.view}}));
    VkShaderModule shaderModule = VK_NULL_HANDLE;
    EXPECT_TRUE(createShaderModule(shaderModule, device,
                                   std::filesystem::path(KELVANE_TEST_SHADER_DIR) / "Fill.frag.spv"));

    destroyShaderModule(shaderModule, device);
    destroyFrameBuffer(frameBuffer, device);
    system.destroyImageResource(colour);
    system.destroyImageResource(depth);
    destroyRenderPass(renderPass, device);
    destroyPipelineLayout(pipelineLayout, device);
    destroyDescriptorSetLayout(setLayout, device);
    destroyDescriptorPool(pool, device);
    EXPECT_FALSE(hasErrors());
}
}
