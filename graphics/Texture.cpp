#include "graphics/Texture.hpp"

#include "engine/GraphicsSystem.hpp"
#include "engine/Log.hpp"
#include "engine/vulkan/Commands.hpp"
#include "engine/vulkan/Memory.hpp"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

namespace
{
template <typename Pixel>
std::span<const std::byte> pixelBytes(const ImageData<Pixel>& image)
{
    return std::as_bytes(std::span(image.pixels));
}

// The copy into the image reads width x height texels from the staging
// buffer, so the record must hold that many pixels.
template <typename Pixel>
bool hasValidSize(const ImageData<Pixel>& image)
{
    return image.width != 0 && image.height != 0 &&
           image.pixels.size() == static_cast<std::size_t>(image.width) * image.height;
}

// A pixel narrower than the format's texel would let the GPU read past the
// end of the staging buffer.
bool pixelFitsFormat(std::size_t pixelSize, VkFormat format)
{
    const std::optional<std::uint32_t> size = texelSize(format);
    return !size || *size == pixelSize;
}

Texture* textureCreationFailed()
{
    logDebug("Texture creation has failed.");
    return nullptr;
}

std::optional<VkSampler> makeSampler(TextureContainer& container, const VkSamplerCreateInfo& info)
{
    VkSampler sampler = VK_NULL_HANDLE;
    if (vkCreateSampler(container.graphics->logicalDevice.device, &info, nullptr, &sampler) != VK_SUCCESS)
    {
        logError("Sampler creation has failed.");
        return std::nullopt;
    }
    container.samplers.push_back(sampler);
    logDebug("Sampler was created.");
    return sampler;
}
}

bool isDepthFormat(VkFormat format)
{
    return format >= VK_FORMAT_D16_UNORM && format <= VK_FORMAT_D32_SFLOAT;
}

ImageSettings renderTargetSettings(VkFormat format)
{
    const VkImageUsageFlags sampledTransfer =
        VK_IMAGE_USAGE_TRANSFER_SRC_BIT | VK_IMAGE_USAGE_TRANSFER_DST_BIT | VK_IMAGE_USAGE_SAMPLED_BIT;
    ImageSettings settings = imageTextureSettings;
    if (isDepthFormat(format))
    {
        settings.usage = sampledTransfer | VK_IMAGE_USAGE_DEPTH_STENCIL_ATTACHMENT_BIT;
        settings.aspect = VK_IMAGE_ASPECT_DEPTH_BIT;
    }
    else
    {
        settings.usage = sampledTransfer | VK_IMAGE_USAGE_COLOR_ATTACHMENT_BIT;
        settings.aspect = VK_IMAGE_ASPECT_COLOR_BIT;
    }
    return settings;
}

std::optional<std::uint32_t> texelSize(VkFormat format)
{
    switch (format)
    {
    case VK_FORMAT_R8_UNORM:
        return 1;
    case VK_FORMAT_R16_SFLOAT:
    case VK_FORMAT_D16_UNORM:
        return 2;
    case VK_FORMAT_R8G8B8A8_UNORM:
    case VK_FORMAT_R8G8B8A8_SRGB:
    case VK_FORMAT_R16G16_SFLOAT:
    case VK_FORMAT_X8_D24_UNORM_PACK32:
    case VK_FORMAT_D32_SFLOAT:
        return 4;
    case VK_FORMAT_R16G16B16A16_SFLOAT:
        return 8;
    default:
        return std::nullopt;
    }
}

std::uint32_t mipLevelCount(std::uint32_t width, std::uint32_t height, bool mipmaps)
{
    if (!mipmaps)
    {
        return 1;
    }
    // floor(log2(side)) + 1 is the bit width of the side, exactly and without
    // the undefined conversion of log2(0) for an empty image.
    return std::max<std::uint32_t>(1, static_cast<std::uint32_t>(std::bit_width(std::max(width, height))));
}

Texture& addTexture(TextureContainer& container)
{
    return *container.textures.emplace_back(std::make_unique<Texture>());
}

std::optional<Buffer> createStagingBuffer(GraphicsSystem& graphics, std::span<const std::span<const std::byte>> parts)
{
    VkDeviceSize size = 0;
    for (const std::span<const std::byte>& part : parts)
    {
        size += part.size();
    }
    std::optional<Buffer> staging =
        graphics.createBuffer(size, VK_BUFFER_USAGE_TRANSFER_SRC_BIT,
                              VK_MEMORY_PROPERTY_HOST_VISIBLE_BIT | VK_MEMORY_PROPERTY_HOST_COHERENT_BIT);
    if (!staging)
    {
        return std::nullopt;
    }
    void* mapped = nullptr;
    if (!mapMemory(staging->memory, graphics.logicalDevice.device, size, mapped))
    {
        graphics.destroyBuffer(*staging);
        return std::nullopt;
    }
    std::byte* destination = static_cast<std::byte*>(mapped);
    for (const std::span<const std::byte>& part : parts)
    {
        std::memcpy(destination, part.data(), part.size());
        destination += part.size();
    }
    unmapMemory(staging->memory, graphics.logicalDevice.device);
    return staging;
}

bool uploadImage(GraphicsSystem& graphics, Texture& texture, std::optional<ImageResource>& image,
                 const ImageUpload& upload, const RecordImageWrite& write, std::vector<Buffer> staging)
{
    if (!image)
    {
        for (Buffer& buffer : staging)
        {
            graphics.destroyBuffer(buffer);
        }
        return false;
    }
    const VkImage handle = image->image;
    const bool depth = isDepthFormat(upload.format);
    const bool submitted = graphics.submitSingleTimeCommands(
        [&](VkCommandBuffer& commandBuffer) {
            GraphicsSystem::recordImageLayoutTransition(commandBuffer, handle, texture.mipLevels, upload.layerCount,
                                                        VK_IMAGE_LAYOUT_UNDEFINED, upload.uploadLayout, depth);
            write(commandBuffer, handle);
            return graphics.recordMipmaps(commandBuffer, handle, upload.format, texture.mipLevels, upload.width,
                                          upload.height, depth, upload.layerCount);
        },
        std::move(staging));
    if (!submitted)
    {
        graphics.destroyImageResource(*image);
        return false;
    }
    texture.image = *image;
    texture.width = upload.width;
    texture.height = upload.height;
    texture.format = upload.format;
    return true;
}

template <typename Pixel>
Texture* createTexture(TextureContainer& container, const ImageData<Pixel>& image, VkFormat format, bool mipmaps,
                       const ImageSettings& settings)
{
    Texture& texture = addTexture(container);
    if (!hasValidSize(image))
    {
        logDebug("Image size is invalid.");
        return textureCreationFailed();
    }
    if (!pixelFitsFormat(sizeof(Pixel), format))
    {
        return textureCreationFailed();
    }
    GraphicsSystem& graphics = *container.graphics;
    const std::span<const std::byte> parts[] = {pixelBytes(image)};
    std::optional<Buffer> staging = createStagingBuffer(graphics, parts);
    if (!staging)
    {
        return textureCreationFailed();
    }

    const std::uint32_t width = image.width;
    const std::uint32_t height = image.height;
    texture.mipLevels = mipLevelCount(width, height, mipmaps);
    std::optional<ImageResource> resource =
        graphics.createImageResource(width, height, texture.mipLevels, format, settings.tiling, settings.usage,
                                     settings.memoryProperties, settings.aspect, 1);
    const VkBuffer source = staging->buffer;
    const RecordImageWrite copy = [&](VkCommandBuffer& commandBuffer, VkImage destination) {
        recordCopyBufferToImage(commandBuffer, source, destination, width, height,
                                settings.aspect == VK_IMAGE_ASPECT_DEPTH_BIT);
    };
    if (!uploadImage(graphics, texture, resource, {width, height, 1, format, settings.uploadLayout}, copy, {*staging}))
    {
        return textureCreationFailed();
    }
    logDebug("Texture was created.");
    return &texture;
}

namespace
{
// Zeros written by the GPU: a window-sized target's worth of zeros made on
// the processor and staged would cost as much memory again, and time.
Texture* createZeroedTarget(TextureContainer& container, std::uint32_t width, std::uint32_t height,
                            std::size_t pixelSize, VkFormat format, bool mipmaps)
{
    Texture& texture = addTexture(container);
    if (width == 0 || height == 0)
    {
        logDebug("Image size is invalid.");
        return textureCreationFailed();
    }
    if (!pixelFitsFormat(pixelSize, format))
    {
        return textureCreationFailed();
    }
    GraphicsSystem& graphics = *container.graphics;
    const ImageSettings settings = renderTargetSettings(format);
    texture.mipLevels = mipLevelCount(width, height, mipmaps);
    std::optional<ImageResource> resource =
        graphics.createImageResource(width, height, texture.mipLevels, format, settings.tiling, settings.usage,
                                     settings.memoryProperties, settings.aspect, 1);
    const RecordImageWrite clear = [&](VkCommandBuffer& commandBuffer, VkImage image) {
        const VkImageSubresourceRange levels{settings.aspect, 0, texture.mipLevels, 0, 1};
        if (isDepthFormat(format))
        {
            const VkClearDepthStencilValue zero{0.0f, 0};
            vkCmdClearDepthStencilImage(commandBuffer, image, settings.uploadLayout, &zero, 1, &levels);
        }
        else
        {
            const VkClearColorValue zero{};
            vkCmdClearColorImage(commandBuffer, image, settings.uploadLayout, &zero, 1, &levels);
        }
    };
    if (!uploadImage(graphics, texture, resource, {width, height, 1, format, settings.uploadLayout}, clear, {}))
    {
        return textureCreationFailed();
    }
    logDebug("Texture was created.");
    return &texture;
}
}

template <typename Pixel>
std::optional<TextureCollection> createRenderTargetTexture(TextureContainer& container, std::uint32_t width,
                                                           std::uint32_t height, VkFormat format, bool mipmaps)
{
    TextureCollection collection;
    for (Texture*& target : collection.textures)
    {
        target = createZeroedTarget(container, width, height, sizeof(Pixel), format, mipmaps);
        if (target == nullptr)
        {
            return std::nullopt;
        }
    }
    return collection;
}

template <typename Pixel>
Texture* createCubeTexture(TextureContainer& container, const std::array<const ImageData<Pixel>*, 6>& faces,
                           VkFormat format, bool mipmaps)
{
    Texture& texture = addTexture(container);
    // Every face is copied with the size of face 0.
    const bool facesMatch = std::all_of(faces.begin(), faces.end(), [&](const ImageData<Pixel>* face) {
        return face != nullptr && hasValidSize(*face) && face->width == faces[0]->width &&
               face->height == faces[0]->height;
    });
    if (!facesMatch || faces[0]->pixels.size() * sizeof(Pixel) > std::numeric_limits<std::uint32_t>::max())
    {
        logDebug("Image size is invalid.");
        return textureCreationFailed();
    }
    if (!pixelFitsFormat(sizeof(Pixel), format))
    {
        return textureCreationFailed();
    }
    GraphicsSystem& graphics = *container.graphics;
    std::array<std::span<const std::byte>, 6> parts;
    std::transform(faces.begin(), faces.end(), parts.begin(),
                   [](const ImageData<Pixel>* face) { return pixelBytes(*face); });
    std::optional<Buffer> staging = createStagingBuffer(graphics, parts);
    if (!staging)
    {
        return textureCreationFailed();
    }

    const std::uint32_t width = faces[0]->width;
    const std::uint32_t height = faces[0]->height;
    const auto faceByteSize = static_cast<std::uint32_t>(parts[0].size());
    texture.mipLevels = mipLevelCount(width, height, mipmaps);
    std::optional<ImageResource> resource =
        graphics.createCubeImageResource(width, height, texture.mipLevels, format, imageTextureSettings.usage,
                                         VK_MEMORY_PROPERTY_DEVICE_LOCAL_BIT, VK_IMAGE_ASPECT_COLOR_BIT);
    const VkBuffer source = staging->buffer;
    const RecordImageWrite copy = [&](VkCommandBuffer& commandBuffer, VkImage destination) {
        recordCopyBufferToCubeImage(commandBuffer, source, destination, width, height, faceByteSize);
    };
    if (!uploadImage(graphics, texture, resource, {width, height, 6, format, VK_IMAGE_LAYOUT_TRANSFER_DST_OPTIMAL},
                     copy, {*staging}))
    {
        return textureCreationFailed();
    }
    logDebug("Texture was created.");
    return &texture;
}

VkSamplerCreateInfo describeSampler(std::uint32_t lodCount, const SamplerFiltering& filtering, float maxAnisotropy)
{
    VkSamplerCreateInfo info{};
    info.sType = VK_STRUCTURE_TYPE_SAMPLER_CREATE_INFO;
    info.magFilter = filtering.magFilter;
    info.minFilter = filtering.minFilter;
    info.mipmapMode = filtering.mipmapMode;
    info.addressModeU = VK_SAMPLER_ADDRESS_MODE_REPEAT;
    info.addressModeV = VK_SAMPLER_ADDRESS_MODE_REPEAT;
    info.addressModeW = VK_SAMPLER_ADDRESS_MODE_REPEAT;
    info.mipLodBias = 0.0f;
    info.anisotropyEnable = filtering.anisotropy ? VK_TRUE : VK_FALSE;
    info.maxAnisotropy = filtering.anisotropy ? maxAnisotropy : 1.0f;
    info.compareEnable = VK_FALSE;
    info.compareOp = VK_COMPARE_OP_ALWAYS;
    info.minLod = 0.0f;
    info.maxLod = static_cast<float>(lodCount);
    info.borderColor = VK_BORDER_COLOR_INT_OPAQUE_BLACK;
    info.unnormalizedCoordinates = VK_FALSE;
    return info;
}

SamplerFiltering filteringForFormat(VkFormatFeatureFlags optimalTilingFeatures, const SamplerFiltering& requested)
{
    if ((optimalTilingFeatures & VK_FORMAT_FEATURE_SAMPLED_IMAGE_FILTER_LINEAR_BIT) != 0)
    {
        return requested;
    }
    return {VK_FILTER_NEAREST, VK_FILTER_NEAREST, VK_SAMPLER_MIPMAP_MODE_NEAREST, false};
}

std::optional<VkSampler> createSampler(TextureContainer& container, std::uint32_t lodCount, VkFilter magFilter,
                                       VkFilter minFilter, VkSamplerMipmapMode mipmapMode)
{
    return makeSampler(container, describeSampler(lodCount, {magFilter, minFilter, mipmapMode, true},
                                                  container.graphics->physicalDeviceInfo.maxSamplerAnisotropy));
}

std::optional<VkSampler> createTextureSampler(TextureContainer& container, const Texture& texture,
                                              std::uint32_t lodCount, VkFilter magFilter, VkFilter minFilter,
                                              VkSamplerMipmapMode mipmapMode)
{
    const PhysicalDeviceInfo& device = container.graphics->physicalDeviceInfo;
    VkFormatProperties properties{};
    vkGetPhysicalDeviceFormatProperties(device.physicalDevice, texture.format, &properties);
    const SamplerFiltering filtering =
        filteringForFormat(properties.optimalTilingFeatures, {magFilter, minFilter, mipmapMode, true});
    return makeSampler(container, describeSampler(lodCount, filtering, device.maxSamplerAnisotropy));
}

std::optional<VkSampler> createEdgeClampedSampler(TextureContainer& container, VkFilter filter)
{
    VkSamplerCreateInfo info = describeSampler(0, {filter, filter, VK_SAMPLER_MIPMAP_MODE_NEAREST, false}, 1.0f);
    info.addressModeU = VK_SAMPLER_ADDRESS_MODE_CLAMP_TO_EDGE;
    info.addressModeV = VK_SAMPLER_ADDRESS_MODE_CLAMP_TO_EDGE;
    info.addressModeW = VK_SAMPLER_ADDRESS_MODE_CLAMP_TO_EDGE;
    return makeSampler(container, info);
}

std::optional<VkSampler> createLinearSampler(TextureContainer& container, std::uint32_t lodCount)
{
    return makeSampler(container, describeSampler(lodCount,
                                                  {VK_FILTER_LINEAR, VK_FILTER_LINEAR, VK_SAMPLER_MIPMAP_MODE_LINEAR, false},
                                                  1.0f));
}

void destroyTextures(TextureContainer& container)
{
    for (VkSampler sampler : container.samplers)
    {
        vkDestroySampler(container.graphics->logicalDevice.device, sampler, nullptr);
    }
    container.samplers.clear();
    for (std::unique_ptr<Texture>& texture : container.textures)
    {
        container.graphics->destroyImageResource(texture->image);
    }
    container.textures.clear();
}

template Texture* createTexture(TextureContainer&, const ImageData<std::uint8_t>&, VkFormat, bool,
                                const ImageSettings&);
template Texture* createTexture(TextureContainer&, const ImageData<std::uint16_t>&, VkFormat, bool,
                                const ImageSettings&);
template Texture* createTexture(TextureContainer&, const ImageData<std::uint32_t>&, VkFormat, bool,
                                const ImageSettings&);
template Texture* createTexture(TextureContainer&, const ImageData<std::uint64_t>&, VkFormat, bool,
                                const ImageSettings&);
template std::optional<TextureCollection> createRenderTargetTexture<std::uint16_t>(TextureContainer&, std::uint32_t,
                                                                                   std::uint32_t, VkFormat, bool);
template std::optional<TextureCollection> createRenderTargetTexture<std::uint32_t>(TextureContainer&, std::uint32_t,
                                                                                   std::uint32_t, VkFormat, bool);
template std::optional<TextureCollection> createRenderTargetTexture<std::uint64_t>(TextureContainer&, std::uint32_t,
                                                                                   std::uint32_t, VkFormat, bool);
template Texture* createCubeTexture(TextureContainer&, const std::array<const ImageData<std::uint32_t>*, 6>&,
                                    VkFormat, bool);
template Texture* createCubeTexture(TextureContainer&, const std::array<const ImageData<std::uint64_t>*, 6>&,
                                    VkFormat, bool);
