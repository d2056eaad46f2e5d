#include "audio/sdl/mixer_sdl.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <atomic>
#include <cstdio>
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

// Opens the output on SDL's audio driver as it is configured; false, with
// SDL's reason in its error, when it cannot.
static bool OpenOutput()
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    if (Mix_OpenAudioDevice(MixerRate, AUDIO_S16SYS, 2, MixerBufferFrames, nullptr, 0) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    return true;
}

// Without a usable sound device the show still plays, silently: SDL's dummy
// driver consumes the sound at the pace of a real one, so the soundtrack's
// position, the show's clock, runs as it would. A driver the user chose
// (SDL_AUDIODRIVER) is taken as it is.
bool MixerOpen()
{
    Mix_Init(MIX_INIT_MP3);
    if (!OpenOutput()) {
        const char* chosen = SDL_getenv("SDL_AUDIODRIVER");
        if (chosen && *chosen)
            return false;
        std::fprintf(stderr, "tarvel: no sound device (%s); playing silently\n", SDL_GetError());
        SDL_SetHint(SDL_HINT_AUDIODRIVER, "dummy");
        if (!OpenOutput())
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
