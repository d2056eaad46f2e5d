// tarvel-capture: its arguments, its schedule of music positions and the
// show it plays in process, then every command run as a program on the
// generated content.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <tuple>

#include "app/capture/capture_platform.h"
#include "audio/sound.h"
#include "capture/capture_args.h"
#include "capture/capture_show.h"
#include "capture/ffmpeg_pipe.h"
#include "common/png_read.h"
#include "image/image_test_util.h"
#include "image/tga.h"
#include "input/input.h"

namespace {

bool Parse(std::vector<std::string> args, CaptureOptions* o, std::string* error = nullptr)
{
    std::string ignored;
    return ParseCaptureArgs(args, o, error ? error : &ignored);
}

TEST(CaptureArgs, FramesTakeAClockListInlineOrFromAFile)
{
    CaptureOptions o;
    ASSERT_TRUE(Parse({"frames", "--clocks", "0,1291, 2720", "--out", "shots", "--raw"}, &o));
    EXPECT_EQ(o.command, "frames");
    EXPECT_EQ(o.clocks, (std::vector<int32_t>{0, 1291, 2720}));
    EXPECT_TRUE(o.raw);
    EXPECT_TRUE(std::filesystem::path(o.out).is_absolute());
    EXPECT_EQ(std::filesystem::path(o.out).filename(), "shots");

    TempDir dir;
    const std::string file = dir.Write("clocks.txt", {'5', '\n', '7', ',', '9', '\r', '\n'});
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
    EXPECT_EQ((std::vector<int>{o.fps, o.width, o.height, o.endClock}), (std::vector<int>{60, 800, 600, ShowEndClock}));
    EXPECT_EQ(std::make_tuple(o.preset, o.crf, o.lossless),
              std::make_tuple(std::string(DefaultVideoPreset), DefaultVideoCrf, false));
    const std::string usage = CaptureUsage;
    EXPECT_NE(usage.find("default " + std::string(DefaultVideoPreset) + ")"), std::string::npos) << usage;
    EXPECT_NE(usage.find("(default " + std::to_string(DefaultVideoCrf) + ")"), std::string::npos) << usage;
    ASSERT_TRUE(Parse(
        {"video", "--out", "s.mkv", "--fps", "25", "--size", "640x480", "--end", "300", "--preset", "slow", "--crf", "0"},
        &o));
    EXPECT_EQ((std::vector<int>{o.fps, o.width, o.height, o.endClock}), (std::vector<int>{25, 640, 480, 300}));
    EXPECT_EQ(std::make_pair(o.preset, o.crf), std::make_pair(std::string("slow"), 0));
    ASSERT_TRUE(Parse({"video", "--out", "archive.MKV", "--lossless"}, &o));
    EXPECT_TRUE(o.lossless);
    ASSERT_TRUE(Parse({"bench"}, &o));
    EXPECT_EQ(std::make_pair(o.fps, o.runs), std::make_pair(32, 1));
    ASSERT_TRUE(Parse({"bench", "--runs", "3"}, &o));
    EXPECT_EQ(o.runs, 3);
    ASSERT_TRUE(Parse({"stills", "--at", "100,13345", "--out", "d", "--content", "c"}, &o));
    EXPECT_EQ(std::make_pair(o.fps, o.content), std::make_pair(32, std::string("c")));
}

TEST(CaptureArgs, RejectsWhatNoCommandCanUse)
{
    // No command, an unknown one, no clocks, no output, an empty list, not a
    // number, a clock before the show or past the range, one that stills
    // never draws, a bad rate or run count, an odd width, a size without its
    // height, an end past the show, a missing value, options of another command,
    // an empty output name, a preset x264 lacks, a rate factor out of range, an
    // archive not named .mkv or given H.264's settings.
    const std::vector<std::vector<std::string>> bad = {
        {}, {"play"}, {"frames", "--out", "d"}, {"frames", "--clocks", "1,2"}, {"video", "--out", ""},
        {"frames", "--clocks", "1", "--out", ""},
        {"frames", "--clocks", "", "--out", "d"}, {"frames", "--clocks", "1,x", "--out", "d"},
        {"frames", "--clocks", "-1", "--out", "d"}, {"frames", "--clocks", "1000001", "--out", "d"},
        {"stills", "--at", "13346", "--out", "d"}, {"video", "--out", "v.mp4", "--fps", "0"},
        {"video", "--out", "v.mp4", "--size", "801x600"}, {"video", "--out", "v.mp4", "--size", "800"},
        {"video", "--out", "v.mp4", "--end", "13347"}, {"video", "--out"},
        {"frames", "--clocks", "1", "--out", "d", "--fps", "30"}, {"bench", "--out", "x"}, {"bench", "--raw"},
        {"bench", "--runs", "0"}, {"frames", "--clocks", "1", "--out", "d", "--runs", "2"},
        {"video", "--out", "v.mp4", "--preset", "quick"}, {"video", "--out", "v.mp4", "--crf", "52"},
        {"video", "--out", "v.mp4", "--crf", "-1"}, {"video", "--out", "v.mp4", "--lossless"},
        {"video", "--out", "v.mkv", "--lossless", "--crf", "0"},
        {"video", "--out", "v.mkv", "--lossless", "--preset", "fast"},
        {"bench", "--preset", "fast"},
    };
    for (const auto& args : bad) {
        CaptureOptions o;
        std::string error;
        EXPECT_FALSE(Parse(args, &o, &error)) << ::testing::PrintToString(args);
        EXPECT_FALSE(error.empty());
    }
}

TEST(CaptureSchedule, PositionGivesExactlyItsClockAndFramesComeAtAFixedRate)
{
    for (int32_t clock = 0; clock <= 20000; clock++)
        ASSERT_EQ(ClockFromPosition(PositionForClock(clock)), clock);
    for (int32_t clock : {MaxListedClock, 21474836, -1, -13346})
        EXPECT_EQ(ClockFromPosition(PositionForClock(clock)), clock);

    EXPECT_EQ(ClockOfFrame(1, 60), 1);
    EXPECT_EQ(ClockOfFrame(3, 60), 5);
    EXPECT_EQ(ClockOfFrame(1, 32), 3);
    // The show stops after the frame whose following clock reaches 13346.
    EXPECT_EQ(FramesUntil(13346, 60), 8008);
    EXPECT_EQ(ClockOfFrame(8007, 60), 13345);
    EXPECT_EQ(FramesUntil(300, 10), 30);
    EXPECT_EQ(FramesUntil(13346, 1), 134);
}

// A digest of every presented frame of a play at 8 frames per second up to
// clock 2000: enough to pass noise layers, random layers and shears. With
// `disturb`, the play then leaves a fade running, a sample on a channel and
// the timer moved before the show is closed.
std::vector<uint64_t> PlayDigests(bool disturb, const std::string& sample = "")
{
    std::vector<uint64_t> digests;
    OpenShow();
    PlayAtRate(8, 2000, [&](int64_t, int32_t) {
        uint64_t h = 1469598103934665603ull;
        for (uint32_t p : CaptureFrame)
            h = (h ^ p) * 1099511628211ull;
        digests.push_back(h);
        return true;
    });
    if (disturb) {
        Display.FadeMode = 2;
        Display.FadeLevel = 20;
        PlayFrameThen(2100);
        loadsound(sample.c_str(), 3, 0);
        playsound(3, 0, 0, 44100, -1);
        AdvanceTimer(5000);
    }
    CloseShow();
    return digests;
}

TEST(CaptureShow, ReplaysTheSameFramesAfterAResetWhateverThePlayBeforeChanged)
{
    TempDir dir;
    const std::string sample = dir.Write("tone.raw", std::vector<uint8_t>(400, 0x10));
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(TARVEL_CONTENT_DIR);
    const std::vector<uint64_t> first = PlayDigests(true, sample);
    EXPECT_EQ(Sound.LastChannel, 0u);
    EXPECT_EQ(CaptureChannelPlays[1], 0);
    const std::vector<uint64_t> second = PlayDigests(false);
    std::filesystem::current_path(previous);
    ASSERT_EQ(first.size(), size_t(160));
    EXPECT_EQ(first, second);
}

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

struct ToolRun {
    int exitCode;
    std::string out, err;
};

// Runs the tool in `dir`, capturing its output.
ToolRun Capture(const TempDir& dir, const std::string& arguments, const std::string& env = "")
{
    const std::string command = "cd '" + dir.path.string() + "' && " + env + " '" TARVEL_CAPTURE_TOOL "' " +
                                arguments + " >out.txt 2>err.txt";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(dir.path / "out.txt"),
            ReadFile(dir.path / "err.txt")};
}

const std::string Content = " --content '" TARVEL_CONTENT_DIR "'";

// The signature and header chunk with which an 800x600 PNG file begins.
const std::string Png800x600("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\0\x03\x20\0\0\x02\x58", 24);

TEST(CaptureTool, FramesAndStillsReproduceThemselves)
{
    // Listed first, 1290 is the clock of the first frame itself; it lies in
    // no window, so that frame is the background.
    TempDir dir;
    const std::string clocks = " --clocks 1290,1291,2720,3661,7800,8600,10100,12500 --raw";
    ASSERT_EQ(Capture(dir, "frames" + Content + clocks + " --out a").exitCode, 0);
    ASSERT_EQ(Capture(dir, "frames" + Content + clocks + " --out b").exitCode, 0);
    for (int i = 0; i < 8; i++) {
        for (const char* kind : {".png", ".rgb32"}) {
            char name[32];
            std::snprintf(name, sizeof name, "frame_%05d%s", i, kind);
            const std::string a = ReadFile(dir.path / "a" / name);
            ASSERT_FALSE(a.empty()) << name;
            EXPECT_EQ(a, ReadFile(dir.path / "b" / name)) << name;
            if (std::string(kind) == ".png")
                EXPECT_EQ(a.substr(0, 24), Png800x600) << name;
            else
                EXPECT_EQ(a.size(), 800u * 600u * 4u) << name;
        }
        // The PNG holds exactly the raw frame's pixels.
        char png[32], raw[32];
        std::snprintf(png, sizeof png, "frame_%05d.png", i);
        std::snprintf(raw, sizeof raw, "frame_%05d.rgb32", i);
        const std::string pngBytes = ReadFile(dir.path / "a" / png), rawBytes = ReadFile(dir.path / "a" / raw);
        const DecodedPng decoded = DecodePng(std::vector<uint8_t>(pngBytes.begin(), pngBytes.end()));
        ASSERT_EQ(decoded.pixels.size(), rawBytes.size() / 4) << png;
        for (size_t p = 0; p < decoded.pixels.size(); p++) {
            uint32_t v;
            std::memcpy(&v, &rawBytes[4 * p], 4);
            ASSERT_EQ(decoded.pixels[p], v) << png << " pixel " << p;
        }
    }
    OwnedScreen fondo(800, 600);
    SetTarget(fondo.get());
    LoadTGA((std::string(TARVEL_CONTENT_DIR) + "/graph/fondo.tga").c_str(), 0, 0);
    SetTarget(nullptr);
    std::string background;
    for (uint32_t p : Pixels(fondo.get()))
        for (int b = 0; b < 4; b++)
            background += char(p >> (8 * b));
    EXPECT_EQ(ReadFile(dir.path / "a" / "frame_00000.rgb32"), background);
    EXPECT_NE(ReadFile(dir.path / "a" / "frame_00001.rgb32"), background);

    // Stills keep the first frame that reaches each clock: at 32 frames per
    // second frame 413 is drawn at clock 1290 exactly.
    const ToolRun run = Capture(dir, "stills" + Content + " --at 1290,600 --out s");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(ReadFile(dir.path / "s" / "still_01290.png"), ReadFile(dir.path / "a" / "frame_00000.png"));
    EXPECT_EQ(ReadFile(dir.path / "s" / "still_00600.png").substr(0, 24), Png800x600);
}

TEST(CaptureTool, VideosCarryThePictureAndTheSoundtrackInTheFormatAskedFor)
{
    if (std::system("command -v ffprobe >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "ffprobe (Debian package ffmpeg) is not installed";
    const struct {
        std::string arguments;
        std::vector<const char*> fields;
    } videos[] = {
        {"--out v.mp4 --size 160x120",
         {"codec_name=h264", "width=160", "height=120", "pix_fmt=yuv420p", "color_space=smpte170m", "codec_name=aac"}},
        {"--out v.mkv --preset ultrafast --crf 30", {"codec_name=h264", "width=800", "codec_name=aac"}},
        {"--out v.mkv --lossless", {"codec_name=ffv1", "width=800", "height=600", "pix_fmt=bgr0", "codec_name=flac"}},
    };
    for (const auto& v : videos) {
        TempDir dir;
        const ToolRun run = Capture(dir, "video" + Content + " --fps 10 --end 300 " + v.arguments);
        ASSERT_EQ(run.exitCode, 0) << v.arguments << "\n" << run.err;
        EXPECT_NE(run.err.find("30/30 frames 100%"), std::string::npos) << run.err;
        const std::string file = v.arguments.substr(6, 5);
        const std::string probe = "cd '" + dir.path.string() +
                                  "' && ffprobe -v error -show_entries stream=codec_name,width,height,pix_fmt,"
                                  "color_space:format=duration -of default=noprint_wrappers=1 " + file + " >probe.txt";
        ASSERT_EQ(std::system(probe.c_str()), 0);
        const std::string info = ReadFile(dir.path / "probe.txt");
        for (const char* field : v.fields)
            EXPECT_NE(info.find(field), std::string::npos) << v.arguments << "\n" << info;
        const size_t at = info.find("duration=");
        ASSERT_NE(at, std::string::npos) << info;
        EXPECT_NEAR(std::stod(info.substr(at + 9)), 3.0, 0.1) << v.arguments << "\n" << info;
    }
}

// The archive keeps every pixel: its frames decode to exactly what `frames`
// draws at the same clocks, one after another from the start.
TEST(CaptureTool, LosslessVideoHoldsExactlyTheFramesDrawn)
{
    if (std::system("command -v ffmpeg >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "ffmpeg (Debian package ffmpeg) is not installed";
    TempDir dir;
    ASSERT_EQ(Capture(dir, "video" + Content + " --fps 4 --end 1500 --lossless --out v.mkv").exitCode, 0);
    std::string clocks;
    for (int frame = 0; frame < 60; frame++)
        clocks += std::to_string(frame * 25) + ",";
    ASSERT_EQ(Capture(dir, "frames" + Content + " --raw --out f --clocks " + clocks).exitCode, 0);
    const std::string decode =
        "cd '" + dir.path.string() + "' && ffmpeg -v error -i v.mkv -f rawvideo -pix_fmt bgr0 v.raw";
    ASSERT_EQ(std::system(decode.c_str()), 0);
    const std::string video = ReadFile(dir.path / "v.raw");
    ASSERT_EQ(video.size(), 60u * 800 * 600 * 4);
    for (int frame = 0; frame < 60; frame++) {
        char name[32];
        std::snprintf(name, sizeof name, "frame_%05d.rgb32", frame);
        // The raw frames' top bytes are 0, as bgr0 decodes them.
        ASSERT_TRUE(video.compare(size_t(frame) * 800 * 600 * 4, 800 * 600 * 4, ReadFile(dir.path / "f" / name)) == 0)
            << "frame " << frame;
    }
}

// An encoder that ends without reading: the write fails, and the SIGPIPE it
// raised neither ends this process nor stays behind, blocked or pending.
TEST(EncoderPipe, AnEncoderThatStoppedReadingFailsTheWriteWithoutASignal)
{
    EncoderProcess encoder;
    std::string error;
    ASSERT_TRUE(StartEncoder({"-loglevel", "quiet", "-no_such_option"}, &encoder, &error)) << error;
    const std::vector<char> frame(sizeof CaptureFrame, 1); // more than a pipe holds
    EXPECT_FALSE(FeedEncoder(&encoder, frame.data(), frame.size()));
    EXPECT_FALSE(FeedEncoder(&encoder, frame.data(), 1));
    EXPECT_FALSE(FinishEncoder(&encoder)); // it refused the option

    struct sigaction action {};
    sigaction(SIGPIPE, nullptr, &action);
    EXPECT_EQ(action.sa_handler, SIG_DFL);
    sigset_t blocked, pending;
    pthread_sigmask(SIG_BLOCK, nullptr, &blocked);
    sigpending(&pending);
    EXPECT_EQ(sigismember(&blocked, SIGPIPE), 0);
    EXPECT_EQ(sigismember(&pending, SIGPIPE), 0);
}

TEST(CaptureTool, BenchReportsEveryWindowAndTheCopyItIsMeasuredAgainst)
{
    TempDir dir;
    const ToolRun run = Capture(dir, "bench" + Content + " --fps 4 --runs 2 --plot times.svg");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::istringstream lines(run.out);
    std::string line;
    int windows = 0;
    while (std::getline(lines, line))
        windows += !line.empty() && std::isdigit(uint8_t(line[0]));
    EXPECT_EQ(windows, 37) << run.out;
    for (const char* text :
         {"fastest of 2 runs", "\nshow ", "memcpy of one 800x600x4-byte frame", "mean frame / memcpy"})
        EXPECT_NE(run.out.find(text), std::string::npos) << text << "\n" << run.out;
    // The picture: a dot for each of the 534 frames, a band for each window.
    const std::string svg = ReadFile(dir.path / "times.svg");
    EXPECT_EQ(svg.substr(0, 4), "<svg");
    EXPECT_NE(svg.find("memcpy"), std::string::npos);
    size_t dots = 0, bands = 0;
    for (size_t at = 0; (at = svg.find("h0", at)) != std::string::npos; at++)
        dots++;
    for (size_t at = 0; (at = svg.find("fill='#f0f0f0'", at)) != std::string::npos; at++)
        bands++;
    EXPECT_EQ(dots, 534u);
    EXPECT_EQ(bands, 18u); // every other window shaded
}

TEST(CaptureTool, FailuresExitWithTheirCodeAndSaySo)
{
    TempDir dir;
    std::filesystem::create_directories(dir.path / "empty");
    const struct {
        std::string arguments;
        int exitCode;
        const char* message;
        const char* env = "";
    } runs[] = {
        {"", 2, "usage: tarvel-capture"},
        {"video --out v.mp4 --fps 0", 2, "usage: tarvel-capture"},
        {"bench --content /nonexistent", 2, "usage: tarvel-capture"},
        {"stills" + Content + " --at 13345 --fps 1 --out s", 1, "no frame is drawn at clock 13345"},
        {"bench" + Content + " --fps 1 --plot /nonexistent/times.svg", 1, "cannot write /nonexistent/times.svg"},
        {"video" + Content + " --out v.mp4 --end 100", 1, "ffmpeg was not found", "PATH=/nonexistent"},
        {"frames --content empty --clocks 0 --out f", 255, "fichero no encontrado en LoadTGA: graph\\fondo.tga"},
    };
    for (const auto& r : runs) {
        const ToolRun run = Capture(dir, r.arguments, r.env);
        EXPECT_EQ(run.exitCode, r.exitCode) << r.arguments;
        EXPECT_NE(run.err.find(r.message), std::string::npos) << r.arguments << "\n" << run.err;
    }
    const ToolRun help = Capture(dir, "--help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("usage: tarvel-capture"), std::string::npos);
}

} // namespace
