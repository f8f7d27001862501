#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

// A sound decoded whole: interleaved 16-bit samples of one or two channels.
struct DecodedSound
{
    int sampleRate = 0;
    int channels = 0;
    std::vector<std::int16_t> samples;
};

// Every sample of a file that libsndfile reads. No value when the file cannot
// be read, has more than two channels, holds no samples or is too long for one
// OpenAL buffer; the reason is logged as information, since a silent sound is
// not an error for the game.
std::optional<DecodedSound> decodeSoundFile(const std::filesystem::path& path);
