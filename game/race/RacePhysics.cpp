#include "game/race/RacePhysics.hpp"

#include "engine/ScreenMaths.hpp"
#include "game/physics/Boat.hpp"
#include "game/physics/GhostRecording.hpp"
#include "game/physics/LapTracker.hpp"

glm::quat raceStartRotation()
{
    return quaternionFromEulerDegrees(28.0493f, -1.93235f, 349.338f);
}

void resetBoatToCheckpoint(Boat& boat, const LapTracker& lapTracker)
{
    boat.reset(lapTracker.currentCheckpointPosition(), lapTracker.currentCheckpointRotation());
}

void recordBoat(GhostRecording& recording, float deltaTime, const Boat& boat, float factor)
{
    recording.recordFrame(deltaTime, boat.interpolatedPosition(factor), glm::quat_cast(boat.axes().basis()));
}

void recordFinish(GhostRecording& recording, const Boat& boat, float factor)
{
    // The finish is seen two frames after the line was crossed, and the
    // samples so far may all lie before it. The boat's pose now, past the line,
    // is the pose at the time recorded so far; held for one interval more, it
    // becomes the last sample, so that the saved race finishes when it is played back.
    recordBoat(recording, recording.interval(), boat, factor);
    recordBoat(recording, 0.0f, boat, factor);
    recording.stopRecording();
}
