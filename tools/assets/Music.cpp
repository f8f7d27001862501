#include "tools/assets/Music.hpp"

#include "tools/assets/Parallel.hpp"

#include <array>
#include <cmath>
#include <vector>

namespace
{
// 6/8 at 96 dotted crotchets a minute: a bar of six quavers lasts 1.25 s.
constexpr double barSeconds = 1.25;
constexpr double quaverSeconds = barSeconds / 6.0;
constexpr int barsPerStatement = 8;
constexpr int statements = 4;

struct MelodyNote
{
    // Semitones above the key's tonic; quavers long.
    int degree;
    int quavers;
};

// The theme in minor: E F# G A | B B | C C | B | A A | G | F# F# | E.
constexpr std::array<MelodyNote, 15> minorTheme = {{{0, 2},
                                                    {2, 1},
                                                    {3, 2},
                                                    {5, 1},
                                                    {7, 3},
                                                    {7, 3},
                                                    {8, 3},
                                                    {8, 3},
                                                    {7, 6},
                                                    {5, 3},
                                                    {5, 3},
                                                    {3, 6},
                                                    {2, 3},
                                                    {2, 3},
                                                    {0, 6}}};

struct Chord
{
    // Root (semitones above the tonic) and the intervals of the third and fifth.
    int root;
    int third;
    int fifth;
    // A seventh above the root, or 0 for none.
    int seventh;
};

// One chord a bar. Minor: i i iv i | iv i V7 i; major: I I IV I | IV I V7 I.
constexpr std::array<Chord, 8> minorChords = {
    {{0, 3, 7, 0}, {0, 3, 7, 0}, {5, 3, 7, 0}, {0, 3, 7, 0}, {5, 3, 7, 0}, {0, 3, 7, 0}, {7, 4, 7, 10}, {0, 3, 7, 0}}};

// The major statement raises the third and the sixth of the scale.
int toMajor(int degree)
{
    return degree == 3 || degree == 8 ? degree + 1 : degree;
}

Tone melodyVoice(int midiNote)
{
    Tone tone;
    tone.frequency = noteFrequency(midiNote);
    tone.harmonics = {1.0f, 0.42f, 0.26f, 0.12f, 0.07f, 0.03f};
    tone.attackSeconds = 0.07f;
    tone.releaseSeconds = 0.22f;
    tone.vibrato = 0.004f;
    return tone;
}

Tone harpVoice(int midiNote)
{
    Tone tone;
    tone.frequency = noteFrequency(midiNote);
    tone.harmonics = {1.0f, 0.45f, 0.2f, 0.08f};
    tone.decay = 2.2f;
    tone.decayPerHarmonic = 1.6f;
    tone.attackSeconds = 0.004f;
    tone.releaseSeconds = 0.3f;
    return tone;
}

Tone bassVoice(int midiNote)
{
    Tone tone;
    tone.frequency = noteFrequency(midiNote);
    tone.harmonics = {1.0f, 0.3f, 0.08f};
    tone.decay = 0.6f;
    tone.attackSeconds = 0.03f;
    tone.releaseSeconds = 0.25f;
    return tone;
}

// A soft echo between the channels; run over the loop twice so that the
// echo of the end is heard at the start.
void addEcho(LoopTrack& track)
{
    const std::size_t length = track.left.size();
    const auto delay = static_cast<std::size_t>(0.31 * soundSampleRate);
    const float feedback = 0.28f;
    std::vector<float> left = track.left;
    std::vector<float> right = track.right;
    for (int pass = 0; pass < 2; ++pass)
    {
        for (std::size_t frame = 0; frame < length; ++frame)
        {
            const std::size_t earlier = (frame + length - delay) % length;
            left[frame] = track.left[frame] + feedback * right[earlier];
            right[frame] = track.right[frame] + feedback * left[earlier];
        }
    }
    track.left = std::move(left);
    track.right = std::move(right);
}
// One statement of the theme with its accompaniment, into `track`.
void renderStatement(LoopTrack& track, int statement)
{
    constexpr int tonic = 64; // E4
    const bool major = statement >= 2;
    const double statementStart = statement * barsPerStatement * barSeconds;
    // The second statement of each mode an octave higher, and louder.
    const int octave = statement % 2 == 0 ? 12 : 24;
    const float loudness = statement % 2 == 0 ? 0.8f : 1.0f;

    double time = statementStart;
    for (const MelodyNote& note : minorTheme)
    {
        const int degree = major ? toMajor(note.degree) : note.degree;
        const double seconds = note.quavers * quaverSeconds;
        addTone(track, melodyVoice(tonic - 12 + octave + degree), time, seconds * 0.94, 0.34f * loudness, 0.42f);
        time += seconds;
    }

    for (int bar = 0; bar < barsPerStatement; ++bar)
    {
        const Chord& chord = minorChords[static_cast<std::size_t>(bar)];
        const int third = major && chord.third == 3 ? 4 : chord.third;
        const int root = tonic - 12 + chord.root;
        // The river's ripple: the chord broken in semiquavers, up and down.
        const std::array<int, 6> tones = {root,
                                          root + chord.fifth,
                                          root + 12,
                                          root + 12 + third,
                                          root + 12 + (chord.seventh != 0 ? chord.seventh : chord.fifth),
                                          root + 24};
        constexpr std::array<int, 12> pattern = {0, 1, 2, 3, 4, 5, 4, 3, 2, 3, 2, 1};
        const double barStart = statementStart + bar * barSeconds;
        for (std::size_t step = 0; step < pattern.size(); ++step)
        {
            const float accent = step % 6 == 0 ? 1.0f : 0.72f;
            addTone(track, harpVoice(tones[static_cast<std::size_t>(pattern[step])]),
                    barStart + static_cast<double>(step) * quaverSeconds * 0.5, 0.5, 0.16f * accent, 0.62f);
        }
        // Root and fifth below, a dotted crotchet each; the dominant keeps its root.
        for (int beat = 0; beat < 2; ++beat)
        {
            addTone(track, bassVoice(root - 12 + (beat == 1 && chord.seventh == 0 ? chord.fifth - 12 : 0)),
                    barStart + beat * 3 * quaverSeconds, 3 * quaverSeconds * 0.9, 0.32f, 0.5f);
        }
    }
}
} // namespace

LoopTrack renderRiverTheme()
{
    const auto frames =
        static_cast<std::size_t>(std::llround(barSeconds * barsPerStatement * statements * soundSampleRate));
    // Each statement on its own core, then summed in order.
    std::vector<LoopTrack> parts(statements, LoopTrack(frames));
    forEachIndex(statements,
                 [&](int statement) { renderStatement(parts[static_cast<std::size_t>(statement)], statement); });
    LoopTrack track(frames);
    for (const LoopTrack& part : parts)
    {
        for (std::size_t frame = 0; frame < frames; ++frame)
        {
            track.left[frame] += part.left[frame];
            track.right[frame] += part.right[frame];
        }
    }
    addEcho(track);
    return track;
}
