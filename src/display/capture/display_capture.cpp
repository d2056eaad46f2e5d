// The capture display: frames are drawn into memory of the capture's own and
// handed to CaptureSink instead of a window.
#include <chrono>

#include "app/capture/capture_platform.h"
#include "display/display_seam.h"

uint32_t CaptureFrame[DisplayWidth * DisplayHeight];
FrameSink CaptureSink = nullptr;
double CaptureDrawSeconds = 0.0;
int64_t CaptureFramesPresented = 0;

static std::chrono::steady_clock::time_point FrameBegun;

uint32_t DisplayCreate()
{
    return 0;
}

uint32_t DisplayStart()
{
    return 0;
}

// The capture's frame memory is always there: no lock can fail.
bool DisplayLock(void** pixels, std::ptrdiff_t* pitch)
{
    *pixels = CaptureFrame;
    *pitch = CapturePitch;
    FrameBegun = std::chrono::steady_clock::now();
    return true;
}

bool DisplayUnlock(void*)
{
    CaptureDrawSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - FrameBegun).count();
    return true;
}

bool DisplayShow()
{
    if (CaptureSink)
        CaptureSink(CaptureFrame);
    CaptureFramesPresented++;
    return true;
}

void DisplayRelease() {}
