#include "engine/Audio.hpp"

#include "engine/AudioDecoding.hpp"
#include "engine/Log.hpp"

#include <AL/alext.h>
#include <fmt/core.h>

#include <algorithm>

namespace
{
// OpenAL keeps one current context per process; a sound may belong to another
// engine than the one used last, and to none once its engine is released
// (OpenAL then refuses the stale context instead of touching it).
bool makeCurrent(ALCcontext* context)
{
    return context != nullptr && (alcGetCurrentContext() == context || alcMakeContextCurrent(context) == ALC_TRUE);
}
}

AudioEngine::~AudioEngine()
{
    release();
}

bool AudioEngine::initialise()
{
    return initialise(alcOpenDevice(nullptr), nullptr);
}

bool AudioEngine::initialise(ALCdevice* openedDevice, const ALCint* contextAttributes)
{
    release();
    if (openedDevice == nullptr)
    {
        logInfo("No audio output device could be opened; the game plays without sound.");
        return false;
    }
    ALCcontext* createdContext = alcCreateContext(openedDevice, contextAttributes);
    if (createdContext == nullptr || alcMakeContextCurrent(createdContext) != ALC_TRUE)
    {
        if (createdContext != nullptr)
        {
            alcDestroyContext(createdContext);
        }
        alcCloseDevice(openedDevice);
        logInfo("The audio output device could not be set up; the game plays without sound.");
        return false;
    }
    device = openedDevice;
    context = createdContext;
    return true;
}

void AudioEngine::release()
{
    if (context != nullptr)
    {
        if (alcGetCurrentContext() == context)
        {
            alcMakeContextCurrent(nullptr);
        }
        alcDestroyContext(context);
        context = nullptr;
    }
    if (device != nullptr)
    {
        alcCloseDevice(device);
        device = nullptr;
    }
}

bool AudioEngine::isSilent() const
{
    return context == nullptr;
}

Sound::~Sound()
{
    release();
}

bool Sound::load(const AudioEngine& engine, const std::filesystem::path& path)
{
    release();
    // A silent engine said so once; its sounds need not decode anything.
    if (!makeCurrent(engine.context))
    {
        return false;
    }
    const std::optional<DecodedSound> decoded = decodeSoundFile(path);
    if (!decoded)
    {
        return false;
    }

    context = engine.context;
    alGetError();
    alGenBuffers(1, &buffer);
    alBufferData(buffer, decoded->channels == 1 ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16, decoded->samples.data(),
                 ALsizei(decoded->samples.size() * sizeof(std::int16_t)), ALsizei(decoded->sampleRate));
    alGenSources(1, &source);
    alSourcei(source, AL_BUFFER, ALint(buffer));
    // Music and effects come from nowhere in the world: a mono sound sits in
    // the middle, a stereo one plays its channels unchanged.
    alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
    alSource3f(source, AL_POSITION, 0.0f, 0.0f, 0.0f);
    if (alIsExtensionPresent("AL_SOFT_direct_channels"))
    {
        alSourcei(source, AL_DIRECT_CHANNELS_SOFT, AL_TRUE);
    }
    if (alGetError() != AL_NO_ERROR)
    {
        release();
        logInfo(fmt::format("Sound \"{}\" could not be handed to the audio device; it stays silent.", path.string()));
        return false;
    }
    return true;
}

void Sound::setLooping(bool looping)
{
    if (makeContextCurrent())
    {
        alSourcei(source, AL_LOOPING, looping ? AL_TRUE : AL_FALSE);
    }
}

void Sound::setVolume(float volume)
{
    if (makeContextCurrent())
    {
        alSourcef(source, AL_GAIN, std::clamp(volume, 0.0f, 1.0f));
    }
}

void Sound::start()
{
    if (makeContextCurrent() && !isPlaying())
    {
        alSourcePlay(source);
    }
}

bool Sound::isPlaying() const
{
    if (!makeContextCurrent())
    {
        return false;
    }
    ALint state = AL_STOPPED;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    return state == AL_PLAYING;
}

void Sound::release()
{
    if (makeContextCurrent())
    {
        if (source != 0)
        {
            alSourceStop(source);
            alDeleteSources(1, &source);
        }
        alDeleteBuffers(1, &buffer);
    }
    context = nullptr;
    buffer = 0;
    source = 0;
}

bool Sound::makeContextCurrent() const
{
    return makeCurrent(context);
}
