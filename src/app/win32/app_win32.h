#pragma once

#include <windows.h>

#include <cstdint>

// The program's one window, "TARVEL" of the class "MOVIRA": null until
// created. It owns every message box and is handed to DemoFrame.
extern HWND AppWindow;

// Set to 1 by every WM_ACTIVATEAPP, never cleared. While it is 0 the message
// loop sleeps instead of drawing.
extern int32_t AppActive;

// Exit code of a start-up that cannot go on (no window, or a display step
// failed): 1, so that the failure is not taken for a normal end.
constexpr int StartupFailedExitCode = 1;

// Registers the class, creates and shows the topmost full-screen popup,
// brings up DirectDraw and the math tables, then every subsystem and the
// sound device. Returns 1 when the show can run, 0 when it cannot (a display
// failure has shown its message box and destroyed the window).
int InitApp(HINSTANCE instance, int showCommand);

LRESULT CALLBACK WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
