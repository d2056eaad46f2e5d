// tarvel-capture: its arguments, its schedule of music positions, every
// command run as a program on the generated content, and the storyboard
// against the frames `frames` draws at the same clocks.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <tuple>

#include "capture/capture_args.h"
#include "capture/capture_commands.h"
#include "audio/sound.h"
#include "capture/capture_show.h"
#include "capture/ffmpeg_pipe.h"
#include "capture/storyboard.h"
#include "common/png_read.h"
#include "content/content_test_util.h"
#include "demo/demo_test_util.h"
#include "demo/timeline.h"
#include "input/input.h"

namespace {

using ::testing::HasSubstr;

// The options a command line gives, in one line, or "error: " and why it is refused.
std::string Parsed(const std::vector<std::string>& args)
{
    CaptureOptions o;
    std::string error;
    if (!ParseCaptureArgs(args, &o, &error))
        return "error: " + error;
    std::ostringstream s;
    s << o.command << " fps " << o.fps << " " << o.width << "x" << o.height << " end " << o.endClock << " "
      << o.preset << " crf " << o.crf << (o.lossless ? " lossless" : "") << " runs " << o.runs << " columns "
      << o.columns << (o.raw ? " raw" : "") << " content '" << o.content << "' clocks";
    for (int32_t clock : o.clocks)
        s << " " << clock;
    EXPECT_TRUE(o.command == "bench" || std::filesystem::path(o.out).is_absolute()) << o.out;
    return s.str();
}

TEST(CaptureArgs, CommandsTakeTheirOptionsAndDefaults)
{
    const std::pair<std::vector<std::string>, std::string> lines[] = {
        {{"frames", "--clocks", "0,1291, 2720", "--out", "shots", "--raw"},
         "frames fps 32 800x600 end 13346 superfast crf 20 runs 1 columns 6 raw content '' clocks 0 1291 2720"},
        {{"video", "--out", "show.mp4"}, "video fps 60 800x600 end 13346 superfast crf 20 runs 1 columns 6 content '' clocks"},
        {{"video", "--out", "s.mkv", "--fps", "25", "--size", "640x480", "--end", "300", "--preset", "slow", "--crf", "0"},
         "video fps 25 640x480 end 300 slow crf 0 runs 1 columns 6 content '' clocks"},
        {{"video", "--out", "archive.MKV", "--lossless"},
         "video fps 60 800x600 end 13346 superfast crf 20 lossless runs 1 columns 6 content '' clocks"},
        {{"bench", "--runs", "3"}, "bench fps 32 800x600 end 13346 superfast crf 20 runs 3 columns 6 content '' clocks"},
    };
    for (const auto& [args, summary] : lines)
        EXPECT_EQ(Parsed(args), summary);
    TempDir dir;
    const std::string file = dir.Write("clocks.txt", {'5', '\n', '7', ',', '9', '\r', '\n'});
    EXPECT_THAT(Parsed({"frames", "--clocks", "@" + file, "--out", "x"}), testing::EndsWith("clocks 5 7 9"));
    EXPECT_THAT(Parsed({"frames", "--clocks", "@" + file + ".missing", "--out", "x"}), HasSubstr("cannot read"));
}

TEST(CaptureArgs, RejectsWhatNoCommandCanUse)
{
    const std::vector<std::vector<std::string>> bad = {
        {}, {"play"}, {"frames", "--out", "d"}, {"frames", "--clocks", "1,2"}, {"video", "--out", ""},
        {"frames", "--clocks", "1", "--out", ""}, {"frames", "--clocks", "", "--out", "d"},
        {"frames", "--clocks", "1,x", "--out", "d"}, {"frames", "--clocks", "-1", "--out", "d"},
        {"frames", "--clocks", "1000001", "--out", "d"}, {"stills", "--at", "13346", "--out", "d"}, // never drawn
        {"video", "--out", "v.mp4", "--fps", "0"}, {"video", "--out", "v.mp4", "--size", "801x600"},
        {"video", "--out", "v.mp4", "--size", "800"}, {"video", "--out", "v.mp4", "--end", "13347"},
        {"video", "--out"}, {"frames", "--clocks", "1", "--out", "d", "--fps", "30"}, {"bench", "--out", "x"},
        {"bench", "--raw"}, {"bench", "--runs", "0"}, {"frames", "--clocks", "1", "--out", "d", "--runs", "2"},
        {"video", "--out", "v.mp4", "--preset", "quick"}, {"video", "--out", "v.mp4", "--crf", "52"},
        {"video", "--out", "v.mp4", "--crf", "-1"}, {"video", "--out", "v.mp4", "--lossless"}, // not .mkv
        {"video", "--out", "v.mkv", "--lossless", "--crf", "0"}, {"video", "--out", "v.mkv", "--lossless", "--preset", "fast"},
        {"bench", "--preset", "fast"}, {"storyboard"}, {"storyboard", "--out", "b.png", "--columns", "0"},
        {"storyboard", "--out", "b.png", "--columns", "38"}, {"storyboard", "--out", "b.png", "--fps", "30"},
    };
    for (const auto& args : bad)
        EXPECT_THAT(Parsed(args), testing::MatchesRegex("error: .+")) << testing::PrintToString(args);
}

TEST(CaptureSchedule, PositionGivesExactlyItsClockAndFramesComeAtAFixedRate)
{
    for (int32_t clock = 0; clock <= 20000; clock++)
        ASSERT_EQ(ClockFromPosition(PositionForClock(clock)), clock);
    for (int32_t clock : {MaxListedClock, 21474836, -1, -13346})
        EXPECT_EQ(ClockFromPosition(PositionForClock(clock)), clock);
    EXPECT_EQ((std::vector{ClockOfFrame(1, 60), ClockOfFrame(3, 60), ClockOfFrame(1, 32), ClockOfFrame(8007, 60)}),
              (std::vector{1, 5, 3, 13345}));
    // The show stops after the frame whose following clock reaches 13346.
    EXPECT_EQ((std::vector{FramesUntil(13346, 60), FramesUntil(300, 10), FramesUntil(13346, 1)}),
              (std::vector<int64_t>{8008, 30, 134}));
}

// Digests of every frame of a play in this process at 8 frames per second up
// to clock 2000 (noise layers, random layers and shears). With `sample`, the
// play then leaves a fade running, a sample on a channel and the timer moved.
std::vector<uint64_t> PlayDigests(const std::string& sample = "")
{
    InFolder content{TARVEL_CONTENT_DIR};
    std::vector<uint64_t> digests;
    OpenShow();
    PlayAtRate(8, 2000, [&](int64_t, int32_t) {
        uint64_t h = 1469598103934665603ull;
        for (uint32_t p : CaptureFrame)
            h = (h ^ p) * 1099511628211ull;
        digests.push_back(h);
        return true;
    });
    if (!sample.empty()) {
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

// bench --runs plays the show again in one process: every engine record must be reset between runs.
TEST(CaptureShow, ReplaysTheSameFramesAfterAResetWhateverThePlayBeforeChanged)
{
    TempDir dir;
    const std::vector<uint64_t> first = PlayDigests(dir.Write("tone.raw", std::vector<uint8_t>(400, 0x10)));
    ASSERT_EQ(first.size(), size_t(160));
    EXPECT_EQ(first, PlayDigests());
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
    EXPECT_EQ(sigismember(&blocked, SIGPIPE) | sigismember(&pending, SIGPIPE), 0);
}

struct ToolRun {
    int exitCode = -1;
    std::string out, err;
};

// Runs the tool in `dir`, capturing its output.
ToolRun Capture(const TempDir& dir, const std::string& arguments, const std::string& env = "")
{
    ToolRun run;
    run.out = RunCommand("cd '" + dir.path.string() + "' && " + env + " '" TARVEL_CAPTURE_TOOL "' " + arguments +
                             " 2>err.txt",
                         &run.exitCode);
    run.err = FileText(dir.path / "err.txt");
    return run;
}

const std::string Content = " --content '" TARVEL_CONTENT_DIR "'";

std::filesystem::path FrameFile(const TempDir& dir, int frame, const char* extension)
{
    char name[32];
    std::snprintf(name, sizeof name, "frame_%05d.%s", frame, extension);
    return dir.path / "f" / name;
}

// Frames as PNG files holding exactly the raw frames' pixels; 1290 lies in no
// window, so its frame is the background. Stills keep the first frame that
// reaches each clock: at 32 frames per second frame 413 is drawn at 1290.
TEST(CaptureTool, FramesAndStills)
{
    TempDir dir;
    ASSERT_EQ(Capture(dir, "frames" + Content + " --clocks 1290,1291,2720,7800 --raw --out f").exitCode, 0);
    const std::vector<uint32_t> background = ReadWithShowReader(TARVEL_CONTENT_DIR "/graph/fondo.tga").data;
    for (int i = 0; i < 4; i++) {
        const DecodedPng png = DecodePng(FileBytes(FrameFile(dir, i, "png")));
        const std::vector<uint8_t> raw = FileBytes(FrameFile(dir, i, "rgb32"));
        ASSERT_EQ(std::make_pair(png.width, png.height), std::make_pair(800, 600)) << i;
        ASSERT_EQ(raw.size(), 800u * 600 * 4) << i;
        EXPECT_EQ(std::memcmp(png.pixels.data(), raw.data(), raw.size()), 0) << i;
        EXPECT_EQ(std::memcmp(background.data(), raw.data(), raw.size()) == 0, i == 0) << i;
    }
    const ToolRun run = Capture(dir, "stills" + Content + " --at 1290,600 --out s");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(FileBytes(dir.path / "s" / "still_01290.png"), FileBytes(FrameFile(dir, 0, "png")));
    EXPECT_TRUE(std::filesystem::exists(dir.path / "s" / "still_00600.png"));
}

// Each kind of video carries picture and soundtrack in its formats for as long as asked; the
// lossless one decodes to exactly what `frames` draws at the same clocks.
TEST(CaptureTool, VideosCarryThePictureAndTheSoundtrackAndTheArchiveExactlyTheFramesDrawn)
{
    // Arguments, frames, seconds, what ffprobe finds.
    const std::tuple<std::string, int, double, std::vector<const char*>> videos[] = {
        {"--fps 10 --end 300 --out v.mp4 --size 160x120", 30, 3.0,
         {"codec_name=h264", "width=160", "height=120", "pix_fmt=yuv420p", "color_space=smpte170m", "codec_name=aac"}},
        {"--fps 4 --end 1500 --out v.mkv --lossless", 60, 15.0,
         {"codec_name=ffv1", "width=800", "height=600", "pix_fmt=bgr0", "codec_name=flac"}},
    };
    TempDir dir;
    const std::string in = "cd '" + dir.path.string() + "' && ";
    for (const auto& [arguments, frames, seconds, fields] : videos) {
        const ToolRun run = Capture(dir, "video" + Content + " " + arguments);
        ASSERT_EQ(run.exitCode, 0) << arguments << "\n" << run.err;
        EXPECT_THAT(run.err, HasSubstr(std::to_string(frames) + "/" + std::to_string(frames) + " frames 100%"));
        const std::string info = RunCommand(in + "ffprobe -v error -show_entries stream=codec_name,width,height,"
                                                 "pix_fmt,color_space:format=duration -of default=noprint_wrappers=1 " +
                                            arguments.substr(arguments.find("v."), 5));
        for (const char* field : fields)
            EXPECT_THAT(info, HasSubstr(field)) << arguments;
        const size_t at = info.find("duration=");
        ASSERT_NE(at, std::string::npos) << info;
        EXPECT_NEAR(std::stod(info.substr(at + 9)), seconds, 0.1) << arguments << "\n" << info;
    }
    std::string clocks;
    for (int frame = 0; frame < 60; frame++)
        clocks += std::to_string(frame * 25) + ",";
    ASSERT_EQ(Capture(dir, "frames" + Content + " --raw --out f --clocks " + clocks).exitCode, 0);
    int decoded = -1;
    const std::string video = RunCommand(in + "ffmpeg -v error -i v.mkv -f rawvideo -pix_fmt bgr0 -", &decoded);
    ASSERT_EQ(decoded, 0);
    ASSERT_EQ(video.size(), 60u * 800 * 600 * 4);
    for (int frame = 0; frame < 60; frame++) { // the raw frames' top bytes are 0, as bgr0 decodes them
        const std::string drawn = FileText(FrameFile(dir, frame, "rgb32"));
        ASSERT_TRUE(video.compare(size_t(frame) * drawn.size(), drawn.size(), drawn) == 0) << "frame " << frame;
    }
}

TEST(CaptureTool, FailuresExitWithTheirCodeAndSaySo)
{
    TempDir dir;
    std::filesystem::create_directories(dir.path / "empty");
    const struct { std::string arguments; int exitCode; const char* message; const char* env = ""; } runs[] = {
        {"--help", 0, "usage: tarvel-capture"}, // on the standard output; errors on the error output
        {"", 2, "usage: tarvel-capture"},
        {"bench --content /nonexistent", 2, "usage: tarvel-capture"},
        {"stills" + Content + " --at 13345 --fps 1 --out s", 1, "no frame is drawn at clock 13345"},
        {"bench" + Content + " --fps 1 --plot /nonexistent/times.svg", 1, "cannot write /nonexistent/times.svg"},
        {"video" + Content + " --out v.mp4 --end 100", 1, "ffmpeg was not found", "PATH=/nonexistent"},
        {"frames --content empty --clocks 0 --out f", 255, "fichero no encontrado en LoadTGA: graph\\fondo.tga"},
    };
    for (const auto& r : runs) {
        const ToolRun run = Capture(dir, r.arguments, r.env);
        EXPECT_EQ(run.exitCode, r.exitCode) << r.arguments;
        EXPECT_THAT(r.exitCode ? run.err : run.out, HasSubstr(r.message)) << r.arguments;
    }
}

// Each window at the middle of its clocks; a thumbnail pixel the rounded mean of its 4x4 block,
// channel by channel.
TEST(Storyboard, EachWindowIsShownAtTheMiddleOfItsClocksShrunkFourTimes)
{
    for (int window = 1; window <= SceneWindowCount; window++)
        EXPECT_EQ(SceneWindowAt(WindowMiddleClock(window)), window) << window;
    EXPECT_EQ(WindowMiddleClock(6), 1380); // window 6 holds 1291-1469
    EXPECT_EQ(ClockInSeconds(12677), "126.77 s");
    EXPECT_EQ(ClockInSeconds(5), "0.05 s");
    std::vector<uint32_t> frame(size_t(DisplayWidth) * DisplayHeight);
    for (int i = 0; i < 16; i++)
        frame[size_t(i / 4 * DisplayWidth + i % 4)] = i ? 0x00FF0000 : 0x00FF0708;
    Storyboard board = MakeStoryboard(5);
    PlaceThumb(board, 1, frame.data(), 0);
    int left = 0, top = 0;
    ThumbOrigin(board, 1, &left, &top);
    EXPECT_EQ(board.pixels[size_t(top * board.width + left)], 0x00FF0001u);
    EXPECT_EQ(board.pixels[size_t(top * board.width + left + 1)], 0u);
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

// The sheet, labels included, is the one made from the frames `frames` draws at the windows' clocks.
TEST(Storyboard, IsMadeOfTheFramesDrawnAtTheWindowsClocks)
{
    TempDir dir;
    std::string clocks;
    for (int window = 1; window <= SceneWindowCount; window++)
        clocks += std::to_string(WindowMiddleClock(window)) + ",";
    const std::string frames = (dir.path / "f").string(), board = (dir.path / "board.png").string();
    ASSERT_EQ(RunInContent({"frames", "--clocks", clocks, "--out", frames, "--raw"}, RunFrames), 0);
    ASSERT_EQ(RunInContent({"storyboard", "--out", board, "--columns", "5"}, RunStoryboard), 0);
    Storyboard reference = MakeStoryboard(5);
    for (int window = 1; window <= SceneWindowCount; window++) {
        std::vector<uint32_t> frame(size_t(DisplayWidth) * DisplayHeight);
        const std::vector<uint8_t> bytes = FileBytes(FrameFile(dir, window - 1, "rgb32"));
        ASSERT_EQ(bytes.size(), frame.size() * 4) << "window " << window;
        std::memcpy(frame.data(), bytes.data(), bytes.size());
        PlaceThumb(reference, window, frame.data(), WindowMiddleClock(window));
    }
    const DecodedPng image = DecodePng(FileBytes(board));
    EXPECT_EQ(std::make_pair(image.width, image.height), std::make_pair(reference.width, reference.height));
    EXPECT_TRUE(image.pixels == reference.pixels);
}

} // namespace
