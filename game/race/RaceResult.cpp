#include "game/race/RaceResult.hpp"

std::int32_t lastRacePlace = 0;
