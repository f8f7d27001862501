#include "game/scenes/HudLayout.hpp"

#include <algorithm>

namespace
{
// The width of "00:00.00" in the clock font, so that the clock stands centred.
constexpr float clockTextWidth = 152.4f;
}

HudLayout hudLayoutFor(std::uint32_t width, std::uint32_t height)
{
    const auto w = static_cast<float>(width);
    const auto h = static_cast<float>(height);
    HudLayout layout;
    layout.speedometerSize = h * 0.2f;
    layout.speedometerHalfSize = layout.speedometerSize * 0.5f;
    layout.speedometerX = w - 1.5f * layout.speedometerHalfSize;
    layout.speedometerY = h - 0.5f * layout.speedometerHalfSize;
    layout.badgeSize = h / 4.0f;
    layout.badgeCentre = {h / 8.0f, h - h / 8.0f};
    layout.clockPosition = {(w - clockTextWidth) * 0.5f, 10.0f};
    return layout;
}

std::int32_t lapLayer(std::int32_t hudLap)
{
    return 8 + std::clamp(hudLap, 1, 3);
}

std::int32_t placeLayer(std::int32_t place)
{
    return 1 + std::clamp(place, 1, 6);
}
