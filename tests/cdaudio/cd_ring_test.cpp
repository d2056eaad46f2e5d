#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "audio/cdio/cd_ring.h"

namespace {

std::vector<int16_t> Ramp(uint32_t frames, int start)
{
    std::vector<int16_t> samples(2 * frames);
    for (uint32_t i = 0; i < samples.size(); i++)
        samples[i] = int16_t((start + int(i)) % 30000);
    return samples;
}

TEST(CDRing, FramesComeOutInOrderAcrossTheWrap)
{
    auto ring = std::make_unique<CDRing>();
    // Move the front near the end of the storage, then fill past the wrap.
    CDRingAppend(*ring, Ramp(CDRingFrames - 100, 0));
    std::vector<int16_t> out(2 * CDRingFrames, 0);
    EXPECT_EQ(CDRingMixInto(*ring, out), CDRingFrames - 100);
    const std::vector<int16_t> wrapping = Ramp(1000, 7);
    CDRingAppend(*ring, wrapping);
    EXPECT_EQ(CDRingRoom(*ring), CDRingFrames - 1000);
    out.assign(2 * 1000, 0);
    EXPECT_EQ(CDRingMixInto(*ring, std::span(out).first(2 * 400)), 400u);
    EXPECT_EQ(CDRingMixInto(*ring, std::span(out).subspan(2 * 400)), 600u);
    EXPECT_EQ(out, wrapping);
}

TEST(CDRing, MixAddsClipsToSixteenBitsAndAShortRingLeavesTheRestAlone)
{
    auto ring = std::make_unique<CDRing>();
    CDRingAppend(*ring, std::vector<int16_t>{10000, -10000, -50, 32767, 1, -1});
    std::vector<int16_t> stream{30000, -30000, 100, -32768, -32768, 32767, 10, 10};
    EXPECT_EQ(CDRingMixInto(*ring, stream), 3u);
    EXPECT_EQ(stream, (std::vector<int16_t>{32767, -32768, 50, -1, -32767, 32766, 10, 10}));
    EXPECT_EQ(CDRingMixInto(*ring, stream), 0u);
}

} // namespace
