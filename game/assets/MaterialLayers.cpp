#include "game/assets/MaterialLayers.hpp"

const std::array<std::string, trackMaterialCount> trackMaterialNames{
    "Models/WaterPlanet/barrier", "Models/WaterPlanet/house",      "Models/WaterPlanet/ice",
    "Models/WaterPlanet/ice2",    "Models/WaterPlanet/ice3",       "Models/WaterPlanet/sand",
    "Models/WaterPlanet/Lighthouse", "Models/WaterPlanet/palm",    "Models/WaterPlanet/ship",
    "Models/WaterPlanet/ramp",    "Models/WaterPlanet/dragon",     "Models/WaterPlanet/volcano",
    "Models/WaterPlanet/house2",  "Models/WaterPlanet/sign",       "Models/WaterPlanet/bigSign",
    "Models/WaterPlanet/crate",   "Models/Boat"};

const std::array<std::string, gobletMaterialCount> gobletMaterialNames{
    "Models/Trophies/gold_goblet", "Models/Trophies/silver_goblet", "Models/Trophies/bronze_goblet"};

const std::string& materialName(TrackMaterial material)
{
    return trackMaterialNames[materialLayer(material)];
}

const std::string& materialName(GobletMaterial material)
{
    return gobletMaterialNames[materialLayer(material)];
}

std::uint32_t materialLayer(TrackMaterial material)
{
    return static_cast<std::uint32_t>(material);
}

std::uint32_t materialLayer(GobletMaterial material)
{
    return static_cast<std::uint32_t>(material);
}
