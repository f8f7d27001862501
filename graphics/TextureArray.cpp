#include "graphics/TextureArray.hpp"

#include "engine/GraphicsSystem.hpp"
#include "engine/Log.hpp"
#include "graphics/ImageLoading.hpp"

#include <fmt/format.h>

#include <algorithm>
#include <optional>
#include <span>
#include <utility>

namespace
{
Texture* arrayCreationFailed()
{
    logDebug("Texture array creation has failed.");
    return nullptr;
}

bool sameSizeAsFirst(std::span<const ImageData<std::uint32_t>> images)
{
    const std::uint32_t width = images[0].width;
    const std::uint32_t height = images[0].height;
    return std::all_of(images.begin(), images.end(), [&](const ImageData<std::uint32_t>& image) {
        return image.width != 0 && image.height != 0 && image.width == width && image.height == height &&
               image.pixels.size() == static_cast<std::size_t>(width) * height;
    });
}

Texture* createLayeredTexture(TextureContainer& container, std::span<const ImageData<std::uint32_t>> images,
                              VkFormat format, bool mipmaps, const ImageSettings& settings)
{
    Texture& texture = addTexture(container);
    if (images.empty() || !sameSizeAsFirst(images))
    {
        logDebug("Image sizes must be non-zero and equal.");
        return arrayCreationFailed();
    }
    GraphicsSystem& graphics = *container.graphics;
    std::vector<std::span<const std::byte>> parts;
    for (const ImageData<std::uint32_t>& image : images)
    {
        parts.push_back(std::as_bytes(std::span(image.pixels)));
    }
    std::optional<Buffer> staging = createStagingBuffer(graphics, parts);
    if (!staging)
    {
        return arrayCreationFailed();
    }

    const std::uint32_t width = images[0].width;
    const std::uint32_t height = images[0].height;
    const auto layerCount = static_cast<std::uint32_t>(images.size());
    texture.mipLevels = mipLevelCount(width, height, mipmaps);
    std::optional<ImageResource> resource =
        graphics.createImageResource(width, height, texture.mipLevels, format, settings.tiling, settings.usage,
                                     settings.memoryProperties, settings.aspect, layerCount);
    const VkBuffer source = staging->buffer;
    const std::vector<VkBufferImageCopy> regions =
        arrayLayerCopyRegions(width, height, parts[0].size(), layerCount, settings.aspect);
    const RecordImageWrite copy = [&](VkCommandBuffer& commandBuffer, VkImage destination) {
        vkCmdCopyBufferToImage(commandBuffer, source, destination, VK_IMAGE_LAYOUT_TRANSFER_DST_OPTIMAL,
                               static_cast<std::uint32_t>(regions.size()), regions.data());
    };
    if (!uploadImage(graphics, texture, resource, {width, height, layerCount, format, settings.uploadLayout}, copy,
                     {*staging}))
    {
        return arrayCreationFailed();
    }
    texture.layerCount = layerCount;
    logDebug("Texture array was created.");
    return &texture;
}

template <std::size_t N>
Texture* loadNamedTextureArray(TextureContainer& container, const std::array<std::string, N>& names,
                               const char* suffix, VkFormat format, bool mipmaps)
{
    std::array<ImageData<std::uint32_t>, N> images;
    for (std::size_t layer = 0; layer < N; ++layer)
    {
        std::optional<ImageData<std::uint32_t>> image = loadImage(fmt::format("Assets/{}{}.png", names[layer], suffix));
        if (!image)
        {
            return nullptr;
        }
        images[layer] = std::move(*image);
    }
    return createTextureArray<N>(container, images, format, mipmaps, imageTextureSettings);
}
}

std::vector<VkBufferImageCopy> arrayLayerCopyRegions(std::uint32_t width, std::uint32_t height,
                                                     VkDeviceSize layerByteSize, std::uint32_t layerCount,
                                                     VkImageAspectFlags aspect)
{
    std::vector<VkBufferImageCopy> regions(layerCount);
    for (std::uint32_t layer = 0; layer < layerCount; ++layer)
    {
        VkBufferImageCopy& region = regions[layer];
        region.bufferOffset = layer * layerByteSize;
        region.imageSubresource = {aspect, 0, layer, 1};
        region.imageExtent = {width, height, 1};
    }
    return regions;
}

template <std::size_t N>
Texture* createTextureArray(TextureContainer& container, const std::array<ImageData<std::uint32_t>, N>& images,
                            VkFormat format, bool mipmaps, const ImageSettings& settings)
{
    return createLayeredTexture(container, images, format, mipmaps, settings);
}

template <std::size_t N>
Texture* loadTextureArray(TextureContainer& container, const std::array<std::string, N>& names, bool mipmaps)
{
    return loadNamedTextureArray(container, names, "", VK_FORMAT_R8G8B8A8_UNORM, mipmaps);
}

template <std::size_t N>
Texture* loadAlbedoTextureArray(TextureContainer& container, const std::array<std::string, N>& names, bool mipmaps)
{
    return loadNamedTextureArray(container, names, " Albedo", VK_FORMAT_R8G8B8A8_SRGB, mipmaps);
}

template <std::size_t N>
Texture* loadNormalTextureArray(TextureContainer& container, const std::array<std::string, N>& names, bool mipmaps)
{
    return loadNamedTextureArray(container, names, " Normal", VK_FORMAT_R8G8B8A8_UNORM, mipmaps);
}

template <std::size_t N>
Texture* loadArmeTextureArray(TextureContainer& container, const std::array<std::string, N>& names, bool mipmaps)
{
    return loadNamedTextureArray(container, names, " ARME", VK_FORMAT_R8G8B8A8_UNORM, mipmaps);
}

template Texture* createTextureArray<3>(TextureContainer&, const std::array<ImageData<std::uint32_t>, 3>&, VkFormat,
                                        bool, const ImageSettings&);
template Texture* createTextureArray<12>(TextureContainer&, const std::array<ImageData<std::uint32_t>, 12>&,
                                         VkFormat, bool, const ImageSettings&);
template Texture* createTextureArray<17>(TextureContainer&, const std::array<ImageData<std::uint32_t>, 17>&,
                                         VkFormat, bool, const ImageSettings&);
template Texture* loadTextureArray<12>(TextureContainer&, const std::array<std::string, 12>&, bool);
template Texture* loadAlbedoTextureArray<3>(TextureContainer&, const std::array<std::string, 3>&, bool);
template Texture* loadAlbedoTextureArray<17>(TextureContainer&, const std::array<std::string, 17>&, bool);
template Texture* loadNormalTextureArray<3>(TextureContainer&, const std::array<std::string, 3>&, bool);
template Texture* loadNormalTextureArray<17>(TextureContainer&, const std::array<std::string, 17>&, bool);
template Texture* loadArmeTextureArray<3>(TextureContainer&, const std::array<std::string, 3>&, bool);
template Texture* loadArmeTextureArray<17>(TextureContainer&, const std::array<std::string, 17>&, bool);
