#include "engine/Audio.hpp"
#include "engine/FileIo.hpp"
#include "engine/Log.hpp"
#include "support/ErrorFlagTest.hpp"
#include "support/StdoutCapture.hpp"
#include "support/TemporaryFolder.hpp"

#include <AL/alext.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>
#include <vector>

// The sounds are heard through OpenAL Soft's loopback device: the mixer renders
// into memory exactly what an output device would play.
namespace
{
using namespace std::string_literals;

constexpr int sampleRate = 22050;

// Interleaved stereo 16-bit: a 441 Hz sine on the left, a sawtooth ramp on the
// right, so that a swapped or mixed channel shows.
std::vector<std::int16_t> sineAndRamp(int frames)
{
    std::vector<std::int16_t> samples;
    for (int i = 0; i < frames; ++i)
    {
        samples.push_back(std::int16_t(std::lround(16000.0 * std::sin(2.0 * std::numbers::pi * 441.0 * i / sampleRate))));
        samples.push_back(std::int16_t((i % 100 - 50) * 300));
    }
    return samples;
}

std::vector<float> monoSine(int frames)
{
    std::vector<float> samples;
    for (int i = 0; i < frames; ++i)
    {
        samples.push_back(float(0.6 * std::sin(2.0 * std::numbers::pi * 300.0 * i / sampleRate)));
    }
    return samples;
}

std::vector<float> asFloats(const std::vector<std::int16_t>& samples)
{
    std::vector<float> result;
    for (std::int16_t sample : samples)
    {
        result.push_back(float(sample) / 32768.0f);
    }
    return result;
}

bool writeWav(const std::string& path, int channels, int format, const void* samples, sf_count_t frames)
{
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = channels;
    info.format = SF_FORMAT_WAV | format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr)
    {
        return false;
    }
    const sf_count_t written = format == SF_FORMAT_FLOAT
                                   ? sf_writef_float(file, static_cast<const float*>(samples), frames)
                                   : sf_writef_short(file, static_cast<const std::int16_t*>(samples), frames);
    return sf_close(file) == 0 && written == frames;
}

bool writeStereoPcm16(const std::string& path, const std::vector<std::int16_t>& samples)
{
    return writeWav(path, 2, SF_FORMAT_PCM_16, samples.data(), sf_count_t(samples.size() / 2));
}

float largestDifference(const std::vector<float>& rendered, const std::vector<float>& expected, std::size_t first = 0)
{
    float largest = 0.0f;
    for (std::size_t i = 0; i < rendered.size(); ++i)
    {
        largest = std::max(largest, std::fabs(rendered[i] - expected.at(first + i)));
    }
    return largest;
}

float loudest(const std::vector<float>& rendered)
{
    float largest = 0.0f;
    for (float sample : rendered)
    {
        largest = std::max(largest, std::fabs(sample));
    }
    return largest;
}

class LoopbackAudioTest : public ErrorFlagTest
{
protected:
    void SetUp() override
    {
        ErrorFlagTest::SetUp();
        const auto openLoopback =
            reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
        const auto isFormatSupported = reinterpret_cast<LPALCISRENDERFORMATSUPPORTEDSOFT>(
            alcGetProcAddress(nullptr, "alcIsRenderFormatSupportedSOFT"));
        renderSamples = reinterpret_cast<LPALCRENDERSAMPLESSOFT>(alcGetProcAddress(nullptr, "alcRenderSamplesSOFT"));
        ASSERT_TRUE(openLoopback && isFormatSupported && renderSamples);
        ALCdevice* loopback = openLoopback(nullptr);
        ASSERT_NE(loopback, nullptr);
        ASSERT_TRUE(isFormatSupported(loopback, sampleRate, ALC_STEREO_SOFT, ALC_FLOAT_SOFT));
        // At the files' own rate nothing is resampled; a machine's OpenAL
        // configuration must not add head-related filtering or a limiter.
        const ALCint attributes[] = {ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT, ALC_FORMAT_TYPE_SOFT, ALC_FLOAT_SOFT,
                                     ALC_FREQUENCY, sampleRate, ALC_HRTF_SOFT, ALC_FALSE, ALC_OUTPUT_LIMITER_SOFT,
                                     ALC_FALSE, 0};
        ASSERT_TRUE(engine.initialise(loopback, attributes));
        device = loopback;
    }

    void TearDown() override
    {
        engine.release();
        ErrorFlagTest::TearDown();
    }

    // Interleaved left and right samples of the next frames.
    std::vector<float> render(int frames)
    {
        std::vector<float> samples(std::size_t(frames) * 2, 1.0f);
        renderSamples(device, samples.data(), frames);
        return samples;
    }

    TemporaryFolder folder;
    AudioEngine engine;
    ALCdevice* device = nullptr;
    LPALCRENDERSAMPLESSOFT renderSamples = nullptr;
};

TEST_F(LoopbackAudioTest, StereoFilePlaysItsOwnSamplesOnlyAfterStart)
{
    const std::vector<std::int16_t> source = sineAndRamp(sampleRate / 2);
    ASSERT_TRUE(writeStereoPcm16("stereo.wav", source));
    Sound sound;
    ASSERT_TRUE(sound.load(engine, "stereo.wav"));

    EXPECT_FALSE(sound.isPlaying());
    EXPECT_EQ(loudest(render(512)), 0.0f);

    sound.start();
    EXPECT_TRUE(sound.isPlaying());
    const std::vector<float> expected = asFloats(source);
    EXPECT_LT(largestDifference(render(2048), expected), 1e-4f);
    // A second start does not go back to the beginning.
    sound.start();
    EXPECT_LT(largestDifference(render(1024), expected, 2 * 2048), 1e-4f);
    EXPECT_FALSE(hasErrors());
}

TEST_F(LoopbackAudioTest, MonoFloatFileSoundsInTheMiddleAtFullScale)
{
    const std::vector<float> source = monoSine(4096);
    ASSERT_TRUE(writeWav("mono.wav", 1, SF_FORMAT_FLOAT, source.data(), sf_count_t(source.size())));
    Sound sound;
    ASSERT_TRUE(sound.load(engine, "mono.wav"));
    sound.start();
    const std::vector<float> rendered = render(2048);

    // Panned to the middle, both speakers get the same share of the sound; a
    // floating-point file read as bare integers would come out near silent.
    const auto peak = std::max_element(source.begin(), source.begin() + 2048);
    const float panGain = rendered[2 * std::size_t(peak - source.begin())] / *peak;
    EXPECT_GT(panGain, 0.5f);
    EXPECT_LE(panGain, 1.0f);
    std::vector<float> expected;
    for (float sample : source)
    {
        expected.insert(expected.end(), 2, panGain * sample);
    }
    EXPECT_LT(largestDifference(rendered, expected), 2e-4f);
}

TEST_F(LoopbackAudioTest, VolumeScalesTheAmplitudeAlsoWhilePlaying)
{
    const std::vector<std::int16_t> source = sineAndRamp(sampleRate);
    ASSERT_TRUE(writeStereoPcm16("stereo.wav", source));
    const std::vector<float> full = asFloats(source);
    std::vector<float> half;
    for (float sample : full)
    {
        half.push_back(0.5f * sample);
    }
    Sound sound;
    ASSERT_TRUE(sound.load(engine, "stereo.wav"));

    sound.setVolume(0.5f);
    sound.start();
    EXPECT_LT(largestDifference(render(2048), half), 1e-4f);

    // A change on a playing sound may glide over a few samples, then holds.
    sound.setVolume(3.0f);
    render(1024);
    EXPECT_LT(largestDifference(render(1024), full, 2 * 3072), 1e-4f);
    sound.setVolume(-1.0f);
    render(1024);
    EXPECT_EQ(loudest(render(1024)), 0.0f);
    EXPECT_TRUE(sound.isPlaying());
}

TEST_F(LoopbackAudioTest, LoopingGoesOnPastTheEndWhereAPlainSoundStops)
{
    constexpr int length = 1000;
    const std::vector<std::int16_t> source = sineAndRamp(length);
    ASSERT_TRUE(writeStereoPcm16("short.wav", source));
    const std::vector<float> once = asFloats(source);
    std::vector<float> thrice;
    for (int repeat = 0; repeat < 3; ++repeat)
    {
        thrice.insert(thrice.end(), once.begin(), once.end());
    }

    Sound plain;
    ASSERT_TRUE(plain.load(engine, "short.wav"));
    plain.start();
    const std::vector<float> first = render(length);
    EXPECT_LT(largestDifference(first, once), 1e-4f);
    EXPECT_EQ(loudest(render(2 * length)), 0.0f);
    EXPECT_FALSE(plain.isPlaying());

    Sound looping;
    ASSERT_TRUE(looping.load(engine, "short.wav"));
    looping.setLooping(true);
    looping.start();
    EXPECT_LT(largestDifference(render(3 * length), thrice), 1e-4f);
    EXPECT_TRUE(looping.isPlaying());

    // A plain sound that has ended starts again from its beginning.
    plain.start();
    looping.release();
    EXPECT_LT(largestDifference(render(length), once), 1e-4f);
}

TEST_F(LoopbackAudioTest, ReleaseLeavesNothingPlayingAndIsSafeInAnyOrder)
{
    ASSERT_TRUE(writeStereoPcm16("stereo.wav", sineAndRamp(sampleRate)));
    Sound sound;
    ASSERT_TRUE(sound.load(engine, "stereo.wav"));
    sound.setLooping(true);
    sound.start();
    EXPECT_GT(loudest(render(256)), 0.1f);

    sound.release();
    EXPECT_FALSE(sound.isPlaying());
    EXPECT_EQ(loudest(render(256)), 0.0f);
    sound.release();
    sound.start();
    sound.setVolume(1.0f);
    EXPECT_FALSE(sound.isPlaying());
    EXPECT_EQ(loudest(render(256)), 0.0f);

    // A sound whose engine went first is left with nothing to touch.
    Sound orphan;
    ASSERT_TRUE(orphan.load(engine, "stereo.wav"));
    orphan.start();
    engine.release();
    engine.release();
    EXPECT_TRUE(engine.isSilent());
    EXPECT_FALSE(orphan.isPlaying());
    orphan.start();
    orphan.release();
    EXPECT_FALSE(hasErrors());
}

TEST_F(LoopbackAudioTest, UnreadableFilesGiveSilentSoundsAndNoError)
{
    ASSERT_TRUE(writeFile("broken.wav", "RIFF\x24\x00\x00\x00WAVEfmt nonsense"s, false));
    const std::vector<std::int16_t> triple(3 * 100, 1000);
    ASSERT_TRUE(writeWav("three.wav", 3, SF_FORMAT_PCM_16, triple.data(), 100));
    ASSERT_TRUE(writeWav("empty.wav", 1, SF_FORMAT_PCM_16, triple.data(), 0));

    StdoutCapture capture;
    for (const char* name : {"missing.wav", "broken.wav", "three.wav", "empty.wav"})
    {
        Sound sound;
        EXPECT_FALSE(sound.load(engine, name)) << name;
        sound.setLooping(true);
        sound.setVolume(1.0f);
        sound.start();
        EXPECT_FALSE(sound.isPlaying()) << name;
        EXPECT_EQ(loudest(render(256)), 0.0f) << name;
    }
    const std::vector<std::string> messages = capture.messages();
    ASSERT_EQ(messages.size(), 4u);
    EXPECT_EQ(messages[0],
              "Info:  Sound \"missing.wav\" could not be loaded: it cannot be opened as a sound file; it stays silent.");
    EXPECT_EQ(messages[2], "Info:  Sound \"three.wav\" could not be loaded: it is neither mono nor stereo; it stays silent.");
    EXPECT_EQ(messages[3], "Info:  Sound \"empty.wav\" could not be loaded: it holds no samples; it stays silent.");
    EXPECT_FALSE(hasErrors());
}

using SilentAudioTest = ErrorFlagTest;

TEST_F(SilentAudioTest, AnEngineWithoutADeviceSaysSoOnceAndEveryCallIsHarmless)
{
    TemporaryFolder folder;
    ASSERT_TRUE(writeStereoPcm16("stereo.wav", sineAndRamp(1000)));
    StdoutCapture capture;
    AudioEngine engine;
    EXPECT_FALSE(engine.initialise(alcOpenDevice("Kelvane test: no such device"), nullptr));
    EXPECT_TRUE(engine.isSilent());

    Sound music;
    EXPECT_FALSE(music.load(engine, "stereo.wav"));
    music.setLooping(true);
    music.setVolume(0.5f);
    music.start();
    EXPECT_FALSE(music.isPlaying());
    music.release();
    music.release();
    engine.release();
    engine.release();

    const std::vector<std::string> messages = capture.messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Info:  No audio output device could be opened; the game plays without sound.");
    EXPECT_FALSE(hasErrors());
}
}
