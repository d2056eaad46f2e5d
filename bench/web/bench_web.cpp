// tarvel-capture's bench in the browser: the whole show at 32 frames per
// second of music time, as fast as it goes, each frame's drawing timed with
// the page's clock; ?runs=N in the address plays it N times (default 3).
#include <cstdlib>

#include "capture/capture_commands.h"

int main(int argc, char** argv)
{
    CaptureOptions options;
    options.command = "bench";
    options.fps = 32;
    options.runs = argc > 1 ? std::atoi(argv[1]) : 3;
    if (options.runs < 1)
        options.runs = 1;
    return RunBench(options);
}
