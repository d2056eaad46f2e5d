#include "app/capture/capture_show.h"

#include "app/app.h"
#include "audio/capture/music_capture.h"
#include "raster/mathtables.h"

void OpenShow()
{
    CalcMathTables();
    InitSubsystems();
    DemoFrame(nullptr);
    DemoFrame(nullptr);
}

void PlayFrameThen(int32_t nextClock)
{
    CaptureMusicPosition = PositionForClock(nextClock);
    DemoFrame(nullptr);
}

void CloseShow()
{
    ShutdownApp();
}

int32_t ClockOfFrame(int64_t frame, int fps)
{
    return int32_t(frame * 100 / fps);
}

int64_t FramesUntil(int32_t endClock, int fps)
{
    int64_t frames = 1;
    while (ClockOfFrame(frames, fps) < endClock)
        frames++;
    return frames;
}
