#pragma once

#include "game/assets/MaterialLayers.hpp"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

// Where the game's files lie under "Assets/" in the working folder. The asset
// generator writes them at these paths, the scenes read them at "Assets/" and
// the path, and the tests check both against this one list. (The shaders are
// the build's, named after their sources; the fonts are copied in by it.)

// Where the game reads a file from: "Assets/" and the path.
std::string inAssets(std::string_view path);

// Models. A track model's file is trackModelFolder and the file of its row
// in the size table.
inline constexpr const char* trackModelFolder = "ZavikDemoScene/Models/WaterPlanet/";
inline constexpr const char* boatModelFile = "ZavikDemoScene/Models/BoatTest.obj";
inline constexpr const char* stageBallModelFile = "QuorlDemoScene/Models/Ball.obj";
// "{name}.obj", beside the goblet's material pictures.
std::string gobletModelFile(GobletMaterial goblet);

// Pictures.
inline constexpr const char* menuBackgroundFile = "Textures/Background.png";
inline constexpr const char* smokeFile = "ZavikDemoScene/Textures/Smoke.png";
// The layers of the head-up display's texture array, each read from
// "{name}.png": the speedometer's dial and needle, the place badges 1 to 6,
// the debug panel and the lap badges 1 to 3.
inline constexpr std::size_t hudLayerCount = 12;
extern const std::array<std::string, hudLayerCount> hudTextureNames;

// The surroundings that light the track scenes.
enum class Sky
{
    Race,
    Trophy,
};
// Six faces in cube-layer order +X, -X, +Y, -Y, +Z, -Z.
std::array<std::string, 6> skyFaceFiles(Sky sky);

// Fonts.
inline constexpr const char* menuFontFile = "QuorlDemoScene/Fonts/Antic-Regular.ttf";
inline constexpr const char* debugFontFile = "Fonts/Antic-Regular.ttf";
inline constexpr const char* clockFontFile = "Fonts/DMMono-Medium.ttf";

// Sounds.
inline constexpr const char* musicFile = "ZavikDemoScene/Audio/moldau.wav";
inline constexpr const char* countdownFile = "ZavikDemoScene/Audio/countdown.wav";

// The recorded opponents' races, quickest first, and where a player's saved
// race is copied to be raced against.
inline constexpr std::array<const char*, 5> recordedGhostFiles{
    "Ghosts/Car1.ghost", "Ghosts/Car2.ghost", "Ghosts/Car3.ghost", "Ghosts/Car4.ghost", "Ghosts/Car5.ghost"};
inline constexpr const char* copiedPlayerGhostFile = "Ghosts/PlayerGhost.ghost";
