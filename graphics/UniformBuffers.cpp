#include "graphics/UniformBuffers.hpp"

#include "engine/GraphicsSystem.hpp"
#include "engine/Log.hpp"

template <std::uint32_t BlockSize>
std::optional<UniformBufferCollection> createUniformBufferCollection(GraphicsSystem& graphicsSystem)
{
    UniformBufferCollection collection;
    for (UniformBuffer& uniformBuffer : collection.buffers)
    {
        std::optional<UniformBuffer> created = graphicsSystem.createUniformBuffer(
            BlockSize, VK_BUFFER_USAGE_UNIFORM_BUFFER_BIT,
            VK_MEMORY_PROPERTY_HOST_VISIBLE_BIT | VK_MEMORY_PROPERTY_HOST_COHERENT_BIT);
        if (!created)
        {
            // The buffers not made yet are null, which destroying skips.
            graphicsSystem.destroyUniformBuffers(collection);
            return std::nullopt;
        }
        uniformBuffer = *created;
    }
    logDebug("Uniform buffer collection was created.");
    return collection;
}

template std::optional<UniformBufferCollection> createUniformBufferCollection<64>(GraphicsSystem&);
template std::optional<UniformBufferCollection> createUniformBufferCollection<144>(GraphicsSystem&);
template std::optional<UniformBufferCollection> createUniformBufferCollection<256>(GraphicsSystem&);
template std::optional<UniformBufferCollection> createUniformBufferCollection<320>(GraphicsSystem&);
