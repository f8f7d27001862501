#pragma once

#include "game/physics/GhostRecording.hpp"
#include "game/race/Autopilot.hpp"
#include "game/race/TrackLayout.hpp"

#include <optional>

// The opponents' ghosts: the race's boat driven round a race without a window
// by the autopilot, recorded as the race scene records the player.

// The points of the convex-hull bodies as the race reads them from the model
// files, taken from the text that the model writer puts into those files: the
// world of a race built from them is the race scene's, with or without the files.
HullPoints generatedHullPoints();

// One race at a skill from a place on the start grid (metres left and ahead of
// the player's start), from the countdown to the finish; none when the boat did
// not finish within a recording's length.
std::optional<GhostRecording> recordAutopilotRace(const AutopilotSkill& skill, const glm::vec3& grid,
                                                  const HullPoints& hullPoints);
// The checkpoints, in order, that a boat at the ghost's poses passes: 15 for three laps.
int checkpointsPassedInPlayback(GhostRecording ghost);
