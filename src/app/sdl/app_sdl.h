#pragma once

#include <SDL.h>

// The SDL shell's window: null until created and again once destroyed. It
// owns every message box.
extern SDL_Window* AppWindow;

// Set from --window before start-up: a resizable 800x600 window instead of
// full screen.
extern bool AppWindowed;

// Handles one event as the window's procedure: activation, Escape, close
// requests and the end of the window. Returns false for the quit event,
// whose user code is the exit code.
bool WndProc(const SDL_Event& event);
