#pragma once

#include "game/physics/GhostRecording.hpp"
#include "game/race/Autopilot.hpp"

#include <optional>

// The opponents' ghosts: the race's boat driven round the race world by the
// autopilot, recorded as the race records the player.

// One race at a skill from a place on the start grid (metres left and ahead of
// the player's start), from the countdown to the finish; none when the boat did
// not finish within a recording's length.
std::optional<GhostRecording> recordAutopilotRace(const AutopilotSkill& skill, const glm::vec3& grid);
// The checkpoints, in order, that a boat at the ghost's poses passes: 15 for three laps.
int checkpointsPassedInPlayback(GhostRecording ghost);
