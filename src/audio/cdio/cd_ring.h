#pragma once

#include <cstdint>
#include <span>

// Sixteen-bit stereo frames on their way from the disc reader to the mix:
// the reader appends at the back, the mix takes from the front. Nothing here
// locks; the player holds its lock around every call.
constexpr uint32_t CDRingFrames = 2 * 44100; // two seconds of CD audio

struct CDRing {
    int16_t samples[CDRingFrames * 2]; // left, right, left, right, ...
    uint32_t head;                     // the oldest frame
    uint32_t count;                    // frames held
};

// Frames that can still be appended.
uint32_t CDRingRoom(const CDRing& ring);

// Appends whole frames (sample pairs); frames beyond the room are dropped.
void CDRingAppend(CDRing& ring, std::span<const int16_t> samples);

// Adds the oldest frames onto a mixed stereo stream, clipping each sum to
// 16 bits, and drops them from the ring. Returns the frames added: fewer
// than the stream holds when the ring runs short.
uint32_t CDRingMixInto(CDRing& ring, std::span<int16_t> stream);

void CDRingClear(CDRing& ring);
