#pragma once

#include <cstdint>

// The frame log: with TARVEL_FRAME_LOG=FILE in the environment, one line per
// presented frame goes to FILE, for measuring pacing, clock drift and CPU
// time: when the pacing wait began and ended, when the frame was drawn,
// handed to the window system and done there (ms), the music position and
// the samples played (s), the scene clock, the process's CPU time and the
// CPU time of the wait (ms), and the tick count that ended the wait. Without
// it every call returns at once.
extern bool FrameLogOn;

void FrameLogOpen();
void FrameLogClose();

// Called by the tick counter on every reading, given the reading, by
// BeginFrame when the back buffer is locked, by PresentFrame when the
// drawing is done and once the window system is done with the frame, given
// when the frame was handed to it (SDL performance counter).
void FrameLogTickRead(uint32_t tick);
void FrameLogBegun();
void FrameLogDrawn();
void FrameLogPresented(uint64_t handedOver);
