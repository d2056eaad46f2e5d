#pragma once

#include <cstdint>

// The capture's tick counter: each reading returns CaptureTickNow and then
// moves it on by CaptureTickStep milliseconds. The default step, 31, is more
// than the frame wait, so the pacing wait of every frame ends at its first
// reading. A step of 0 stops the clock.
extern uint32_t CaptureTickNow;
extern uint32_t CaptureTickStep;
