#include "input/joystick.h"

JoystickRecord Joysticks[MaxJoysticks + 1];
uint32_t JoystickDevices;
int JoystickCount;
JoystickPosition JoystickReading;

int InitJoysticks()
{
    JoystickDevices = JoystickDeviceCount();
    JoystickCount = 0;
    for (uint32_t id = 0; id < JoystickDevices; id++) {
        // The table holds nine joysticks; a tenth answer, or a silent device
        // after the ninth, has no entry to go to.
        if (JoystickCount == MaxJoysticks)
            break;
        JoystickRecord& entry = Joysticks[JoystickCount + 1];
        JoystickPosition position{};
        if (!ReadJoystickPosition(id, &position)) {
            entry.present = 0;
            continue;
        }
        entry.deviceId = id;
        entry.present = 1;
        JoystickRanges ranges{};
        ReadJoystickRanges(id, &ranges);
        const uint32_t cx = (ranges.xMax + ranges.xMin) / 2;
        const uint32_t cy = (ranges.yMax + ranges.yMin) / 2;
        entry.xLeft = (cx + ranges.xMin) / 2;
        entry.xRight = (cx + ranges.xMax) / 2;
        entry.yUp = (cy + ranges.yMin) / 2;
        entry.yDown = (cy + ranges.yMax) / 2;
        JoystickCount++;
    }
    return JoystickCount;
}
