#include "input/joystick.h"

// No joystick devices.
uint32_t JoystickDeviceCount()
{
    return 0;
}

bool ReadJoystickPosition(uint32_t, JoystickPosition*)
{
    return false;
}

void ReadJoystickRanges(uint32_t, JoystickRanges*) {}
