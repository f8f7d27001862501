#include "game/physics/GhostRecording.hpp"

#include "engine/FileIo.hpp"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <type_traits>

// Frames are read and written as they lie in memory.
static_assert(std::endian::native == std::endian::little);
static_assert(std::is_trivially_copyable_v<GhostFrame>);
static_assert(sizeof(GhostFrame) == 32);
static_assert(offsetof(GhostFrame, rotation) == 4 && offsetof(GhostFrame, position) == 20);
static_assert(offsetof(glm::quat, x) == 0 && offsetof(glm::quat, w) == 12);

namespace
{
constexpr std::size_t frameSize = sizeof(GhostFrame);
constexpr float unitTolerance = 1.0e-3f;

glm::quat blendRotation(const glm::quat& from, glm::quat to, float t)
{
    float cosine = glm::dot(from, to);
    if (cosine < 0.0f)
    {
        to = -to;
        cosine = -cosine;
    }
    if (cosine > 0.9999999f)
    {
        return from * (1.0f - t) + to * t;
    }
    const float angle = std::acos(cosine);
    return (from * std::sin((1.0f - t) * angle) + to * std::sin(t * angle)) / std::sin(angle);
}

GhostFrame blend(const GhostFrame& from, const GhostFrame& to, float t, float frameTime)
{
    return {frameTime, blendRotation(from.rotation, to.rotation, t), from.position * (1.0f - t) + to.position * t};
}

// A sample that would put a boat nowhere or skew its model.
bool isSound(const GhostFrame& frame)
{
    const float values[]{frame.frameTime, frame.rotation.x, frame.rotation.y, frame.rotation.z,
                         frame.rotation.w,  frame.position.x, frame.position.y, frame.position.z};
    return std::all_of(std::begin(values), std::end(values), [](float value) { return std::isfinite(value); }) &&
           std::abs(glm::length(frame.rotation) - 1.0f) <= unitTolerance;
}
}

GhostRecording::GhostRecording(std::uint32_t seconds, std::uint32_t samplesPerSecond)
    : capacity(static_cast<std::int32_t>(seconds * samplesPerSecond)),
      sampleInterval(static_cast<float>(1.0 / static_cast<double>(samplesPerSecond)))
{
    samples.reserve(static_cast<std::size_t>(std::max(capacity, 0)));
}

void GhostRecording::recordFrame(float deltaTime, const glm::vec3& position, const glm::quat& rotation)
{
    if (complete || frameCount() >= capacity)
    {
        complete = true;
        return;
    }
    const GhostFrame pose{deltaTime, rotation, position};
    if (samples.empty())
    {
        samples.push_back(pose);
    }
    // The sample times passed since the previous pose lie between it and this
    // one: a long update stores each of them, so the samples stand one interval
    // of race time apart whatever the frame rate.
    while (sinceSample >= sampleInterval && frameCount() < capacity)
    {
        sinceSample -= sampleInterval;
        const float t = std::clamp(1.0f - sinceSample / lastPose.frameTime, 0.0f, 1.0f);
        samples.push_back(blend(lastPose, pose, t, lastPose.frameTime));
    }
    sinceSample += deltaTime;
    lastPose = pose;
}

void GhostRecording::stopRecording()
{
    complete = true;
}

bool GhostRecording::isRecordingComplete() const
{
    return complete;
}

bool GhostRecording::isPlaybackFinished() const
{
    return playbackFinished;
}

bool GhostRecording::saveToFile(const std::string& path) const
{
    if (!complete)
    {
        return false;
    }
    const std::int32_t count = frameCount();
    std::string bytes(reinterpret_cast<const char*>(&count), sizeof(count));
    bytes.append(reinterpret_cast<const char*>(samples.data()), samples.size() * frameSize);
    // The earlier recording stays whole unless this one is saved whole.
    return replaceFile(path, bytes);
}

bool GhostRecording::loadFromFile(const std::string& path)
{
    clear();
    std::ifstream stream(path, std::ios::binary);
    if (!stream)
    {
        return false;
    }
    std::int32_t count = 0;
    stream.read(reinterpret_cast<char*>(&count), sizeof(count));
    if (stream.gcount() != static_cast<std::streamsize>(sizeof(count)) || count < 1 || count > capacity)
    {
        return false;
    }
    std::printf("frameCount of recording : %d\n", count);

    std::vector<GhostFrame> loaded(static_cast<std::size_t>(count));
    const auto expected = static_cast<std::streamsize>(loaded.size() * frameSize);
    stream.read(reinterpret_cast<char*>(loaded.data()), expected);
    if (stream.gcount() != expected || !std::all_of(loaded.begin(), loaded.end(), isSound))
    {
        return false;
    }
    samples = std::move(loaded);
    complete = true;
    return true;
}

GhostFrame GhostRecording::playback(float deltaTime)
{
    if (!playbackFinished && playbackIndex + 1 < frameCount())
    {
        // Time beyond the interval is carried, so a long update passes several samples.
        intoSample += deltaTime;
        while (intoSample >= sampleInterval && playbackIndex + 1 < frameCount())
        {
            intoSample -= sampleInterval;
            ++playbackIndex;
        }
    }
    if (playbackIndex + 1 >= frameCount())
    {
        playbackFinished = true;
        if (samples.empty())
        {
            return {0.0f, startRotation(), startPosition()};
        }
        return samples.back();
    }
    const GhostFrame& from = samples[static_cast<std::size_t>(playbackIndex)];
    if (intoSample == 0.0f)
    {
        return from;
    }
    const float t = std::clamp(intoSample / sampleInterval, 0.0f, 1.0f);
    const GhostFrame& to = samples[static_cast<std::size_t>(playbackIndex) + 1];
    return blend(from, to, t, from.frameTime + (to.frameTime - from.frameTime) * t);
}

glm::vec3 GhostRecording::startPosition() const
{
    if (complete && !samples.empty())
    {
        return samples.front().position;
    }
    return glm::vec3(0.0f);
}

glm::quat GhostRecording::startRotation() const
{
    if (complete && !samples.empty())
    {
        return samples.front().rotation;
    }
    // Stored x, y, z, w as (1, 0, 0, 0).
    return glm::quat(0.0f, 1.0f, 0.0f, 0.0f);
}

float GhostRecording::interval() const
{
    return sampleInterval;
}

std::int32_t GhostRecording::frameCount() const
{
    return static_cast<std::int32_t>(samples.size());
}

const std::vector<GhostFrame>& GhostRecording::frames() const
{
    return samples;
}

void GhostRecording::clear()
{
    samples.clear();
    complete = false;
    sinceSample = 0.0f;
    lastPose = {};
    intoSample = 0.0f;
    playbackFinished = false;
    playbackIndex = 0;
}
