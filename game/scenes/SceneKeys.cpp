#include "game/scenes/SceneKeys.hpp"

#include "engine/Keys.hpp"

MenuKeyCommand menuKeyCommand(std::int16_t key)
{
    switch (key)
    {
    case Key::escape:
        return {MenuKeyAction::closeWindow};
    case Key::enter:
    case Key::keypadEnter:
        return {MenuKeyAction::startRace};
    case Key::f1:
        return {MenuKeyAction::toggleFpsText};
    default:
        break;
    }
    if (key >= Key::keypad1 && key <= Key::keypad6)
    {
        return {MenuKeyAction::showTrophy, key - Key::keypad1 + 1};
    }
    return {};
}

TrackKeyAction trackKeyAction(std::int16_t key)
{
    switch (key)
    {
    case Key::escape:
        return TrackKeyAction::closeWindow;
    case Key::f1:
        return TrackKeyAction::toggleDebugText;
    case Key::f2:
        return TrackKeyAction::swallow;
    default:
        return TrackKeyAction::passOn;
    }
}

RendererViewAction rendererViewAction(std::int16_t key)
{
    switch (key)
    {
    case Key::f8:
        return RendererViewAction::previousRenderMode;
    case Key::f9:
        return RendererViewAction::nextRenderMode;
    case Key::f10:
        return RendererViewAction::nextPointLightMode;
    case Key::f11:
        return RendererViewAction::nextColourGradingMode;
    default:
        return RendererViewAction::none;
    }
}

TrophyKeyAction trophyKeyAction(std::int16_t key)
{
    return key == Key::enter ? TrophyKeyAction::backToRace : TrophyKeyAction::none;
}

RaceKeyAction raceKeyAction(std::int16_t key)
{
    switch (key)
    {
    case Key::f3:
        return RaceKeyAction::musicLouder;
    case Key::f4:
        return RaceKeyAction::musicSofter;
    case Key::f6:
        return RaceKeyAction::switchCamera;
    case Key::f7:
        return RaceKeyAction::togglePhysicsLines;
    case Key::f12:
        return RaceKeyAction::toggleNormalMaps;
    case Key::up:
        return RaceKeyAction::freeCameraFaster;
    case Key::down:
        return RaceKeyAction::freeCameraSlower;
    case Key::enter:
    case Key::keypadEnter:
        return RaceKeyAction::startCountdown;
    case Key::r:
        return RaceKeyAction::resetBoat;
    case Key::p:
        return RaceKeyAction::showTrophy;
    default:
        return RaceKeyAction::none;
    }
}
