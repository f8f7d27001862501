#include "game/assets/AssetPaths.hpp"
#include "support/TemporaryFolder.hpp"
#include "tools/assets/AssetKinds.hpp"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace
{
namespace fs = std::filesystem;

struct DecodedSound
{
    SF_INFO info{};
    std::vector<short> samples;
};

DecodedSound decode(const fs::path& path)
{
    DecodedSound sound;
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &sound.info);
    if (file == nullptr)
    {
        ADD_FAILURE() << path;
        return sound;
    }
    sound.samples.resize(static_cast<std::size_t>(sound.info.frames * sound.info.channels));
    EXPECT_EQ(sf_read_short(file, sound.samples.data(), static_cast<sf_count_t>(sound.samples.size())),
              static_cast<sf_count_t>(sound.samples.size()));
    sf_close(file);
    return sound;
}

// The first sample from `fromSecond` on that is louder than a twentieth of full scale.
double onsetAfter(const DecodedSound& sound, double fromSecond)
{
    for (auto frame = static_cast<std::size_t>(fromSecond * sound.info.samplerate); frame < sound.samples.size();
         ++frame)
    {
        if (std::abs(sound.samples[frame]) > 32767 / 20)
        {
            return static_cast<double>(frame) / sound.info.samplerate;
        }
    }
    return -1.0;
}

// Upward zero crossings per second over the 0.1 s after `second`.
int pitchAt(const DecodedSound& sound, double second)
{
    const auto start = static_cast<std::size_t>(second * sound.info.samplerate);
    const auto end = start + static_cast<std::size_t>(sound.info.samplerate / 10);
    int crossings = 0;
    for (std::size_t frame = start + 1; frame < end; ++frame)
    {
        crossings += sound.samples[frame - 1] < 0 && sound.samples[frame] >= 0 ? 1 : 0;
    }
    return crossings * 10;
}

TEST(SoundAssetsTest, MusicLoopsWithoutAClickAndTheCountdownBeepsOnTheSeconds)
{
    TemporaryFolder folder;
    ASSERT_TRUE(writeSounds(folder.path()));
    const DecodedSound music = decode(folder.path() / musicFile);
    EXPECT_EQ(music.info.samplerate, 44100);
    EXPECT_EQ(music.info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    ASSERT_EQ(music.info.channels, 2);
    const double seconds = static_cast<double>(music.info.frames) / music.info.samplerate;
    EXPECT_GE(seconds, 30.0);
    EXPECT_LE(seconds, 60.0);
    // From the last frame back to the first is no bigger a step than the
    // music takes anywhere else.
    int largestStep = 0;
    for (std::size_t index = 2; index < music.samples.size(); ++index)
    {
        largestStep = std::max(largestStep, std::abs(music.samples[index] - music.samples[index - 2]));
    }
    const std::size_t last = music.samples.size() - 2;
    EXPECT_LE(std::abs(music.samples[0] - music.samples[last]), largestStep / 2);
    EXPECT_LE(std::abs(music.samples[1] - music.samples[last + 1]), largestStep / 2);

    const DecodedSound countdown = decode(folder.path() / countdownFile);
    EXPECT_EQ(countdown.info.samplerate, 44100);
    EXPECT_EQ(countdown.info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    ASSERT_EQ(countdown.info.channels, 1);
    EXPECT_GE(static_cast<double>(countdown.info.frames) / countdown.info.samplerate, 4.5);
    // Silence before the first beep; each beep is over well before the next.
    for (const double second : {1.0, 2.0, 3.0, 4.0})
    {
        const double from = second == 1.0 ? 0.0 : second - 0.7;
        EXPECT_NEAR(onsetAfter(countdown, from), second, 0.02) << second;
    }
    EXPECT_GT(pitchAt(countdown, 4.0), pitchAt(countdown, 3.0) * 3 / 2);
}
} // namespace
