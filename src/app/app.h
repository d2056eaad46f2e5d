#pragma once

#include "raster/screen.h"

// The display as a Screen: 800x600, made with newscreenwin; every frame its
// rows are pointed at the locked back buffer (BeginFrame). After start-up it
// is the CurrentTarget.
extern Screen DisplayScreen;

// 800x600 with rows of its own, reserved for a frame whose back buffer could
// not be locked; nothing else draws into it.
extern Screen SpareScreen;

constexpr int DisplayWidth = 800;
constexpr int DisplayHeight = 600;

// Creates DisplayScreen and SpareScreen, makes DisplayScreen the target,
// clears the key table, finds the joysticks, opens the CD-audio device and
// creates the music stream, in that order.
void InitSubsystems();

// Releases, in this order, noise layers 0 and 1, the display, the music
// stream, the sound device and the CD-audio device. Each step releases only
// what exists, so it is safe to run before start-up finished and twice.
void ShutdownApp();
