#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "display/display.h"

// The capture platform: the show without a window, a screen, a sound card or
// input devices, on a clock that the capture sets. Its controls:

// Display: every frame is drawn into CaptureFrame, rows 800 pixels apart,
// and each presented frame, already faded, is handed to CaptureSink (null:
// frames are dropped).
constexpr std::ptrdiff_t CapturePitch = DisplayWidth * 4;
extern uint32_t CaptureFrame[DisplayWidth * DisplayHeight];
using FrameSink = void (*)(const uint32_t* pixels);
extern FrameSink CaptureSink;
// Seconds from the lock of the last presented frame to its unlock: its
// drawing.
extern double CaptureDrawSeconds;
// Frames presented since the process started.
extern int64_t CaptureFramesPresented;

// Music: nothing is heard; MusicPosition reports CaptureMusicPosition, and
// CaptureMusicFile is the soundtrack that MusicPlay was given ("" before),
// as the show names it, with '\' between folders.
extern double CaptureMusicPosition;
extern std::string CaptureMusicFile;

// A music position whose clock (ClockFromPosition) is exactly `clock`: half
// a hundredth past the clock's own instant, so that no rounding of the
// product can reach the neighbouring value.
double PositionForClock(int32_t clock);

// Sample channels: a silent device that keeps the samples in memory. Per
// channel, the plays since the device was opened.
extern int CaptureChannelPlays[16];

// Tick counter: each reading returns CaptureTickNow and then moves it on by
// CaptureTickStep milliseconds. The default step, 31, is more than the frame
// wait, so the pacing wait of every frame ends at its first reading. A step
// of 0 stops the clock.
extern uint32_t CaptureTickNow;
extern uint32_t CaptureTickStep;
// Sleeps return at once, since the counter moves only when it is read; each
// one asked for is noted here, in milliseconds.
extern std::vector<uint32_t> CaptureSleeps;

// Window: there is none; close requests are counted.
extern int CaptureCloseRequests;

// The platform's own state back to the start of the process.
void ResetCapturePlatform();
