#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <string>

#include "app/capture/close_capture.h"
#include "audio/capture/music_capture.h"
#include "demo/manifest.h"
#include "demo/sequencer.h"
#include "demo_test_util.h"
#include "display/capture/display_capture.h"
#include "input/capture/ticks_capture.h"
#include "input/timer.h"
#include "image/image_test_util.h"

namespace {

constexpr uint32_t FondoColour = 0x00336699;

// A content folder of the show's 114 files: the background 800x600 of
// FondoColour, every slot picture 2x2 of its SlotColour. The test runs inside
// it and returns to where it was afterwards.
struct ContentFolder {
    TempDir dir;
    std::filesystem::path previous = std::filesystem::current_path();

    explicit ContentFolder(const char* leaveOut = nullptr)
    {
        Write(BackgroundFile, 800, 600, FondoColour);
        for (int slot = 1; slot <= LastManifestSlot; slot++) {
            const std::string file = ManifestFile(slot);
            if (!file.empty() && (!leaveOut || file != leaveOut))
                Write(file, 2, 2, SlotColour(slot));
        }
        std::filesystem::current_path(dir.path);
    }
    ~ContentFolder() { std::filesystem::current_path(previous); }

    void Write(std::string name, int w, int h, uint32_t colour)
    {
        for (char& c : name)
            if (c == '\\')
                c = '/';
        TgaFile t{.width = w, .height = h};
        t.pixels.assign(size_t(w) * size_t(h), colour);
        dir.Write(name, TgaBytes(t));
    }
};

// The start-up that the show's platform runs before the first DemoFrame.
void StartUp()
{
    CalcMathTables();
    if (!DisplayScreen.rows)
        newscreenwin(&DisplayScreen, DisplayWidth, DisplayHeight);
    SetTarget(&DisplayScreen);
    ClearAllSlots();
    NoiseFree(0);
    NoiseFree(1);
    NoiseLayers[0] = NoiseLayer{};
    NoiseLayers[1] = NoiseLayer{};
    DemoStage = 1;
    SceneClock = 0;
    CaptureMusicFile.clear();
    CaptureMusicPosition = 0.0;
    CaptureCloseRequests = 0;
}

struct SequencerTest : ::testing::Test {
    ContentFolder content;
    SequencerTest() { StartUp(); }
    ~SequencerTest() override
    {
        NoiseFree(0);
        NoiseFree(1);
        NoiseLayers[0] = NoiseLayer{};
        NoiseLayers[1] = NoiseLayer{};
        ClearAllSlots();
    }
    uint32_t FramePixel(int x, int y) { return CaptureFrame[y * DisplayWidth + x]; }
};

TEST_F(SequencerTest, FirstCallLoadsEveryPictureAndDrawsNothing)
{
    const int64_t presented = CaptureFramesPresented;
    DemoFrame(nullptr);
    EXPECT_EQ(DemoStage, 2);
    EXPECT_EQ(CaptureFramesPresented, presented);
    EXPECT_EQ(CurrentTarget, &DisplayScreen);
    EXPECT_EQ(ImageBank[0].image.width, 800);
    EXPECT_EQ(ImageBank[0].image.height, 600);
    EXPECT_EQ(ImageBank[0].image.rows[599][799], FondoColour);
    EXPECT_EQ(ImageBank[0].hotspotX, 0);
    int loaded = 0;
    for (int slot = 1; slot < ImageSlotCount; slot++) {
        const bool listed = !ManifestFile(slot).empty();
        loaded += listed;
        ASSERT_EQ(ImageBank[slot].image.width, listed ? 2 : 0) << "slot " << slot;
        if (listed) {
            EXPECT_EQ(ImageBank[slot].image.rows[1][1], SlotColour(slot)) << "slot " << slot;
            EXPECT_EQ(ImageBank[slot].hotspotX, 1);
        }
    }
    EXPECT_EQ(loaded, 113);
    EXPECT_TRUE(CaptureMusicFile.empty());
}

TEST_F(SequencerTest, SecondCallStartsTheSoundtrackAndDrawsNothing)
{
    DemoFrame(nullptr);
    SceneClock = 77;
    const int64_t presented = CaptureFramesPresented;
    DemoFrame(nullptr);
    EXPECT_EQ(DemoStage, 3);
    EXPECT_EQ(CaptureFramesPresented, presented);
    EXPECT_EQ(CaptureMusicFile, "music\\music00.mp3");
    EXPECT_EQ(SceneClock, 0);
    EXPECT_EQ(NoiseLayers[0].kind, 0);
    EXPECT_EQ(NoiseLayers[0].buffer.width, 402);
    EXPECT_EQ(NoiseLayers[1].kind, 1);
    EXPECT_EQ(NoiseLayers[1].buffer.width, 801);
}

TEST_F(SequencerTest, ThirdCallPresentsTheTimelineAtClockZero)
{
    DemoFrame(nullptr);
    DemoFrame(nullptr);
    const int64_t presented = CaptureFramesPresented;
    CaptureMusicPosition = 1.234567;
    DemoFrame(nullptr);
    EXPECT_EQ(CaptureFramesPresented, presented + 1);
    EXPECT_EQ(SceneClock, 123);
    // Background under everything; window 1 at T = 0: slot 11 at (400, 200)
    // and slot 14 widened to 700 x 100 about (400, 500), from x 50.
    EXPECT_EQ(FramePixel(5, 5), FondoColour);
    EXPECT_EQ(FramePixel(400, 200), SlotColour(11));
    EXPECT_EQ(FramePixel(50, 500), SlotColour(14));
    EXPECT_NE(FramePixel(49, 500), SlotColour(14));

    // The next frame draws the clock read at the end of this one: at 123
    // slot 14 is 724 wide, from x 38.
    DemoFrame(nullptr);
    EXPECT_EQ(FramePixel(38, 500), SlotColour(14));
}

TEST_F(SequencerTest, ShowAsksToCloseFromClock13346AndStillPresents)
{
    DemoFrame(nullptr);
    DemoFrame(nullptr);
    CaptureMusicPosition = 133.455;
    DemoFrame(nullptr);
    EXPECT_EQ(SceneClock, 13345);
    EXPECT_EQ(CaptureCloseRequests, 0);
    const int64_t presented = CaptureFramesPresented;
    CaptureMusicPosition = 133.46;
    DemoFrame(nullptr);
    EXPECT_EQ(SceneClock, 13346);
    EXPECT_EQ(CaptureCloseRequests, 1);
    EXPECT_EQ(CaptureFramesPresented, presented + 1);
}

TEST_F(SequencerTest, FrameWaitsUntilMoreThan30MsHavePassed)
{
    DemoFrame(nullptr);
    DemoFrame(nullptr);
    // Time moving 1 ms per reading. A wait that begins 12 ms after the last
    // reset reads until 31 ms have passed; the reset then reads 32.
    CaptureTickStep = 1;
    uint32_t start = TimerBase;
    CaptureTickNow = start + 12;
    DemoFrame(nullptr);
    EXPECT_EQ(TimerBase, start + 32);
    // One that begins 45 ms after it ends at its first reading.
    start = TimerBase;
    CaptureTickNow = start + 45;
    DemoFrame(nullptr);
    EXPECT_EQ(TimerBase, start + 46);
    CaptureTickStep = 31;
}

TEST(ClockFromPosition, TruncatesPositionTimesAHundred)
{
    EXPECT_EQ(ClockFromPosition(0.0), 0);
    EXPECT_EQ(ClockFromPosition(1.234567), 123);
    EXPECT_EQ(ClockFromPosition(0.29), 28);
    EXPECT_EQ(ClockFromPosition(133.455), 13345);
    EXPECT_EQ(ClockFromPosition(133.46), 13346);
    EXPECT_EQ(ClockFromPosition(-0.019), -1);
}

TEST(ClockFromPosition, HoldsImpossiblePositionsInRange)
{
    EXPECT_EQ(ClockFromPosition(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(ClockFromPosition(1e300), INT32_MAX);
    EXPECT_EQ(ClockFromPosition(std::numeric_limits<double>::infinity()), INT32_MAX);
    EXPECT_EQ(ClockFromPosition(-1e300), INT32_MIN);
}

TEST(SequencerDeathTest, MissingPictureEndsTheShowWhileLoading)
{
    ContentFolder content("graph\\foto013.TGA");
    StartUp();
    EXPECT_EXIT(DemoFrame(nullptr), ::testing::ExitedWithCode(255),
                Literal("fichero no encontrado en SizeTGA: graph\\foto013.TGA"));
}

TEST(Manifest, ListsTheShowsFilesBySlot)
{
    EXPECT_EQ(ManifestFile(1), "graph\\sprite00.TGA");
    EXPECT_EQ(ManifestFile(19), "graph\\sprite18.TGA");
    EXPECT_EQ(ManifestFile(20), "graph\\FRASE00.TGA");
    EXPECT_EQ(ManifestFile(28), "graph\\FRASE08.TGA");
    EXPECT_EQ(ManifestFile(29), "graph\\sprite19.TGA");
    EXPECT_EQ(ManifestFile(30), "graph\\sprite30.TGA");
    EXPECT_EQ(ManifestFile(40), "graph\\fondon.TGA");
    EXPECT_EQ(ManifestFile(50), "graph\\sprite50.TGA");
    EXPECT_EQ(ManifestFile(51), "graph\\foto001.TGA");
    EXPECT_EQ(ManifestFile(78), "graph\\foto028.TGA");
    EXPECT_EQ(ManifestFile(88), "graph\\sprite88.TGA");
    EXPECT_EQ(ManifestFile(101), "graph\\a1.TGA");
    EXPECT_EQ(ManifestFile(102), "graph\\A.TGA");
    EXPECT_EQ(ManifestFile(127), "graph\\z.TGA");
    for (int slot : {0, 79, 80, 89, 100, 128, -1})
        EXPECT_EQ(ManifestFile(slot), "") << slot;
}

} // namespace
