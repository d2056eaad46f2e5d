#pragma once

// Platform seam: the display device. Each platform's start-up brings the
// display to 800x600 with 32-bit 0x00RRGGBB pixels before InitSubsystems.

// Locks the back buffer and maps DisplayScreen's rows onto it (by the real
// row pitch). When the lock fails, DisplayScreen is mapped onto SpareScreen's
// rows instead, so the frame is drawn somewhere harmless and then dropped.
void BeginFrame();

// Applies the fade while the pixels are addressable, advances it, unlocks and
// makes the whole frame visible. A frame whose lock or unlock failed is
// dropped, and the fade does not advance.
void PresentFrame();

// Releases the display objects that exist; safe to call twice.
void DisplayRelease();
