#pragma once

#include "game/assets/AssetPaths.hpp"
#include "graphics/Texture.hpp"

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

class DeferredRenderer;
class GraphicsSystem;

// What the race and the trophy scene load alike for their 3-D world.

// A new renderer in place of the scene's (released first) over a sampler of
// the scene's, with the environment from the sky's faces, initialised. False
// at the first failed step, having logged "{owner} sampler could not be
// created." or the like, where `owner` names the scene ("The race's").
bool loadTrackRenderer(GraphicsSystem* graphicsSystem, TextureContainer& textures,
                       std::unique_ptr<DeferredRenderer>& renderer, Sky sky, std::string_view owner);

// The albedo, normal and ARME arrays of the material names, handed to the
// renderer. All three are tried, whatever fails first; when one is missing,
// "error! with texture Loading!" goes to standard output and `failure` to the log.
template <std::size_t N>
bool loadMaterialArrays(TextureContainer& textures, DeferredRenderer& renderer,
                        const std::array<std::string, N>& names, const std::string& failure);
