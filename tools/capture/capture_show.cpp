#include "capture/capture_show.h"

#include "app/app.h"

void OpenShow()
{
    InitApp();
    DemoFrame();
    DemoFrame();
}

bool PlayFrameThen(int32_t nextClock)
{
    CaptureMusicPosition = PositionForClock(nextClock);
    return DemoFrame();
}

void CloseShow()
{
    ShutdownApp();
    ResetShow();
}

void ResetShow()
{
    ResetEngine();
    ResetCapturePlatform();
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
