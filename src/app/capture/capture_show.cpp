#include "app/capture/capture_show.h"

#include "app/app.h"
#include "audio/capture/music_capture.h"
#include "image/imagebank.h"
#include "image/noise.h"
#include "raster/mathtables.h"

// The generator's state before the show drew anything from it.
static const uint32_t FirstRandomState = RandomState;

void OpenShow()
{
    CalcMathTables();
    if (!DisplayScreen.rows)
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

void ResetShow()
{
    for (ImageSlot& slot : ImageBank) {
        FreeScreen(&slot.image);
        slot = ImageSlot{};
    }
    NoiseLayers[0] = NoiseLayer{};
    NoiseLayers[1] = NoiseLayer{};
    RandomState = FirstRandomState;
    DemoStage = 1;
    SceneClock = 0;
    CaptureCloseRequests = 0;
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
