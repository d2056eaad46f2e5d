#pragma once

#include <cstdint>

// The application shell: start-up, the main loop that turns idle time into
// frames, and shutdown, written once over the platform's seams.

struct AppState {
    // Set to 1 by the window's first activation, never cleared. While it is
    // 0 the main loop sleeps instead of drawing.
    int32_t AppActive = 0;
};
extern AppState App;

// Exit code of a start-up that cannot go on (no window, or a display step
// failed): 1, so that the failure is not taken for a normal end.
constexpr int StartupFailedExitCode = 1;

// Makes the window, brings up the display and the math tables, then every
// subsystem and the sound device. Returns 1 when the show can run, 0 when
// it cannot: a display step that fails shows "Fallo al inicializar
// Direct-Draw (%08lx)\n" under the caption "ERROR", releases what exists and
// destroys the window.
int InitApp();

// The program: StartApp, then the main loop until the quit message.
// Returns the exit code.
int RunApp();

// The step log, then InitApp. False when the show cannot run; the program
// then ends with StartupFailedExitCode.
bool StartApp();

// The main loop's work for one display refresh, for a host that calls back
// once per refresh and must never be blocked (a web page): every waiting
// message, then one DemoFrame when the window is active and the frame is due
// (DemoFrameDue). Where RunApp would sleep or spin, it returns instead. False
// once the quit message has ended the loop, with its exit code in *exitCode.
bool RunAppRefresh(int* exitCode);

// Creates DisplayScreen and SpareScreen, makes DisplayScreen the target,
// clears the key table, finds the joysticks, opens the CD-audio device and
// creates the music stream, in that order.
void InitSubsystems();

// Releases, in this order, noise layers 0 and 1, the display, the music
// stream, the sound device and the CD-audio device. Each step releases only
// what exists, so it is safe to run before start-up finished and twice.
void ShutdownApp();

// Every record of the engine back to its state at the start of the process,
// subsystem by subsystem: what the records own is released first. For a
// program that plays the show more than once; run after ShutdownApp.
void ResetEngine();
