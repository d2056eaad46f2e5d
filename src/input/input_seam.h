#pragma once

#include <cstdint>

// The input seam, which each platform provides (input/<platform>/): the
// millisecond tick counter under the frame timer and the platform's sleep,
// the keyboard's state and the joysticks (input.h).

// Milliseconds since some fixed instant, wrapping at 2^32.
uint32_t TickCount();

// Gives the processor up for about `ms` milliseconds, so that the frame
// timer's wait need not spin. The frame timer never asks for more than the
// time left, less a margin, and reads the tick counter again afterwards: a
// platform whose clock does not run in real time, or that must not block,
// returns at once.
void SleepMilliseconds(uint32_t ms);

// Fills `keys` with the state of every key by virtual-key code, bit 0x80 set
// for a key that is down.
void ReadKeyboardSnapshot(uint8_t keys[256]);

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

// Number of joystick devices the platform supports (or has attached).
uint32_t JoystickDeviceCount();
// Reads the position of device `id`; false when it does not answer.
bool ReadJoystickPosition(uint32_t id, JoystickPosition* position);
// The axis ranges of device `id`; left as found when they cannot be read.
void ReadJoystickRanges(uint32_t id, JoystickRanges* ranges);
