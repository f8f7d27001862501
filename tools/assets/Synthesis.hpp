#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The generator's sounds are rendered in floats at one rate and turned into
// 16-bit PCM at the end.
inline constexpr int soundSampleRate = 44100;

// A stereo track whose end joins its start: a sound that runs past the end
// goes on from the start, so the track loops without a break.
struct LoopTrack
{
    std::vector<float> left;
    std::vector<float> right;

    explicit LoopTrack(std::size_t frames) : left(frames, 0.0f), right(frames, 0.0f)
    {
    }
};

struct Tone
{
    double frequency = 440.0;
    // Relative strengths of the harmonics, the fundamental first.
    std::vector<float> harmonics{1.0f};
    // Each harmonic h (from 0) fades by exp(-(decay + decayPerHarmonic * h) t);
    // 0 holds it while the note lasts.
    float decay = 0.0f;
    float decayPerHarmonic = 0.0f;
    float attackSeconds = 0.01f;
    float releaseSeconds = 0.1f;
    // Vibrato depth as a fraction of the frequency, at 5.5 Hz, setting in after the attack.
    float vibrato = 0.0f;
};

// Adds `tone` held for `seconds` from `startSeconds`, at `gain` with its
// share `pan` (0 left, 1 right). The release follows the held time.
void addTone(LoopTrack& track, const Tone& tone, double startSeconds, double seconds, float gain, float pan);

// A single-channel tone into a plain (not looping) buffer.
void addTone(std::vector<float>& samples, const Tone& tone, double startSeconds, double seconds, float gain);

// Equal temperament from MIDI note numbers (69 is A at 440 Hz).
double noteFrequency(int midiNote);

// Scaled so that the loudest sample reaches `peak` of full scale, interleaved
// when two channels are given.
std::vector<std::int16_t> toPcm(const std::vector<float>& left, const std::vector<float>* right, float peak);
