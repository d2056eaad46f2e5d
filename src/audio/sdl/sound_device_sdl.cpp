#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdlib>
#include <cstring>

#include "audio/audio_seam.h"
#include "audio/memory/sample_buffer_memory.h"
#include "audio/sdl/mixer_sdl.h"
#include "audio/sound.h"

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
