#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "sdl/desktop_session.h"

// The show as a user sees it: tarvel on its own X server with SDL's real X11
// video driver and a null audio output, watched through screenshots and
// driven with xdotool.
namespace fs = std::filesystem;

namespace {

// One line of the frame log that tarvel writes with TARVEL_FRAME_LOG.
struct LoggedFrame {
    double begun, waitEnd, drawn, presented, shown, music, played;
    int clock;
    double cpu, waitCpu;
};

std::vector<LoggedFrame> ReadFrameLog(const std::string& path)
{
    std::vector<LoggedFrame> frames;
    std::istringstream lines(ReadText(path));
    std::string line;
    std::getline(lines, line); // column names
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        long number;
        LoggedFrame f{};
        if (fields >> number >> f.begun >> f.waitEnd >> f.drawn >> f.presented >> f.shown >> f.music >> f.played >> f.clock >> f.cpu
                   >> f.waitCpu)
            frames.push_back(f);
    }
    return frames;
}

class ShowDesktopTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        work = fs::temp_directory_path() / ("tarvel_desktop_" + std::to_string(getpid()));
        fs::create_directories(work);
    }

    void TearDown() override
    {
        if (show.pid > 0)
            WaitForExit(&show, 0);
        StopXServer(&server);
        fs::remove_all(work);
    }

    void StartShow(const fs::path& content, std::vector<std::string> args = {})
    {
        args.insert(args.begin(), TARVEL_PROGRAM);
        show = StartProgram(args, content.string(),
                            {"DISPLAY=" + server.display, "SDL_AUDIODRIVER=dummy", "TARVEL_FRAME_LOG=" + FrameLog()},
                            (work / "out.txt").string(), (work / "err.txt").string());
    }

    std::string FrameLog() const { return (work / "frames.txt").string(); }

    // Waits until the show has presented at least `count` frames.
    bool WaitForFrames(size_t count, double seconds)
    {
        for (double waited = 0; waited < seconds; waited += 0.1) {
            if (ReadFrameLog(FrameLog()).size() >= count)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return false;
    }

    // A content folder that links to the generated one, less some files.
    fs::path PartialContent(const std::vector<std::string>& left_out, bool withMusic)
    {
        const fs::path content = work / "content";
        fs::create_directories(content / "graph");
        for (const auto& entry : fs::directory_iterator(fs::path(TARVEL_CONTENT_DIR) / "graph")) {
            const std::string name = entry.path().filename().string();
            if (std::find(left_out.begin(), left_out.end(), name) == left_out.end())
                fs::create_symlink(entry.path(), content / "graph" / name);
        }
        if (withMusic)
            fs::create_directory_symlink(fs::path(TARVEL_CONTENT_DIR) / "music", content / "music");
        return content;
    }

    // The capture tool's frames for these clocks, in order.
    std::vector<Picture> CapturedFrames(const std::vector<int>& clocks)
    {
        std::string list;
        for (int c : clocks) {
            if (!list.empty())
                list += ',';
            list += std::to_string(c);
        }
        const fs::path out = work / "captured";
        const std::string command = std::string(TARVEL_CAPTURE_TOOL) + " frames --content " + TARVEL_CONTENT_DIR
                                  + " --clocks " + list + " --out " + out.string() + " --raw >/dev/null";
        EXPECT_EQ(std::system(command.c_str()), 0);
        std::vector<Picture> frames(clocks.size());
        for (size_t i = 0; i < clocks.size(); i++) {
            char name[64];
            std::snprintf(name, sizeof name, "frame_%05zu.rgb32", i);
            EXPECT_TRUE(ReadRawFrame((out / name).string(), &frames[i]));
        }
        return frames;
    }

    XServer server;
    RunningProgram show;
    fs::path work;
};

TEST_F(ShowDesktopTest, FirstFramesAreOnScreenAndEscapeClosesTheShow)
{
    ASSERT_TRUE(StartXServer(800, 600, &server));
    StartShow(TARVEL_CONTENT_DIR);
    ASSERT_NE(WaitForWindow(server, "TARVEL", 60), "");
    ASSERT_TRUE(WaitForFrames(10, 30));

    const size_t before = ReadFrameLog(FrameLog()).size();
    Picture screen;
    ASSERT_TRUE(TakeScreenshot(server, &screen));
    const std::vector<LoggedFrame> log = ReadFrameLog(FrameLog());
    ASSERT_EQ(screen.width, 800);
    ASSERT_EQ(screen.height, 600);

    // The frame on screen was drawn at a clock read during the frames
    // logged around the screenshot; the best of those clocks must match.
    const int low = log[before - 2].clock - 2;
    const int high = log.back().clock + 2;
    std::vector<int> clocks;
    for (int c = std::max(low, 0); c <= high; c++)
        clocks.push_back(c);
    double best = 1.0;
    for (const Picture& frame : CapturedFrames(clocks))
        best = std::min(best, DifferingShare(screen, frame, 2));
    EXPECT_LT(best, 0.03) << "clocks " << low << "-" << high;

    EXPECT_EQ(RunOnDisplay(server, "xdotool key Escape"), 0);
    EXPECT_EQ(WaitForExit(&show, 15), 0);
}

TEST_F(ShowDesktopTest, MissingPictureShowsTheFatalMessageAndExitsWith255)
{
    ASSERT_TRUE(StartXServer(800, 600, &server));
    StartShow(PartialContent({"sprite05.TGA"}, true));
    const std::string caption = "fichero no encontrado en SizeTGA:";
    const std::string box = WaitForWindow(server, caption, 60);
    ASSERT_NE(box, "");
    EXPECT_EQ(RunOnDisplay(server, "xdotool windowfocus --sync " + box + " key Return"), 0);
    EXPECT_EQ(WaitForExit(&show, 15), 255);
    EXPECT_NE(ReadText((work / "err.txt").string()).find(caption + " graph\\sprite05.TGA"), std::string::npos)
        << ReadText((work / "err.txt").string());
}

TEST_F(ShowDesktopTest, WithoutSoundtrackTheClockStaysAtZeroScaledToTheDesktop)
{
    // A 16:9 desktop has no 800x600 mode: the picture is scaled to 960x720
    // and centred between black bars.
    ASSERT_TRUE(StartXServer(1280, 720, &server));
    StartShow(PartialContent({}, false));
    ASSERT_NE(WaitForWindow(server, "TARVEL", 60), "");
    ASSERT_TRUE(WaitForFrames(60, 30));
    Picture screen;
    ASSERT_TRUE(TakeScreenshot(server, &screen));
    ASSERT_EQ(screen.width, 1280);

    for (const LoggedFrame& f : ReadFrameLog(FrameLog()))
        ASSERT_EQ(f.music, 0.0);
    bool barsBlack = true;
    for (int y = 0; y < 720; y += 7)
        for (int x : {0, 80, 159, 1120, 1200, 1279})
            barsBlack = barsBlack && screen.At(x, y) == 0;
    EXPECT_TRUE(barsBlack);

    // The picture, sampled back to 800x600, is the frame of clock 0.
    const Picture frame = CapturedFrames({0})[0];
    Picture sampled = frame;
    for (int y = 0; y < 600; y++)
        for (int x = 0; x < 800; x++)
            sampled.pixels[size_t(y) * 800 + size_t(x)] = screen.At(160 + (x * 960 + 480) / 800, (y * 720 + 360) / 600);
    EXPECT_LT(DifferingShare(sampled, frame, 48), 0.05);

    EXPECT_EQ(RunOnDisplay(server, "xdotool key Escape"), 0);
    EXPECT_EQ(WaitForExit(&show, 15), 0);
}

// Plays the whole show once (about 134 s) and reports its frame pacing, the
// drift between the clock and the samples played, and the CPU time outside
// the pacing wait.
TEST_F(ShowDesktopTest, WholeShowPlaysToItsEndAndExitsByItself)
{
    ASSERT_TRUE(StartXServer(800, 600, &server));
    StartShow(TARVEL_CONTENT_DIR);
    ASSERT_EQ(WaitForExit(&show, 200), 0) << ReadText((work / "err.txt").string());
    const std::vector<LoggedFrame> log = ReadFrameLog(FrameLog());
    ASSERT_GT(log.size(), 1000u);
    // The first frame whose clock passes the end is the last one.
    EXPECT_GE(log.back().clock, 13346);
    EXPECT_LT(log[log.size() - 2].clock, 13346);

    std::vector<double> intervals, shownIntervals, drift;
    double waiting = 0;
    for (size_t i = 1; i < log.size(); i++) {
        intervals.push_back(log[i].presented - log[i - 1].presented);
        shownIntervals.push_back(log[i].shown - log[i - 1].shown);
        drift.push_back((log[i].music - log[i].played) * 1000);
        waiting += log[i].waitCpu;
    }
    std::sort(intervals.begin(), intervals.end());
    std::sort(shownIntervals.begin(), shownIntervals.end());
    auto percentile = [](const std::vector<double>& v, double p) { return v[size_t(p * double(v.size() - 1))]; };
    double meanDrift = 0, maxDrift = 0;
    for (double d : drift) {
        meanDrift += d / double(drift.size());
        maxDrift = std::max(maxDrift, std::abs(d));
    }
    const double wall = log.back().shown - log.front().shown;
    const double cpu = log.back().cpu - log.front().cpu;
    // Frames are handed to the window system at least the frame time apart.
    EXPECT_GE(intervals.front(), 30.99);
    std::printf("frames %zu over %.1f s\n", log.size(), wall / 1000);
    std::printf("presented frame intervals ms: min %.2f p1 %.2f median %.2f p99 %.2f max %.2f\n", intervals.front(),
                percentile(intervals, 0.01), percentile(intervals, 0.5), percentile(intervals, 0.99), intervals.back());
    std::printf("intervals once the window system is done ms: min %.2f p1 %.2f median %.2f p99 %.2f max %.2f\n",
                shownIntervals.front(), percentile(shownIntervals, 0.01), percentile(shownIntervals, 0.5),
                percentile(shownIntervals, 0.99), shownIntervals.back());
    std::printf("clock - played samples ms: mean %.2f max |%.2f|\n", meanDrift, maxDrift);
    std::printf("clock rate against the wall clock: %.5f\n",
                (log.back().music - log.front().music) * 1000 / (log.back().shown - log.front().shown));
    std::printf("cpu outside the wait: %.1f%% of one core (%.2f ms per frame)\n", (cpu - waiting) / wall * 100,
                (cpu - waiting) / double(log.size() - 1));
}

TEST(ShowCommandLineTest, HelpNamesTheWindowOptionAndUnknownArgumentsAreRefused)
{
    const fs::path out = fs::temp_directory_path() / ("tarvel_help_" + std::to_string(getpid()));
    RunningProgram help = StartProgram({TARVEL_PROGRAM, "--help"}, ".", {}, out.string(), "/dev/null");
    EXPECT_EQ(WaitForExit(&help, 10), 0);
    EXPECT_NE(ReadText(out.string()).find("--window"), std::string::npos);
    RunningProgram bad = StartProgram({TARVEL_PROGRAM, "--fullscreen"}, ".", {}, "/dev/null", out.string());
    EXPECT_EQ(WaitForExit(&bad, 10), 2);
    EXPECT_NE(ReadText(out.string()).find("unknown argument '--fullscreen'"), std::string::npos);
    fs::remove(out);
}

TEST(ShowCommandLineTest, WindowThatCannotBeMadeEndsWithExitCodeOne)
{
    const fs::path err = fs::temp_directory_path() / ("tarvel_nowindow_" + std::to_string(getpid()));
    RunningProgram show = StartProgram({TARVEL_PROGRAM}, ".", {"SDL_VIDEODRIVER=none_such"}, "/dev/null", err.string());
    EXPECT_EQ(WaitForExit(&show, 10), 1);
    EXPECT_NE(ReadText(err.string()).find("tarvel: the window cannot be created"), std::string::npos);
    fs::remove(err);
}

} // namespace
