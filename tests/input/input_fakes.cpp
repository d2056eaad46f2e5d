#include "input/input_fakes.h"

#include <cstring>

#include "input/keyboard.h"

FakeInput Fake;

void ResetFakeInput()
{
    Fake = FakeInput{};
    std::memset(Joysticks, 0, sizeof Joysticks);
    JoystickCount = 0;
    JoystickDevices = 0;
}

void ReadKeyboardSnapshot(uint8_t keys[256])
{
    std::memcpy(keys, Fake.keys, 256);
}

uint32_t JoystickDeviceCount()
{
    return uint32_t(Fake.joysticks.size());
}

bool ReadJoystickPosition(uint32_t id, JoystickPosition* position)
{
    Fake.positionReads++;
    if (id >= Fake.joysticks.size() || !Fake.joysticks[id].answers)
        return false;
    *position = Fake.joysticks[id].position;
    return true;
}

void ReadJoystickRanges(uint32_t id, JoystickRanges* ranges)
{
    *ranges = Fake.joysticks[id].ranges;
}
