#include "demo/sequencer.h"

#include <cmath>

#include "app/app.h"
#include "app/close_request.h"
#include "audio/music.h"
#include "demo/manifest.h"
#include "demo/timeline.h"
#include "display/display.h"
#include "image/imagebank.h"
#include "image/noise.h"
#include "image/tga.h"
#include "input/timer.h"
#include "raster/blend.h"

int32_t DemoStage = 1;
int32_t SceneClock = 0;

int32_t ClockFromPosition(double seconds)
{
    // Truncation toward zero; a position that cannot be a clock value (not a
    // number, or beyond the 32-bit range) is held at the nearest one.
    const double clock = seconds * 100.0;
    if (std::isnan(clock))
        return 0;
    if (clock >= 2147483647.0)
        return INT32_MAX;
    if (clock <= -2147483648.0)
        return INT32_MIN;
    return int32_t(clock);
}

void DrawFrame(int32_t T)
{
    const Screen* background = &ImageBank[0].image;
    CopyRect(background, &DisplayScreen, 0, 0, DisplayWidth - 1, DisplayHeight - 1, 0, 0);
    DrawScene(T);
}

namespace {

void LoadPictures()
{
    Screen* background = &ImageBank[0].image;
    newscreen(background, DisplayWidth, DisplayHeight);
    SetTarget(background);
    LoadTGA(BackgroundFile, 0, 0);
    for (int slot = 1; slot <= LastManifestSlot; slot++) {
        const std::string file = ManifestFile(slot);
        if (!file.empty())
            LoadSlot(file.c_str(), slot);
    }
    SetTarget(&DisplayScreen);
}

void StartShow()
{
    MusicPlay(SoundtrackFile);
    SceneClock = 0;
    ResetTimer();
    NoiseInit(0, 0, 400, 200);
    NoiseInit(1, 1, 800, 200);
}

void PlayFrame(void* window)
{
    BeginFrame();
    while (ElapsedTime() <= FrameWaitMs) {
    }
    ResetTimer();
    DrawFrame(SceneClock);
    SceneClock = ClockFromPosition(MusicPosition());
    if (SceneClock >= ShowEndClock)
        PostCloseRequest(window);
    PresentFrame();
}

} // namespace

void DemoFrame(void* window)
{
    switch (DemoStage) {
    case 1:
        LoadPictures();
        DemoStage = 2;
        break;
    case 2:
        StartShow();
        DemoStage = 3;
        break;
    case 3:
        PlayFrame(window);
        break;
    default:
        break;
    }
}
