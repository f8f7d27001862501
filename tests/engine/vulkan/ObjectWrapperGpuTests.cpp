#include "engine/FileIo.hpp"
#include "engine/Log.hpp"
#include "engine/vulkan/ObjectWrappers.hpp"
#include "gpu/GpuHarness.hpp"
#include "support/DamagedShader.hpp"
#include "support/StdoutCapture.hpp"
#include "support/TemporaryFolder.hpp"

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

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

// Under the validation layer a damaged module that reached the driver would
// crash or hang the layer; each one has to be refused before that.
TEST_F(ObjectWrapperTest, DamagedCopiesOfEveryCompiledShaderAreRefusedWithTheirNames)
{
    std::vector<std::filesystem::path> shaders;
    for (const char* folder : {KELVANE_TEST_SHADER_DIR, KELVANE_ASSETS_DIR})
    {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        {
            if (entry.path().extension() == ".spv")
            {
                shaders.push_back(entry.path());
            }
        }
    }
    ASSERT_GE(shaders.size(), 30u);

    TemporaryFolder folder;
    VkDevice& device = system.logicalDevice.device;
    for (const std::filesystem::path& shader : shaders)
    {
        const std::filesystem::path copy = shader.filename();
        ASSERT_TRUE(writeDamagedShader(shader, copy)) << shader;
        VkShaderModule shaderModule = VK_NULL_HANDLE;
        StdoutCapture capture;
        EXPECT_FALSE(createShaderModule(shaderModule, device, copy)) << shader;
        EXPECT_EQ(shaderModule, VK_NULL_HANDLE);
        const std::vector<std::string> messages = capture.messages();
        const std::string sentence = "ERROR: Shader file \"" + copy.string() + "\" is not valid SPIR-V: ";
        ASSERT_EQ(messages.size(), 1u) << shader;
        EXPECT_EQ(messages[0].substr(0, sentence.size()), sentence);
    }
    EXPECT_TRUE(hasErrors());
}

// The instance speaks a newer Vulkan than the shaders are compiled for, and
// the device may take less than the instance: a module that claims newer
// SPIR-V than the shaders' own version is refused, not handed to the driver.
TEST_F(ObjectWrapperTest, AModuleClaimingNewerSpirvThanTheShadersTargetIsRefused)
{
    const std::optional<std::string> shader =
        readFile(std::filesystem::path(KELVANE_TEST_SHADER_DIR) / "Fill.frag.spv");
    ASSERT_TRUE(shader.has_value());
    ASSERT_GE(shader->size(), 8u);
    // The header's second word: SPIR-V 1.3, which Vulkan 1.1 takes and 1.0 does not.
    std::string newer = *shader;
    const std::uint32_t version = 0x00010300;
    std::memcpy(newer.data() + 4, &version, sizeof(version));

    TemporaryFolder folder;
    ASSERT_TRUE(writeFile("Newer.frag.spv", newer, false));
    VkShaderModule shaderModule = VK_NULL_HANDLE;
    StdoutCapture capture;
    EXPECT_FALSE(createShaderModule(shaderModule, system.logicalDevice.device, "Newer.frag.spv"));
    EXPECT_EQ(shaderModule, VK_NULL_HANDLE);
    const std::vector<std::string> messages = capture.messages();
    ASSERT_EQ(messages.size(), 1u);
    const std::string sentence = "ERROR: Shader file \"Newer.frag.spv\" is not valid SPIR-V: ";
    EXPECT_EQ(messages[0].substr(0, sentence.size()), sentence);
}
}
