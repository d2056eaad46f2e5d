#include "audio/sound_fakes.h"

#include "audio/sound.h"
#include "audio/sound_device.h"

FakeSoundDevice FakeSound;

bool SoundDeviceCreate()
{
    return !FakeSound.createFails;
}

bool SoundDeviceSetCooperative(void*)
{
    return !FakeSound.cooperativeFails;
}

int SoundDeviceRelease()
{
    FakeSound.releasedDevices++;
    return FakeSound.referencesLeft;
}

SampleBuffer* SampleBufferCreate(uint32_t length)
{
    if (length == 0)
        return nullptr;
    return new SampleBuffer{std::vector<uint8_t>(length, 0xEE)};
}

uint8_t* SampleBufferLock(SampleBuffer* buffer)
{
    return FakeSound.lockFails ? nullptr : buffer->bytes.data();
}

bool SampleBufferUnlock(SampleBuffer*)
{
    return !FakeSound.unlockFails;
}

void SampleBufferRelease(SampleBuffer* buffer)
{
    FakeSound.releasedBuffers++;
    delete buffer;
}

bool ChannelDuplicate(int channel, SampleBuffer* buffer)
{
    FakeSound.duplicates.push_back({channel, buffer});
    return true;
}

bool ChannelRewind(int)
{
    return true;
}

void ChannelSetControls(int, int, int, int) {}

bool ChannelPlay(int channel)
{
    FakeSound.plays.push_back(channel);
    return !FakeSound.playFails;
}

bool ChannelStop(int channel)
{
    FakeSound.stops.push_back(channel);
    return true;
}
