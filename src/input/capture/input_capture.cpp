// The capture's input: a tick counter that the capture drives, no keyboard
// and no joystick.
#include <cstring>

#include "app/capture/capture_platform.h"
#include "input/input_seam.h"

uint32_t CaptureTickNow = 0;
uint32_t CaptureTickStep = 31;

uint32_t TickCount()
{
    const uint32_t now = CaptureTickNow;
    CaptureTickNow += CaptureTickStep;
    return now;
}

std::vector<uint32_t> CaptureSleeps;

void SleepMilliseconds(uint32_t ms)
{
    CaptureSleeps.push_back(ms);
}

// No key is ever down.
void ReadKeyboardSnapshot(uint8_t keys[256])
{
    std::memset(keys, 0, 256);
}

uint32_t JoystickDeviceCount()
{
    return 0;
}

bool ReadJoystickPosition(uint32_t, JoystickPosition*)
{
    return false;
}

void ReadJoystickRanges(uint32_t, JoystickRanges*) {}
