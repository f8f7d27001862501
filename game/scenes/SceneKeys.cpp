#include "game/scenes/SceneKeys.hpp"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

MenuKeyCommand menuKeyCommand(std::int16_t key)
{
    switch (key)
    {
    case GLFW_KEY_ESCAPE:
        return {MenuKeyAction::closeWindow};
    case GLFW_KEY_ENTER:
    case GLFW_KEY_KP_ENTER:
        return {MenuKeyAction::startRace};
    case GLFW_KEY_F1:
        return {MenuKeyAction::toggleFpsText};
    default:
        break;
    }
    if (key >= GLFW_KEY_KP_1 && key <= GLFW_KEY_KP_6)
    {
        return {MenuKeyAction::showTrophy, key - GLFW_KEY_KP_1 + 1};
    }
    return {};
}

TrackKeyAction trackKeyAction(std::int16_t key)
{
    switch (key)
    {
    case GLFW_KEY_ESCAPE:
        return TrackKeyAction::closeWindow;
    case GLFW_KEY_F1:
        return TrackKeyAction::toggleDebugText;
    case GLFW_KEY_F2:
        return TrackKeyAction::swallow;
    default:
        return TrackKeyAction::passOn;
    }
}

TrophyKeyAction trophyKeyAction(std::int16_t key)
{
    switch (key)
    {
    case GLFW_KEY_F8:
        return TrophyKeyAction::previousRenderMode;
    case GLFW_KEY_F9:
        return TrophyKeyAction::nextRenderMode;
    case GLFW_KEY_F10:
        return TrophyKeyAction::nextPointLightMode;
    case GLFW_KEY_F11:
        return TrophyKeyAction::nextColourGradingMode;
    case GLFW_KEY_ENTER:
        return TrophyKeyAction::backToRace;
    default:
        return TrophyKeyAction::none;
    }
}
