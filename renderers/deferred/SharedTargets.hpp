#pragma once

#include "graphics/Texture.hpp"

#include <vulkan/vulkan.h>

#include <cstdint>
#include <memory>
#include <vector>

class GraphicsSystem;

struct TargetShape
{
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    VkFormat format = VK_FORMAT_UNDEFINED;

    bool operator==(const TargetShape&) const = default;
};

// The deferred renderer's render targets, zero-filled at creation. Every
// frame's passes write each target before they read it, so renderers that
// never draw into the same frame (the race's and the trophy scene's, each
// window-sized) can draw into one set, which is the largest memory they hold.
class SharedTargets
{
public:
    explicit SharedTargets(GraphicsSystem* graphics);
    // Releases the targets: the GPU must be done with them.
    ~SharedTargets();
    SharedTargets(const SharedTargets&) = delete;
    SharedTargets& operator=(const SharedTargets&) = delete;

    TextureContainer textures;
    // In the order of the shapes they were made for.
    std::vector<TextureCollection> targets;
};

// The targets of the shapes, in their order: the set that a renderer
// of the same graphics system still holds for the same shapes, else a
// new one, released with its last holder. Null, with nothing left made, when
// a target cannot be made; the creators below report only at the debug level.
std::shared_ptr<SharedTargets> sharedTargets(GraphicsSystem& graphics,
                                             const std::vector<TargetShape>& shapes);
