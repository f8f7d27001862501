#include "engine/AudioDecoding.hpp"

#include "engine/Log.hpp"

#include <fmt/core.h>
#include <sndfile.h>

#include <climits>
#include <memory>

namespace
{
struct SoundFileCloser
{
    void operator()(SNDFILE* file) const { sf_close(file); }
};

// One OpenAL buffer takes at most this many bytes.
constexpr std::size_t largestSampleCount = std::size_t(INT_MAX) / sizeof(std::int16_t);

std::nullopt_t refuse(const std::filesystem::path& path, const char* reason)
{
    logInfo(fmt::format("Sound \"{}\" could not be loaded: {}; it stays silent.", path.string(), reason));
    return std::nullopt;
}
}

std::optional<DecodedSound> decodeSoundFile(const std::filesystem::path& path)
{
    SF_INFO info{};
    const std::unique_ptr<SNDFILE, SoundFileCloser> file(sf_open(path.c_str(), SFM_READ, &info));
    if (!file)
    {
        return refuse(path, "it cannot be opened as a sound file");
    }
    if (info.channels < 1 || info.channels > 2)
    {
        return refuse(path, "it is neither mono nor stereo");
    }
    // Without these, floating-point files read as 16-bit come out as nearly
    // silent integers, and values beyond full scale wrap round.
    sf_command(file.get(), SFC_SET_SCALE_FLOAT_INT_READ, nullptr, SF_TRUE);
    sf_command(file.get(), SFC_SET_CLIPPING, nullptr, SF_TRUE);

    // Read until the data ends rather than trusting the frame count of the
    // header, which a broken file can overstate.
    DecodedSound sound{info.samplerate, info.channels, {}};
    constexpr sf_count_t chunkFrames = 4096;
    const std::size_t chunkSamples = std::size_t(chunkFrames) * std::size_t(info.channels);
    for (;;)
    {
        const std::size_t used = sound.samples.size();
        if (used + chunkSamples > largestSampleCount)
        {
            return refuse(path, "it is too long");
        }
        sound.samples.resize(used + chunkSamples);
        const sf_count_t frames = sf_readf_short(file.get(), sound.samples.data() + used, chunkFrames);
        sound.samples.resize(used + std::size_t(frames > 0 ? frames : 0) * std::size_t(info.channels));
        if (frames < chunkFrames)
        {
            break;
        }
    }
    if (sound.samples.empty())
    {
        return refuse(path, "it holds no samples");
    }
    return sound;
}
