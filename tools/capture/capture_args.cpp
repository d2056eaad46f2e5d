#include "capture/capture_args.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "demo/sequencer.h"
#include "demo/timeline.h"

const char CaptureUsage[] =
    "usage: tarvel-capture COMMAND [--content DIR] [options]\n"
    "\n"
    "Runs the show without a screen, from the working folder or DIR (which hold\n"
    "graph/ and music/), on a clock the capture controls, and keeps what it shows.\n"
    "\n"
    "  frames --clocks LIST|@FILE --out DIR [--raw]\n"
    "      one frame for each listed clock value (hundredths of a second), in\n"
    "      order, as DIR/frame_NNNNN.png (800x600 RGB); --raw adds\n"
    "      DIR/frame_NNNNN.rgb32 (800x600 little-endian 0x00RRGGBB)\n"
    "  stills --at T1,T2,... --out DIR [--fps N]\n"
    "      plays the show at N frames per second of music time (default 32) and\n"
    "      saves the first frame whose clock reaches each T as DIR/still_TTTTT.png\n"
    "  video --out FILE [--fps N] [--size WxH] [--end T] [--preset P] [--crf Q]\n"
    "        [--lossless]\n"
    "      the show at N frames per second (default 60) up to clock T (default\n"
    "      the end of the show), with its soundtrack, encoded by ffmpeg as H.264\n"
    "      and AAC (MP4 for a .mp4 name): x264 preset P (default superfast)\n"
    "      at constant rate factor Q, 0 to 51, lower for better and larger\n"
    "      (default 20); --lossless keeps every pixel instead: FFV1 and FLAC\n"
    "      in Matroska, FILE ending in .mkv\n"
    "  bench [--fps N] [--runs R] [--plot FILE.svg]\n"
    "      plays the whole show as fast as it can at N frames per second of\n"
    "      music time (default 32) and prints the time taken to draw its frames;\n"
    "      with R plays (default 1), each frame counts with its fastest time;\n"
    "      --plot draws each frame's time over the show's clock as an SVG picture\n"
    "  storyboard --out FILE.png [--columns N]\n"
    "      one thumbnail of each of the 37 windows of the timeline, drawn at the\n"
    "      window's middle and labelled with its number and clock in seconds,\n"
    "      in a grid N cells wide (default 6)\n"
    "\n"
    "Exit codes: 0 done, 1 an output could not be made, 2 bad arguments;\n"
    "a picture that cannot be loaded ends the show with its own message (255).\n";

const char DefaultVideoPreset[] = "superfast";

namespace {

// x264's presets, fastest first.
const std::vector<std::string> VideoPresets = {"ultrafast", "superfast", "veryfast", "faster", "fast",
                                               "medium",    "slow",      "slower",   "veryslow", "placebo"};

bool ParseInt(const std::string& text, long low, long high, long* value)
{
    if (text.empty())
        return false;
    errno = 0;
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || v < low || v > high)
        return false;
    *value = v;
    return true;
}

// A whole number from low to high, or the given reason.
CLI::Validator WholeNumber(long low, long high, const std::string& reason)
{
    return CLI::Validator(
        [=](std::string& text) {
            long v = 0;
            return ParseInt(text, low, high, &v) ? std::string() : reason;
        },
        "INT");
}

// WxH, even numbers (the encoder's 4:2:0 colour planes need them).
bool ParseSize(const std::string& text, int* width, int* height)
{
    const size_t x = text.find('x');
    long w = 0, h = 0;
    if (x == std::string::npos || !ParseInt(text.substr(0, x), 16, 7680, &w) ||
        !ParseInt(text.substr(x + 1), 16, 4320, &h) || w % 2 != 0 || h % 2 != 0)
        return false;
    *width = int(w);
    *height = int(h);
    return true;
}

bool ReadWholeFile(const std::string& path, std::string* text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream all;
    all << in.rdbuf();
    *text = all.str();
    return true;
}

} // namespace

std::string FileExtension(const std::string& file)
{
    std::string extension = std::filesystem::path(file).extension().string();
    for (char& c : extension)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return extension;
}

bool ParseClockList(const std::string& text, int32_t low, int32_t high, std::vector<int32_t>* clocks,
                    std::string* error)
{
    clocks->clear();
    std::string item;
    auto flush = [&]() {
        if (item.empty())
            return true;
        long v = 0;
        if (!ParseInt(item, low, high, &v)) {
            *error = "clock value '" + item + "' is not a whole number from " + std::to_string(low) + " to " +
                     std::to_string(high);
            return false;
        }
        clocks->push_back(int32_t(v));
        item.clear();
        return true;
    };
    for (char c : text) {
        if (c == ',' || c == ' ' || c == '\t' || c == '\n' || c == '\r') {
            if (!flush())
                return false;
        } else {
            item += c;
        }
    }
    if (!flush())
        return false;
    if (clocks->empty()) {
        *error = "the clock list is empty";
        return false;
    }
    return true;
}

bool ParseCaptureArgs(const std::vector<std::string>& args, CaptureOptions* options, std::string* error)
{
    CaptureOptions o;
    std::string clockText, sizeText;
    CLI::App app("tarvel-capture", "tarvel-capture");
    app.set_help_flag();
    app.require_subcommand(1, 1);
    auto content = [&](CLI::App* command) { command->add_option("--content", o.content); };
    auto out = [&](CLI::App* command) { command->add_option("--out", o.out)->required(); };
    auto fps = [&](CLI::App* command) {
        command->add_option("--fps", o.fps)->check(WholeNumber(1, 1000, "takes a whole number from 1 to 1000"));
    };

    CLI::App* frames = app.add_subcommand("frames");
    content(frames);
    out(frames);
    frames->add_option("--clocks", clockText)->required();
    frames->add_flag("--raw", o.raw);

    CLI::App* stills = app.add_subcommand("stills");
    content(stills);
    out(stills);
    fps(stills);
    stills->add_option("--at", clockText)->required();

    CLI::App* video = app.add_subcommand("video");
    content(video);
    out(video);
    fps(video);
    video->add_option("--size", sizeText);
    video->add_option("--end", o.endClock)
        ->check(WholeNumber(1, ShowEndClock, "takes a clock value from 1 to " + std::to_string(ShowEndClock)));
    video->add_option("--preset", o.preset)
        ->check(CLI::Validator(
            [](std::string& text) {
                return std::find(VideoPresets.begin(), VideoPresets.end(), text) != VideoPresets.end()
                           ? std::string()
                           : "takes an x264 preset: ultrafast, superfast, veryfast, faster, fast, medium, slow, "
                             "slower, veryslow or placebo";
            },
            "PRESET"));
    video->add_option("--crf", o.crf)->check(WholeNumber(0, 51, "takes a whole number from 0 to 51"));
    video->add_flag("--lossless", o.lossless);

    CLI::App* bench = app.add_subcommand("bench");
    content(bench);
    fps(bench);
    bench->add_option("--runs", o.runs)->check(WholeNumber(1, 100, "takes a whole number from 1 to 100"));
    bench->add_option("--plot", o.plot);

    CLI::App* storyboard = app.add_subcommand("storyboard");
    content(storyboard);
    out(storyboard);
    storyboard->add_option("--columns", o.columns)
        ->check(WholeNumber(1, SceneWindowCount,
                            "takes a whole number from 1 to " + std::to_string(SceneWindowCount)));

    if (args.empty()) {
        *error = "no command given";
        return false;
    }
    const auto named = [&](CLI::App* command) { return command->check_name(args[0]); };
    if (app.get_subcommands(named).empty()) {
        *error = "unknown command '" + args[0] + "'";
        return false;
    }
    try {
        std::vector<std::string> reversed(args.rbegin(), args.rend());
        app.parse(reversed);
    } catch (const CLI::ParseError& e) {
        *error = e.what();
        return false;
    }
    o.command = app.get_subcommands().front()->get_name();

    if (!sizeText.empty() && !ParseSize(sizeText, &o.width, &o.height)) {
        *error = "--size takes WxH, even numbers from 16x16 to 7680x4320";
        return false;
    }
    if (o.lossless && (!o.preset.empty() || o.crf >= 0)) {
        *error = "--lossless takes neither --preset nor --crf";
        return false;
    }
    if (o.lossless && FileExtension(o.out) != ".mkv") {
        *error = "--lossless writes Matroska: give --out a name ending in .mkv";
        return false;
    }
    if (frames->parsed()) {
        if (!clockText.empty() && clockText[0] == '@') {
            std::string fileText;
            if (!ReadWholeFile(clockText.substr(1), &fileText)) {
                *error = "cannot read the clock list " + clockText.substr(1);
                return false;
            }
            clockText = fileText;
        }
        if (!ParseClockList(clockText, 0, MaxListedClock, &o.clocks, error))
            return false;
    }
    // The last frame of the show is drawn at a clock below ShowEndClock.
    if (stills->parsed() && !ParseClockList(clockText, 0, ShowEndClock - 1, &o.clocks, error))
        return false;
    // An empty name is given but names nothing to write.
    if (o.out.empty() && !bench->parsed()) {
        *error = "--out needs a file or folder name";
        return false;
    }
    if (!o.out.empty())
        o.out = std::filesystem::absolute(o.out).string();
    if (!o.plot.empty())
        o.plot = std::filesystem::absolute(o.plot).string();
    if (o.fps == 0)
        o.fps = video->parsed() ? 60 : 32;
    if (o.endClock == 0)
        o.endClock = ShowEndClock;
    if (o.preset.empty())
        o.preset = DefaultVideoPreset;
    if (o.crf < 0)
        o.crf = DefaultVideoCrf;
    *options = o;
    return true;
}
