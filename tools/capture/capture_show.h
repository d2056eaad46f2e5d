#pragma once

#include <cstdint>
#include <vector>

#include "app/capture/capture_platform.h"
#include "demo/sequencer.h"

// Runs the real DemoFrame under the capture's clock. The timeline of a
// played frame sees the clock that the previous frame read from the music
// position, so the position is set one frame ahead.

// The show's own start-up (InitApp), then DemoFrame's first two calls:
// every picture loaded, the soundtrack started, the clock at 0.
void OpenShow();

// Plays one frame (the clock it draws is Sequencer.SceneClock); the music
// position it reads at its end gives the clock `nextClock` to the frame
// after it. True when the frame reached the end of the show.
bool PlayFrameThen(int32_t nextClock);

// The show's shutdown, then ResetShow: OpenShow may run again.
void CloseShow();

// Everything the show loaded or changed put back as it was at the start of
// the process: the engine's records and the capture platform's own state.
void ResetShow();

// Clock of frame `frame` of a run at `fps` frames per second of music time:
// 100 x frame / fps hundredths, rounded down.
int32_t ClockOfFrame(int64_t frame, int fps);

// Number of frames that a run at `fps` presents when it stops after the
// frame whose following clock reaches `endClock`.
int64_t FramesUntil(int32_t endClock, int fps);

// Plays the show from its first frame at `fps` frames per second of music
// time, calling onFrame(index, clock drawn) after each presented frame. Stops
// after the frame that reaches the end of the show, after the frame whose
// following clock reaches `endClock`, or when onFrame returns false.
template <typename OnFrame>
void PlayAtRate(int fps, int32_t endClock, OnFrame onFrame)
{
    for (int64_t frame = 0;; frame++) {
        const int32_t drawn = Sequencer.SceneClock;
        const int32_t next = ClockOfFrame(frame + 1, fps);
        const bool ended = PlayFrameThen(next);
        if (!onFrame(frame, drawn) || ended || next >= endClock)
            return;
    }
}

// Plays one frame at each of `clocks`, in order: the first at its listed
// value, by setting the clock of the show just opened, each later one
// through the music position that the frame before it reads. Calls
// onFrame(index) after each frame, while CaptureFrame holds it; stops early
// when onFrame returns false.
template <typename OnFrame>
void PlayAtClocks(const std::vector<int32_t>& clocks, OnFrame onFrame)
{
    if (clocks.empty())
        return;
    Sequencer.SceneClock = clocks[0];
    const size_t count = clocks.size();
    for (size_t i = 0; i < count; i++) {
        PlayFrameThen(clocks[i + 1 < count ? i + 1 : i]);
        if (!onFrame(i))
            return;
    }
}
