#include "game/scenes/TrackSceneLoading.hpp"

#include "engine/Log.hpp"
#include "game/race/TrackLayout.hpp"
#include "game/scenes/SceneLoading.hpp"
#include "graphics/TextureArray.hpp"
#include "renderers/deferred/DeferredRenderer.hpp"

#include <fmt/format.h>

#include <cstdio>

bool loadTrackRenderer(GraphicsSystem* graphicsSystem, TextureContainer& textures,
                       std::unique_ptr<DeferredRenderer>& renderer, Sky sky, std::string_view owner)
{
    const std::optional<VkSampler> sampler =
        createSampler(textures, 60, VK_FILTER_LINEAR, VK_FILTER_LINEAR, VK_SAMPLER_MIPMAP_MODE_LINEAR);
    if (!loadStep(sampler.has_value(), fmt::format("{} sampler could not be created.", owner)))
    {
        return false;
    }
    if (renderer)
    {
        renderer->release();
    }
    renderer = std::make_unique<DeferredRenderer>(graphicsSystem, pointLightCapacity, *sampler);
    std::array<std::string, 6> faces = skyFaceFiles(sky);
    for (std::string& face : faces)
    {
        face = inAssets(face);
    }
    return loadStep(renderer->loadEnvironment(faces), fmt::format("{} environment could not be loaded.", owner)) &&
           loadStep(renderer->initialise(), fmt::format("{} renderer could not be initialised.", owner));
}

template <std::size_t N>
bool loadMaterialArrays(TextureContainer& textures, DeferredRenderer& renderer,
                        const std::array<std::string, N>& names, const std::string& failure)
{
    const Texture* albedo = loadAlbedoTextureArray(textures, names, true);
    const Texture* normal = loadNormalTextureArray(textures, names, true);
    const Texture* arme = loadArmeTextureArray(textures, names, true);
    if (albedo == nullptr || normal == nullptr || arme == nullptr)
    {
        std::printf("error! with texture Loading!\n");
        logError(failure);
        return false;
    }
    renderer.setMaterialTextures(albedo, normal, arme);
    return true;
}

template bool loadMaterialArrays<trackMaterialCount>(TextureContainer&, DeferredRenderer&,
                                                     const std::array<std::string, trackMaterialCount>&,
                                                     const std::string&);
template bool loadMaterialArrays<gobletMaterialCount>(TextureContainer&, DeferredRenderer&,
                                                      const std::array<std::string, gobletMaterialCount>&,
                                                      const std::string&);
