#pragma once

#include <SDL.h>
#include <cstdint>

// The program's one window: null until created and again once destroyed.
// It owns every message box and is handed to DemoFrame.
extern SDL_Window* AppWindow;

// Set to 1 by the first activation of the window, never cleared. While it is
// 0 the event loop sleeps instead of drawing.
extern int32_t AppActive;

// Exit code for a start-up that cannot go on: 1 (the window or the display
// could not be made).
constexpr int StartupFailedExitCode = 1;

// Creates the window, brings up the display and the math tables, then every
// subsystem and the sound device. Returns 1 when the show can run, 0 when it
// cannot (the reason is already shown). `windowed`: a resizable 800x600
// window instead of full screen.
int InitApp(bool windowed);

// Handles one event as the window's procedure: activation, Escape, close
// requests and the end of the window. Returns false for the quit event,
// which ends the loop.
bool WndProc(const SDL_Event& event);
