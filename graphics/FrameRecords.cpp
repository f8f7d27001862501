#include "graphics/FrameRecords.hpp"

#include "engine/GraphicsSystem.hpp"
#include "graphics/UniformBuffers.hpp"

#include <algorithm>
#include <cstring>

static_assert(std::tuple_size_v<decltype(FrameRecords::buffers)> == framesInFlight);

namespace
{
bool makeFrameBuffers(GraphicsSystem& graphicsSystem, FrameRecords& frameRecords, const void* data,
                      std::uint32_t size, FrameBufferMaker makeBuffer)
{
    return createMappedBuffers(graphicsSystem, frameRecords.buffers,
                               [&] { return makeBuffer(graphicsSystem, data, size); });
}
}

bool createFrameRecords(GraphicsSystem& graphicsSystem, FrameRecords& frameRecords, const void* data,
                        std::uint32_t size, FrameBufferMaker makeBuffer)
{
    if (!makeFrameBuffers(graphicsSystem, frameRecords, data, size, makeBuffer))
    {
        return false;
    }
    const auto* firstByte = static_cast<const std::byte*>(data);
    frameRecords.records.assign(firstByte, firstByte + size);
    frameRecords.staleBytes.fill(0);
    return true;
}

bool createFrameBuffers(GraphicsSystem& graphicsSystem, FrameRecords& frameRecords, std::uint32_t size,
                        FrameBufferMaker makeBuffer)
{
    if (!makeFrameBuffers(graphicsSystem, frameRecords, nullptr, size, makeBuffer))
    {
        return false;
    }
    frameRecords.records.clear();
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

void* frameRecordsMemory(const FrameRecords& frameRecords, std::uint32_t frameIndex)
{
    return frameRecords.records.empty() ? frameRecords.buffers[frameIndex].mapped : nullptr;
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
