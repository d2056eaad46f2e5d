#pragma once

#include <cstdint>
#include <vector>

#include "input/joystick.h"

// The input seams of the test program: a keyboard snapshot and joystick
// devices that each test sets up.
struct FakeJoystick {
    bool answers = true;
    JoystickPosition position{};
    JoystickRanges ranges{0, 65535, 0, 65535};
};

struct FakeInput {
    uint8_t keys[256] = {};
    std::vector<FakeJoystick> joysticks;
    int positionReads = 0;
};

extern FakeInput Fake;

void ResetFakeInput();
