#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

// What is wrong with a SPIR-V module for a device of the given Vulkan API
// version (as vkEnumerateInstanceVersion reports it), in the validator's first
// line; nothing when the module is valid. A driver handed an invalid module
// may do anything, so no module reaches one without passing this.
std::optional<std::string> findSpirvFault(std::span<const std::uint32_t> words, std::uint32_t apiVersion);
