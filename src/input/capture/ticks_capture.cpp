#include "input/capture/ticks_capture.h"

#include "input/ticks.h"

uint32_t CaptureTickNow = 0;
uint32_t CaptureTickStep = 31;

uint32_t TickCount()
{
    const uint32_t now = CaptureTickNow;
    CaptureTickNow += CaptureTickStep;
    return now;
}
