#include "app/capture/capture_args.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "demo/sequencer.h"

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
    "  video --out FILE [--fps N] [--size WxH] [--end T]\n"
    "      the show at N frames per second (default 60) up to clock T (default\n"
    "      the end of the show), with its soundtrack, encoded by ffmpeg as H.264\n"
    "      and AAC (MP4 for a .mp4 name)\n"
    "  bench [--fps N] [--runs R]\n"
    "      plays the whole show as fast as it can at N frames per second of\n"
    "      music time (default 32) and prints the time taken to draw its frames;\n"
    "      with R plays (default 1), each frame counts with its fastest time\n"
    "\n"
    "Exit codes: 0 done, 1 an output could not be made, 2 bad arguments;\n"
    "a picture that cannot be loaded ends the show with its own message (255).\n";

namespace {

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

bool ParseSize(const std::string& text, int* width, int* height)
{
    const size_t x = text.find('x');
    long w = 0, h = 0;
    if (x == std::string::npos || !ParseInt(text.substr(0, x), 16, 7680, &w) ||
        !ParseInt(text.substr(x + 1), 16, 4320, &h))
        return false;
    // The encoder's 4:2:0 colour planes need even sizes.
    if (w % 2 != 0 || h % 2 != 0)
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
    if (args.empty()) {
        *error = "no command given";
        return false;
    }
    CaptureOptions o;
    o.command = args[0];
    const bool frames = o.command == "frames", stills = o.command == "stills";
    const bool video = o.command == "video", bench = o.command == "bench";
    if (!frames && !stills && !video && !bench) {
        *error = "unknown command '" + o.command + "'";
        return false;
    }
    std::string clockText, clockOption;
    bool ended = false;
    for (size_t i = 1; i < args.size(); i++) {
        const std::string& name = args[i];
        if (name == "--raw" && frames) {
            o.raw = true;
            continue;
        }
        const bool known = name == "--content" || (name == "--out" && !bench) || (name == "--clocks" && frames) ||
                           (name == "--at" && stills) || (name == "--fps" && !frames) ||
                           ((name == "--size" || name == "--end") && video) || (name == "--runs" && bench);
        if (!known) {
            *error = "'" + name + "' is not an option of " + o.command;
            return false;
        }
        if (i + 1 >= args.size()) {
            *error = name + " needs a value";
            return false;
        }
        const std::string& value = args[++i];
        long number = 0;
        if (name == "--content") {
            o.content = value;
        } else if (name == "--out") {
            o.out = value.empty() ? value : std::filesystem::absolute(value).string();
        } else if (name == "--clocks" || name == "--at") {
            clockText = value;
            clockOption = name;
        } else if (name == "--fps") {
            if (!ParseInt(value, 1, 1000, &number)) {
                *error = "--fps takes a whole number from 1 to 1000";
                return false;
            }
            o.fps = int(number);
        } else if (name == "--size") {
            if (!ParseSize(value, &o.width, &o.height)) {
                *error = "--size takes WxH, even numbers from 16x16 to 7680x4320";
                return false;
            }
        } else if (name == "--runs") {
            if (!ParseInt(value, 1, 100, &number)) {
                *error = "--runs takes a whole number from 1 to 100";
                return false;
            }
            o.runs = int(number);
        } else if (name == "--end") {
            if (!ParseInt(value, 1, ShowEndClock, &number)) {
                *error = "--end takes a clock value from 1 to " + std::to_string(ShowEndClock);
                return false;
            }
            o.endClock = int32_t(number);
            ended = true;
        }
    }
    if (!bench && o.out.empty()) {
        *error = o.command + " needs --out";
        return false;
    }
    if ((frames || stills) && clockText.empty()) {
        *error = o.command + (frames ? " needs --clocks" : " needs --at");
        return false;
    }
    if (frames) {
        if (clockText[0] == '@') {
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
    if (stills && !ParseClockList(clockText, 0, ShowEndClock - 1, &o.clocks, error))
        return false;
    if (o.fps == 0)
        o.fps = video ? 60 : 32;
    if (!ended)
        o.endClock = ShowEndClock;
    *options = o;
    return true;
}
