// libFuzzer target for tarvel-capture's command line. A fuzzed list of
// arguments, some of them chosen among the tool's own words so that every
// command and option is reached, is parsed (ParseCaptureArgs, over CLI11); an
// argument "@F" names a file holding fuzzed text, as a clock list to read.
// Parsed options must be ones the commands can run with, and a refusal must
// say why. A fuzzed clock list with fuzzed bounds goes to ParseClockList,
// whose values must all lie within them.

#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "capture/capture_args.h"
#include "demo/sequencer.h"

namespace {

std::string ListFile;

const char* const Words[] = {
    "frames", "stills", "video", "bench", "--content", "--out", "--clocks", "--raw", "--at", "--fps", "--size",
    "--end",  "--runs", "--help", "@F",   "-",         "--",    "0",        "1",     "13345", "13346", "640x480",
    "1,2,3",  "x",      "",
};

bool InRange(const std::vector<int32_t>& clocks, int32_t low, int32_t high)
{
    for (const int32_t c : clocks)
        if (c < low || c > high)
            return false;
    return true;
}

// What every command needs of the options it gets.
bool Runnable(const CaptureOptions& o)
{
    const bool known = o.command == "frames" || o.command == "stills" || o.command == "video" || o.command == "bench";
    const bool clocks = o.command == "frames"   ? !o.clocks.empty() && InRange(o.clocks, 0, MaxListedClock)
                      : o.command == "stills" ? !o.clocks.empty() && InRange(o.clocks, 0, ShowEndClock - 1)
                                              : o.clocks.empty();
    const bool out = o.command == "bench" || (!o.out.empty() && std::filesystem::path(o.out).is_absolute());
    return known && clocks && out && o.fps >= 1 && o.fps <= 1000 && o.width >= 16 && o.width <= 7680
        && o.height >= 16 && o.height <= 4320 && o.width % 2 == 0 && o.height % 2 == 0 && o.endClock >= 1
        && o.endClock <= ShowEndClock && o.runs >= 1 && o.runs <= 100;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    const std::filesystem::path folder =
        std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
    ListFile = (folder / ("tarvel-args-fuzz-" + std::to_string(getpid()) + ".txt")).string();
    std::atexit([] { std::remove(ListFile.c_str()); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const std::string listText = in.ConsumeRandomLengthString(256);
    std::FILE* f = std::fopen(ListFile.c_str(), "wb");
    if (!f || std::fwrite(listText.data(), 1, listText.size(), f) != listText.size() || std::fclose(f) != 0)
        std::abort();

    std::vector<std::string> args;
    for (int n = in.ConsumeIntegralInRange(0, 12); n > 0; n--) {
        std::string arg = in.ConsumeBool() ? Words[in.ConsumeIntegralInRange<size_t>(0, std::size(Words) - 1)]
                                           : in.ConsumeRandomLengthString(24);
        if (arg == "@F")
            arg = "@" + ListFile;
        args.push_back(arg);
    }
    CaptureOptions options;
    std::string error;
    if (ParseCaptureArgs(args, &options, &error) ? !Runnable(options) : error.empty())
        __builtin_trap();

    const int32_t low = in.ConsumeIntegral<int32_t>(), high = in.ConsumeIntegral<int32_t>();
    std::vector<int32_t> clocks;
    error.clear();
    if (ParseClockList(listText, low, high, &clocks, &error) ? clocks.empty() || !InRange(clocks, low, high)
                                                             : error.empty())
        __builtin_trap();
    return 0;
}
