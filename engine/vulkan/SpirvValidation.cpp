#include "engine/vulkan/SpirvValidation.hpp"

#include <spirv-tools/libspirv.h>
#include <vulkan/vulkan.h>

namespace
{
// Later versions than the validator knows are held to the newest rules it has.
spv_target_env vulkanEnvironment(std::uint32_t apiVersion)
{
    switch (VK_API_VERSION_MINOR(apiVersion))
    {
    case 0:
        return SPV_ENV_VULKAN_1_0;
    case 1:
        return SPV_ENV_VULKAN_1_1;
    case 2:
        return SPV_ENV_VULKAN_1_2;
    default:
        return SPV_ENV_VULKAN_1_3;
    }
}
}

std::optional<std::string> findSpirvFault(std::span<const std::uint32_t> words, std::uint32_t apiVersion)
{
    spv_context context = spvContextCreate(vulkanEnvironment(apiVersion));
    spv_diagnostic diagnostic = nullptr;
    const spv_result_t result = spvValidateBinary(context, words.data(), words.size(), &diagnostic);
    std::optional<std::string> fault;
    if (result != SPV_SUCCESS)
    {
        const std::string text = diagnostic != nullptr && diagnostic->error != nullptr ? diagnostic->error : "";
        // The rest of the text is a disassembly of the instruction at fault.
        fault = text.empty() ? "the validator gives no reason" : text.substr(0, text.find('\n'));
    }
    spvDiagnosticDestroy(diagnostic);
    spvContextDestroy(context);
    return fault;
}
