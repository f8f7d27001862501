#pragma once

#include <vulkan/vulkan.h>

#include <cstdint>
#include <optional>
#include <vector>

struct LayoutTransition
{
    VkAccessFlags sourceAccess = 0;
    VkAccessFlags destinationAccess = 0;
    VkPipelineStageFlags sourceStage = 0;
    VkPipelineStageFlags destinationStage = 0;
};

// The access masks and stages of the layout changes the engine makes; no
// value for any other pair.
std::optional<LayoutTransition> layoutTransition(VkImageLayout oldLayout, VkImageLayout newLayout);

struct MipmapBlit
{
    std::uint32_t sourceLevel = 0;
    std::uint32_t sourceWidth = 0;
    std::uint32_t sourceHeight = 0;
    std::uint32_t destinationWidth = 0;
    std::uint32_t destinationHeight = 0;

    bool operator==(const MipmapBlit&) const = default;
};

// Each level from the one above it, halving each side down to 1.
std::vector<MipmapBlit> mipmapChain(std::uint32_t width, std::uint32_t height, std::uint32_t mipLevels);
