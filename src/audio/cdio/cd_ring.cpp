#include "audio/cdio/cd_ring.h"

#include <algorithm>

uint32_t CDRingRoom(const CDRing& ring)
{
    return CDRingFrames - ring.count;
}

void CDRingAppend(CDRing& ring, std::span<const int16_t> samples)
{
    const uint32_t frames = std::min(uint32_t(samples.size() / 2), CDRingRoom(ring));
    uint32_t at = (ring.head + ring.count) % CDRingFrames;
    for (uint32_t i = 0; i < frames; i++) {
        ring.samples[2 * at] = samples[2 * i];
        ring.samples[2 * at + 1] = samples[2 * i + 1];
        at = at + 1 == CDRingFrames ? 0 : at + 1;
    }
    ring.count += frames;
}

uint32_t CDRingMixInto(CDRing& ring, std::span<int16_t> stream)
{
    const uint32_t frames = std::min(uint32_t(stream.size() / 2), ring.count);
    for (uint32_t i = 0; i < 2 * frames; i++) {
        const int sum = stream[i] + ring.samples[2 * ring.head + i % 2];
        stream[i] = int16_t(std::clamp(sum, -32768, 32767));
        if (i % 2 == 1)
            ring.head = ring.head + 1 == CDRingFrames ? 0 : ring.head + 1;
    }
    ring.count -= frames;
    return frames;
}

void CDRingClear(CDRing& ring)
{
    ring.head = 0;
    ring.count = 0;
}
