#pragma once

#include <cstddef>
#include <cstdint>

#include "app/app.h"

// The capture display: every frame is drawn into CaptureFrame, an 800x600
// buffer of the capture's own, and each presented frame is handed to
// CaptureSink instead of a window.

constexpr std::ptrdiff_t CapturePitch = DisplayWidth * 4; // bytes from one row to the next
extern uint32_t CaptureFrame[DisplayWidth * DisplayHeight];

// Receives each presented frame: 800x600 pixels, rows 800 pixels apart,
// already faded. Null: frames are dropped.
using FrameSink = void (*)(const uint32_t* pixels);
extern FrameSink CaptureSink;

// Seconds from the end of BeginFrame to the start of PresentFrame in the
// last presented frame: the drawing of the frame.
extern double CaptureDrawSeconds;

// Frames presented since the program started.
extern int64_t CaptureFramesPresented;
