#pragma once

#include "engine/vulkan/ResourceRecords.hpp"
#include "graphics/ImageData.hpp"

#include <vulkan/vulkan.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

class GraphicsSystem;

struct Texture
{
    ImageResource image;
    // Of mip level 0.
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    VkFormat format = VK_FORMAT_UNDEFINED;
    std::uint32_t mipLevels = 0;
    // Texture arrays set their layer count here; cube textures keep 1 although
    // their image has six layers.
    std::uint32_t layerCount = 1;
};

// The textures and samplers of one scene or renderer. It has no destructor
// that releases them: its owner calls destroyTextures in its release step.
struct TextureContainer
{
    GraphicsSystem* graphics = nullptr;
    std::vector<std::unique_ptr<Texture>> textures;
    std::vector<VkSampler> samplers;
};

// One render target per frame in flight, indexed by the frame index; the
// container that made them owns them.
struct TextureCollection
{
    std::array<Texture*, 2> textures{};
};

struct ImageSettings
{
    VkImageTiling tiling = VK_IMAGE_TILING_OPTIMAL;
    VkImageUsageFlags usage = 0;
    VkMemoryPropertyFlags memoryProperties = 0;
    VkImageAspectFlags aspect = 0;
    // The image goes from undefined into this layout before the pixel copy.
    VkImageLayout uploadLayout = VK_IMAGE_LAYOUT_TRANSFER_DST_OPTIMAL;
};

// Images loaded from files and texture arrays.
inline constexpr ImageSettings imageTextureSettings{
    VK_IMAGE_TILING_OPTIMAL,
    VK_IMAGE_USAGE_TRANSFER_SRC_BIT | VK_IMAGE_USAGE_TRANSFER_DST_BIT | VK_IMAGE_USAGE_SAMPLED_BIT,
    VK_MEMORY_PROPERTY_DEVICE_LOCAL_BIT, VK_IMAGE_ASPECT_COLOR_BIT, VK_IMAGE_LAYOUT_TRANSFER_DST_OPTIMAL};

// D16_UNORM, X8_D24_UNORM_PACK32 and D32_SFLOAT.
bool isDepthFormat(VkFormat format);
// A colour or depth attachment that is also sampled, by the format.
ImageSettings renderTargetSettings(VkFormat format);
// Bytes per texel of the formats the game uses; no value for any other.
std::optional<std::uint32_t> texelSize(VkFormat format);

// Levels down to 1 x 1 along the longer side, or 1 without mipmaps.
std::uint32_t mipLevelCount(std::uint32_t width, std::uint32_t height, bool mipmaps);

// The creators append a record to the container before they check anything, so
// a failed creation leaves a record with null handles there. They return null
// on failure.
template <typename Pixel>
Texture* createTexture(TextureContainer& container, const ImageData<Pixel>& image, VkFormat format, bool mipmaps,
                       const ImageSettings& settings);
// Zero-filled, in the shader-read layout. The pixel type must be as wide as a
// texel of the format.
template <typename Pixel>
std::optional<TextureCollection> createRenderTargetTexture(TextureContainer& container, std::uint32_t width,
                                                           std::uint32_t height, VkFormat format, bool mipmaps);
// The faces in layer order; all six must have the size of face 0.
template <typename Pixel>
Texture* createCubeTexture(TextureContainer& container, const std::array<const ImageData<Pixel>*, 6>& faces,
                           VkFormat format, bool mipmaps);

struct SamplerFiltering
{
    VkFilter magFilter = VK_FILTER_LINEAR;
    VkFilter minFilter = VK_FILTER_LINEAR;
    VkSamplerMipmapMode mipmapMode = VK_SAMPLER_MIPMAP_MODE_LINEAR;
    bool anisotropy = true;

    bool operator==(const SamplerFiltering&) const = default;
};

// Repeating addresses, levels 0 to lodCount.
VkSamplerCreateInfo describeSampler(std::uint32_t lodCount, const SamplerFiltering& filtering, float maxAnisotropy);
// A format that cannot be filtered linearly (many depth formats on desktop
// drivers) may only be sampled nearest, without anisotropy.
SamplerFiltering filteringForFormat(VkFormatFeatureFlags optimalTilingFeatures, const SamplerFiltering& requested);

// The sampler is also kept in the container.
std::optional<VkSampler> createSampler(TextureContainer& container, std::uint32_t lodCount, VkFilter magFilter,
                                       VkFilter minFilter, VkSamplerMipmapMode mipmapMode);
// As createSampler, falling back to nearest filtering where the texture's
// format cannot be filtered linearly.
std::optional<VkSampler> createTextureSampler(TextureContainer& container, const Texture& texture,
                                              std::uint32_t lodCount, VkFilter magFilter, VkFilter minFilter,
                                              VkSamplerMipmapMode mipmapMode);
// Without levels or anisotropy, addresses clamped to the edge: linear for
// look-up tables and screen images whose edges must not wrap round; nearest
// for screen images read texel by texel, where a software driver's nearest
// read is cheaper than a fetch.
std::optional<VkSampler> createEdgeClampedSampler(TextureContainer& container, VkFilter filter);
// Linear over levels 0 to lodCount, repeating, without anisotropy: for images
// read at an explicit level or without levels, where anisotropic filtering
// adds nothing but, on a software driver, costs many plain reads.
std::optional<VkSampler> createLinearSampler(TextureContainer& container, std::uint32_t lodCount);

// Every sampler, then every texture; the container can be filled again.
void destroyTextures(TextureContainer& container);

// The steps every texture creator shares: the record appended to the
// container; one host-visible staging buffer holding the parts back to back;
// and the upload into the new image.
Texture& addTexture(TextureContainer& container);
std::optional<Buffer> createStagingBuffer(GraphicsSystem& graphics, std::span<const std::span<const std::byte>> parts);

struct ImageUpload
{
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t layerCount = 1;
    VkFormat format = VK_FORMAT_UNDEFINED;
    VkImageLayout uploadLayout = VK_IMAGE_LAYOUT_TRANSFER_DST_OPTIMAL;
};
// Writes level 0 of every layer of the image, which is in the upload layout.
using RecordImageWrite = std::function<void(VkCommandBuffer& commandBuffer, VkImage image)>;
// The new image moved from the undefined layout into the upload layout,
// written by `write`, then given its mip chain, which leaves every level
// shader-readable: one piece of one-time work that the processor does not
// wait for (GraphicsSystem::submitSingleTimeCommands), so that it may go on
// to the next picture; the staging buffers it reads are released once the
// GPU is done with them. On success the texture takes the image, its size and
// format; otherwise the image is released. False for a missing image too.
bool uploadImage(GraphicsSystem& graphics, Texture& texture, std::optional<ImageResource>& image,
                 const ImageUpload& upload, const RecordImageWrite& write, std::vector<Buffer> staging);
