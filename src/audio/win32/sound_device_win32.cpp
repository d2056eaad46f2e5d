#include <windows.h>
#include <mmsystem.h>
#include <dsound.h>

#include <cstdlib>

#include "app/win32/app_win32.h"
#include "audio/audio_seam.h"
#include "audio/sound.h"
#include "core/debug_log.h"

// A sample: its DirectSound buffer and, while it is locked, the two regions
// that the lock gave.
struct SampleBuffer {
    IDirectSoundBuffer* buffer;
    uint32_t length;
    void* region1;
    DWORD size1;
    void* region2;
    DWORD size2;
};

static IDirectSound* SoundDevice;

// The duplicate that each channel played last.
static IDirectSoundBuffer* ChannelBuffers[SoundChannelCount];

bool SoundDeviceCreate()
{
    const HRESULT result = DirectSoundCreate(nullptr, &SoundDevice, nullptr);
    DebugLog("DirectSoundCreate %08lx", static_cast<unsigned long>(result));
    return result == DS_OK;
}

// Exclusive level (3) for the program's window.
bool SoundDeviceSetCooperative()
{
    const HRESULT result = SoundDevice->SetCooperativeLevel(AppWindow, DSSCL_EXCLUSIVE);
    DebugLog("IDirectSound SetCooperativeLevel %08lx", static_cast<unsigned long>(result));
    return result == DS_OK;
}

// The channel duplicates are the layer's own and go first; what remains
// counted on the device after its release is returned.
int SoundDeviceRelease()
{
    for (IDirectSoundBuffer*& channel : ChannelBuffers) {
        if (channel)
            channel->Release();
        channel = nullptr;
    }
    const ULONG remaining = SoundDevice ? SoundDevice->Release() : 0;
    SoundDevice = nullptr;
    DebugLog("Release IDirectSound %lu", static_cast<unsigned long>(remaining));
    return int(remaining);
}

// Every sample has the one format, whatever its file holds: 16-bit stereo
// PCM at 44100 Hz, in a static buffer without pan, volume or frequency
// control.
SampleBuffer* SampleBufferCreate(uint32_t length)
{
    PCMWAVEFORMAT format{};
    format.wf.wFormatTag = WAVE_FORMAT_PCM;
    format.wf.nChannels = 2;
    format.wf.nSamplesPerSec = 44100;
    format.wf.nBlockAlign = 4;
    format.wf.nAvgBytesPerSec = format.wf.nSamplesPerSec * format.wf.nBlockAlign;
    format.wBitsPerSample = 16;

    DSBUFFERDESC description{};
    description.dwSize = sizeof description;
    description.dwFlags = DSBCAPS_STATIC | DSBCAPS_GETCURRENTPOSITION2;
    description.dwBufferBytes = length;
    description.dwReserved = 0;
    description.lpwfxFormat = reinterpret_cast<WAVEFORMATEX*>(&format);

    IDirectSoundBuffer* created = nullptr;
    if (SoundDevice->CreateSoundBuffer(&description, &created, nullptr) != DS_OK || !created)
        return nullptr;
    auto* sample = static_cast<SampleBuffer*>(std::calloc(1, sizeof(SampleBuffer)));
    if (!sample) {
        created->Release();
        return nullptr;
    }
    sample->buffer = created;
    sample->length = length;
    return sample;
}

// The whole buffer from offset 0: the first region is all of it. A lock that
// gives less has nowhere to put the whole sample and counts as failed.
uint8_t* SampleBufferLock(SampleBuffer* sample)
{
    if (sample->buffer->Lock(0, sample->length, &sample->region1, &sample->size1, &sample->region2, &sample->size2, 0)
        != DS_OK)
        return nullptr;
    if (!sample->region1 || sample->size1 < sample->length) {
        sample->buffer->Unlock(sample->region1, sample->size1, sample->region2, sample->size2);
        return nullptr;
    }
    return static_cast<uint8_t*>(sample->region1);
}

bool SampleBufferUnlock(SampleBuffer* sample)
{
    return sample->buffer->Unlock(sample->region1, sample->size1, sample->region2, sample->size2) == DS_OK;
}

void SampleBufferRelease(SampleBuffer* sample)
{
    sample->buffer->Release();
    std::free(sample);
}

// The channel's earlier duplicate is released (which silences it) before
// the new one takes its place.
bool ChannelDuplicate(int channel, SampleBuffer* sample)
{
    IDirectSoundBuffer*& entry = ChannelBuffers[channel];
    if (entry)
        entry->Release();
    entry = nullptr;
    return SoundDevice->DuplicateSoundBuffer(sample->buffer, &entry) == DS_OK && entry;
}

bool ChannelRewind(int channel)
{
    return ChannelBuffers[channel]->SetCurrentPosition(0) == DS_OK;
}

// The buffers have no pan, volume or frequency control: the device refuses
// the settings and the sound plays at the buffer's own.
void ChannelSetControls(int channel, int pan, int volume, int frequency)
{
    IDirectSoundBuffer* buffer = ChannelBuffers[channel];
    buffer->SetPan(pan);
    buffer->SetVolume(volume);
    buffer->SetFrequency(DWORD(frequency));
}

bool ChannelPlay(int channel)
{
    return ChannelBuffers[channel]->Play(0, 0, 0) == DS_OK;
}

bool ChannelStop(int channel)
{
    return ChannelBuffers[channel] && ChannelBuffers[channel]->Stop() == DS_OK;
}
