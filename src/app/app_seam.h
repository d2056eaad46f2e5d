#pragma once

// The shell's seam: the window and its message queue, which each platform
// provides (app/<platform>/). The engine's start-up, main loop and shutdown
// (app.h) run over these calls.

// Makes the program's one window, covering the screen, and shows it; false
// when it cannot be made (nothing else is then created or released). The
// first activation of the window sets App.AppActive.
bool CreateAppWindow();

// Destroys the window. Its end runs ShutdownApp once and then ends the
// message loop with exit code 0; a window already gone is left alone.
void DestroyAppWindow();

// A message box owned by the window, with the caption, the text and an OK
// button; returns once the user has closed it.
void ShowMessageBox(const char* caption, const char* text);

// Asks the window to close, as Escape does. The request is handled by the
// message loop before any further frame.
void PostCloseRequest();

enum class MessageTurn {
    Empty,   // no message was waiting
    Handled, // one message was taken and handled
    Quit,    // the quit message: the loop ends with *exitCode
};

// Takes one waiting message, if any, and handles it (the window's
// procedure: activation, Escape, close and the window's end).
MessageTurn HandleNextMessage(int* exitCode);

// Sleeps until a message arrives.
void WaitForMessage();
