// The sequencer, its frame timer, the asset list and the fade, on the capture platform.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <numeric>
#include <string>
#include <tuple>
#include <vector>

#include "app/app.h"
#include "app/capture/capture_platform.h"
#include "demo/manifest.h"
#include "demo/sequencer.h"
#include "demo_test_util.h"
#include "display/display.h"
#include "image/noise.h"
#include "input/input.h"
#include "raster/mathtables.h"
#include "raster/screen.h"

namespace {

constexpr uint32_t FondoColour = 0x00336699;

// A content folder of the show's 114 files, made the working folder for the
// scope: the background 800x600 of FondoColour, every slot picture 2x2 of its SlotColour.
struct ContentFolder {
    TempDir dir;
    InFolder in{dir.path};

    ContentFolder()
    {
        for (int slot = 0; slot <= LastManifestSlot; slot++) {
            std::string name = slot == 0 ? BackgroundFile : ManifestFile(slot);
            if (name.empty())
                continue;
            std::replace(name.begin(), name.end(), '\\', '/');
            const int w = slot ? 2 : 800, h = slot ? 2 : 600;
            dir.Write(name, Tga(w, h, std::vector<uint32_t>(size_t(w * h), slot ? SlotColour(slot) : FondoColour)));
        }
    }
};

using TimerTest = CleanEngineTest;

// The show in a content folder; ShowTest has made its own start-up.
struct AppTest : CleanEngineTest {
    ContentFolder content;
};
struct ShowTest : AppTest {
    void SetUp() override
    {
        AppTest::SetUp();
        InitApp();
    }
    uint32_t FramePixel(int x, int y) { return CaptureFrame[y * DisplayWidth + x]; }
};

TEST_F(ShowTest, LoadsEveryPictureThenStartsTheSoundtrackThenPresentsTheTimeline)
{
    const int64_t presented = CaptureFramesPresented;
    DemoFrame();
    EXPECT_EQ(Sequencer.DemoStage, 2); // the pictures, each in its slot (the frame below shows them)
    EXPECT_TRUE(CaptureMusicFile.empty());

    Sequencer.SceneClock = 77;
    DemoFrame();
    EXPECT_EQ(Sequencer.DemoStage, 3);
    EXPECT_EQ(CaptureMusicFile, "music\\music00.mp3");
    EXPECT_EQ(Sequencer.SceneClock, 0);
    EXPECT_EQ(CaptureFramesPresented, presented); // nothing drawn yet

    CaptureMusicPosition = 1.234567;
    DemoFrame();
    EXPECT_EQ(CaptureFramesPresented, presented + 1);
    EXPECT_EQ(Sequencer.SceneClock, 123);
    // Background under everything; window 1 at T = 0: slot 11 at (400, 200)
    // and slot 14 widened to 700 x 100 about (400, 500), from x 50.
    EXPECT_EQ(FramePixel(5, 5), FondoColour);
    EXPECT_EQ(FramePixel(400, 200), SlotColour(11));
    EXPECT_EQ(FramePixel(50, 500), SlotColour(14));
    EXPECT_NE(FramePixel(49, 500), SlotColour(14));
    DemoFrame(); // draws the clock read at the end of the last frame: at 123 slot 14 is 724 wide, from x 38
    EXPECT_EQ(FramePixel(38, 500), SlotColour(14));
}

TEST_F(ShowTest, FrameWaitsUntilMoreThan30MsHavePassed)
{
    DemoFrame();
    DemoFrame();
    // Time moving 1 ms per reading: a wait that begins 12 ms after the last
    // reset reads until 31 ms have passed, and the reset reads 32. It sleeps
    // through what is left but the last millisecond (these sleeps return at once).
    CaptureTickStep = 1;
    const uint32_t start = Input.TimerBase;
    CaptureTickNow = start + 12;
    DemoFrame();
    EXPECT_EQ(Input.TimerBase, start + 32);
    std::vector<uint32_t> sleeps(18); // 18 ms down to 1
    std::iota(sleeps.rbegin(), sleeps.rend(), 1u);
    EXPECT_EQ(CaptureSleeps, sleeps);
}

// A host called back once per display refresh: every waiting message, then a frame only when it
// is due; the frame that reaches clock 13346 is still presented and asks to close.
TEST_F(AppTest, RefreshDrawsOnlyDueFramesWithoutWaitingAndEndsWithTheQuit)
{
    CaptureTickStep = 0; // the counter moves only when the test moves it
    CaptureTickNow = 1000;
    ASSERT_TRUE(StartApp());
    int exitCode = -1;
    EXPECT_TRUE(RunAppRefresh(&exitCode)); // the pictures
    EXPECT_TRUE(RunAppRefresh(&exitCode)); // the soundtrack; the timer starts at 1000
    // Tick, frames presented since, timer base: not due until more than 30 ms have passed.
    const std::tuple<uint32_t, int64_t, uint32_t> refreshes[] = {
        {1000, 0, 1000}, {1030, 0, 1000}, {1031, 1, 1031}, {1050, 1, 1031}, {1062, 2, 1062}, {1200, 3, 1200},
    };
    const int64_t before = CaptureFramesPresented;
    for (const auto& [now, presented, timerBase] : refreshes) {
        CaptureTickNow = now;
        EXPECT_TRUE(RunAppRefresh(&exitCode)) << now;
        EXPECT_EQ(CaptureFramesPresented - before, presented) << now;
        EXPECT_EQ(Input.TimerBase, timerBase) << now;
    }
    for (const auto& [position, closes] : {std::pair{133.455, 0}, {133.46, 1}}) {
        const int64_t presented = CaptureFramesPresented;
        CaptureMusicPosition = position;
        CaptureTickNow += 100;
        EXPECT_TRUE(RunAppRefresh(&exitCode));
        EXPECT_EQ(CaptureFramesPresented, presented + 1) << position;
        EXPECT_EQ(CaptureCloseRequests, closes) << position;
    }
    const int64_t presented = CaptureFramesPresented;
    CaptureTickNow += 100;
    EXPECT_FALSE(RunAppRefresh(&exitCode));
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(CaptureFramesPresented, presented);
    EXPECT_EQ(Images.NoiseLayers[0].buffer.rows, nullptr); // released by the shutdown
}

TEST_F(TimerTest, WaitSleepsThroughTheTimeCertainlyLeftButOneMillisecond)
{
    // Elapsed readings against a limit of 30: the wait ends at a reading of 31, at most 31 - elapsed ms later.
    const std::pair<int32_t, uint32_t> cases[] = {
        {0, 30}, {12, 18}, {29, 1}, {30, 0}, {31, 0}, {45, 0}, {-100, 130}, {INT32_MIN, 2147483678u},
    };
    for (const auto& [elapsed, sleep] : cases)
        EXPECT_EQ(FrameSleepMs(elapsed, 30), sleep) << elapsed;
    EXPECT_EQ(FrameSleepMs(INT32_MIN, INT32_MAX), UINT32_MAX);
}

TEST_F(TimerTest, MeasuresFromTheLastResetAcrossTheCountersWrap)
{
    CaptureTickStep = 0;
    CaptureTickNow = 5000;
    ResetTimer();
    CaptureTickNow = 5012;
    EXPECT_EQ(ElapsedTime(), 12);
    CaptureTickNow = 10;
    Input.TimerBase = 4294967290u;
    EXPECT_EQ(ElapsedTime(), 16);
}

TEST(ClockFromPosition, TruncatesPositionTimesAHundredAndHoldsImpossiblePositionsInRange)
{
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    const std::pair<double, int32_t> cases[] = {
        {0.0, 0},   {1.234567, 123}, {0.29, 28},         {133.455, 13345}, {133.46, 13346},
        {-0.019, -1}, {nan, 0},      {1e300, INT32_MAX}, {inf, INT32_MAX}, {-1e300, INT32_MIN},
    };
    for (const auto& [seconds, clock] : cases)
        EXPECT_EQ(ClockFromPosition(seconds), clock) << seconds;
}

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
    EXPECT_THAT(memory,
                ::testing::ElementsAre(0x007F4020, 0x007F4020, 0x00ABCDEF, 0x007F4020, 0x007F4020, 0x00ABCDEF));
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
