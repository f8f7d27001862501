#include "game/assets/AssetPaths.hpp"

#include <fmt/format.h>

namespace
{
constexpr std::array<const char*, 6> cubeFaceNames{"right", "left", "top", "bottom", "front", "back"};
}

std::string inAssets(std::string_view path)
{
    return fmt::format("Assets/{}", path);
}

std::string gobletModelFile(GobletMaterial goblet)
{
    return materialName(goblet) + ".obj";
}

const std::array<std::string, hudLayerCount> hudTextureNames{
    "Textures/Speedometer", "Textures/Speedometer Needle", "Textures/1. Place", "Textures/2. Place",
    "Textures/3. Place",    "Textures/4. Place",           "Textures/5. Place", "Textures/6. Place",
    "Textures/Debug",       "Textures/Lap 1",              "Textures/Lap 2",    "Textures/Lap 3"};

std::array<std::string, 6> skyFaceFiles(Sky sky)
{
    // The trophy scene's studio carries the figure 3 after each face's name.
    const char* suffix = sky == Sky::Trophy ? "3" : "";
    std::array<std::string, 6> files;
    for (std::size_t face = 0; face < files.size(); ++face)
    {
        files[face] = fmt::format("ZavikDemoScene/Textures/CubeMap/{}{}.hdr", cubeFaceNames[face], suffix);
    }
    return files;
}
