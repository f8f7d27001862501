#include "engine/FileIo.hpp"
#include "game/physics/GhostRecording.hpp"
#include "support/StdoutCapture.hpp"
#include "support/TemporaryFolder.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace
{
constexpr float sampleInterval = 1.0f / 15.0f;

std::string countBytes(std::int32_t count)
{
    std::string bytes(4, '\0');
    std::memcpy(bytes.data(), &count, 4);
    return bytes;
}

std::string frameBytes(std::int32_t count)
{
    std::string bytes;
    for (std::int32_t i = 0; i < count; ++i)
    {
        const GhostFrame frame{0.016f, glm::quat(1.0f, 0.0f, 0.0f, 0.0f), glm::vec3(static_cast<float>(i), 2.0f, 3.0f)};
        bytes.append(reinterpret_cast<const char*>(&frame), sizeof(frame));
    }
    return bytes;
}

// Feeds frames of one interval each, so every second call takes a sample; the
// last call takes one, so playback starts at the beginning of an interval.
GhostRecording recordingOf(int samples)
{
    GhostRecording recording(180, 15);
    recording.recordFrame(sampleInterval, glm::vec3(0.0f), glm::quat(1.0f, 0.0f, 0.0f, 0.0f));
    for (int i = 0; i < samples; ++i)
    {
        const glm::quat rotation = glm::angleAxis(0.1f * static_cast<float>(i), glm::vec3(0.0f, 1.0f, 0.0f));
        recording.recordFrame(sampleInterval, glm::vec3(static_cast<float>(i), 1.0f, 0.0f), rotation);
        if (i + 1 < samples)
        {
            recording.recordFrame(sampleInterval, glm::vec3(-1.0f), rotation);
        }
    }
    recording.stopRecording();
    return recording;
}

void expectEmpty(const GhostRecording& recording)
{
    EXPECT_EQ(recording.frameCount(), 0);
    EXPECT_TRUE(recording.frames().empty());
    EXPECT_FALSE(recording.isRecordingComplete());
    EXPECT_EQ(recording.startPosition(), glm::vec3(0.0f));
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

TEST(GhostRecordingTest, SamplesAreTakenOncePerIntervalAndTheRestIsDropped)
{
    GhostRecording recording(1, 15);
    const glm::quat rotation(1.0f, 0.0f, 0.0f, 0.0f);
    // Time reaches the interval on the fourth call; the sample is taken on the fifth.
    for (int i = 0; i < 4; ++i)
    {
        recording.recordFrame(0.02f, glm::vec3(static_cast<float>(i)), rotation);
    }
    EXPECT_EQ(recording.frameCount(), 0);
    recording.recordFrame(0.03f, glm::vec3(5.0f), rotation);
    ASSERT_EQ(recording.frameCount(), 1);
    EXPECT_EQ(recording.frames()[0].position, glm::vec3(5.0f));
    EXPECT_EQ(recording.frames()[0].frameTime, 0.03f);

    // Fifteen samples fill one second; after that nothing is stored and the recording is complete.
    for (int i = 0; i < 100; ++i)
    {
        recording.recordFrame(0.1f, glm::vec3(1.0f), rotation);
    }
    EXPECT_EQ(recording.frameCount(), 15);
    EXPECT_TRUE(recording.isRecordingComplete());
}

TEST(GhostRecordingTest, PlaybackBlendsPairwiseAndNeverPassesTheNextSample)
{
    GhostRecording recording = recordingOf(3);
    ASSERT_EQ(recording.frameCount(), 3);

    GhostFrame frame = recording.playback(sampleInterval / 4.0f);
    EXPECT_NEAR(frame.position.x, 0.25f, 1e-5f);
    const glm::quat quarter = glm::angleAxis(0.025f, glm::vec3(0.0f, 1.0f, 0.0f));
    EXPECT_NEAR(std::abs(glm::dot(frame.rotation, quarter)), 1.0f, 1e-5f);

    // A frame far longer than the interval stops at the next sample.
    frame = recording.playback(1.0f);
    EXPECT_NEAR(frame.position.x, 1.0f, 1e-5f);

    // The call after the interval has been reached moves on and gives that sample exactly.
    frame = recording.playback(0.001f);
    EXPECT_EQ(frame.position, recording.frames()[1].position);
    EXPECT_FALSE(recording.isPlaybackFinished());

    recording.playback(1.0f);
    frame = recording.playback(0.001f);
    EXPECT_EQ(frame.position, recording.frames()[2].position);
    frame = recording.playback(0.001f);
    EXPECT_TRUE(recording.isPlaybackFinished());
    EXPECT_EQ(frame.position, recording.frames()[2].position);
}

TEST(GhostRecordingTest, OneSampleAndNoSamplesFinishAtOnce)
{
    GhostRecording single = recordingOf(1);
    const GhostFrame frame = single.playback(0.01f);
    EXPECT_TRUE(single.isPlaybackFinished());
    EXPECT_EQ(frame.position, single.frames()[0].position);
    EXPECT_EQ(single.startPosition(), single.frames()[0].position);

    GhostRecording empty(180, 15);
    const GhostFrame none = empty.playback(0.01f);
    EXPECT_TRUE(empty.isPlaybackFinished());
    EXPECT_EQ(none.position, empty.startPosition());
    EXPECT_EQ(none.rotation, empty.startRotation());
    // The start rotation of an empty recording is stored as x 1, y 0, z 0, w 0.
    EXPECT_EQ(empty.startRotation().x, 1.0f);
    EXPECT_EQ(empty.startRotation().w, 0.0f);
}

TEST_F(GhostFileTest, SaveAndLoadGiveTheSameBytes)
{
    GhostRecording recording = recordingOf(20);
    ASSERT_TRUE(recording.saveToFile("saved.ghost"));
    const std::optional<std::string> saved = readFile("saved.ghost");
    ASSERT_TRUE(saved.has_value());
    ASSERT_EQ(saved->size(), 4u + 20u * 32u);
    EXPECT_EQ(saved->substr(0, 4), countBytes(20));

    GhostRecording loaded(180, 15);
    {
        StdoutCapture capture;
        ASSERT_TRUE(loaded.loadFromFile("saved.ghost"));
        EXPECT_EQ(capture.text(), "frameCount of recording : 20\n");
    }
    EXPECT_TRUE(loaded.isRecordingComplete());
    ASSERT_EQ(loaded.frameCount(), 20);
    EXPECT_EQ(std::memcmp(loaded.frames().data(), recording.frames().data(), 20 * sizeof(GhostFrame)), 0);
    ASSERT_TRUE(loaded.saveToFile("again.ghost"));
    EXPECT_EQ(readFile("again.ghost"), saved);
}

TEST_F(GhostFileTest, AnIncompleteRecordingIsNotSaved)
{
    GhostRecording recording(180, 15);
    EXPECT_FALSE(recording.saveToFile("never.ghost"));
    EXPECT_FALSE(std::filesystem::exists("never.ghost"));
}

TEST_F(GhostFileTest, CountsAtTheLimitsAreAccepted)
{
    GhostRecording one(180, 15);
    EXPECT_TRUE(load(one, countBytes(1) + frameBytes(1)));
    EXPECT_EQ(one.frameCount(), 1);
    GhostRecording full(180, 15);
    // Bytes after the last frame are ignored.
    EXPECT_TRUE(load(full, countBytes(2700) + frameBytes(2700) + "tail"));
    EXPECT_EQ(full.frameCount(), 2700);
    EXPECT_EQ(full.frames()[2699].position.x, 2699.0f);
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
    };
    for (const auto& [name, content] : corpus)
    {
        GhostRecording recording(180, 15);
        EXPECT_FALSE(load(recording, content)) << name;
        expectEmpty(recording);
        recording.playback(0.01f);
        EXPECT_TRUE(recording.isPlaybackFinished()) << name;
    }

    GhostRecording missing(180, 15);
    EXPECT_FALSE(missing.loadFromFile("missing.ghost"));
    expectEmpty(missing);

    // A failed load also empties a recording that held samples.
    GhostRecording loaded(180, 15);
    ASSERT_TRUE(load(loaded, countBytes(4) + frameBytes(4)));
    EXPECT_FALSE(load(loaded, countBytes(4) + frameBytes(2)));
    expectEmpty(loaded);
}
}
