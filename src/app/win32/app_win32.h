#pragma once

#include <windows.h>

// The program's one window, "TARVEL" of the class "MOVIRA": null until
// created. It owns every message box.
extern HWND AppWindow;

// What WinMain was given, for the window's creation.
extern HINSTANCE AppInstance;
extern int AppShowCommand;

LRESULT CALLBACK WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
