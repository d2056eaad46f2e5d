#pragma once

#include <cstdint>

// Thresholds of one joystick, each half-way between the centre of an axis
// and that end of its range. A position at or beyond a threshold counts as
// pushed in that direction.
struct JoystickRecord {
    uint32_t xRight;
    uint32_t xLeft;
    uint32_t yUp;
    uint32_t yDown;
    uint32_t deviceId;
    int32_t present; // 1: answered at start-up; 0: left by a device that did not
};

// Entry 0 is never used (joystick number 0 means none); the joysticks found
// at start-up are entries 1 .. JoystickCount, at most MaxJoysticks.
constexpr int MaxJoysticks = 9;
extern JoystickRecord Joysticks[MaxJoysticks + 1];
extern uint32_t JoystickDevices;
extern int JoystickCount;

// One reading of a joystick: axis positions within its ranges and one bit
// per button (bit 0 for the first).
struct JoystickPosition {
    uint32_t x;
    uint32_t y;
    uint32_t buttons;
};

// The extent of a joystick's two axes.
struct JoystickRanges {
    uint32_t xMin, xMax;
    uint32_t yMin, yMax;
};

// Filled by the last ReadControls that read a joystick.
extern JoystickPosition JoystickReading;

// Records every joystick that answers a position read, in device order, with
// its thresholds; returns JoystickCount. Devices past the ninth are ignored.
int InitJoysticks();

// Platform seams.
// Number of joystick devices the platform supports (or has attached).
uint32_t JoystickDeviceCount();
// Reads the position of device `id`; false when it does not answer.
bool ReadJoystickPosition(uint32_t id, JoystickPosition* position);
// The axis ranges of device `id`; left as found when they cannot be read.
void ReadJoystickRanges(uint32_t id, JoystickRanges* ranges);
