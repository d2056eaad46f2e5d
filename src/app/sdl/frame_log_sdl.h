#pragma once

// The frame log: with TARVEL_FRAME_LOG=FILE in the environment, one line per
// presented frame goes to FILE, for measuring pacing, clock drift and CPU
// time. Without it every call returns at once.
extern bool FrameLogOn;

void FrameLogOpen();
void FrameLogClose();

// Called by the tick counter on every reading, by BeginFrame when the back
// buffer is locked, by PresentFrame when the drawing is done and when the
// frame is on screen.
void FrameLogTickRead();
void FrameLogBegun();
void FrameLogDrawn();
void FrameLogPresented();
