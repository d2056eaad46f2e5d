#pragma once

#include <windows.h>
#include <ddraw.h>

// The display on DirectDraw's first-version interfaces: exclusive full
// screen at 800x600x32, a system-memory primary surface with one attached
// back buffer. Frames are drawn straight into the locked back buffer and
// copied whole onto the primary surface; the chain is never flipped.

// Null until created, null again after DisplayRelease.
extern IDirectDraw* DDraw;
extern IDirectDrawSurface* PrimarySurface;
// Attached to PrimarySurface and released with it.
extern IDirectDrawSurface* BackSurface;
// The creation request of the primary surface, then the output of every
// Lock of the back buffer.
extern DDSURFACEDESC SurfaceDesc;
