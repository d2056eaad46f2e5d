#include <cstdio>
#include <thread>

#include "app/capture/capture_platform.h"
#include "capture/capture_commands.h"
#include "capture/capture_show.h"
#include "capture/frame_files.h"
#include "capture/frame_writer.h"

// One frame per listed clock, as frame_NNNNN.png (and .rgb32). The files
// are written by one worker per core while the show draws on.
int RunFrames(const CaptureOptions& options)
{
    if (!MakeOutputFolder(options.out)) {
        std::fprintf(stderr, "tarvel-capture: cannot make the folder %s\n", options.out.c_str());
        return 1;
    }
    OpenShow();
    FrameWriter writer;
    StartFrameWriter(&writer, int(std::thread::hardware_concurrency()));
    PlayAtClocks(options.clocks, [&](size_t i) {
        const std::string png = NumberedPath(options.out, "frame_", int64_t(i), ".png");
        const std::string raw = options.raw ? NumberedPath(options.out, "frame_", int64_t(i), ".rgb32") : "";
        return QueueFrameFiles(&writer, CaptureFrame, png, raw);
    });
    const std::string failed = FinishFrameWriter(&writer);
    CloseShow();
    if (!failed.empty()) {
        std::fprintf(stderr, "tarvel-capture: cannot write %s\n", failed.c_str());
        return 1;
    }
    return 0;
}
