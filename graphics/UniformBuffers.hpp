#pragma once

#include "engine/vulkan/ResourceRecords.hpp"

#include <cstdint>
#include <optional>

class GraphicsSystem;

// One host-visible, coherent, mapped buffer of BlockSize bytes per frame in
// flight. No value, and no buffer left behind, when either cannot be made;
// GraphicsSystem::destroyUniformBuffers releases it.
template <std::uint32_t BlockSize>
std::optional<UniformBufferCollection> createUniformBufferCollection(GraphicsSystem& graphicsSystem);

extern template std::optional<UniformBufferCollection> createUniformBufferCollection<64>(GraphicsSystem&);
extern template std::optional<UniformBufferCollection> createUniformBufferCollection<144>(GraphicsSystem&);
extern template std::optional<UniformBufferCollection> createUniformBufferCollection<256>(GraphicsSystem&);
extern template std::optional<UniformBufferCollection> createUniformBufferCollection<320>(GraphicsSystem&);
