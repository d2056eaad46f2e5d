#include "app/sdl/frame_log_sdl.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "audio/audio_seam.h"
#include "audio/sdl/mixer_sdl.h"
#include "demo/sequencer.h"

bool FrameLogOn;

static std::FILE* LogFile;
static uint64_t LogStart;
static uint64_t LastTickRead, Begun, Drawn;
static double BegunThreadCpu, LastTickThreadCpu;
static uint32_t LastTick;
static long FrameNumber;

static double MillisecondsOf(uint64_t counter)
{
    return double(counter - LogStart) * 1000.0 / double(SDL_GetPerformanceFrequency());
}

static double CpuMilliseconds(clockid_t clock)
{
    timespec t{};
    clock_gettime(clock, &t);
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
    std::fprintf(LogFile, "frame begun_ms wait_end_ms drawn_ms presented_ms shown_ms music_s played_s clock cpu_ms wait_cpu_ms "
                      "wait_end_tick\n");
    FrameLogOn = true;
}

void FrameLogClose()
{
    if (LogFile)
        std::fclose(LogFile);
    LogFile = nullptr;
    FrameLogOn = false;
}

void FrameLogTickRead(uint32_t tick)
{
    LastTick = tick;
    LastTickRead = SDL_GetPerformanceCounter();
    LastTickThreadCpu = CpuMilliseconds(CLOCK_THREAD_CPUTIME_ID);
}

void FrameLogBegun()
{
    if (FrameLogOn) {
        Begun = SDL_GetPerformanceCounter();
        BegunThreadCpu = CpuMilliseconds(CLOCK_THREAD_CPUTIME_ID);
    }
}

// The last tick reading before the drawing ends is the frame timer's reset
// at the end of the pacing wait: the wait is the time, and the CPU time of
// this thread, from the lock to that reading, and the reading itself is
// logged too.
void FrameLogDrawn()
{
    if (FrameLogOn)
        Drawn = SDL_GetPerformanceCounter();
}

void FrameLogPresented(uint64_t handedOver)
{
    if (!FrameLogOn)
        return;
    const uint64_t shown = SDL_GetPerformanceCounter();
    const MixerProgress played = MixerPlayed();
    std::fprintf(LogFile, "%ld %.3f %.3f %.3f %.3f %.3f %.6f %.6f %d %.3f %.3f %lu\n", FrameNumber++,
                 MillisecondsOf(Begun), MillisecondsOf(LastTickRead), MillisecondsOf(Drawn),
                 MillisecondsOf(handedOver), MillisecondsOf(shown), MusicPosition(),
                 double(played.framesBefore + played.lastFrames) / MixerRate, int(Sequencer.SceneClock),
                 CpuMilliseconds(CLOCK_PROCESS_CPUTIME_ID), LastTickThreadCpu - BegunThreadCpu,
                 static_cast<unsigned long>(LastTick));
}
