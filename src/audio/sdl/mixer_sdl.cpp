#include "audio/sdl/mixer_sdl.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <atomic>
#include <mutex>

constexpr int MixerBufferFrames = 1024;

static std::mutex ProgressLock;
static MixerProgress Progress;
static std::atomic<bool> Counting;

// Runs on the audio thread after each buffer is mixed, music first. A
// buffer counts when the music still plays at its end; the one in which the
// music ends is left out, so the count stops at most a buffer short of it.
static void CountMusicFrames(void*, uint8_t*, int length)
{
    if (!Counting.load(std::memory_order_acquire) || !Mix_PlayingMusic())
        return;
    const uint64_t now = SDL_GetPerformanceCounter();
    std::lock_guard<std::mutex> hold(ProgressLock);
    Progress.framesBefore += Progress.lastFrames;
    Progress.lastFrames = uint32_t(length / MixerBytesPerFrame);
    Progress.lastTime = now;
}

bool MixerOpen()
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    Mix_Init(MIX_INIT_MP3);
    if (Mix_OpenAudioDevice(MixerRate, AUDIO_S16SYS, 2, MixerBufferFrames, nullptr, 0) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    Mix_SetPostMix(CountMusicFrames, nullptr);
    return true;
}

int MixerClose()
{
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    int frequency = 0, channels = 0;
    uint16_t format = 0;
    return Mix_QuerySpec(&frequency, &format, &channels);
}

void MixerStartCounting()
{
    {
        std::lock_guard<std::mutex> hold(ProgressLock);
        Progress = MixerProgress{0, 0, SDL_GetPerformanceCounter()};
    }
    Counting.store(true, std::memory_order_release);
}

void MixerStopCounting()
{
    Counting.store(false, std::memory_order_release);
}

MixerProgress MixerPlayed()
{
    std::lock_guard<std::mutex> hold(ProgressLock);
    return Progress;
}
