#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "demo_test_util.h"
#include "display/display.h"
#include "raster/screen.h"

namespace {

using ::testing::ElementsAre;

// The show's start-up on the capture platform, whose frames land in CaptureFrame.
struct FadeTest : CleanEngineTest {
    void SetUp() override { InitApp(); }
};

TEST(MapScreenRows, RowsFollowAPitchLongerThanTheWidth)
{
    Screen s{};
    newscreenwin(&s, 800, 600);
    std::vector<uint32_t> padded(1024 * 600);
    MapScreenRows(&s, padded.data(), 4096);
    EXPECT_EQ(s.rows[0], padded.data());
    EXPECT_EQ(s.rows[599], padded.data() + 599 * 1024);
    std::free(s.rows); // the rows belong to the vector
}

TEST_F(FadeTest, ScalesEachChannelTruncatingAndTheTopByteTravelsWithRed)
{
    // pixel, level, result; split as a signed value, 0xFF000000 | red reads as a negative red.
    const uint32_t cases[][3] = {{0x00FF8040, 16, 0x007F4020}, {0x00FF8040, 0, 0}, {0x00FF8040, 32, 0x00FF8040},
                                 {0x00010101, 31, 0}, {0x80000000, 16, 0xC0000000}, {0xFFFFFFFF, 32, 0xFFFFFFFF}};
    for (const auto& c : cases) {
        uint32_t pixel = c[0];
        Display.FadeLevel = int32_t(c[1]);
        ApplyFade(&pixel, 1, 1, 4);
        EXPECT_EQ(pixel, c[2]) << std::hex << c[0] << " at level " << std::dec << c[1];
    }
    // Two rows of two pixels, three pixels apart: the padding is left alone.
    std::vector<uint32_t> memory = {0x00FF8040, 0x00FF8040, 0x00ABCDEF, 0x00FF8040, 0x00FF8040, 0x00ABCDEF};
    Display.FadeLevel = 16;
    ApplyFade(memory.data(), 2, 2, 12);
    EXPECT_THAT(memory, ElementsAre(0x007F4020, 0x007F4020, 0x00ABCDEF, 0x007F4020, 0x007F4020, 0x00ABCDEF));
}

TEST_F(FadeTest, FadeInShowsThirtyTwoStepsThenEndsAndFadeOutRunsDownAndHoldsBlack)
{
    for (int mode : {1, 2}) {
        Display.FadeMode = mode;
        Display.FadeLevel = mode == 1 ? 0 : 32;
        for (int frame = 0; frame < 40; frame++) {
            BeginFrame();
            Display.DisplayScreen.rows[599][799] = 0x00FFFFFF;
            PresentFrame();
            const int level = mode == 1 ? std::min(frame, 32) : std::max(32 - frame, 0);
            const uint32_t c = uint32_t(255 * level / 32);
            EXPECT_EQ(CaptureFrame[DisplayWidth * DisplayHeight - 1], c << 16 | c << 8 | c)
                << "mode " << mode << ", frame " << frame;
            if (frame == 31) { // the fade in ends with its 32nd frame
                EXPECT_EQ(Display.FadeMode, mode == 1 ? 0 : 2);
                EXPECT_EQ(Display.FadeLevel, mode == 1 ? 32 : 0);
            }
        }
    }
}

} // namespace
