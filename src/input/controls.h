#pragma once

#include <cstdint>

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
