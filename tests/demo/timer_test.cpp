#include <gtest/gtest.h>

#include "input/capture/ticks_capture.h"
#include "input/timer.h"

namespace {

// The capture's tick counter held still at `now`.
void FreezeTicks(uint32_t now)
{
    CaptureTickStep = 0;
    CaptureTickNow = now;
}

struct TimerTest : ::testing::Test {
    ~TimerTest() override { CaptureTickStep = 31; }
};

TEST_F(TimerTest, MeasuresFromTheLastReset)
{
    FreezeTicks(1000);
    ResetTimer();
    EXPECT_EQ(TimerBase, 1000u);
    EXPECT_EQ(ElapsedTime(), 0);
    CaptureTickNow = 1012;
    EXPECT_EQ(ElapsedTime(), 12);
}

TEST_F(TimerTest, StaysRightWhenTheCounterWraps)
{
    FreezeTicks(10);
    TimerBase = 4294967290u;
    EXPECT_EQ(ElapsedTime(), 16);
}

TEST_F(TimerTest, AdvanceMovesTheBaseEitherWay)
{
    FreezeTicks(5000);
    ResetTimer();
    AdvanceTimer(100);
    EXPECT_EQ(ElapsedTime(), -100);
    CaptureTickNow = 5100;
    EXPECT_EQ(ElapsedTime(), 0);
    AdvanceTimer(-150);
    EXPECT_EQ(ElapsedTime(), 150);
}

} // namespace
