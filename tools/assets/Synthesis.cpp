#include "tools/assets/Synthesis.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace
{
// Calls `write(frame, value)` for every sample of the tone, frames counted
// from the tone's start.
template <typename Write>
void renderTone(const Tone& tone, double seconds, Write write)
{
    const double rate = soundSampleRate;
    const auto heldFrames = static_cast<std::size_t>(seconds * rate);
    const auto totalFrames = heldFrames + static_cast<std::size_t>(tone.releaseSeconds * rate);
    const double twoPi = 2.0 * std::numbers::pi;
    double phase = 0.0;
    // Each harmonic's fade, advanced by one sample's factor.
    std::vector<double> fades(tone.harmonics.size(), 1.0);
    std::vector<double> fadeSteps(tone.harmonics.size());
    for (std::size_t harmonic = 0; harmonic < fades.size(); ++harmonic)
    {
        fadeSteps[harmonic] = std::exp(-(tone.decay + tone.decayPerHarmonic * static_cast<double>(harmonic)) / rate);
    }
    for (std::size_t frame = 0; frame < totalFrames; ++frame)
    {
        const double time = static_cast<double>(frame) / rate;
        double envelope = std::min(1.0, time / std::max(1e-4, static_cast<double>(tone.attackSeconds)));
        if (frame >= heldFrames)
        {
            const double released = static_cast<double>(frame - heldFrames) / rate;
            envelope *= 1.0 - released / tone.releaseSeconds;
        }
        const double vibratoOnset = std::clamp((time - tone.attackSeconds) / 0.2, 0.0, 1.0);
        const double bend = 1.0 + tone.vibrato * vibratoOnset * std::sin(twoPi * 5.5 * time);
        phase += twoPi * tone.frequency * bend / rate;
        double value = 0.0;
        for (std::size_t harmonic = 0; harmonic < tone.harmonics.size(); ++harmonic)
        {
            value += tone.harmonics[harmonic] * fades[harmonic] * std::sin(phase * static_cast<double>(harmonic + 1));
            fades[harmonic] *= fadeSteps[harmonic];
        }
        write(frame, static_cast<float>(value * envelope));
    }
}
} // namespace

void addTone(LoopTrack& track, const Tone& tone, double startSeconds, double seconds, float gain, float pan)
{
    const std::size_t length = track.left.size();
    const auto start = static_cast<std::size_t>(std::llround(startSeconds * soundSampleRate));
    const float leftGain = gain * std::sqrt(1.0f - pan);
    const float rightGain = gain * std::sqrt(pan);
    renderTone(tone, seconds, [&](std::size_t frame, float value) {
        const std::size_t index = (start + frame) % length;
        track.left[index] += value * leftGain;
        track.right[index] += value * rightGain;
    });
}

void addTone(std::vector<float>& samples, const Tone& tone, double startSeconds, double seconds, float gain)
{
    const auto start = static_cast<std::size_t>(std::llround(startSeconds * soundSampleRate));
    renderTone(tone, seconds, [&](std::size_t frame, float value) {
        if (start + frame < samples.size())
        {
            samples[start + frame] += value * gain;
        }
    });
}

double noteFrequency(int midiNote)
{
    return 440.0 * std::pow(2.0, (midiNote - 69) / 12.0);
}

std::vector<std::int16_t> toPcm(const std::vector<float>& left, const std::vector<float>* right, float peak)
{
    float loudest = 1e-9f;
    for (const float value : left)
    {
        loudest = std::max(loudest, std::abs(value));
    }
    if (right != nullptr)
    {
        for (const float value : *right)
        {
            loudest = std::max(loudest, std::abs(value));
        }
    }
    const float scale = peak * 32767.0f / loudest;
    const std::size_t channels = right == nullptr ? 1 : 2;
    std::vector<std::int16_t> samples(left.size() * channels);
    for (std::size_t frame = 0; frame < left.size(); ++frame)
    {
        samples[frame * channels] = static_cast<std::int16_t>(std::lround(left[frame] * scale));
        if (right != nullptr)
        {
            samples[frame * channels + 1] = static_cast<std::int16_t>(std::lround((*right)[frame] * scale));
        }
    }
    return samples;
}
