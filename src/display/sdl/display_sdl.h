#pragma once

#include <SDL.h>
#include <cstdint>

// The display on SDL: a renderer for the program's window, a streaming
// texture of 800x600 32-bit pixels as the back buffer, and the window's
// full-screen mode. Start-up steps return 0, or the number of the step that
// failed, which the start-up's message shows.

// Step 1: the display device (an SDL renderer) for `window`.
uint32_t DisplayCreate(SDL_Window* window);

// Steps 2-6: 800x600 in exclusive full screen where the display has that
// mode, else full screen at the desktop's size with the picture scaled to
// fit and centred (`windowed`: the window stays as it is, the picture fits
// it); then the back buffer, a first lock and unlock, and a black screen.
uint32_t DisplayStart(SDL_Window* window, bool windowed);
