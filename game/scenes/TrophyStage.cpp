#include "game/scenes/TrophyStage.hpp"

#include "engine/ScreenMaths.hpp"

std::optional<std::size_t> wonGoblet(std::int32_t place)
{
    if (place < 1 || place > static_cast<std::int32_t>(trophyGoblets.size()))
    {
        return std::nullopt;
    }
    return static_cast<std::size_t>(place - 1);
}

std::array<glm::vec3, 3> gobletPositions(std::int32_t place)
{
    std::array<glm::vec3, 3> positions{};
    for (std::size_t goblet = 0; goblet < trophyGoblets.size(); ++goblet)
    {
        positions[goblet] = trophyGoblets[goblet].position;
    }
    if (const std::optional<std::size_t> won = wonGoblet(place))
    {
        positions[*won] = winnerPosition;
    }
    return positions;
}

glm::quat gobletSpin(double elapsedSeconds)
{
    return quaternionFromEulerDegrees(0.0f, 0.0f, static_cast<float>(elapsedSeconds * 30.0));
}
