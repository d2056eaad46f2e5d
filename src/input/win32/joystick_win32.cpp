#include <windows.h>
#include <mmsystem.h>

#include "app/win32/debug_log_win32.h"
#include "input/joystick.h"

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
