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

enum class TrophyKeyAction
{
    none,
    previousRenderMode,
    nextRenderMode,
    nextPointLightMode,
    nextColourGradingMode,
    backToRace,
};

// The trophy scene's own keys, those the shared handler passes on.
TrophyKeyAction trophyKeyAction(std::int16_t key);
