#include "demo/sequencer.h"

#include <cmath>

#include "audio/audio_seam.h"
#include "core/debug_log.h"
#include "demo/frame_plan.h"
#include "demo/manifest.h"
#include "demo/timeline.h"
#include "display/display.h"
#include "image/imagebank.h"
#include "image/noise.h"
#include "image/tga.h"
#include "input/input.h"

SequencerState Sequencer;

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
    DrawPlanned(&Images.ImageBank[0].image, &Display.DisplayScreen, DrawScene, T);
}

namespace {

void LoadPictures()
{
    Screen* background = &Images.ImageBank[0].image;
    newscreen(background, DisplayWidth, DisplayHeight);
    SetTarget(background);
    LoadTGA(BackgroundFile, 0, 0);
    for (int slot = 1; slot <= LastManifestSlot; slot++) {
        const std::string file = ManifestFile(slot);
        if (!file.empty())
            LoadSlot(file.c_str(), slot);
    }
    SetTarget(&Display.DisplayScreen);
}

void StartShow()
{
    MusicPlay(SoundtrackFile);
    Sequencer.SceneClock = 0;
    ResetTimer();
    NoiseInit(0, 0, 400, 200);
    NoiseInit(1, 1, 800, 200);
}

bool PlayFrame()
{
    const int32_t drawn = Sequencer.SceneClock;
    BeginFrame();
    WaitUntilElapsedAbove(FrameWaitMs);
    ResetTimer();
    DrawFrame(drawn);
    Sequencer.SceneClock = ClockFromPosition(MusicPosition());
    const bool ended = Sequencer.SceneClock >= ShowEndClock;
    PresentFrame();
    DebugLog("frame %lld clock %ld", static_cast<long long>(++Sequencer.FramesPlayed), long(drawn));
    return ended;
}

} // namespace

bool DemoFrame()
{
    switch (Sequencer.DemoStage) {
    case 1:
        LoadPictures();
        Sequencer.DemoStage = 2;
        DebugLog("DemoFrame pictures loaded");
        return false;
    case 2:
        StartShow();
        Sequencer.DemoStage = 3;
        DebugLog("DemoFrame show started");
        return false;
    case 3:
        return PlayFrame();
    default:
        return false;
    }
}

bool DemoFrameDue()
{
    return Sequencer.DemoStage != 3 || ElapsedTime() > FrameWaitMs;
}

void ResetSequencer()
{
    Sequencer = SequencerState{};
}
