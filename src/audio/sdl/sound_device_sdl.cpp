#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdlib>
#include <cstring>

#include "audio/audio_seam.h"
#include "audio/sdl/mixer_sdl.h"
#include "audio/sound.h"

// A sample's bytes, in the mixer's own format (16-bit stereo at 44100 Hz).
struct SampleBuffer {
    uint8_t* data;
    uint32_t length;
};

// What one channel plays: a copy of a sample of its own, so releasing or
// reloading the sample does not cut a sound that is playing.
struct ChannelVoice {
    Mix_Chunk* chunk;
    uint8_t* data;
};
static ChannelVoice ChannelVoices[SoundChannelCount];

static void ReleaseVoice(int channel)
{
    ChannelVoice& voice = ChannelVoices[channel];
    if (voice.chunk) {
        Mix_HaltChannel(channel);
        Mix_FreeChunk(voice.chunk); // frees the record only: the data is ours
    }
    std::free(voice.data);
    voice = ChannelVoice{};
}

bool SoundDeviceCreate()
{
    return MixerOpen();
}

// One voice per channel; the window plays no part on this platform.
bool SoundDeviceSetCooperative()
{
    return Mix_AllocateChannels(SoundChannelCount) == SoundChannelCount;
}

int SoundDeviceRelease()
{
    for (int channel = 0; channel < SoundChannelCount; channel++)
        ReleaseVoice(channel);
    return MixerClose();
}

// Like the written device, a buffer must hold at least one sample frame.
SampleBuffer* SampleBufferCreate(uint32_t length)
{
    if (length < uint32_t(MixerBytesPerFrame))
        return nullptr;
    auto* buffer = static_cast<SampleBuffer*>(std::malloc(sizeof(SampleBuffer)));
    if (!buffer)
        return nullptr;
    buffer->data = static_cast<uint8_t*>(std::calloc(length, 1));
    buffer->length = length;
    if (!buffer->data) {
        std::free(buffer);
        return nullptr;
    }
    return buffer;
}

uint8_t* SampleBufferLock(SampleBuffer* buffer)
{
    return buffer->data;
}

bool SampleBufferUnlock(SampleBuffer*)
{
    return true;
}

void SampleBufferRelease(SampleBuffer* buffer)
{
    std::free(buffer->data);
    std::free(buffer);
}

bool ChannelDuplicate(int channel, SampleBuffer* buffer)
{
    ReleaseVoice(channel);
    ChannelVoice& voice = ChannelVoices[channel];
    voice.data = static_cast<uint8_t*>(std::malloc(buffer->length));
    if (!voice.data)
        return false;
    std::memcpy(voice.data, buffer->data, buffer->length);
    // A trailing part of a frame is not played.
    const uint32_t playable = buffer->length - buffer->length % MixerBytesPerFrame;
    voice.chunk = Mix_QuickLoad_RAW(voice.data, playable);
    return voice.chunk != nullptr;
}

// A fresh copy starts at its beginning.
bool ChannelRewind(int)
{
    return true;
}

// The buffers have no pan, volume or frequency control; like the written
// device's, they refuse the settings and play at their own.
void ChannelSetControls(int, int, int, int) {}

bool ChannelPlay(int channel)
{
    return Mix_PlayChannel(channel, ChannelVoices[channel].chunk, 0) == channel;
}

bool ChannelStop(int channel)
{
    Mix_HaltChannel(channel);
    return true;
}
