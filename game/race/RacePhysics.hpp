#pragma once

#include <glm/gtc/quaternion.hpp>
#include <glm/vec3.hpp>

class Boat;
class GhostRecording;
class LapTracker;

// Where the player's boat waits for the start, a little behind the start line.
inline constexpr glm::vec3 raceStartPosition{-11.9752f, 90.867f, 47.0393f};
glm::quat raceStartRotation();

// The boat at rest on the checkpoint passed last (the start line before the first).
void resetBoatToCheckpoint(Boat& boat, const LapTracker& lapTracker);

// The boat into its ghost at the pose that a frame at the factor shows, the
// recording's time moving on by the frame's.
void recordBoat(GhostRecording& recording, float deltaTime, const Boat& boat, float factor);
// The recording's end at the finish: the boat's pose now held as its last
// sample, then the recording complete.
void recordFinish(GhostRecording& recording, const Boat& boat, float factor);
