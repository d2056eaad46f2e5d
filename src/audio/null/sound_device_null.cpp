#include "audio/sound_device.h"

// No sound device: opening it fails, so nothing else is ever reached.
struct SampleBuffer {};

bool SoundDeviceCreate()
{
    return false;
}

bool SoundDeviceSetCooperative(void*)
{
    return false;
}

int SoundDeviceRelease()
{
    return 0;
}

SampleBuffer* SampleBufferCreate(uint32_t)
{
    return nullptr;
}

uint8_t* SampleBufferLock(SampleBuffer*)
{
    return nullptr;
}

bool SampleBufferUnlock(SampleBuffer*)
{
    return false;
}

void SampleBufferRelease(SampleBuffer*) {}

bool ChannelDuplicate(int, SampleBuffer*)
{
    return false;
}

bool ChannelRewind(int)
{
    return false;
}

void ChannelSetControls(int, int, int, int) {}

bool ChannelPlay(int)
{
    return false;
}

bool ChannelStop(int)
{
    return false;
}
