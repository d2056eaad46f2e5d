#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

#include "capture/capture_commands.h"

// tarvel-capture: the show without a screen. See CaptureUsage.
int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h" || args[0] == "help")) {
        std::fputs(CaptureUsage, stdout);
        return 0;
    }
    CaptureOptions options;
    std::string error;
    if (!ParseCaptureArgs(args, &options, &error)) {
        std::fprintf(stderr, "tarvel-capture: %s\n\n%s", error.c_str(), CaptureUsage);
        return 2;
    }
    // The show names its files relative to the working folder.
    if (!options.content.empty() && chdir(options.content.c_str()) != 0) {
        std::fprintf(stderr, "tarvel-capture: cannot enter the content folder %s\n\n%s", options.content.c_str(),
                     CaptureUsage);
        return 2;
    }
    if (options.command == "frames")
        return RunFrames(options);
    if (options.command == "stills")
        return RunStills(options);
    if (options.command == "video")
        return RunVideo(options);
    if (options.command == "storyboard")
        return RunStoryboard(options);
    return RunBench(options);
}
