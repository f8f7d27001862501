#include "engine/Log.hpp"
#include "engine/vulkan/ObjectWrappers.hpp"
#include "gpu/GpuHarness.hpp"

namespace
{
using ObjectWrapperTest = GpuTest;

// Swap-chain render passes and frame buffers are made by every graphics system.
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

    VkShaderModule shaderModule = VK_NULL_HANDLE;
    EXPECT_TRUE(createShaderModule(shaderModule, device,
                                   std::filesystem::path(KELVANE_TEST_SHADER_DIR) / "Fill.frag.spv"));

    destroyShaderModule(shaderModule, device);
    destroyPipelineLayout(pipelineLayout, device);
    destroyDescriptorSetLayout(setLayout, device);
    destroyDescriptorPool(pool, device);
    EXPECT_FALSE(hasErrors());
}
}
