// The race's two sounds: the looping music and the countdown, whose beeps
// mark the last three seconds before the start and whose higher tone is the
// start itself (the countdown runs four seconds from the sound's start).
#include "game/assets/AssetPaths.hpp"
#include "tools/assets/AssetFiles.hpp"
#include "tools/assets/AssetKinds.hpp"
#include "tools/assets/Music.hpp"
#include "tools/assets/Synthesis.hpp"

namespace
{
constexpr double countdownSeconds = 5.0;
const std::filesystem::path musicPath = musicFile;
const std::filesystem::path countdownPath = countdownFile;

std::vector<std::int16_t> renderCountdown()
{
    std::vector<float> samples(static_cast<std::size_t>(countdownSeconds * soundSampleRate), 0.0f);
    Tone beep;
    beep.harmonics = {1.0f, 0.25f, 0.35f, 0.08f};
    beep.attackSeconds = 0.003f;
    beep.releaseSeconds = 0.06f;
    beep.decay = 3.0f;
    for (const double second : {1.0, 2.0, 3.0})
    {
        beep.frequency = noteFrequency(81); // A5
        addTone(samples, beep, second, 0.18, 0.8f);
    }
    beep.frequency = noteFrequency(93); // A6: the start
    beep.decay = 1.2f;
    addTone(samples, beep, 4.0, 0.6, 1.0f);
    return toPcm(samples, nullptr, 0.7f);
}
} // namespace

std::vector<std::filesystem::path> soundPaths()
{
    return {musicPath, countdownPath};
}

std::optional<std::size_t> writeSounds(const std::filesystem::path& assets, const AssetSelection& wanted)
{
    std::size_t count = 0;
    if (wanted(musicPath))
    {
        const LoopTrack music = renderRiverTheme();
        if (!writeWav(assets / musicPath, soundSampleRate, 2, toPcm(music.left, &music.right, 0.8f)))
        {
            return std::nullopt;
        }
        ++count;
    }
    if (wanted(countdownPath))
    {
        if (!writeWav(assets / countdownPath, soundSampleRate, 1, renderCountdown()))
        {
            return std::nullopt;
        }
        ++count;
    }
    return count;
}
