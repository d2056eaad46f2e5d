#include "audio/sound.h"

#include <cstdlib>
#include <cstring>

#include "audio/audio_seam.h"
#include "core/fatal.h"
#include "core/files.h"

SoundState Sound;

// A sample number indexes the table directly; one outside it is a fault of
// the caller, caught here before it reaches memory beyond the table.
static SampleBuffer*& SampleEntry(int sample, const char* caption)
{
    if (sample < 0 || sample >= SampleTableSize)
        FatalError(caption, "");
    return Sound.Samples[sample];
}

void InitSound()
{
    Sound.LastChannel = 0;
    if (!SoundDeviceCreate())
        FatalError("Error en inicio Direct Sound", "");
    Sound.DeviceOpen = true;
    if (!SoundDeviceSetCooperative())
        FatalError("Error poniendo modo coperativo", "");
    std::memset(Sound.Samples, 0, sizeof Sound.Samples);
    std::memset(Sound.ChannelPlayed, 0, sizeof Sound.ChannelPlayed);
}

long filesize(std::FILE* stream)
{
    const long position = std::ftell(stream);
    std::fseek(stream, 0, SEEK_END);
    const long length = std::ftell(stream);
    std::fseek(stream, position, SEEK_SET);
    return length;
}

static SampleBuffer* newsoundbuffer(long length)
{
    // The device's buffers hold at most 4 GiB; an unreadable length (-1) or a
    // longer file gets no buffer, like an empty one.
    SampleBuffer* buffer = nullptr;
    if (length >= 0 && uint64_t(length) <= UINT32_MAX)
        buffer = SampleBufferCreate(uint32_t(length));
    if (!buffer)
        FatalError("Error Creando buffer de sonido.", "");
    return buffer;
}

void loadsound(const char* file, int sample, int flip)
{
    SampleBuffer*& entry = SampleEntry(sample, "numero de sonido fuera de rango en loadsound");
    std::FILE* stream = OpenDataFile(file, "rb");
    if (!stream)
        FatalError("Error al abrir sonido.", "");
    const long length = filesize(stream);
    // A sample loaded again replaces the earlier one; channels playing it
    // hold copies of their own and play on.
    if (entry)
        SampleBufferRelease(entry);
    entry = newsoundbuffer(length);
    uint8_t* target = SampleBufferLock(entry);
    if (!target)
        FatalError("Error haciendo lock en loadsound", "");
    // Zeroed, so a short read leaves silence rather than stray memory.
    uint8_t* block = static_cast<uint8_t*>(std::calloc(size_t(length ? length : 1), 1));
    if (!block)
        FatalError("no hay memoria en loadsound", "");
    if (std::fread(block, size_t(length), 1, stream) != 1) {
        // Not examined: whatever was read stays, the rest is silence.
    }
    if (flip == 1)
        for (long i = 0; i < length; i++)
            block[i] = uint8_t(block[i] + 0x80);
    std::memcpy(target, block, size_t(length));
    std::free(block);
    if (!SampleBufferUnlock(entry))
        FatalError("Error en Unlock en loadsound", "");
    std::fclose(stream);
}

void playsound(int sample, int pan, int volume, int frequency, int channel)
{
    if (channel == -1) {
        Sound.LastChannel++;
        if (Sound.LastChannel >= uint32_t(SoundChannelCount))
            Sound.LastChannel = 0;
        channel = int(Sound.LastChannel);
    } else if (channel < 0 || channel >= SoundChannelCount) {
        FatalError("fuera de rango en playsound", "");
    }
    SampleBuffer* source = SampleEntry(sample, "numero de sonido fuera de rango en playsound");
    // An empty entry has nothing to copy: the duplication fails.
    if (!source || !ChannelDuplicate(channel, source))
        FatalError("Error al duplicar el sonido", "");
    Sound.ChannelPlayed[channel] = true;
    if (!ChannelRewind(channel))
        FatalError("Error al posicionar en el sonido", "");
    ChannelSetControls(channel, pan, volume, frequency);
    if (!ChannelPlay(channel))
        FatalError("Error al hacer play", "");
}

void stopchannel(int channel)
{
    if (channel < 0 || channel >= SoundChannelCount || !Sound.ChannelPlayed[channel])
        return;
    if (!ChannelStop(channel))
        FatalError("Error al hacer stop de canales", "");
}

void freesound(int sample)
{
    SampleBuffer*& entry = SampleEntry(sample, "numero de sonido fuera de rango en freesound");
    if (entry)
        SampleBufferRelease(entry);
    entry = nullptr;
}

// Everything made on the device goes with it, as the written platform's
// device does on its own release: the samples here, the channels' copies in
// the platform's release of the device. Stopping a channel then does nothing.
void EndSound()
{
    if (!Sound.DeviceOpen)
        return;
    Sound.DeviceOpen = false;
    for (SampleBuffer*& entry : Sound.Samples) {
        if (entry)
            SampleBufferRelease(entry);
        entry = nullptr;
    }
    std::memset(Sound.ChannelPlayed, 0, sizeof Sound.ChannelPlayed);
    if (SoundDeviceRelease() != 0)
        FatalError("Error en EndSound", "");
}

void ResetSound()
{
    for (int sample = 0; sample < SampleTableSize; sample++)
        freesound(sample);
    Sound = SoundState{};
}
