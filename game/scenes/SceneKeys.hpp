#pragma once

#include <cstdint>

// The scenes by index, in the order main adds them.
inline constexpr std::uint32_t menuSceneIndex = 0;
inline constexpr std::uint32_t raceSceneIndex = 1;
inline constexpr std::uint32_t trophySceneIndex = 2;

enum class MenuKeyAction
{
    none,
    closeWindow,
    startRace,
    toggleFpsText,
    // Opens the trophy scene with the command's place as the race result.
    showTrophy,
};

struct MenuKeyCommand
{
    MenuKeyAction action = MenuKeyAction::none;
    std::int32_t place = 0;

    bool operator==(const MenuKeyCommand&) const = default;
};

// What a key pressed in the main menu does.
MenuKeyCommand menuKeyCommand(std::int16_t key);

enum class TrackKeyAction
{
    // The scene's own key: handed to its onKeyPressed.
    passOn,
    closeWindow,
    toggleDebugText,
    // Taken by the track scenes and ignored.
    swallow,
};

// The keys that the race and trophy scenes share.
TrackKeyAction trackKeyAction(std::int16_t key);

enum class RendererViewAction
{
    none,
    previousRenderMode,
    nextRenderMode,
    nextPointLightMode,
    nextColourGradingMode,
};

// F8 to F11, the renderer's views: the same in the race and the trophy scene.
RendererViewAction rendererViewAction(std::int16_t key);

enum class TrophyKeyAction
{
    none,
    backToRace,
};

// The trophy scene's own keys, those the shared handler passes on, beside the renderer's views.
TrophyKeyAction trophyKeyAction(std::int16_t key);

enum class RaceKeyAction
{
    none,
    // F3 and F4: the music's volume a step up or down.
    musicLouder,
    musicSofter,
    // F6: the chase camera or the free camera.
    switchCamera,
    // F7: the physics bodies drawn as lines.
    togglePhysicsLines,
    // F12: the models' normal maps on or off.
    toggleNormalMaps,
    // Up and Down: the free camera's speed factor.
    freeCameraFaster,
    freeCameraSlower,
    // Enter and keypad Enter; only while the race waits.
    startCountdown,
    // R: the boat back, at rest, on the checkpoint passed last.
    resetBoat,
    // P: the trophy scene, the race paused until its Enter comes back.
    showTrophy,
};

// The race scene's own keys, those the shared handler passes on, beside the renderer's views.
RaceKeyAction raceKeyAction(std::int16_t key);
