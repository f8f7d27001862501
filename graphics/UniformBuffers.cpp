#include "graphics/UniformBuffers.hpp"

#include "engine/GraphicsSystem.hpp"
#include "engine/Log.hpp"

#include <cstring>

std::optional<UniformBuffer> createMappedBuffer(GraphicsSystem& graphicsSystem, VkDeviceSize size,
                                                VkBufferUsageFlags usage, const void* data)
{
    std::optional<UniformBuffer> buffer = graphicsSystem.createUniformBuffer(
        size, usage, VK_MEMORY_PROPERTY_HOST_VISIBLE_BIT | VK_MEMORY_PROPERTY_HOST_COHERENT_BIT);
    if (buffer && data != nullptr)
    {
        std::memcpy(buffer->mapped, data, size);
    }
    return buffer;
}

bool createMappedBuffers(GraphicsSystem& graphicsSystem, std::array<UniformBuffer, 2>& buffers,
                         const std::function<std::optional<UniformBuffer>()>& makeBuffer)
{
    for (UniformBuffer& buffer : buffers)
    {
        std::optional<UniformBuffer> created = makeBuffer();
        if (!created)
        {
            // The buffers not made yet are null, which destroying skips.
            for (UniformBuffer& made : buffers)
            {
                graphicsSystem.destroyUniformBuffer(made);
            }
            return false;
        }
        buffer = *created;
    }
    return true;
}

template <std::uint32_t BlockSize>
std::optional<UniformBufferCollection> createUniformBufferCollection(GraphicsSystem& graphicsSystem)
{
    UniformBufferCollection collection;
    if (!createMappedBuffers(graphicsSystem, collection.buffers, [&graphicsSystem] {
            return createMappedBuffer(graphicsSystem, BlockSize, VK_BUFFER_USAGE_UNIFORM_BUFFER_BIT, nullptr);
        }))
    {
        return std::nullopt;
    }
    logDebug("Uniform buffer collection was created.");
    return collection;
}

template std::optional<UniformBufferCollection> createUniformBufferCollection<64>(GraphicsSystem&);
template std::optional<UniformBufferCollection> createUniformBufferCollection<144>(GraphicsSystem&);
template std::optional<UniformBufferCollection> createUniformBufferCollection<256>(GraphicsSystem&);
template std::optional<UniformBufferCollection> createUniformBufferCollection<320>(GraphicsSystem&);
