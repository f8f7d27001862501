#pragma once

#include <cstdint>

// The player's place in the last race: written at the finish (or by the
// menu's keypad keys) and read by the trophy scene; 0 before any race.
extern std::int32_t lastRacePlace;
