#pragma once

#include "engine/vulkan/ResourceRecords.hpp"

#include <vulkan/vulkan.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

class GraphicsSystem;

// Buffer contents that change while frames are in flight (instances that move,
// text rewritten every HUD tick) live in host-visible buffers kept mapped, one
// per frame in flight, instead of a device-local buffer filled through a
// staged copy that waits for the whole queue. An update goes into the CPU copy
// and touches no buffer; a frame's buffer takes it when that frame draws,
// after the frame's fence has shown the GPU done with what the buffer held
// before.
struct FrameRecords
{
    // One per frame in flight, indexed by the frame index.
    std::array<UniformBuffer, 2> buffers;
    // As many bytes as the buffers hold, fixed at creation; updates never write
    // past it. Empty where the owner writes the buffers itself.
    std::vector<std::byte> records;
    // Per frame, how many leading bytes of `records` its buffer lags behind.
    // Updates only ever replace leading bytes, so this is all a frame needs to
    // catch up, and a short update costs a short copy in a large buffer.
    mutable std::array<std::uint32_t, 2> staleBytes{};
};

// The maker of one frame's buffer: host-visible and kept mapped, holding the
// `size` bytes of `data`, or as it comes when `data` is null.
using FrameBufferMaker = std::optional<UniformBuffer> (*)(GraphicsSystem& graphicsSystem, const void* data,
                                                          std::uint32_t size);

// Both frames' buffers, each made by `makeBuffer` holding the `size` bytes of
// `data`, and the CPU copy that updates go into. False, with nothing left
// made, when a buffer cannot be made or `size` is 0.
bool createFrameRecords(GraphicsSystem& graphicsSystem, FrameRecords& frameRecords, const void* data,
                        std::uint32_t size, FrameBufferMaker makeBuffer);
// Both frames' buffers of `size` bytes as they come, and no CPU copy: for an
// owner that writes each frame's buffer itself (frameRecordsMemory) and
// never updates it. False as above.
bool createFrameBuffers(GraphicsSystem& graphicsSystem, FrameRecords& frameRecords, std::uint32_t size,
                        FrameBufferMaker makeBuffer);
// Replaces the leading `size` bytes. Waits for nothing and writes no buffer.
// False, with nothing written, when `size` exceeds the records.
bool updateFrameRecords(FrameRecords& frameRecords, const void* data, std::uint32_t size);
// The frame's buffer, brought up to date first: the frame's fence must have
// been waited for, and only that frame's commands may read the buffer.
VkBuffer frameRecordsBuffer(const FrameRecords& frameRecords, std::uint32_t frameIndex);
// The mapped memory of the frame's buffer of records made by
// createFrameBuffers, for its owner to write once the frame's fence has been
// waited for; null for records with a CPU copy, which would overwrite it.
void* frameRecordsMemory(const FrameRecords& frameRecords, std::uint32_t frameIndex);
// Skips buffers that were never made.
void destroyFrameRecords(GraphicsSystem& graphicsSystem, FrameRecords& frameRecords);
