#pragma once

#include <cstdint>

#include "demo/frame_plan.h"

struct SequencerState {
    // 1: load the pictures; 2: start the soundtrack; 3: play. Only ever
    // 1 -> 2 -> 3.
    int32_t DemoStage = 1;
    // The demo time in hundredths of a second: the music position x 100,
    // truncated, recomputed at the end of every played frame.
    int32_t SceneClock = 0;
    // Frames played since the show started.
    int64_t FramesPlayed = 0;
    // The plan of the frame being drawn, or of the last one drawn.
    FramePlanState Plan;
};
extern SequencerState Sequencer;

// A played frame starts drawing only when more than this many milliseconds
// have passed since the previous one's wait ended.
constexpr int32_t FrameWaitMs = 30;

// The first clock value past the show: the frame that computes it asks the
// window to close, and is still presented.
constexpr int32_t ShowEndClock = 13346;

// One call per idle turn of the main loop: loads everything, then starts the
// soundtrack, then draws and presents one frame per call. True from the
// frame that reaches the end of the show on: the window should then close.
bool DemoFrame();

// True when the next DemoFrame would start drawing at once: in the loading
// and start stages always, in the play stage once the frame wait is over.
// For a host that must not spin in the wait: it calls DemoFrame only then,
// and the wait ends at its first reading.
bool DemoFrameDue();

// The clock of a music position in seconds: x 100.0, truncated toward zero;
// positions beyond the 32-bit range are held at its ends, and one that is not
// a number gives 0.
int32_t ClockFromPosition(double seconds);

// The picture of one played frame: the background over the whole of
// DisplayScreen, then the timeline at clock T; the work that opaque layers
// of the frame cover is left out (DrawPlanned).
void DrawFrame(int32_t T);

// Puts the record back as it was at the start.
void ResetSequencer();
