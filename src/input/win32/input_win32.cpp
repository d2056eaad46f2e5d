// Input on Windows: the system's tick counter, the thread's key states and
// the joysticks of the multimedia library.
#include <windows.h>
#include <mmsystem.h>

#include <cstring>

#include "core/debug_log.h"
#include "input/input_seam.h"

// Milliseconds since the machine started, wrapping every 49.7 days as the
// frame timer expects.
uint32_t TickCount()
{
    return GetTickCount();
}

// The system's timer runs at 1 ms from the first sleep on, so that a sleep
// ends within a millisecond of its time rather than at the next 15.6 ms
// tick; the system puts it back when the process ends.
void SleepMilliseconds(uint32_t ms)
{
    static const bool fineTimer = timeBeginPeriod(1) == TIMERR_NOERROR;
    (void)fineTimer;
    Sleep(ms);
}

// The thread's key states by virtual-key code; all keys up when the
// snapshot cannot be taken.
void ReadKeyboardSnapshot(uint8_t keys[256])
{
    if (!GetKeyboardState(keys))
        std::memset(keys, 0, 256);
}

uint32_t JoystickDeviceCount()
{
    const UINT devices = joyGetNumDevs();
    DebugLog("joyGetNumDevs %u", devices);
    return devices;
}

bool ReadJoystickPosition(uint32_t id, JoystickPosition* position)
{
    JOYINFO reading{};
    if (joyGetPos(id, &reading) != JOYERR_NOERROR)
        return false;
    position->x = reading.wXpos;
    position->y = reading.wYpos;
    position->buttons = reading.wButtons;
    return true;
}

// The record's ANSI form (404 bytes); the result is not examined, so a
// device that does not answer leaves the ranges as they were.
void ReadJoystickRanges(uint32_t id, JoystickRanges* ranges)
{
    JOYCAPSA caps{};
    caps.wXmin = ranges->xMin;
    caps.wXmax = ranges->xMax;
    caps.wYmin = ranges->yMin;
    caps.wYmax = ranges->yMax;
    static_assert(sizeof caps == 404);
    joyGetDevCapsA(id, &caps, sizeof caps);
    *ranges = JoystickRanges{caps.wXmin, caps.wXmax, caps.wYmin, caps.wYmax};
}
