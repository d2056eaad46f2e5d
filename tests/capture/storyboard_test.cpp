// The storyboard: which clock stands for each window, and the picture it makes on the generated content, cell by cell against the
// frames that `frames` draws at the same clocks.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "capture/capture_args.h"
#include "capture/capture_commands.h"
#include "capture/storyboard.h"
#include "common/png_read.h"
#include "demo/timeline.h"
#include "image/image_test_util.h"

namespace {

std::vector<uint8_t> ReadBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

TEST(Storyboard, EachWindowIsShownAtTheMiddleOfItsClocks)
{
    for (int window = 1; window <= SceneWindowCount; window++)
        EXPECT_EQ(SceneWindowAt(WindowMiddleClock(window)), window) << window;
    // Window 1 holds 0-474, window 6 1291-1469, window 37 12010-13345.
    EXPECT_EQ(WindowMiddleClock(1), 237);
    EXPECT_EQ(WindowMiddleClock(6), 1380);
    EXPECT_EQ(WindowMiddleClock(37), 12677);
    EXPECT_EQ(ClockInSeconds(12677), "126.77 s");
    EXPECT_EQ(ClockInSeconds(5), "0.05 s");
}

// Runs a command of the tool in this process, in the content folder.
int RunInContent(const std::vector<std::string>& args, int (*command)(const CaptureOptions&))
{
    CaptureOptions options;
    std::string error;
    if (!ParseCaptureArgs(args, &options, &error)) {
        ADD_FAILURE() << error;
        return -1;
    }
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(TARVEL_CONTENT_DIR);
    const int code = command(options);
    std::filesystem::current_path(previous);
    return code;
}

TEST(Storyboard, EveryCellIsTheFrameOfItsWindowShrunk)
{
    TempDir dir;
    std::string clocks;
    for (int window = 1; window <= SceneWindowCount; window++)
        clocks += std::to_string(WindowMiddleClock(window)) + ",";
    const std::string frames = (dir.path / "frames").string(), board = (dir.path / "board.png").string();
    ASSERT_EQ(RunInContent({"frames", "--clocks", clocks, "--out", frames, "--raw"}, RunFrames), 0);
    ASSERT_EQ(RunInContent({"storyboard", "--out", board, "--columns", "5"}, RunStoryboard), 0);

    // 37 cells in rows of 5: 8 rows, the last one holding 2.
    const DecodedPng image = DecodePng(ReadBytes(board));
    const Storyboard layout = MakeStoryboard(5);
    ASSERT_EQ(std::make_pair(image.width, image.height), std::make_pair(layout.width, layout.height));
    EXPECT_EQ(layout.rows, 8);

    for (int window = 1; window <= SceneWindowCount; window++) {
        char name[32];
        std::snprintf(name, sizeof name, "frame_%05d.rgb32", window - 1);
        const std::vector<uint8_t> frame = ReadBytes(dir.path / "frames" / name);
        ASSERT_EQ(frame.size(), 800u * 600u * 4u) << name;
        int left = 0, top = 0;
        ThumbOrigin(layout, window, &left, &top);
        int differing = 0;
        for (int y = 0; y < 150; y++)
            for (int x = 0; x < 200; x++) {
                uint32_t shrunk = 0;
                for (int channel = 0; channel < 3; channel++) {
                    int sum = 0;
                    for (int fy = 4 * y; fy < 4 * y + 4; fy++)
                        for (int fx = 4 * x; fx < 4 * x + 4; fx++)
                            sum += frame[4 * (size_t(fy) * 800 + size_t(fx)) + size_t(channel)];
                    shrunk |= uint32_t((sum + 8) / 16) << (8 * channel);
                }
                differing += image.pixels[size_t(top + y) * size_t(image.width) + size_t(left + x)] != shrunk;
            }
        EXPECT_EQ(differing, 0) << "window " << window;
    }
}

} // namespace
