#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

// The show as a user sees it: tarvel on its own X server (Xvfb) with SDL's
// real X11 video driver and a null audio output, watched through screenshots
// (xwd) and driven with xdotool.
namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

std::string ReadText(const fs::path& path)
{
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// One line of the frame log that tarvel writes with TARVEL_FRAME_LOG.
struct LoggedFrame {
    double begun, waitEnd, drawn, presented, shown, music, played;
    int clock;
    double cpu, waitCpu;
    uint32_t waitEndTick;
};

std::vector<LoggedFrame> ReadFrameLog(const fs::path& path)
{
    std::vector<LoggedFrame> frames;
    std::ifstream lines(path);
    std::string line;
    std::getline(lines, line); // column names
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        long number;
        LoggedFrame f{};
        if (fields >> number >> f.begun >> f.waitEnd >> f.drawn >> f.presented >> f.shown >> f.music >> f.played >> f.clock >> f.cpu
                   >> f.waitCpu
                   >> f.waitEndTick)
            frames.push_back(f);
    }
    return frames;
}

// A picture as 0x00RRGGBB pixels, row by row.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    uint32_t At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

// Raw little-endian 0x00RRGGBB pixels, as tarvel-capture's --raw frames.
bool ReadRaw(const fs::path& path, int width, int height, Picture* picture)
{
    std::ifstream in(path, std::ios::binary);
    *picture = Picture{width, height, std::vector<uint32_t>(size_t(width) * size_t(height))};
    in.read(reinterpret_cast<char*>(picture->pixels.data()), std::streamsize(picture->pixels.size() * 4));
    for (uint32_t& p : picture->pixels)
        p &= 0xFFFFFF;
    return bool(in);
}

// Share of the pixels of two same-sized pictures whose channels differ by
// more than `tolerance`.
double DifferingShare(const Picture& a, const Picture& b, int tolerance)
{
    size_t differing = 0;
    for (size_t i = 0; i < a.pixels.size(); i++)
        for (int shift = 0; shift < 24; shift += 8)
            if (std::abs(int(a.pixels[i] >> shift & 0xFF) - int(b.pixels[i] >> shift & 0xFF)) > tolerance) {
                differing++;
                break;
            }
    return double(differing) / double(a.pixels.size());
}

// Starts `argv` in `folder` with `environment` ("NAME=value") added to this
// process's, stdout and stderr written to the given files; -1 when it cannot
// be started. Everything the child needs is made here: posix_spawn runs
// nothing of this process's between the fork and the program.
pid_t StartProgram(std::vector<std::string> argv, const fs::path& folder, const std::vector<std::string>& environment,
                   const fs::path& outFile, const fs::path& errFile)
{
    std::vector<std::string> variables(environment);
    for (char** e = environ; *e; e++) {
        const std::string variable = *e;
        const std::string name = variable.substr(0, variable.find('=') + 1);
        if (std::none_of(environment.begin(), environment.end(), [&](const std::string& v) { return v.starts_with(name); }))
            variables.push_back(variable);
    }
    std::vector<char*> args, envp;
    for (std::string& a : argv)
        args.push_back(a.data());
    args.push_back(nullptr);
    for (std::string& v : variables)
        envp.push_back(v.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    pid_t pid = -1;
    const int failed = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    EXPECT_EQ(failed, 0) << argv[0] << ": " << std::strerror(failed);
    return failed ? -1 : pid;
}

// Asks `ready` every 50 ms until it says yes; false when `seconds` pass first.
template <typename Ready>
bool Poll(double seconds, Ready ready)
{
    const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
    while (!ready()) {
        if (Clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

// Waits up to `seconds` for the program to end; its exit code, or -1 when
// it had to be killed or never started.
int WaitForExit(pid_t* pid, double seconds)
{
    if (*pid <= 0)
        return -1; // never started
    int status = 0;
    const bool ended = Poll(seconds, [&] { return waitpid(*pid, &status, WNOHANG) != 0; });
    if (!ended) {
        kill(*pid, SIGKILL);
        waitpid(*pid, &status, 0);
    }
    *pid = -1;
    return ended && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class ShowDesktopTest : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(work); }

    void TearDown() override
    {
        if (show > 0)
            WaitForExit(&show, 0);
        if (server > 0) {
            kill(server, SIGTERM);
            waitpid(server, nullptr, 0);
        }
        fs::remove_all(work);
    }

    // Starts Xvfb with one screen of width x height at 24 bits; false when
    // it does not come up.
    bool StartXServer(int width, int height)
    {
        int fds[2];
        if (pipe(fds) != 0)
            return false;
        const std::string fd = std::to_string(fds[1]), screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
        const fs::path log = work / "xvfb.log";
        server = StartProgram({"Xvfb", "-displayfd", fd, "-screen", "0", screen, "-nolisten", "tcp", "-noreset"},
                              ".", {}, log, log);
        close(fds[1]);
        // Xvfb writes its display number once it accepts clients.
        char ch;
        while (read(fds[0], &ch, 1) == 1 && ch != '\n')
            display += ch;
        close(fds[0]);
        screenWidth = width;
        screenHeight = height;
        display = ":" + display;
        return display.size() > 1;
    }

    // Runs a command on the X server's display and returns its exit code.
    int OnDisplay(const std::string& command) const
    {
        const int status = std::system(("DISPLAY=" + display + " " + command).c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // Waits until a window with exactly this name exists and returns its id
    // ("0x..."); "" after `seconds`. Looks through the whole window tree:
    // xdotool's own search does not see every top-level window (SDL's
    // message boxes, for one).
    std::string WaitForWindow(const std::string& name, double seconds) const
    {
        const std::string command = "DISPLAY=" + display + " xwininfo -root -tree 2>/dev/null | awk -v n='\"" + name
                                  + "\":' 'index($0, n) { print $1; exit }'";
        char id[64] = "";
        Poll(seconds, [&] {
            std::FILE* tree = popen(command.c_str(), "r");
            const bool found = tree && std::fgets(id, sizeof id, tree);
            if (tree)
                pclose(tree);
            return found;
        });
        return std::string(id, std::strcspn(id, "\n"));
    }

    // The whole screen, dumped by xwd and decoded by ffmpeg.
    bool TakeScreenshot(Picture* picture) const
    {
        const std::string dump = (work / "screen.xwd").string(), raw = (work / "screen.rgb").string();
        return OnDisplay("xwd -root -silent -out " + dump + " && ffmpeg -loglevel error -y -i " + dump
                         + " -f rawvideo -pix_fmt bgr0 " + raw) == 0
            && ReadRaw(raw, screenWidth, screenHeight, picture);
    }

    void StartShow(const fs::path& content)
    {
        show = StartProgram({TARVEL_PROGRAM}, content,
                            {"DISPLAY=" + display, "SDL_AUDIODRIVER=dummy", "TARVEL_FRAME_LOG=" + FrameLog().string()},
                            work / "out.txt", work / "err.txt");
    }

    fs::path FrameLog() const { return work / "frames.txt"; }

    // Waits until the show has presented at least `count` frames.
    bool WaitForFrames(size_t count, double seconds) const
    {
        return Poll(seconds, [&] { return ReadFrameLog(FrameLog()).size() >= count; });
    }

    // A content folder that links to the generated one, less some files.
    fs::path PartialContent(const std::string& leftOut, bool withMusic) const
    {
        const fs::path content = work / "content";
        fs::create_directories(content / "graph");
        for (const auto& entry : fs::directory_iterator(fs::path(TARVEL_CONTENT_DIR) / "graph"))
            if (entry.path().filename() != leftOut)
                fs::create_symlink(entry.path(), content / "graph" / entry.path().filename());
        if (withMusic)
            fs::create_directory_symlink(fs::path(TARVEL_CONTENT_DIR) / "music", content / "music");
        return content;
    }

    // The capture tool's frames for the clocks from `first` to `last`.
    std::vector<Picture> CapturedFrames(int first, int last) const
    {
        std::string list = std::to_string(first);
        for (int c = first + 1; c <= last; c++)
            list += ',' + std::to_string(c);
        const fs::path out = work / "captured";
        const std::string command = std::string(TARVEL_CAPTURE_TOOL) + " frames --content " + TARVEL_CONTENT_DIR
                                  + " --clocks " + list + " --out " + out.string() + " --raw >/dev/null";
        EXPECT_EQ(std::system(command.c_str()), 0);
        std::vector<Picture> frames(size_t(last - first + 1));
        for (size_t i = 0; i < frames.size(); i++) {
            char name[64];
            std::snprintf(name, sizeof name, "frame_%05zu.rgb32", i);
            EXPECT_TRUE(ReadRaw(out / name, 800, 600, &frames[i]));
        }
        return frames;
    }

    const fs::path work = fs::temp_directory_path() / ("tarvel_desktop_" + std::to_string(getpid()));
    pid_t server = -1, show = -1;
    std::string display;
    int screenWidth = 0, screenHeight = 0;
};

TEST_F(ShowDesktopTest, FirstFramesAreOnScreenAndEscapeClosesTheShow)
{
    ASSERT_TRUE(StartXServer(800, 600));
    StartShow(TARVEL_CONTENT_DIR);
    ASSERT_NE(WaitForWindow("TARVEL", 60), "");
    ASSERT_TRUE(WaitForFrames(10, 30));

    const size_t before = ReadFrameLog(FrameLog()).size();
    Picture screen;
    ASSERT_TRUE(TakeScreenshot(&screen));
    const std::vector<LoggedFrame> log = ReadFrameLog(FrameLog());

    // The frame on screen was drawn at a clock read during the frames
    // logged around the screenshot; the best of those clocks must match.
    const int low = std::max(log[before - 2].clock - 2, 0), high = log.back().clock + 2;
    double best = 1.0;
    for (const Picture& frame : CapturedFrames(low, high))
        best = std::min(best, DifferingShare(screen, frame, 2));
    EXPECT_LT(best, 0.03) << "clocks " << low << "-" << high;

    EXPECT_EQ(OnDisplay("xdotool key Escape"), 0);
    EXPECT_EQ(WaitForExit(&show, 15), 0);
}

TEST_F(ShowDesktopTest, MissingPictureShowsTheFatalMessageAndExitsWith255)
{
    ASSERT_TRUE(StartXServer(800, 600));
    StartShow(PartialContent("sprite05.TGA", true));
    const std::string caption = "fichero no encontrado en SizeTGA:";
    const std::string box = WaitForWindow(caption, 60);
    ASSERT_NE(box, "");
    EXPECT_EQ(OnDisplay("xdotool windowfocus --sync " + box + " key Return"), 0);
    EXPECT_EQ(WaitForExit(&show, 15), 255);
    const std::string err = ReadText(work / "err.txt");
    EXPECT_NE(err.find(caption + " graph\\sprite05.TGA"), std::string::npos) << err;
}

TEST_F(ShowDesktopTest, WithoutSoundtrackTheClockStaysAtZeroScaledToTheDesktop)
{
    // A 16:9 desktop has no 800x600 mode: the picture is scaled to 960x720
    // and centred between black bars.
    ASSERT_TRUE(StartXServer(1280, 720));
    StartShow(PartialContent("", false));
    ASSERT_NE(WaitForWindow("TARVEL", 60), "");
    ASSERT_TRUE(WaitForFrames(60, 30));
    Picture screen;
    ASSERT_TRUE(TakeScreenshot(&screen));

    for (const LoggedFrame& f : ReadFrameLog(FrameLog()))
        ASSERT_EQ(f.music, 0.0);
    bool barsBlack = true;
    for (int y = 0; y < 720; y += 7)
        for (int x : {0, 80, 159, 1120, 1200, 1279})
            barsBlack = barsBlack && screen.At(x, y) == 0;
    EXPECT_TRUE(barsBlack);

    // The picture, sampled back to 800x600, is the frame of clock 0.
    const Picture frame = CapturedFrames(0, 0)[0];
    Picture sampled = frame;
    for (int y = 0; y < 600; y++)
        for (int x = 0; x < 800; x++)
            sampled.pixels[size_t(y) * 800 + size_t(x)] = screen.At(160 + (x * 960 + 480) / 800, (y * 720 + 360) / 600);
    EXPECT_LT(DifferingShare(sampled, frame, 48), 0.05);

    EXPECT_EQ(OnDisplay("xdotool key Escape"), 0);
    EXPECT_EQ(WaitForExit(&show, 15), 0);
}

// Plays the whole show once (about 134 s) and reports its frame pacing, how
// far the picture trails the music, the drift between the clock and the
// samples played, and the CPU time in and outside the pacing wait.
TEST_F(ShowDesktopTest, WholeShowPlaysToItsEndAndExitsByItself)
{
    ASSERT_TRUE(StartXServer(800, 600));
    StartShow(TARVEL_CONTENT_DIR);
    ASSERT_EQ(WaitForExit(&show, 200), 0) << ReadText(work / "err.txt");
    const std::vector<LoggedFrame> log = ReadFrameLog(FrameLog());
    ASSERT_GT(log.size(), 1000u);
    // The first frame whose clock passes the end is the last one.
    EXPECT_GE(log.back().clock, 13346);
    EXPECT_LT(log[log.size() - 2].clock, 13346);

    std::vector<double> starts, shownIntervals, lags;
    uint32_t fewestTicksApart = UINT32_MAX;
    double waiting = 0, meanDrift = 0, maxDrift = 0;
    for (size_t i = 1; i < log.size(); i++) {
        starts.push_back(log[i].waitEnd - log[i - 1].waitEnd);
        fewestTicksApart = std::min(fewestTicksApart, log[i].waitEndTick - log[i - 1].waitEndTick);
        shownIntervals.push_back(log[i].shown - log[i - 1].shown);
        // A frame shows the clock that the frame before it computed.
        lags.push_back(log[i].music * 1000 - log[i - 1].clock * 10);
        const double drift = (log[i].music - log[i].played) * 1000;
        meanDrift += drift / double(log.size() - 1);
        maxDrift = std::max(maxDrift, std::abs(drift));
        waiting += log[i].waitCpu;
    }
    // Frames start drawing only once more than 30 ms have passed on the
    // millisecond tick counter since the last one started.
    EXPECT_GT(fewestTicksApart, 30u);

    const double wall = log.back().shown - log.front().shown, cpu = log.back().cpu - log.front().cpu;
    auto spread = [](const char* what, std::vector<double> v) {
        std::sort(v.begin(), v.end());
        auto at = [&](double p) { return v[size_t(p * double(v.size() - 1))]; };
        std::printf("%s ms: min %.2f p1 %.2f median %.2f p99 %.2f max %.2f\n", what, at(0), at(0.01), at(0.5), at(0.99),
                    at(1));
    };
    std::printf("frames %zu over %.1f s\n", log.size(), wall / 1000);
    spread("frame starts apart", starts);
    spread("intervals once the window system is done", shownIntervals);
    spread("music position when shown - clock drawn", lags);
    std::printf("clock - played samples ms: mean %.2f max |%.2f|\n", meanDrift, maxDrift);
    std::printf("clock rate against the wall clock: %.5f\n", (log.back().music - log.front().music) * 1000 / wall);
    std::printf("cpu: %.1f s, %.1f%% of one core; in the pacing wait %.2f s (%.3f ms per frame)\n", cpu / 1000,
                cpu / wall * 100, waiting / 1000, waiting / double(log.size() - 1));
}

TEST(ShowCommandLineTest, HelpUnknownArgumentsAndAWindowThatCannotBeMade)
{
    const fs::path out = fs::temp_directory_path() / ("tarvel_cli_" + std::to_string(getpid()));
    pid_t run = StartProgram({TARVEL_PROGRAM, "--help"}, ".", {}, out, "/dev/null");
    EXPECT_EQ(WaitForExit(&run, 10), 0);
    EXPECT_NE(ReadText(out).find("--window"), std::string::npos);
    run = StartProgram({TARVEL_PROGRAM, "--fullscreen"}, ".", {}, "/dev/null", out);
    EXPECT_EQ(WaitForExit(&run, 10), 2);
    EXPECT_NE(ReadText(out).find("unknown argument '--fullscreen'"), std::string::npos);
    run = StartProgram({TARVEL_PROGRAM}, ".", {"SDL_VIDEODRIVER=none_such"}, "/dev/null", out);
    EXPECT_EQ(WaitForExit(&run, 10), 1);
    EXPECT_NE(ReadText(out).find("tarvel: the window cannot be created"), std::string::npos);
    fs::remove(out);
}

} // namespace
