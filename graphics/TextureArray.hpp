#pragma once

#include "graphics/ImageData.hpp"
#include "graphics/Texture.hpp"

#include <vulkan/vulkan.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Layer i of the array holds image i; every image must have the size of image 0.
// Null on failure, with the record left in the container.
template <std::size_t N>
Texture* createTextureArray(TextureContainer& container, const std::array<ImageData<std::uint32_t>, N>& images,
                            VkFormat format, bool mipmaps, const ImageSettings& settings);

// Layer i is read from "Assets/{name i}{suffix}.png". Loading stops at the
// first image that cannot be read; null then or when creation fails.
template <std::size_t N>
Texture* loadTextureArray(TextureContainer& container, const std::array<std::string, N>& names, bool mipmaps);
template <std::size_t N>
Texture* loadAlbedoTextureArray(TextureContainer& container, const std::array<std::string, N>& names, bool mipmaps);
template <std::size_t N>
Texture* loadNormalTextureArray(TextureContainer& container, const std::array<std::string, N>& names, bool mipmaps);
template <std::size_t N>
Texture* loadArmeTextureArray(TextureContainer& container, const std::array<std::string, N>& names, bool mipmaps);

// Layer i from the tightly packed bytes at i x layerByteSize.
std::vector<VkBufferImageCopy> arrayLayerCopyRegions(std::uint32_t width, std::uint32_t height,
                                                     VkDeviceSize layerByteSize, std::uint32_t layerCount,
                                                     VkImageAspectFlags aspect);
