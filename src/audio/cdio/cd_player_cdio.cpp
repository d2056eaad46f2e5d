#include "audio/cdio/cd_player_cdio.h"

#include <SDL_mixer.h>
#include <cdio/paranoia/cdda.h>
#include <cdio/paranoia/paranoia.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <optional>
#include <span>
#include <thread>

#include "audio/cdio/cd_drive_cdio.h"
#include "audio/cdio/cd_ring.h"
#include "audio/sdl/mixer_sdl.h"

constexpr int SectorFrames = CDIO_CD_FRAMESIZE_RAW / 4; // 588 stereo frames of 16 bits

// Nothing is heard until a quarter of a second is queued (or the reader has
// finished), so the start of a track does not stutter while the drive
// spins up.
constexpr uint32_t PrimeFrames = MixerRate / 4;

// The ring lies between the reader thread and the audio thread. All of
// this is static storage with nothing to destroy, and the reader thread is
// never destroyed at exit either: a fatal exit during playback leaves it
// running to the end of the process instead of ending it with an abort.
static std::mutex RingLock;
static CDRing Ring;
static bool Primed;
static std::atomic<bool> StopReading;
static std::thread* Reader;

// Runs on the audio thread for every mixed buffer.
static void MixCDAudio(int, void* stream, int length, void*)
{
    std::lock_guard<std::mutex> hold(RingLock);
    if (Primed)
        CDRingMixInto(Ring, std::span(static_cast<int16_t*>(stream), size_t(length) / 2));
}

// Queues one sector as soon as the ring has room for it; false when told
// to stop first.
static bool QueueSector(const int16_t* samples)
{
    while (!StopReading.load(std::memory_order_acquire)) {
        {
            std::lock_guard<std::mutex> hold(RingLock);
            if (CDRingRoom(Ring) >= uint32_t(SectorFrames)) {
                CDRingAppend(Ring, std::span(samples, 2 * SectorFrames));
                Primed = Primed || Ring.count >= PrimeFrames;
                return true;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

static void ReadSpan(cdrom_drive_t* cdda, CDSpan span)
{
    cdrom_paranoia_t* paranoia = cdio_paranoia_init(cdda);
    if (!paranoia)
        return;
    // Full checking, but a sector that stays unreadable is skipped rather
    // than retried for ever: the music goes on.
    cdio_paranoia_modeset(paranoia, PARANOIA_MODE_FULL ^ PARANOIA_MODE_NEVERSKIP);
    cdio_paranoia_seek(paranoia, span.begin, SEEK_SET);
    for (int32_t sector = span.begin; sector < span.end; sector++) {
        if (StopReading.load(std::memory_order_acquire))
            break;
        const int16_t* samples = cdio_paranoia_read(paranoia, nullptr);
        if (!samples || !QueueSector(samples))
            break;
    }
    cdio_paranoia_free(paranoia);
}

static void ReadFromPosition(CdIo_t* drive, uint32_t tmsf)
{
    CDToc toc;
    if (!CDReadToc(drive, &toc))
        return;
    const std::optional<CDSpan> span = CDPlaySpan(toc, tmsf);
    if (!span)
        return;
    char* messages = nullptr;
    cdrom_drive_t* cdda = cdio_cddap_identify_cdio(drive, CDDA_MESSAGE_FORGETIT, &messages);
    if (messages)
        cdio_cddap_free_messages(messages);
    if (!cdda)
        return;
    cdio_cddap_verbose_set(cdda, CDDA_MESSAGE_FORGETIT, CDDA_MESSAGE_FORGETIT);
    if (cdio_cddap_open(cdda) == 0) {
        // Disc audio is little-endian; paranoia turns it into the host's order.
        cdda->bigendianp = 0;
        ReadSpan(cdda, *span);
    }
    cdio_cddap_close_no_free_cdio(cdda);
}

// The reader thread: whatever was queued is heard once it ends.
static void ReadDisc(CdIo_t* drive, uint32_t tmsf)
{
    ReadFromPosition(drive, tmsf);
    std::lock_guard<std::mutex> hold(RingLock);
    Primed = true;
}

// True while the soundtrack or the sample channels hold the mixer open in
// the CD's own format, as they always open it.
static bool MixerOpenForCDAudio()
{
    int rate = 0, channels = 0;
    uint16_t format = 0;
    return Mix_QuerySpec(&rate, &format, &channels) != 0 && rate == MixerRate && format == AUDIO_S16SYS
        && channels == 2;
}

// Hooks the CD audio onto the open mixer as a post-mix effect, once however
// often it is called; false when there is no mixer to hook onto.
static bool HookIntoMixer()
{
    if (!MixerOpenForCDAudio())
        return false;
    // A mixer closed and opened again since the last play has dropped the
    // effect; one that stayed open still has it.
    Mix_UnregisterEffect(MIX_CHANNEL_POST, MixCDAudio);
    return Mix_RegisterEffect(MIX_CHANNEL_POST, MixCDAudio, nullptr, nullptr) != 0;
}

void CDPlayerStart(CdIo_t* drive, uint32_t tmsf)
{
    CDPlayerStop();
    if (!HookIntoMixer())
        return;
    StopReading.store(false, std::memory_order_release);
    try {
        Reader = new std::thread(ReadDisc, drive, tmsf);
    } catch (...) {
        Reader = nullptr; // no thread to be had: nothing plays
    }
}

void CDPlayerStop()
{
    if (Reader) {
        StopReading.store(true, std::memory_order_release);
        Reader->join();
        delete Reader;
        Reader = nullptr;
    }
    std::lock_guard<std::mutex> hold(RingLock);
    CDRingClear(Ring);
    Primed = false;
}

void CDPlayerClose()
{
    CDPlayerStop();
    if (MixerOpenForCDAudio())
        Mix_UnregisterEffect(MIX_CHANNEL_POST, MixCDAudio);
}
