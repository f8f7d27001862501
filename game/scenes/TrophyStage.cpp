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

glm::quat gobletSpin(double elapsedSeconds)
{
    return quaternionFromEulerDegrees(0.0f, 0.0f, static_cast<float>(elapsedSeconds * 30.0));
}
