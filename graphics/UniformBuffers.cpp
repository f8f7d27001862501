#include "graphics/UniformBuffers.hpp"

#include "engine/GraphicsSystem.hpp"
#include "engine/Log.hpp"

bool createMappedBuffers(GraphicsSystem& graphicsSystem, std::array<UniformBuffer, 2>& buffers, VkDeviceSize size,
                         VkBufferUsageFlags usage)
{
    for (UniformBuffer& buffer : buffers)
    {
        std::optional<UniformBuffer> created = graphicsSystem.createUniformBuffer(
            size, usage, VK_MEMORY_PROPERTY_HOST_VISIBLE_BIT | VK_MEMORY_PROPERTY_HOST_COHERENT_BIT);
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
    if (!createMappedBuffers(graphicsSystem, collection.buffers, BlockSize, VK_BUFFER_USAGE_UNIFORM_BUFFER_BIT))
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
