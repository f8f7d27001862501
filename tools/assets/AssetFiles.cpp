#include "tools/assets/AssetFiles.hpp"

#include <fmt/core.h>
#include <sndfile.h>
#include <stb_image_write.h>

#include <cstdio>
#include <fstream>

namespace
{

bool makeParent(const std::filesystem::path& path)
{
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    if (error)
    {
        fmt::print(stderr, "Cannot create the folder of {}: {}\n", path.string(), error.message());
        return false;
    }
    return true;
}

bool reportFailure(const std::filesystem::path& path)
{
    fmt::print(stderr, "Cannot write {}\n", path.string());
    return false;
}

} // namespace

bool writePng(const std::filesystem::path& path, int width, int height, int channels,
              std::span<const std::uint8_t> pixels)
{
    if (std::size_t(width) * std::size_t(height) * std::size_t(channels) != pixels.size() || !makeParent(path))
    {
        return reportFailure(path);
    }
    if (stbi_write_png(path.c_str(), width, height, channels, pixels.data(), width * channels) == 0)
    {
        return reportFailure(path);
    }
    return true;
}

bool writeHdr(const std::filesystem::path& path, int width, int height, std::span<const float> rgb)
{
    if (std::size_t(width) * std::size_t(height) * 3 != rgb.size() || !makeParent(path))
    {
        return reportFailure(path);
    }
    if (stbi_write_hdr(path.c_str(), width, height, 3, rgb.data()) == 0)
    {
        return reportFailure(path);
    }
    return true;
}

bool writeWav(const std::filesystem::path& path, int sampleRate, int channels, std::span<const std::int16_t> samples)
{
    if (channels < 1 || samples.size() % std::size_t(channels) != 0 || !makeParent(path))
    {
        return reportFailure(path);
    }
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr)
    {
        return reportFailure(path);
    }
    const sf_count_t written = sf_write_short(file, samples.data(), sf_count_t(samples.size()));
    const bool closed = sf_close(file) == 0;
    if (written != sf_count_t(samples.size()) || !closed)
    {
        return reportFailure(path);
    }
    return true;
}

bool writeText(const std::filesystem::path& path, std::string_view text)
{
    if (!makeParent(path))
    {
        return reportFailure(path);
    }
    std::ofstream stream(path, std::ios::binary | std::ios::trunc);
    stream.write(text.data(), std::streamsize(text.size()));
    if (!stream)
    {
        return reportFailure(path);
    }
    return true;
}
