#include "renderers/deferred/SharedTargets.hpp"

#include <algorithm>
#include <optional>
#include <utility>

namespace
{
struct HeldSet
{
    const GraphicsSystem* graphics;
    std::vector<TargetShape> shapes;
    std::weak_ptr<SharedTargets> set;
};

// Sets are looked up only while some renderer holds them; the game's code runs on one thread.
std::vector<HeldSet>& heldSets()
{
    static std::vector<HeldSet> sets;
    return sets;
}

// Through the creator whose pixel is as wide as a texel of the format.
std::optional<TextureCollection> createTarget(TextureContainer& textures, const TargetShape& shape)
{
    const auto [width, height, format] = shape;
    switch (texelSize(format).value_or(0))
    {
    case 2:
        return createRenderTargetTexture<std::uint16_t>(textures, width, height, format, false);
    case 4:
        return createRenderTargetTexture<std::uint32_t>(textures, width, height, format, false);
    case 8:
        return createRenderTargetTexture<std::uint64_t>(textures, width, height, format, false);
    default:
        return std::nullopt;
    }
}
}

SharedTargets::SharedTargets(GraphicsSystem* graphics) : textures{graphics, {}, {}}
{
}

SharedTargets::~SharedTargets()
{
    destroyTextures(textures);
}

std::shared_ptr<SharedTargets> sharedTargets(GraphicsSystem& graphics,
                                             const std::vector<TargetShape>& shapes)
{
    std::vector<HeldSet>& sets = heldSets();
    std::erase_if(sets, [](const HeldSet& held) { return held.set.expired(); });
    for (const HeldSet& held : sets)
    {
        if (held.graphics == &graphics && held.shapes == shapes)
        {
            return held.set.lock();
        }
    }

    auto set = std::make_shared<SharedTargets>(&graphics);
    for (const TargetShape& shape : shapes)
    {
        const std::optional<TextureCollection> target = createTarget(set->textures, shape);
        if (!target)
        {
            return nullptr;
        }
        set->targets.push_back(*target);
    }
    sets.push_back({&graphics, shapes, set});
    return set;
}
