#pragma once

#include <cstddef>
#include <cstdint>

// The display's seam, which each platform provides (display/<platform>/):
// an 800x600 screen of 32-bit 0x00RRGGBB pixels with a back buffer that the
// engine draws straight into (display.h: BeginFrame, PresentFrame).

// Start-up step 1: the display device. 0, or the failing step's code, which
// the start-up shows in its message.
uint32_t DisplayCreate();

// Start-up steps 2-6: the 800x600 mode, the back buffer, a first lock and
// unlock. 0, or the code of the first step that fails.
uint32_t DisplayStart();

// Locks the back buffer for one frame: its first pixel and the bytes from one
// row to the next (at least 3200). False when it cannot be locked now; the
// platform has then already done what recovery it needs.
bool DisplayLock(void** pixels, std::ptrdiff_t* pitch);

// Ends the lock of `pixels`; false when the frame must be dropped.
bool DisplayUnlock(void* pixels);

// Makes the whole unlocked back buffer visible; false when the frame was
// dropped instead.
bool DisplayShow();

// Releases whatever exists; safe to call twice and before start-up.
void DisplayRelease();
