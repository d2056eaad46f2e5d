#pragma once

#include <cstdint>

// The one audio device that the soundtrack and the sample channels share:
// 44100 Hz, signed 16-bit, stereo, exactly (SDL converts for the hardware),
// so raw sample data plays as it is.
constexpr int MixerRate = 44100;
constexpr int MixerBytesPerFrame = 4;

// Opens the device, or takes one more reference to it; false on failure.
bool MixerOpen();

// Drops one reference; returns the references that remain.
int MixerClose();

// The soundtrack's played-sample count: frames of music the mixer has
// handed to the device since MixerStartCounting, as of its last buffer.
struct MixerProgress {
    uint64_t framesBefore; // music frames in all buffers before the last one
    uint32_t lastFrames;   // music frames in the last buffer
    uint64_t lastTime;     // SDL performance counter when the last buffer was mixed
};

// Zeroes the count; from then on every buffer mixed while music plays
// counts. Called before the music starts.
void MixerStartCounting();
void MixerStopCounting();
MixerProgress MixerPlayed();
