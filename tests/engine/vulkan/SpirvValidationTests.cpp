#include "engine/vulkan/SpirvValidation.hpp"

#include <gtest/gtest.h>
#include <vulkan/vulkan.h>

#include <vector>

namespace
{
// A vertex shader whose main does nothing, as SPIR-V 1.0.
const std::vector<std::uint32_t> emptyVertexShader{
    0x07230203, 0x00010000, 0x00070000, 0x00000005, 0x00000000, 0x00020011, 0x00000001, 0x0003000e,
    0x00000000, 0x00000001, 0x0005000f, 0x00000000, 0x00000001, 0x6e69616d, 0x00000000, 0x00020013,
    0x00000002, 0x00030021, 0x00000003, 0x00000002, 0x00050036, 0x00000002, 0x00000001, 0x00000000,
    0x00000003, 0x000200f8, 0x00000004, 0x000100fd, 0x00010038};
constexpr std::size_t functionTypeWord = 24;
constexpr std::size_t versionWord = 1;

TEST(SpirvValidationTest, AValidModulePassesAndABrokenOneIsNamedForWhatIsWrong)
{
    EXPECT_EQ(findSpirvFault(emptyVertexShader, VK_API_VERSION_1_0), std::nullopt);
    EXPECT_EQ(findSpirvFault(emptyVertexShader, VK_API_VERSION_1_3), std::nullopt);

    std::vector<std::uint32_t> undefined = emptyVertexShader;
    undefined[functionTypeWord] = 9;
    const std::optional<std::string> fault = findSpirvFault(undefined, VK_API_VERSION_1_3);
    ASSERT_TRUE(fault.has_value());
    EXPECT_NE(fault->find("9"), std::string::npos) << *fault;
    EXPECT_EQ(fault->find('\n'), std::string::npos) << *fault;
}

TEST(SpirvValidationTest, TheModuleIsHeldToTheSpirvVersionsOfTheVulkanVersion)
{
    std::vector<std::uint32_t> newer = emptyVertexShader;
    newer[versionWord] = 0x00010300;
    EXPECT_TRUE(findSpirvFault(newer, VK_API_VERSION_1_0).has_value());
    EXPECT_EQ(findSpirvFault(newer, VK_API_VERSION_1_1), std::nullopt);
    // A version past the validator's newest is held to the newest.
    EXPECT_EQ(findSpirvFault(newer, VK_MAKE_API_VERSION(0, 1, 4, 0)), std::nullopt);
}
}
