#include "graphics/FrameRecords.hpp"

#include "engine/GraphicsSystem.hpp"
#include "graphics/UniformBuffers.hpp"

#include <algorithm>
#include <cstring>
#include <optional>

static_assert(std::tuple_size_v<decltype(FrameRecords::buffers)> == framesInFlight);

bool createFrameRecords(GraphicsSystem& graphicsSystem, FrameRecords& frameRecords, const void* data,
                        std::uint32_t size, VkBufferUsageFlags usage)
{
    if (!createMappedBuffers(graphicsSystem, frameRecords.buffers, size, usage))
    {
        return false;
    }
    for (UniformBuffer& buffer : frameRecords.buffers)
    {
        std::memcpy(buffer.mapped, data, size);
    }
    const auto* firstByte = static_cast<const std::byte*>(data);
    frameRecords.records.assign(firstByte, firstByte + size);
    frameRecords.staleBytes.fill(0);
    return true;
}

bool updateFrameRecords(FrameRecords& frameRecords, const void* data, std::uint32_t size)
{
    if (size > frameRecords.records.size())
    {
        return false;
    }
    if (size == 0)
    {
        return true;
    }
    std::memcpy(frameRecords.records.data(), data, size);
    for (std::uint32_t& stale : frameRecords.staleBytes)
    {
        stale = std::max(stale, size);
    }
    return true;
}

VkBuffer frameRecordsBuffer(const FrameRecords& frameRecords, std::uint32_t frameIndex)
{
    const UniformBuffer& buffer = frameRecords.buffers[frameIndex];
    std::uint32_t& stale = frameRecords.staleBytes[frameIndex];
    if (stale > 0)
    {
        std::memcpy(buffer.mapped, frameRecords.records.data(), stale);
        stale = 0;
    }
    return buffer.buffer;
}

void destroyFrameRecords(GraphicsSystem& graphicsSystem, FrameRecords& frameRecords)
{
    for (UniformBuffer& buffer : frameRecords.buffers)
    {
        graphicsSystem.destroyUniformBuffer(buffer);
    }
    frameRecords.records.clear();
    frameRecords.staleBytes.fill(0);
}
