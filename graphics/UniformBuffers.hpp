#pragma once

#include "engine/vulkan/ResourceRecords.hpp"

#include <vulkan/vulkan.h>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

class GraphicsSystem;

// One host-visible, coherent buffer of `size` bytes and `usage`, mapped from
// creation to release, holding the `size` bytes of `data`, or as it comes
// when `data` is null. No value when it cannot be made.
std::optional<UniformBuffer> createMappedBuffer(GraphicsSystem& graphicsSystem, VkDeviceSize size,
                                                VkBufferUsageFlags usage, const void* data);

// One buffer per frame in flight into `buffers`, each made by `makeBuffer`.
// False, with none left made, when either cannot be made.
bool createMappedBuffers(GraphicsSystem& graphicsSystem, std::array<UniformBuffer, 2>& buffers,
                         const std::function<std::optional<UniformBuffer>()>& makeBuffer);

// One host-visible, coherent, mapped buffer of BlockSize bytes per frame in
// flight. No value, and no buffer left behind, when either cannot be made;
// GraphicsSystem::destroyUniformBuffers releases it.
template <std::uint32_t BlockSize>
std::optional<UniformBufferCollection> createUniformBufferCollection(GraphicsSystem& graphicsSystem);

extern template std::optional<UniformBufferCollection> createUniformBufferCollection<64>(GraphicsSystem&);
extern template std::optional<UniformBufferCollection> createUniformBufferCollection<144>(GraphicsSystem&);
extern template std::optional<UniformBufferCollection> createUniformBufferCollection<256>(GraphicsSystem&);
extern template std::optional<UniformBufferCollection> createUniformBufferCollection<320>(GraphicsSystem&);
