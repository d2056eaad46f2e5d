// The capture's sound: nothing is heard. The music position is whatever the
// capture's schedule sets, and the sample channels keep their samples in
// memory and count their plays.
#include <cstdlib>
#include <cstring>

#include "app/capture/capture_platform.h"
#include "audio/audio_seam.h"
#include "audio/sound.h"

double CaptureMusicPosition = 0.0;
std::string CaptureMusicFile;
int CaptureChannelPlays[SoundChannelCount];

double PositionForClock(int32_t clock)
{
    const double half = clock < 0 ? -0.5 : 0.5;
    return (double(clock) + half) / 100.0;
}

void MusicInit() {}

void MusicPlay(const char* file)
{
    CaptureMusicFile = file;
    CaptureMusicPosition = 0.0;
}

void MusicStop() {}

double MusicPosition()
{
    return CaptureMusicPosition;
}

void MusicShutdown()
{
    CaptureMusicFile.clear();
}

struct SampleBuffer {
    uint8_t* bytes;
    uint32_t length;
};

// What each channel holds: a copy of its own, as a real device's duplicate.
static SampleBuffer ChannelCopies[SoundChannelCount];

bool SoundDeviceCreate()
{
    return true;
}

bool SoundDeviceSetCooperative()
{
    return true;
}

int SoundDeviceRelease()
{
    for (SampleBuffer& copy : ChannelCopies) {
        std::free(copy.bytes);
        copy = SampleBuffer{};
    }
    return 0;
}

SampleBuffer* SampleBufferCreate(uint32_t length)
{
    auto* buffer = static_cast<SampleBuffer*>(std::malloc(sizeof(SampleBuffer)));
    if (!buffer)
        return nullptr;
    *buffer = SampleBuffer{static_cast<uint8_t*>(std::calloc(length ? length : 1, 1)), length};
    if (!buffer->bytes) {
        std::free(buffer);
        return nullptr;
    }
    return buffer;
}

uint8_t* SampleBufferLock(SampleBuffer* buffer)
{
    return buffer->bytes;
}

bool SampleBufferUnlock(SampleBuffer*)
{
    return true;
}

void SampleBufferRelease(SampleBuffer* buffer)
{
    std::free(buffer->bytes);
    std::free(buffer);
}

bool ChannelDuplicate(int channel, SampleBuffer* buffer)
{
    SampleBuffer& copy = ChannelCopies[channel];
    std::free(copy.bytes);
    copy = SampleBuffer{static_cast<uint8_t*>(std::malloc(buffer->length ? buffer->length : 1)), buffer->length};
    if (!copy.bytes)
        return false;
    std::memcpy(copy.bytes, buffer->bytes, buffer->length);
    return true;
}

bool ChannelRewind(int)
{
    return true;
}

void ChannelSetControls(int, int, int, int) {}

bool ChannelPlay(int channel)
{
    CaptureChannelPlays[channel]++;
    return true;
}

bool ChannelStop(int)
{
    return true;
}
