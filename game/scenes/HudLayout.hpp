#pragma once

#include "game/assets/AssetPaths.hpp"

#include <glm/vec2.hpp>

#include <cstdint>

// Where the track scenes' head-up display stands in a window of a given size,
// in window pixels from the top-left corner.
struct HudLayout
{
    // The speedometer and its needle: a square of this side centred on
    // (speedometerX, speedometerY).
    float speedometerSize = 0.0f;
    float speedometerHalfSize = 0.0f;
    float speedometerX = 0.0f;
    float speedometerY = 0.0f;
    // The lap and place badges: a square of this side centred on badgeCentre.
    float badgeSize = 0.0f;
    glm::vec2 badgeCentre{0.0f};
    // The top-left corner of the race clock's text.
    glm::vec2 clockPosition{0.0f};
    glm::vec2 debugQuadCentre{106.0f, 126.0f};
};

HudLayout hudLayoutFor(std::uint32_t width, std::uint32_t height);

// Layers of hudTextureNames.
inline constexpr std::int32_t speedometerLayer = 0;
inline constexpr std::int32_t needleLayer = 1;
inline constexpr std::int32_t debugLayer = 8;

// "Lap 1" to "Lap 3"; laps past the last (after the finish) show "Lap 3".
std::int32_t lapLayer(std::int32_t hudLap);
// "1. Place" to "6. Place"; a place of 0 (no race yet) shows "1. Place".
std::int32_t placeLayer(std::int32_t place);
