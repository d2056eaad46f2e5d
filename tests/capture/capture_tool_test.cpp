#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "image/image_test_util.h"
#include "image/tga.h"
#include "raster/raster_test_util.h"

// tarvel-capture run as a program on the generated content.
namespace {

struct ToolRun {
    int exitCode;
    std::string out;
    std::string err;
};

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

// Runs the tool in `dir` with the generated content, capturing its output.
ToolRun Capture(const TempDir& dir, const std::string& arguments, const std::string& env = "")
{
    const std::string command = "cd '" + dir.path.string() + "' && " + env + " '" TARVEL_CAPTURE_TOOL "' " +
                                arguments + " >out.txt 2>err.txt";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(dir.path / "out.txt"),
            ReadFile(dir.path / "err.txt")};
}

const std::string Content = " --content '" TARVEL_CONTENT_DIR "'";

// Width and height from a PNG file's header.
std::pair<uint32_t, uint32_t> PngSize(const std::string& png)
{
    auto word = [&](size_t at) {
        return uint32_t(uint8_t(png[at])) << 24 | uint32_t(uint8_t(png[at + 1])) << 16 |
               uint32_t(uint8_t(png[at + 2])) << 8 | uint32_t(uint8_t(png[at + 3]));
    };
    if (png.size() < 24 || png.compare(1, 3, "PNG") != 0 || png.compare(12, 4, "IHDR") != 0)
        return {0, 0};
    return {word(16), word(20)};
}

TEST(CaptureTool, FramesReproduceThemselves)
{
    TempDir dir;
    const std::string clocks = " --clocks 0,1291,2720,3661,7800,8600,10100,12500 --raw";
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
                EXPECT_EQ(PngSize(a), std::make_pair(800u, 600u)) << name;
            else
                EXPECT_EQ(a.size(), 800u * 600u * 4u) << name;
        }
    }
}

TEST(CaptureTool, AFrameAtAClockInNoWindowIsTheBackground)
{
    // Listed first, 1290 is the clock of the first frame itself.
    TempDir dir;
    ASSERT_EQ(Capture(dir, "frames" + Content + " --clocks 1290,1291 --raw --out f").exitCode, 0);
    OwnedScreen fondo(800, 600);
    SetTarget(fondo.get());
    LoadTGA((std::string(TARVEL_CONTENT_DIR) + "/graph/fondo.tga").c_str(), 0, 0);
    SetTarget(nullptr);
    std::string expected;
    for (uint32_t p : Pixels(fondo.get()))
        for (int b = 0; b < 4; b++)
            expected += char(p >> (8 * b));
    EXPECT_EQ(ReadFile(dir.path / "f" / "frame_00000.rgb32"), expected);
    EXPECT_NE(ReadFile(dir.path / "f" / "frame_00001.rgb32"), expected);
}

TEST(CaptureTool, StillsKeepTheFirstFrameThatReachesEachClock)
{
    TempDir dir;
    // At 32 frames per second frame 413 is drawn at clock 1290 exactly.
    const ToolRun run = Capture(dir, "stills" + Content + " --at 1290,600 --out s");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    ASSERT_EQ(Capture(dir, "frames" + Content + " --clocks 1290 --out f").exitCode, 0);
    EXPECT_EQ(ReadFile(dir.path / "s" / "still_01290.png"), ReadFile(dir.path / "f" / "frame_00000.png"));
    EXPECT_EQ(PngSize(ReadFile(dir.path / "s" / "still_00600.png")), std::make_pair(800u, 600u));
}

TEST(CaptureTool, StillsReportAClockTheRateNeverDraws)
{
    TempDir dir;
    const ToolRun run = Capture(dir, "stills" + Content + " --at 13345 --fps 1 --out s");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("no frame is drawn at clock 13345"), std::string::npos) << run.err;
}

TEST(CaptureTool, VideoCarriesThePictureAndTheSoundtrack)
{
    if (std::system("command -v ffprobe >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "ffprobe (Debian package ffmpeg) is not installed";
    TempDir dir;
    const ToolRun run = Capture(dir, "video" + Content + " --out v.mp4 --fps 10 --size 160x120 --end 300");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.err.find("30/30 frames 100%"), std::string::npos) << run.err;
    const std::string probe = "cd '" + dir.path.string() +
                              "' && ffprobe -v error -show_entries stream=codec_type,codec_name,width,height"
                              ":format=duration -of default=noprint_wrappers=1 v.mp4 >probe.txt";
    ASSERT_EQ(std::system(probe.c_str()), 0);
    const std::string info = ReadFile(dir.path / "probe.txt");
    EXPECT_NE(info.find("codec_name=h264"), std::string::npos) << info;
    EXPECT_NE(info.find("width=160"), std::string::npos) << info;
    EXPECT_NE(info.find("height=120"), std::string::npos) << info;
    EXPECT_NE(info.find("codec_type=audio"), std::string::npos) << info;
    const size_t at = info.find("duration=");
    ASSERT_NE(at, std::string::npos) << info;
    EXPECT_NEAR(std::stod(info.substr(at + 9)), 3.0, 0.1) << info;
}

TEST(CaptureTool, VideoWithoutFfmpegSaysSo)
{
    TempDir dir;
    const ToolRun run = Capture(dir, "video" + Content + " --out v.mp4 --end 100", "PATH=/nonexistent");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("ffmpeg was not found"), std::string::npos) << run.err;
}

TEST(CaptureTool, BenchReportsEveryWindowAndTheCopyItIsMeasuredAgainst)
{
    TempDir dir;
    const ToolRun run = Capture(dir, "bench" + Content + " --fps 4 --runs 2");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::istringstream lines(run.out);
    std::string line;
    int windows = 0;
    while (std::getline(lines, line))
        windows += !line.empty() && std::isdigit(uint8_t(line[0]));
    EXPECT_EQ(windows, 37) << run.out;
    EXPECT_NE(run.out.find("fastest of 2 runs"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\nshow "), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("memcpy of one 800x600x4-byte frame"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("mean frame / memcpy"), std::string::npos) << run.out;
}

TEST(CaptureTool, BadArgumentsExitWith2AndTheUsage)
{
    TempDir dir;
    for (const char* args : {"", "frames --out d", "show", "video --out v.mp4 --fps 0", "bench --content /nonexistent"}) {
        const ToolRun run = Capture(dir, args);
        EXPECT_EQ(run.exitCode, 2) << args;
        EXPECT_NE(run.err.find("usage: tarvel-capture"), std::string::npos) << args;
    }
    const ToolRun help = Capture(dir, "--help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("usage: tarvel-capture"), std::string::npos);
}

TEST(CaptureTool, MissingPicturesEndWithTheShowsOwnError)
{
    TempDir dir;
    std::filesystem::create_directories(dir.path / "empty");
    const ToolRun run = Capture(dir, "frames --content empty --clocks 0 --out f");
    EXPECT_EQ(run.exitCode, 255);
    EXPECT_NE(run.err.find("fichero no encontrado en LoadTGA: graph\\fondo.tga"), std::string::npos) << run.err;
}

} // namespace
