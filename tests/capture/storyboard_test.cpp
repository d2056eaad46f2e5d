// The storyboard: which clock stands for each window, and the picture it
// makes on the generated content, cell by cell against the frames that
// `frames` draws at the same clocks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "capture/capture_args.h"
#include "capture/capture_commands.h"
#include "capture/storyboard.h"
#include "common/png_read.h"
#include "content/content_test_util.h"
#include "demo/demo_test_util.h"
#include "demo/timeline.h"

namespace {

TEST(Storyboard, EachWindowIsShownAtTheMiddleOfItsClocks)
{
    for (int window = 1; window <= SceneWindowCount; window++)
        EXPECT_EQ(SceneWindowAt(WindowMiddleClock(window)), window) << window;
    EXPECT_EQ(WindowMiddleClock(6), 1380); // window 6 holds 1291-1469
    EXPECT_EQ(ClockInSeconds(12677), "126.77 s");
    EXPECT_EQ(ClockInSeconds(5), "0.05 s");
}

// Runs a command of the tool in this process, in the content folder.
int RunInContent(const std::vector<std::string>& args, int (*command)(const CaptureOptions&))
{
    CaptureOptions options;
    std::string error;
    EXPECT_TRUE(ParseCaptureArgs(args, &options, &error)) << error;
    InFolder content{TARVEL_CONTENT_DIR};
    return command(options);
}

// Each cell is its window's frame shrunk 4 times, every pixel the rounded
// mean of its 4x4 block; 37 cells in rows of 5 make 8 rows.
TEST(Storyboard, EveryCellIsTheFrameOfItsWindowShrunk)
{
    TempDir dir;
    std::string clocks;
    for (int window = 1; window <= SceneWindowCount; window++)
        clocks += std::to_string(WindowMiddleClock(window)) + ",";
    const std::string frames = (dir.path / "frames").string(), board = (dir.path / "board.png").string();
    ASSERT_EQ(RunInContent({"frames", "--clocks", clocks, "--out", frames, "--raw"}, RunFrames), 0);
    ASSERT_EQ(RunInContent({"storyboard", "--out", board, "--columns", "5"}, RunStoryboard), 0);
    const DecodedPng image = DecodePng(FileBytes(board));
    const Storyboard layout = MakeStoryboard(5);
    ASSERT_EQ(std::make_pair(image.width, image.height), std::make_pair(layout.width, layout.height));
    EXPECT_EQ(layout.rows, 8);

    for (int window = 1; window <= SceneWindowCount; window++) {
        char name[32];
        std::snprintf(name, sizeof name, "frame_%05d.rgb32", window - 1);
        const std::vector<uint8_t> frame = FileBytes(dir.path / "frames" / name);
        ASSERT_EQ(frame.size(), 800u * 600u * 4u) << name;
        int left = 0, top = 0, differing = 0;
        ThumbOrigin(layout, window, &left, &top);
        for (int y = 0; y < 150; y++)
            for (int x = 0; x < 200; x++) {
                uint32_t shrunk = 0;
                for (int channel = 0; channel < 3; channel++) {
                    int sum = 0;
                    for (size_t i = 0; i < 16; i++)
                        sum += frame[4 * ((4 * size_t(y) + i / 4) * 800 + 4 * size_t(x) + i % 4) + size_t(channel)];
                    shrunk |= uint32_t((sum + 8) / 16) << (8 * channel);
                }
                differing += image.pixels[size_t(top + y) * size_t(image.width) + size_t(left + x)] != shrunk;
            }
        EXPECT_EQ(differing, 0) << "window " << window;
    }
}

} // namespace
