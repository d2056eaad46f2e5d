// libFuzzer target for tarvel-capture's command line: fuzzed arguments, many
// of them the tool's own words, for ParseCaptureArgs ("@F" names a file of
// fuzzed text), and that text for ParseClockList. A refusal must say why.

#include <fuzzer/FuzzedDataProvider.h>

#include <iterator>
#include <string>
#include <vector>

#include "capture/capture_args.h"
#include "fuzz_file.h"

namespace {

const char* const Words[] = {
    "frames", "stills", "video", "bench", "storyboard", "--content", "--out", "--clocks", "--raw", "--at", "--fps",
    "--size", "--end", "--runs", "--preset", "--crf", "--lossless", "--columns", "--plot", "--help", "@F", "-",
    "--", "0", "1", "13345", "13346", "640x480", "1,2,3", "x", "v.mkv", "",
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const std::string listText = in.ConsumeRandomLengthString(256);
    WriteWholeFile(ScratchFile(), listText.data(), listText.size());

    std::vector<std::string> args;
    for (int n = in.ConsumeIntegralInRange(0, 12); n > 0; n--) {
        std::string arg = in.ConsumeBool() ? Words[in.ConsumeIntegralInRange<size_t>(0, std::size(Words) - 1)]
                                           : in.ConsumeRandomLengthString(24);
        args.push_back(arg == "@F" ? "@" + std::string(ScratchFile()) : arg);
    }
    CaptureOptions options;
    std::string error;
    if (!ParseCaptureArgs(args, &options, &error) && error.empty())
        __builtin_trap();
    std::vector<int32_t> clocks;
    error.clear();
    const int32_t low = in.ConsumeIntegral<int32_t>(), high = in.ConsumeIntegral<int32_t>();
    if (!ParseClockList(listText, low, high, &clocks, &error) && error.empty())
        __builtin_trap();
    return 0;
}
