#include <gtest/gtest.h>

#include "app/capture/capture_args.h"
#include "app/capture/capture_show.h"
#include "audio/capture/music_capture.h"
#include "image/image_test_util.h"

namespace {

bool Parse(std::vector<std::string> args, CaptureOptions* o, std::string* error = nullptr)
{
    std::string ignored;
    return ParseCaptureArgs(args, o, error ? error : &ignored);
}

TEST(CaptureArgs, FramesTakeAClockListAndAnOutputFolder)
{
    CaptureOptions o;
    ASSERT_TRUE(Parse({"frames", "--clocks", "0,1291, 2720", "--out", "shots", "--raw"}, &o));
    EXPECT_EQ(o.command, "frames");
    EXPECT_EQ(o.clocks, (std::vector<int32_t>{0, 1291, 2720}));
    EXPECT_TRUE(o.raw);
    EXPECT_TRUE(std::filesystem::path(o.out).is_absolute());
    EXPECT_EQ(std::filesystem::path(o.out).filename(), "shots");
}

TEST(CaptureArgs, ClockListCanComeFromAFile)
{
    TempDir dir;
    const std::string file = dir.Write("clocks.txt", {'5', '\n', '7', ',', '9', '\r', '\n'});
    CaptureOptions o;
    ASSERT_TRUE(Parse({"frames", "--clocks", "@" + file, "--out", "x"}, &o));
    EXPECT_EQ(o.clocks, (std::vector<int32_t>{5, 7, 9}));
    std::string error;
    EXPECT_FALSE(Parse({"frames", "--clocks", "@" + file + ".missing", "--out", "x"}, &o, &error));
    EXPECT_NE(error.find("cannot read"), std::string::npos);
}

TEST(CaptureArgs, DefaultsPerCommand)
{
    CaptureOptions o;
    ASSERT_TRUE(Parse({"video", "--out", "show.mp4"}, &o));
    EXPECT_EQ(o.fps, 60);
    EXPECT_EQ(o.width, 800);
    EXPECT_EQ(o.height, 600);
    EXPECT_EQ(o.endClock, ShowEndClock);
    ASSERT_TRUE(Parse({"video", "--out", "s.mkv", "--fps", "25", "--size", "640x480", "--end", "300"}, &o));
    EXPECT_EQ(o.fps, 25);
    EXPECT_EQ(o.width, 640);
    EXPECT_EQ(o.height, 480);
    EXPECT_EQ(o.endClock, 300);
    ASSERT_TRUE(Parse({"bench"}, &o));
    EXPECT_EQ(o.fps, 32);
    EXPECT_EQ(o.runs, 1);
    ASSERT_TRUE(Parse({"bench", "--runs", "3"}, &o));
    EXPECT_EQ(o.runs, 3);
    ASSERT_TRUE(Parse({"stills", "--at", "100,13345", "--out", "d", "--content", "c"}, &o));
    EXPECT_EQ(o.fps, 32);
    EXPECT_EQ(o.content, "c");
}

TEST(CaptureArgs, RejectsWhatNoCommandCanUse)
{
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"play"},
        {"frames", "--out", "d"},                         // no clocks
        {"frames", "--clocks", "1,2"},                    // no output
        {"frames", "--clocks", "", "--out", "d"},         // empty list
        {"frames", "--clocks", "1,x", "--out", "d"},      // not a number
        {"frames", "--clocks", "-1", "--out", "d"},       // before the show
        {"frames", "--clocks", "1000001", "--out", "d"},  // past the range
        {"frames", "--clocks", "1", "--out", "d", "--fps", "30"},
        {"stills", "--at", "13346", "--out", "d"},        // never drawn
        {"video", "--out", "v.mp4", "--fps", "0"},
        {"video", "--out", "v.mp4", "--size", "801x600"}, // odd width
        {"video", "--out", "v.mp4", "--size", "800"},
        {"video", "--out", "v.mp4", "--end", "13347"},
        {"video", "--out"},                               // value missing
        {"bench", "--out", "x"},
        {"bench", "--raw"},
        {"bench", "--runs", "0"},
        {"frames", "--clocks", "1", "--out", "d", "--runs", "2"},
    };
    for (const auto& args : bad) {
        CaptureOptions o;
        std::string error;
        EXPECT_FALSE(Parse(args, &o, &error)) << ::testing::PrintToString(args);
        EXPECT_FALSE(error.empty());
    }
}

TEST(CaptureSchedule, PositionGivesExactlyItsClock)
{
    for (int32_t clock = 0; clock <= 20000; clock++)
        ASSERT_EQ(ClockFromPosition(PositionForClock(clock)), clock);
    for (int32_t clock : {MaxListedClock, 21474836, -1, -13346})
        EXPECT_EQ(ClockFromPosition(PositionForClock(clock)), clock);
}

TEST(CaptureSchedule, FramesAtAFixedRate)
{
    EXPECT_EQ(ClockOfFrame(0, 60), 0);
    EXPECT_EQ(ClockOfFrame(1, 60), 1);
    EXPECT_EQ(ClockOfFrame(3, 60), 5);
    EXPECT_EQ(ClockOfFrame(1, 32), 3);
    // The show stops after the frame whose following clock reaches 13346.
    EXPECT_EQ(FramesUntil(13346, 60), 8008);
    EXPECT_EQ(ClockOfFrame(8007, 60), 13345);
    EXPECT_EQ(FramesUntil(300, 10), 30);
    EXPECT_EQ(FramesUntil(13346, 1), 134);
}

} // namespace
