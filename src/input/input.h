#pragma once

#include <cstdint>

#include "input/input_seam.h"

// Frame timer, keyboard and joysticks over the platform's input seam.

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

// Entry 0 of Joysticks is never used (joystick number 0 means none); the
// joysticks found at start-up are entries 1 .. JoystickCount.
constexpr int MaxJoysticks = 9;

struct InputState {
    // The frame timer's reset point, on the platform's tick counter.
    uint32_t TimerBase = 0;
    // Key states by virtual-key code: 0x80 when the key was down at the last
    // snapshot, else 0.
    uint8_t KeyState[256] = {};
    JoystickRecord Joysticks[MaxJoysticks + 1] = {};
    uint32_t JoystickDevices = 0;
    int JoystickCount = 0;
    // Filled by the last ReadControls that read a joystick.
    JoystickPosition JoystickReading = {};
};
extern InputState Input;

// ---- Frame timer ------------------------------------------------------------
// Elapsed time is measured from TimerBase in unsigned 32-bit arithmetic, so it
// stays right when the counter wraps between a reset and a reading.

// TimerBase = the current tick count.
void ResetTimer();
// Milliseconds since TimerBase, as a signed value.
int32_t ElapsedTime();
// Moves TimerBase forward by `ms` (back for a negative amount).
void AdvanceTimer(int32_t ms);

// Returns once ElapsedTime is above `limit`, reading it once per turn. While
// more than SleepMarginMs is left, a turn first sleeps through all of the time
// left but that margin (FrameSleepMs); the last stretch is waited out on the
// tick counter, so the wait ends at the same reading as a spinning one.
void WaitUntilElapsedAbove(int32_t limit);

// The sleep of one turn of that wait after a reading of `elapsed`: the whole
// milliseconds that are certain to be left, less the margin; 0 for none.
constexpr int32_t SleepMarginMs = 1;
uint32_t FrameSleepMs(int32_t elapsed, int32_t limit);

// ---- Keyboard and joysticks -------------------------------------------------

void ClearKeys();
// Takes a keyboard snapshot into KeyState, keeping only bit 0x80 of each entry.
void ReadKeyboard();
// Lowest key code from 1 to 126 that is down in the last snapshot, or 0.
int FirstKeyDown();

// Records every joystick that answers a position read, in device order, with
// its thresholds; returns JoystickCount. Devices past the ninth are ignored.
int InitJoysticks();

// Which keys and which joystick make up one player's controls.
struct ControlConfig {
    int32_t joystick;    // entry of Joysticks, 1-9, or 0 for none
    int32_t useKeyboard; // nonzero: take a keyboard snapshot and use the keys
    int32_t keyUp, keyDown, keyLeft, keyRight;
    int32_t keyButton1, keyButton2; // virtual-key codes 0-255
};

// Held fields are the OR of the active sources: 0x80 from the key, 1 from
// the stick or button 1, 2 from button 2. pressed1/2 are 1 on the one call
// that first sees the button held after it was seen released; armed1/2 are
// the latches that make that so.
struct ControlState {
    int32_t left, right, up, down;
    int32_t button1, button2;
    int32_t pressed1, pressed2;
    int32_t armed1, armed2;
};

// Takes fresh keyboard and joystick readings and updates `state`.
void ReadControls(const ControlConfig* config, ControlState* state);

// Puts the record back as it was at the start.
void ResetInput();
