#include "engine/FileIo.hpp"
#include "game/physics/GhostRecording.hpp"
#include "support/FullDisk.hpp"
#include "support/StdoutCapture.hpp"
#include "support/TemporaryFolder.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace
{
constexpr float interval = 1.0f / 15.0f;
const glm::quat identity(1.0f, 0.0f, 0.0f, 0.0f);

std::string countBytes(std::int32_t count)
{
    std::string bytes(4, '\0');
    std::memcpy(bytes.data(), &count, 4);
    return bytes;
}

std::string bytesOf(const GhostFrame& frame)
{
    return std::string(reinterpret_cast<const char*>(&frame), sizeof(frame));
}

std::string frameBytes(std::int32_t count)
{
    std::string bytes;
    for (std::int32_t i = 0; i < count; ++i)
    {
        bytes += bytesOf({0.016f, identity, glm::vec3(static_cast<float>(i), 2.0f, 3.0f)});
    }
    return bytes;
}

// Two good frames around a third that holds the given rotation and position.
std::string framesAround(const glm::quat& rotation, const glm::vec3& position, float frameTime = 0.016f)
{
    return countBytes(3) + frameBytes(1) + bytesOf({frameTime, rotation, position}) + frameBytes(1);
}

// A boat that runs one metre along x and turns 0.1 rad about Y in each sample
// interval: blends between its samples give its pose at any time exactly.
glm::vec3 positionAt(double seconds)
{
    return glm::vec3(static_cast<float>(seconds / interval), 1.0f, 0.0f);
}

glm::quat rotationAt(double seconds)
{
    return glm::angleAxis(static_cast<float>(0.1 * seconds / interval), glm::vec3(0.0f, 1.0f, 0.0f));
}

void expectPoseAt(const GhostFrame& frame, double seconds)
{
    EXPECT_NEAR(frame.position.x, positionAt(seconds).x, 2e-3f) << seconds;
    EXPECT_NEAR(std::abs(glm::dot(frame.rotation, rotationAt(seconds))), 1.0f, 1e-5f) << seconds;
}

// One sample per interval, the last call taking the last sample.
GhostRecording recordingOf(int samples)
{
    GhostRecording recording(180, 15);
    for (int i = 0; i < samples; ++i)
    {
        recording.recordFrame(interval, positionAt(i * static_cast<double>(interval)),
                              rotationAt(i * static_cast<double>(interval)));
    }
    recording.stopRecording();
    return recording;
}

struct UpdateRate
{
    const char* name;
    float frameTime;
    // One update of 2 s a little before half-way, between two sample times.
    bool stall;
};

const UpdateRate updateRates[]{
    {"30 per second", 1.0f / 30.0f, false},
    {"60 per second", 1.0f / 60.0f, false},
    {"144 per second", 1.0f / 144.0f, false},
    {"60 per second with a stall", 1.0f / 60.0f, true},
};

// The update lengths of a race of the given seconds at the rate.
std::vector<float> updatesOf(const UpdateRate& rate, double seconds)
{
    std::vector<float> updates;
    bool stalled = !rate.stall;
    for (double time = 0.0; time < seconds;)
    {
        const float update = !stalled && time >= seconds * 0.45 ? 2.0f : rate.frameTime;
        stalled = stalled || update == 2.0f;
        updates.push_back(update);
        time += update;
    }
    return updates;
}

TEST(GhostRecordingTest, SamplesStandOneIntervalApartAtAnyUpdateRate)
{
    for (const UpdateRate& rate : updateRates)
    {
        SCOPED_TRACE(rate.name);
        GhostRecording recording(180, 15);
        double time = 0.0;
        for (const float update : updatesOf(rate, 10.0))
        {
            recording.recordFrame(update, positionAt(time), rotationAt(time));
            time += update;
        }
        // Every sample up to the last pose given (the last update's start).
        const std::vector<GhostFrame>& samples = recording.frames();
        EXPECT_NEAR(static_cast<double>(samples.size()), 151.0, 1.0);
        for (std::size_t i = 0; i < samples.size(); ++i)
        {
            expectPoseAt(samples[i], static_cast<double>(i) * interval);
        }
        // Each sample keeps the length of the update it was taken in.
        EXPECT_EQ(samples.front().frameTime, rate.frameTime);
        const auto inStall = std::count_if(samples.begin(), samples.end(),
                                           [](const GhostFrame& frame) { return frame.frameTime == 2.0f; });
        EXPECT_EQ(inStall, rate.stall ? 30 : 0);
    }

    // A full recording stops taking samples, however long the update, and says so on the next call.
    GhostRecording full(1, 15);
    full.recordFrame(10.0f, glm::vec3(0.0f), identity);
    EXPECT_EQ(full.frameCount(), 1);
    full.recordFrame(0.1f, glm::vec3(1.0f), identity);
    EXPECT_EQ(full.frameCount(), 15);
    full.recordFrame(0.1f, glm::vec3(2.0f), identity);
    EXPECT_EQ(full.frameCount(), 15);
    EXPECT_TRUE(full.isRecordingComplete());
}

TEST(GhostRecordingTest, PlaybackReachesTheLastSampleAtTheSameRaceTimeAtAnyUpdateRate)
{
    // 10 s of samples.
    const GhostRecording recorded = recordingOf(151);
    for (const UpdateRate& rate : updateRates)
    {
        SCOPED_TRACE(rate.name);
        GhostRecording recording = recorded;
        double time = 0.0;
        for (const float update : updatesOf(rate, 12.0))
        {
            const GhostFrame frame = recording.playback(update);
            time += update;
            if (recording.isPlaybackFinished())
            {
                EXPECT_EQ(frame.position, recorded.frames().back().position);
                break;
            }
            expectPoseAt(frame, time);
        }
        EXPECT_TRUE(recording.isPlaybackFinished());
        EXPECT_GE(time, 10.0 - 1e-4);
        EXPECT_LT(time, 10.0 + interval);
    }

    // The first update plays from sample 0 toward sample 1; a long one passes
    // several samples and blends within the last.
    GhostRecording recording = recordingOf(5);
    EXPECT_NEAR(recording.playback(interval / 4.0f).position.x, 0.25f, 1e-5f);
    EXPECT_NEAR(recording.playback(interval * 2.5f).position.x, 2.75f, 1e-4f);
    EXPECT_FALSE(recording.isPlaybackFinished());
    EXPECT_EQ(recording.playback(interval * 1.5f).position, recording.frames()[4].position);
    EXPECT_TRUE(recording.isPlaybackFinished());

    // A single sample is reached at once.
    GhostRecording single = recordingOf(1);
    EXPECT_EQ(single.playback(0.001f).position, single.frames()[0].position);
    EXPECT_TRUE(single.isPlaybackFinished());

    // An empty recording finishes at once, at its start pose, stored as x 1, y 0, z 0, w 0.
    GhostRecording empty(180, 15);
    const GhostFrame frame = empty.playback(0.01f);
    EXPECT_TRUE(empty.isPlaybackFinished());
    EXPECT_EQ(frame.position, glm::vec3(0.0f));
    EXPECT_EQ(frame.rotation, glm::quat(0.0f, 1.0f, 0.0f, 0.0f));
}

class GhostFileTest : public ::testing::Test
{
protected:
    bool load(GhostRecording& recording, const std::string& content)
    {
        EXPECT_TRUE(writeFile("test.ghost", content, false));
        StdoutCapture capture;
        return recording.loadFromFile("test.ghost");
    }

    TemporaryFolder folder;
};

TEST_F(GhostFileTest, SaveAndLoadGiveTheSameBytes)
{
    EXPECT_FALSE(GhostRecording(180, 15).saveToFile("incomplete.ghost"));
    EXPECT_FALSE(std::filesystem::exists("incomplete.ghost"));

    GhostRecording recording = recordingOf(20);
    ASSERT_TRUE(recording.saveToFile("saved.ghost"));
    const std::optional<std::string> saved = readFile("saved.ghost");
    ASSERT_EQ(saved, countBytes(20) + std::string(reinterpret_cast<const char*>(recording.frames().data()), 20 * 32));

    GhostRecording loaded(180, 15);
    {
        StdoutCapture capture;
        ASSERT_TRUE(loaded.loadFromFile("saved.ghost"));
        EXPECT_EQ(capture.text(), "frameCount of recording : 20\n");
    }
    EXPECT_EQ(loaded.startPosition(), recording.frames()[0].position);
    // Played to its end and loaded again, it plays from its first sample.
    loaded.playback(60.0f);
    ASSERT_TRUE(loaded.loadFromFile("saved.ghost"));
    EXPECT_EQ(loaded.playback(0.0f).position, recording.frames()[0].position);
    ASSERT_TRUE(loaded.saveToFile("again.ghost"));
    EXPECT_EQ(readFile("again.ghost"), saved);

    // One frame and a full recording load; bytes after the last frame are ignored.
    EXPECT_TRUE(load(loaded, countBytes(1) + frameBytes(1)));
    EXPECT_TRUE(load(loaded, countBytes(2700) + frameBytes(2700) + "tail"));
    EXPECT_EQ(loaded.frames().back().position.x, 2699.0f);
}

TEST_F(GhostFileTest, AFailedSaveSaysSoAndKeepsTheEarlierRecording)
{
    ASSERT_TRUE(recordingOf(20).saveToFile("PlayerGhost.ghost"));
    const std::optional<std::string> earlier = readFile("PlayerGhost.ghost");
    const GhostRecording longer = recordingOf(400);
    {
        FullDisk full(4096);
        EXPECT_FALSE(longer.saveToFile("PlayerGhost.ghost"));
    }
    EXPECT_EQ(readFile("PlayerGhost.ghost"), earlier);

    // A folder that cannot be written, and a file that cannot be renamed over.
    ASSERT_TRUE(writeFile("Assets", "a file where the folder should be", false));
    EXPECT_FALSE(longer.saveToFile("Assets/PlayerGhost.ghost"));
    std::filesystem::create_directories("Taken.ghost/inside");
    EXPECT_FALSE(longer.saveToFile("Taken.ghost"));
    EXPECT_TRUE(std::filesystem::is_directory("Taken.ghost/inside"));

    std::vector<std::string> left;
    for (const std::filesystem::directory_entry& entry : std::filesystem::directory_iterator("."))
    {
        left.push_back(entry.path().filename().string());
    }
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"Assets", "PlayerGhost.ghost", "Taken.ghost"}));
}

TEST_F(GhostFileTest, MalformedFilesAreRejectedAndLeaveTheRecordingEmpty)
{
    const std::vector<std::pair<std::string, std::string>> corpus{
        {"empty", ""},
        {"two bytes", std::string("\x05\x00", 2)},
        {"count 0", countBytes(0) + frameBytes(1)},
        {"count -1", countBytes(-1) + frameBytes(1)},
        {"count above capacity", countBytes(2701) + frameBytes(2701)},
        {"no frames", countBytes(3)},
        {"truncated frames", countBytes(3) + frameBytes(3).substr(0, 80)},
        {"position not a number", framesAround(identity, glm::vec3(1.0f, NAN, 0.0f))},
        {"infinite position", framesAround(identity, glm::vec3(0.0f, 0.0f, -INFINITY))},
        {"infinite frame time", framesAround(identity, glm::vec3(0.0f), INFINITY)},
        {"rotation not a number", framesAround(glm::quat(NAN, 0.0f, 0.0f, 0.0f), glm::vec3(0.0f))},
        {"zero rotation", framesAround(glm::quat(0.0f, 0.0f, 0.0f, 0.0f), glm::vec3(0.0f))},
        {"rotation too long", framesAround(glm::quat(1.002f, 0.0f, 0.0f, 0.0f), glm::vec3(0.0f))},
        {"rotation too short", framesAround(glm::quat(0.0f, 0.0f, 0.0f, 0.998f), glm::vec3(0.0f))},
    };
    GhostRecording recording(180, 15);
    for (const auto& [name, content] : corpus)
    {
        // A failed load also empties a recording that held samples.
        ASSERT_TRUE(load(recording, countBytes(4) + frameBytes(4)));
        EXPECT_FALSE(load(recording, content)) << name;
        EXPECT_EQ(recording.frameCount(), 0) << name;
        EXPECT_TRUE(recording.frames().empty()) << name;
        EXPECT_EQ(recording.startPosition(), glm::vec3(0.0f)) << name;
    }
    EXPECT_FALSE(recording.loadFromFile("missing.ghost"));

    // A rotation within a thousandth of unit length is a sound sample.
    EXPECT_TRUE(load(recording, framesAround(glm::quat(0.0f, 0.0f, 0.6f, 0.8005f), glm::vec3(0.0f))));
    EXPECT_EQ(recording.frameCount(), 3);
}
}
