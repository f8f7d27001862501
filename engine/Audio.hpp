#pragma once

#include <AL/al.h>
#include <AL/alc.h>

#include <filesystem>

// The game's sound output: one OpenAL device with its context. Where no output
// device exists (a headless machine) the engine is silent, and so is every
// sound made on it; nothing about that is an error.
class AudioEngine
{
public:
    AudioEngine() = default;
    ~AudioEngine();
    AudioEngine(const AudioEngine&) = delete;
    AudioEngine& operator=(const AudioEngine&) = delete;

    // Opens the default output device; false when the engine stays silent.
    bool initialise();
    // Takes over a device that is already open, or null when opening it failed,
    // with the attributes its context needs (a loopback device's render format).
    bool initialise(ALCdevice* openedDevice, const ALCint* contextAttributes);
    // Sounds made on the engine are released first; later calls on them do nothing.
    void release();
    bool isSilent() const;

private:
    friend class Sound;

    ALCdevice* device = nullptr;
    ALCcontext* context = nullptr;
};

// A sound decoded whole from a file into one buffer, played by one source
// without distance or direction. A sound that did not load is silent, and
// every operation on it does nothing.
class Sound
{
public:
    Sound() = default;
    ~Sound();
    Sound(const Sound&) = delete;
    Sound& operator=(const Sound&) = delete;

    // False, and silent, when the engine is silent or the file cannot be decoded.
    bool load(const AudioEngine& engine, const std::filesystem::path& path);
    void setLooping(bool looping);
    // Linear gain, clamped to [0, 1]; a playing sound changes at once.
    void setVolume(float volume);
    // Plays from the start; a sound that is playing goes on undisturbed.
    void start();
    bool isPlaying() const;
    void release();

private:
    bool makeContextCurrent() const;

    ALCcontext* context = nullptr;
    ALuint buffer = 0;
    ALuint source = 0;
};
