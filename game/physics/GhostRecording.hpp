#pragma once

#include <glm/gtc/quaternion.hpp>
#include <glm/vec3.hpp>

#include <cstdint>
#include <string>
#include <vector>

// One sample; the same 32 bytes in memory and in a ".ghost" file.
struct GhostFrame
{
    float frameTime;
    glm::quat rotation;
    glm::vec3 position;
};

// A boat's pose sampled at a fixed rate, recorded from the race and played
// back as an opponent. A ".ghost" file is the frame count (i32) followed by
// that many frames, little-endian, with no header.
class GhostRecording
{
public:
    GhostRecording(std::uint32_t seconds, std::uint32_t samplesPerSecond);

    // The pose at the time recorded so far, which then moves on by the frame
    // time: the first call's pose is sample 0, and a sample stands at each
    // whole interval after it, blended between the poses on either side.
    void recordFrame(float deltaTime, const glm::vec3& position, const glm::quat& rotation);
    void stopRecording();
    bool isRecordingComplete() const;
    bool isPlaybackFinished() const;

    // Only a complete recording is saved, and only whole: when the save fails,
    // an earlier file at the path is left as it was.
    bool saveToFile(const std::string& path) const;
    // A file that is missing, too short, has a count out of range or a sample with a
    // non-finite number or a rotation that is not a unit quaternion leaves the recording empty.
    bool loadFromFile(const std::string& path);

    // Moves the played time (0 at sample 0) on by the frame time and gives the
    // pose blended between the two samples around it; the playback is finished
    // from the call that reaches the last sample.
    GhostFrame playback(float deltaTime);
    glm::vec3 startPosition() const;
    glm::quat startRotation() const;

    // The race time between two samples.
    float interval() const;
    std::int32_t frameCount() const;
    const std::vector<GhostFrame>& frames() const;

private:
    void clear();

    std::int32_t capacity;
    float sampleInterval;
    // Recording: the time from the last sample to the pose that the next call gives.
    float sinceSample = 0.0f;
    // The previous call's pose, with the time from it to the next call's as its frame time.
    GhostFrame lastPose{};
    // Playback: the time played since sample playbackIndex.
    float intoSample = 0.0f;
    std::vector<GhostFrame> samples;
    bool complete = false;
    bool playbackFinished = false;
    std::int32_t playbackIndex = 0;
};
