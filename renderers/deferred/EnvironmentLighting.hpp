#pragma once

#include "renderers/deferred/DeferredUniforms.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class DeferredRenderer;
class GraphicsSystem;
struct Texture;

// The irradiance is projected from the cube's 64 x 64 level, the seventh from the end.
inline constexpr std::uint32_t irradianceLevelSize = 64;
inline constexpr std::uint32_t irradianceLevelsFromEnd = 7;

enum class CubeFaceKind
{
    EightBit,
    HalfFloat,
};

// Only the first face's path decides: ".png" faces are 8-bit, "hdr" ones half
// floats; no value for anything else.
std::optional<CubeFaceKind> cubeFaceKind(const std::string& firstPath);
// Square powers of two of at least 64 texels: their seventh level from the
// end is the 64 x 64 one.
bool cubeFaceSizeFits(std::uint32_t width, std::uint32_t height);

// Nine RGB coefficients of the irradiance of six tightly packed 64 x 64 faces
// in layer order (RGBA8 sRGB, or RGBA half floats), weighted by each texel's
// solid angle and scaled by the cosine lobe. Too few bytes give zeros.
SphericalHarmonicsUniforms projectIrradianceSH(const std::vector<std::uint8_t>& pixels, bool halfFloat);

// One mip level of all six layers, tightly packed, layer after layer, rows top
// to bottom. A failing step prints its line and ends the read-back: what was
// made is released, the cube is back in the shader-read layout where it left
// it, and there is no value.
std::optional<std::vector<std::uint8_t>> readCubeMapLevel(GraphicsSystem& graphics, const Texture& cube,
                                                          std::uint32_t width, std::uint32_t height,
                                                          std::uint32_t bytesPerPixel, std::uint32_t levelsFromEnd);
// No value when the level could not be read back.
std::optional<SphericalHarmonicsUniforms> computeIrradianceSH(DeferredRenderer& renderer, bool halfFloat);

using CubeLevelReader = std::optional<std::vector<std::uint8_t>> (*)(GraphicsSystem&, const Texture&, std::uint32_t,
                                                                     std::uint32_t, std::uint32_t, std::uint32_t);
// The read-back that computeIrradianceSH uses; readCubeMapLevel unless a test
// puts another in its place (a null reader restores it).
void setCubeLevelReaderForTesting(CubeLevelReader reader);
