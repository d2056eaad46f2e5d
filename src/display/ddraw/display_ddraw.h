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

// Start-up step 1: DirectDrawCreate of the default display device. Returns
// its result code.
HRESULT DisplayCreate();

// Start-up steps 2-6: cooperative level (exclusive, full screen) for
// `window`, the 800x600x32 mode, the primary surface with its back buffer,
// and a first lock and unlock of the back buffer. Returns the code of the
// first step that fails, or DD_OK.
HRESULT DisplayStart(HWND window);

// How PresentFrame copies the frame: the whole back buffer onto the primary
// surface. A busy blitter is asked again until it copies; any other failure
// (a surface lost between the lock and the copy) restores both surfaces and
// drops the frame. True when the frame was copied.
bool CopyFrameToPrimary();
