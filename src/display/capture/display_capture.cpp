#include "display/capture/display_capture.h"

#include <chrono>

#include "display/display.h"
#include "display/fade.h"

uint32_t CaptureFrame[DisplayWidth * DisplayHeight];
FrameSink CaptureSink = nullptr;
double CaptureDrawSeconds = 0.0;
int64_t CaptureFramesPresented = 0;

static std::chrono::steady_clock::time_point FrameBegun;

// The capture's frame memory is always there: no lock can fail.
void BeginFrame()
{
    MapScreenRows(&DisplayScreen, CaptureFrame, CapturePitch);
    FrameBegun = std::chrono::steady_clock::now();
}

void PresentFrame()
{
    CaptureDrawSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - FrameBegun).count();
    FadePresentedFrame(CaptureFrame, DisplayWidth, DisplayHeight, CapturePitch);
    if (CaptureSink)
        CaptureSink(CaptureFrame);
    CaptureFramesPresented++;
}

void DisplayRelease() {}
