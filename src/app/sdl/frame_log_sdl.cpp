#include "app/sdl/frame_log_sdl.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "audio/music.h"
#include "audio/sdl/mixer_sdl.h"

bool FrameLogOn;

static std::FILE* LogFile;
static uint64_t LogStart;
static uint64_t LastTickRead, Begun, Drawn;
static long FrameNumber;

static double MillisecondsOf(uint64_t counter)
{
    return double(counter - LogStart) * 1000.0 / double(SDL_GetPerformanceFrequency());
}

static double ProcessCpuMilliseconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1000.0 + double(t.tv_nsec) / 1e6;
}

void FrameLogOpen()
{
    const char* path = std::getenv("TARVEL_FRAME_LOG");
    if (!path || !*path)
        return;
    LogFile = std::fopen(path, "w");
    if (!LogFile)
        return;
    LogStart = SDL_GetPerformanceCounter();
    std::fprintf(LogFile, "frame begun_ms wait_end_ms drawn_ms presented_ms music_s played_s cpu_ms\n");
    FrameLogOn = true;
}

void FrameLogClose()
{
    if (LogFile)
        std::fclose(LogFile);
    LogFile = nullptr;
    FrameLogOn = false;
}

void FrameLogTickRead()
{
    LastTickRead = SDL_GetPerformanceCounter();
}

void FrameLogBegun()
{
    if (FrameLogOn)
        Begun = SDL_GetPerformanceCounter();
}

// The last tick reading before the drawing ends is the frame timer's reset
// at the end of the pacing wait.
void FrameLogDrawn()
{
    if (FrameLogOn)
        Drawn = SDL_GetPerformanceCounter();
}

void FrameLogPresented()
{
    if (!FrameLogOn)
        return;
    const uint64_t presented = SDL_GetPerformanceCounter();
    const MixerProgress played = MixerPlayed();
    std::fprintf(LogFile, "%ld %.3f %.3f %.3f %.3f %.6f %.6f %.3f\n", FrameNumber++, MillisecondsOf(Begun),
                 MillisecondsOf(LastTickRead), MillisecondsOf(Drawn), MillisecondsOf(presented), MusicPosition(),
                 double(played.framesBefore + played.lastFrames) / MixerRate, ProcessCpuMilliseconds());
}
