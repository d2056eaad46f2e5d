// The sample channels in the browser: sample buffers are memory of the
// program's own (audio/memory); each channel holds a WebAudio buffer made
// from a copy of its sample and plays it on the page's AudioContext
// (audio_web.js).
#include "audio/audio_seam.h"
#include "audio/memory/sample_buffer_memory.h"

extern "C" {
int tarvel_sound_open(void);
void tarvel_sound_close(void);
int tarvel_channel_load(int channel, const int16_t* samples, uint32_t frames);
int tarvel_channel_play(int channel);
void tarvel_channel_stop(int channel);
}

bool SoundDeviceCreate()
{
    return tarvel_sound_open() != 0;
}

// The page plays on one output; the window plays no part.
bool SoundDeviceSetCooperative()
{
    return true;
}

int SoundDeviceRelease()
{
    tarvel_sound_close();
    return 0;
}

// The channel gets a WebAudio buffer of its own, copied from the sample; a
// trailing part of a frame is not played.
bool ChannelDuplicate(int channel, SampleBuffer* buffer)
{
    return tarvel_channel_load(channel, reinterpret_cast<const int16_t*>(buffer->data),
                               buffer->length / SampleFrameBytes) != 0;
}

// Every play starts a fresh source at the buffer's start.
bool ChannelRewind(int)
{
    return true;
}

// The buffers have no pan, volume or frequency control; like the written
// device's, they refuse the settings and play at their own.
void ChannelSetControls(int, int, int, int) {}

bool ChannelPlay(int channel)
{
    return tarvel_channel_play(channel) != 0;
}

bool ChannelStop(int channel)
{
    tarvel_channel_stop(channel);
    return true;
}
