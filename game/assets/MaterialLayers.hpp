#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// The layers of the material arrays that the track scenes draw their models
// with. A layer is one material: its base colour, normal map and ARME map,
// read from "Assets/{name} Albedo.png", " Normal.png" and " ARME.png". The
// asset generator paints a set for every name, the size table gives each
// track model its layer, and the scenes load the arrays in this order.

// The race's arrays.
enum class TrackMaterial : std::uint32_t
{
    Barrier,
    House,
    Ice,
    Ice2,
    Ice3,
    Sand,
    Lighthouse,
    Palm,
    Ship,
    Ramp,
    Dragon,
    Volcano,
    House2,
    Sign,
    BigSign,
    Crate,
    Boat,
};
inline constexpr std::size_t trackMaterialCount = 17;

// The trophy scene's arrays: one goblet a layer, for places 1 to 3.
enum class GobletMaterial : std::uint32_t
{
    Gold,
    Silver,
    Bronze,
};
inline constexpr std::size_t gobletMaterialCount = 3;

// The names by layer, as the array loaders take them.
extern const std::array<std::string, trackMaterialCount> trackMaterialNames;
extern const std::array<std::string, gobletMaterialCount> gobletMaterialNames;

const std::string& materialName(TrackMaterial material);
const std::string& materialName(GobletMaterial material);

// The layer index that a model's material record carries.
std::uint32_t materialLayer(TrackMaterial material);
std::uint32_t materialLayer(GobletMaterial material);
