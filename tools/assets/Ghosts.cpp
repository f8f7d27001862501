#include "tools/assets/Ghosts.hpp"

#include "engine/Timer.hpp"
#include "game/assets/AssetPaths.hpp"
#include "game/physics/Boat.hpp"
#include "game/physics/LapTracker.hpp"
#include "game/physics/PhysicsResources.hpp"
#include "game/physics/PhysicsWorld.hpp"
#include "game/physics/RaceCourse.hpp"
#include "game/race/HeadlessRace.hpp"
#include "game/race/RacePhysics.hpp"
#include "game/race/RaceRules.hpp"
#include "graphics/ObjLoader.hpp"
#include "tools/assets/AssetKinds.hpp"
#include "tools/assets/ModelMeshes.hpp"

#include <fmt/core.h>

#include <array>
#include <cstdio>
#include <map>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace
{
constexpr float frameTime = 1.0f / 60.0f;
constexpr int countdownFrames = static_cast<int>(countdownSeconds / frameTime + 0.5f);
// As the race records the player's ghost.
constexpr std::uint32_t recordingSeconds = 180;
constexpr std::uint32_t samplesPerSecond = 15;
constexpr int checkpointsOfARace = 15;

struct Opponent
{
    // Under Assets/.
    const char* file;
    AutopilotSkill skill;
    // The opponent's place on the start grid, from the player's boat: metres to
    // its left (x) and ahead (z).
    glm::vec3 grid;
};

// From the quickest, near what a good player makes of the course (about 88 s),
// to one that is easy to beat (about 112 s); the slower ones start beside the
// player, the quicker ones behind.
const std::array<Opponent, 5> opponents{{
    {recordedGhostFiles[0], {120.0f, 0.3f, 75.0f}, {-3.5f, 0.0f, -6.0f}},
    {recordedGhostFiles[1], {110.0f, 0.3f, 62.0f}, {0.0f, 0.0f, -6.0f}},
    {recordedGhostFiles[2], {100.0f, 0.3f, 52.0f}, {3.5f, 0.0f, -6.0f}},
    {recordedGhostFiles[3], {85.0f, 0.3f, 45.0f}, {-3.5f, 0.0f, 0.0f}},
    {recordedGhostFiles[4], {65.0f, 0.3f, 35.0f}, {3.5f, 0.0f, 0.0f}},
}};
}

HullPoints generatedHullPoints()
{
    std::map<TrackModelId, std::vector<glm::vec3>> points;
    for (std::size_t row = 0; row < trackModelCount; ++row)
    {
        const auto model = static_cast<TrackModelId>(row);
        if (trackModel(model).bodyKind == TrackBodyKind::ConvexHull)
        {
            const std::string path = trackModelFile(trackModel(model));
            points[model] = hullPoints(parseObj(modelFileText(path), path));
        }
    }
    return [points = std::move(points)](TrackModelId model) {
        const auto found = points.find(model);
        return found != points.end() ? found->second : std::vector<glm::vec3>{};
    };
}

std::optional<GhostRecording> recordAutopilotRace(const AutopilotSkill& skill, const glm::vec3& grid,
                                                  const HullPoints& hullPoints)
{
    HeadlessRace race(hullPoints);
    race.boat().reset(raceStartPosition + raceStartRotation() * grid, raceStartRotation());
    Autopilot autopilot(skill, trackLayout().course);
    // The countdown: the world runs without controls, the boat settles and waits.
    for (int frame = 0; frame < countdownFrames; ++frame)
    {
        race.step(frameTime);
    }

    GhostRecording recording(recordingSeconds, samplesPerSecond);
    // In the order of the race scene's frame: the controls, the recording at
    // the pose the last frame showed, then the step.
    const auto frame = [&] {
        race.control(autopilot.drive(race.boat(), frameTime));
        recordBoat(recording, frameTime, race.boat(), race.interpolationFactor());
        race.step(frameTime);
    };
    while (race.lapTracker().currentLap() <= 3 && !recording.isRecordingComplete())
    {
        frame();
    }
    // Two samples more: the second stands more than a frame after the pose
    // that crossed the finish line, so the crossing is in the recording too.
    const std::int32_t samplesAtFinish = recording.frameCount();
    while (recording.frameCount() < samplesAtFinish + 2 && !recording.isRecordingComplete())
    {
        frame();
    }
    if (race.lapTracker().currentLap() <= 3 || recording.isRecordingComplete())
    {
        return std::nullopt;
    }
    recording.stopRecording();
    return recording;
}

int checkpointsPassedInPlayback(GhostRecording ghost)
{
    PhysicsResources resources;
    PhysicsWorld world;
    LapTracker* tracker = createRaceCheckpoints(resources, world);
    // The boat's hull, moved to each pose; a dynamic body, as the checkpoints sense no other.
    btCompoundShape* hull = resources.createCompoundShape(
        {{resources.createBoxShape(boatHullHalfExtents), glm::vec3(0.0f, boatHullHalfExtents.y, 0.0f),
          glm::quat(1.0f, 0.0f, 0.0f, 0.0f)}});
    PhysicsBody* probe = resources.createRigidBody(hull, raceBoatMass, gameBodyMaterial);
    world.addRigidBody(probe, ghost.startPosition(), ghost.startRotation());

    int passed = 0;
    while (!ghost.isPlaybackFinished())
    {
        const GhostFrame pose = ghost.playback(frameTime);
        // Held still, the probe falls asleep, and the step would no longer move its bounds.
        world.placeObject(probe, pose.position, pose.rotation);
        probe->setLinearVelocity(btVector3(0.0f, 0.0f, 0.0f));
        // One sub-step brings the checkpoints' overlaps up to date.
        Timer::tickBy(PhysicsWorld::subStep);
        world.step();
        passed += tracker->checkCheckpoint(probe) >= 0.0 ? 1 : 0;
    }
    world.removeAllObjects();
    return passed;
}

namespace
{
bool writeGhost(const std::filesystem::path& path, const Opponent& opponent, const HullPoints& hullPoints)
{
    const std::optional<GhostRecording> ghost = recordAutopilotRace(opponent.skill, opponent.grid, hullPoints);
    if (!ghost)
    {
        fmt::print(stderr, "The autopilot did not finish the race for {}.\n", path.string());
        return false;
    }
    const int passed = checkpointsPassedInPlayback(*ghost);
    if (passed != checkpointsOfARace)
    {
        fmt::print(stderr, "{} passes {} checkpoints in order, not {}.\n", path.string(), passed, checkpointsOfARace);
        return false;
    }
    if (!ghost->saveToFile(path.string()))
    {
        fmt::print(stderr, "{} could not be written.\n", path.string());
        return false;
    }
    return true;
}
}

std::vector<std::filesystem::path> ghostPaths()
{
    std::vector<std::filesystem::path> paths;
    for (const Opponent& opponent : opponents)
    {
        paths.emplace_back(opponent.file);
    }
    return paths;
}

std::optional<std::size_t> writeGhosts(const std::filesystem::path& assets, const AssetSelection& wanted)
{
    std::error_code error;
    std::filesystem::create_directories((assets / opponents.front().file).parent_path(), error);
    const HullPoints hullPoints = generatedHullPoints();
    // Each race in a process of its own, all at once: the clock that the boat
    // and the world read is the process's, and a race takes seconds.
    std::fflush(stdout);
    std::fflush(stderr);
    std::vector<pid_t> children;
    bool written = true;
    std::size_t count = 0;
    for (const Opponent& opponent : opponents)
    {
        if (!wanted(opponent.file))
        {
            continue;
        }
        ++count;
        const std::filesystem::path path = assets / opponent.file;
        const pid_t child = fork();
        if (child == 0)
        {
            _exit(writeGhost(path, opponent, hullPoints) ? 0 : 1);
        }
        if (child > 0)
        {
            children.push_back(child);
        }
        else
        {
            written = writeGhost(path, opponent, hullPoints) && written;
        }
    }
    for (const pid_t child : children)
    {
        int status = 0;
        written = waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0 && written;
    }
    if (!written)
    {
        return std::nullopt;
    }
    return count;
}
