#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "display/fade.h"
#include "raster/raster_test_util.h"

namespace {

struct FadeTest : ::testing::Test {
    ~FadeTest() override
    {
        FadeMode = 0;
        FadeLevel = 0;
    }
};

uint32_t FadeOne(uint32_t pixel, int level)
{
    FadeLevel = level;
    ApplyFade(&pixel, 1, 1, 4);
    return pixel;
}

TEST(MapScreenRows, PointsEveryRowOnePitchFurther)
{
    Screen s{};
    newscreenwin(&s, 800, 600);
    std::vector<uint32_t> memory(800 * 600);
    MapScreenRows(&s, memory.data(), 3200);
    EXPECT_EQ(s.rows[0], memory.data());
    EXPECT_EQ(reinterpret_cast<uint8_t*>(s.rows[599]), reinterpret_cast<uint8_t*>(memory.data()) + 599 * 3200);

    // A longer pitch than the Screen's width: rows follow the memory's rows.
    std::vector<uint32_t> padded(1024 * 600);
    MapScreenRows(&s, padded.data(), 4096);
    EXPECT_EQ(s.rows[1], padded.data() + 1024);
    EXPECT_EQ(s.rows[599], padded.data() + 599 * 1024);
    std::free(s.rows); // the rows belong to the vectors
}

TEST_F(FadeTest, ScalesEachChannelTruncating)
{
    EXPECT_EQ(FadeOne(0x00FF8040u, 16), 0x007F4020u);
    EXPECT_EQ(FadeOne(0x00FF8040u, 0), 0u);
    EXPECT_EQ(FadeOne(0x00FF8040u, 32), 0x00FF8040u);
    EXPECT_EQ(FadeOne(0x00010101u, 31), 0u);
}

TEST_F(FadeTest, TopByteTravelsWithRed)
{
    // Split as a signed value, 0xFF000000 | red reads as a negative red.
    EXPECT_EQ(FadeOne(0x80000000u, 16), 0xC0000000u);
    EXPECT_EQ(FadeOne(0xFFFFFFFFu, 32), 0xFFFFFFFFu);
}

TEST_F(FadeTest, PassKeepsToTheRowsAndLeavesThePaddingAlone)
{
    // Two rows of three pixels, four pixels apart.
    std::vector<uint32_t> memory = {0x00FF8040, 0x00FF8040, 0x00FF8040, 0x00ABCDEF,
                                    0x00FF8040, 0x00FF8040, 0x00FF8040, 0x00ABCDEF};
    FadeLevel = 16;
    ApplyFade(memory.data(), 3, 2, 16);
    EXPECT_EQ(memory, (std::vector<uint32_t>{0x007F4020, 0x007F4020, 0x007F4020, 0x00ABCDEF, 0x007F4020,
                                             0x007F4020, 0x007F4020, 0x00ABCDEF}));
}

TEST_F(FadeTest, FadeInShowsThirtyTwoStepsThenEnds)
{
    FadeMode = 1;
    FadeLevel = 0;
    for (int frame = 0; frame < 32; frame++) {
        uint32_t pixel = 0x00FFFFFF;
        FadePresentedFrame(&pixel, 1, 1, 4);
        const uint32_t c = uint32_t(255 * frame / 32);
        EXPECT_EQ(pixel, c << 16 | c << 8 | c) << "frame " << frame;
    }
    EXPECT_EQ(FadeMode, 0);
    EXPECT_EQ(FadeLevel, 32);
    uint32_t pixel = 0x00FFFFFF;
    FadePresentedFrame(&pixel, 1, 1, 4);
    EXPECT_EQ(pixel, 0x00FFFFFFu);
}

TEST_F(FadeTest, FadeOutRunsDownAndHoldsBlack)
{
    FadeMode = 2;
    FadeLevel = 32;
    for (int frame = 0; frame < 40; frame++) {
        uint32_t pixel = 0x00FFFFFF;
        FadePresentedFrame(&pixel, 1, 1, 4);
        const int level = frame < 32 ? 32 - frame : 0;
        const uint32_t c = uint32_t(255 * level / 32);
        EXPECT_EQ(pixel, c << 16 | c << 8 | c) << "frame " << frame;
    }
    EXPECT_EQ(FadeMode, 2);
    EXPECT_EQ(FadeLevel, 0);
}

} // namespace
