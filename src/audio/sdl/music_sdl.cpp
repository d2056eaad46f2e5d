#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cstring>

#include "audio/audio_seam.h"
#include "audio/sdl/mixer_sdl.h"
#include "core/files.h"

static bool MusicDeviceOpen;
static Mix_Music* Soundtrack;

void MusicInit()
{
    MusicDeviceOpen = MixerOpen();
}

void MusicPlay(const char* file)
{
    if (!MusicDeviceOpen || !MusicNameFits(file))
        return;
    // A second soundtrack replaces the first.
    if (Soundtrack)
        Mix_FreeMusic(Soundtrack);
    Soundtrack = Mix_LoadMUS(NativePath(file).c_str());
    if (!Soundtrack)
        return;
    MixerStartCounting();
    if (Mix_PlayMusic(Soundtrack, 0) != 0)
        MixerStopCounting();
}

void MusicStop()
{
    if (Soundtrack)
        Mix_HaltMusic();
}

// What is heard: the music frames of every buffer before the last one, plus
// the time the last buffer has been playing, up to its length. The position
// therefore rises smoothly between buffers and stops at the music's end.
double MusicPosition()
{
    if (!Soundtrack)
        return 0.0;
    const MixerProgress played = MixerPlayed();
    const double sinceLast = double(SDL_GetPerformanceCounter() - played.lastTime)
                           / double(SDL_GetPerformanceFrequency());
    const double lastLength = double(played.lastFrames) / MixerRate;
    return double(played.framesBefore) / MixerRate + std::clamp(sinceLast, 0.0, lastLength);
}

void MusicShutdown()
{
    MixerStopCounting();
    if (Soundtrack) {
        Mix_FreeMusic(Soundtrack);
        Soundtrack = nullptr;
    }
    if (MusicDeviceOpen) {
        MixerClose();
        MusicDeviceOpen = false;
    }
}
