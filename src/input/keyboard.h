#pragma once

#include <cstdint>

// Key states by virtual-key code: 0x80 when the key was down at the last
// snapshot, else 0.
extern uint8_t KeyState[256];

void ClearKeys();

// Takes a keyboard snapshot into KeyState, keeping only bit 0x80 of each entry.
void ReadKeyboard();

// Lowest key code from 1 to 126 that is down in the last snapshot, or 0.
int FirstKeyDown();

// Platform seam: fills `keys` with the state of every key by virtual-key
// code, bit 0x80 set for a key that is down.
void ReadKeyboardSnapshot(uint8_t keys[256]);
