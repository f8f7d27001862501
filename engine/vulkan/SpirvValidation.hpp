#pragma once

#include <vulkan/vulkan.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>

// The Vulkan version every shader of the game is compiled for (glslc's
// --target-env in cmake/Shaders.cmake): the SPIR-V they may use is that
// version's, whatever newer version the instance and the device speak.
inline constexpr std::uint32_t shaderApiVersion = VK_API_VERSION_1_0;

// What is wrong with a SPIR-V module under the rules of the given Vulkan API
// version, in the validator's first line; nothing when the module is valid. A driver handed an invalid module
// may do anything, so no module reaches one without passing this.
std::optional<std::string> findSpirvFault(std::span<const std::uint32_t> words, std::uint32_t apiVersion);
