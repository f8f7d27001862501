#include "tools/assets/AssetFiles.hpp"

#include "engine/FileIo.hpp"

#include <fmt/core.h>
#include <sndfile.h>
#include <stb_image_write.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

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

// The encoders hand their bytes over in pieces; stb closes its own files
// without looking at the result, so the bytes are gathered here and written
// through replaceFile, which does.
void appendBytes(void* context, void* data, int size)
{
    static_cast<std::string*>(context)->append(static_cast<const char*>(data), static_cast<std::size_t>(size));
}

// A sound file in memory for libsndfile, which seeks back to finish the header.
struct SoundBytes
{
    std::string bytes;
    sf_count_t position = 0;
};

sf_count_t soundLength(void* context)
{
    return sf_count_t(static_cast<SoundBytes*>(context)->bytes.size());
}

sf_count_t soundSeek(sf_count_t offset, int whence, void* context)
{
    SoundBytes& sound = *static_cast<SoundBytes*>(context);
    const sf_count_t base = whence == SEEK_CUR ? sound.position : whence == SEEK_END ? soundLength(context) : 0;
    if (base + offset < 0)
    {
        return -1;
    }
    sound.position = base + offset;
    return sound.position;
}

sf_count_t soundRead(void* data, sf_count_t count, void* context)
{
    SoundBytes& sound = *static_cast<SoundBytes*>(context);
    const sf_count_t read = std::min(count, soundLength(context) - sound.position);
    if (read <= 0)
    {
        return 0;
    }
    std::memcpy(data, sound.bytes.data() + sound.position, std::size_t(read));
    sound.position += read;
    return read;
}

sf_count_t soundWrite(const void* data, sf_count_t count, void* context)
{
    SoundBytes& sound = *static_cast<SoundBytes*>(context);
    const std::size_t end = std::size_t(sound.position + count);
    if (end > sound.bytes.size())
    {
        sound.bytes.resize(end);
    }
    std::memcpy(sound.bytes.data() + sound.position, data, std::size_t(count));
    sound.position += count;
    return count;
}

sf_count_t soundTell(void* context)
{
    return static_cast<SoundBytes*>(context)->position;
}

} // namespace

bool writePng(const std::filesystem::path& path, int width, int height, int channels,
              std::span<const std::uint8_t> pixels)
{
    if (std::size_t(width) * std::size_t(height) * std::size_t(channels) != pixels.size() || !makeParent(path))
    {
        return reportFailure(path);
    }
    std::string bytes;
    if (stbi_write_png_to_func(appendBytes, &bytes, width, height, channels, pixels.data(), width * channels) == 0 ||
        !replaceFile(path, bytes))
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
    std::string bytes;
    if (stbi_write_hdr_to_func(appendBytes, &bytes, width, height, 3, rgb.data()) == 0 || !replaceFile(path, bytes))
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
    SF_VIRTUAL_IO io{soundLength, soundSeek, soundRead, soundWrite, soundTell};
    SoundBytes sound;
    SNDFILE* file = sf_open_virtual(&io, SFM_WRITE, &info, &sound);
    if (file == nullptr)
    {
        return reportFailure(path);
    }
    const sf_count_t written = sf_write_short(file, samples.data(), sf_count_t(samples.size()));
    const bool closed = sf_close(file) == 0;
    if (written != sf_count_t(samples.size()) || !closed || !replaceFile(path, sound.bytes))
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
    if (!replaceFile(path, text))
    {
        return reportFailure(path);
    }
    return true;
}
