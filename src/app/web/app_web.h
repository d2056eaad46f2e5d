#pragma once

#include <cstdint>

// The web shell's own calls between its subsystems.

// A key went down in the page (virtual-key code): the window's procedure
// sees it with the next messages, as Escape closes the window.
void PostKeyDown(uint8_t virtualKey);

// The page was shown, hidden, focused or blurred: the window's activation
// changed.
void PostActivation();
