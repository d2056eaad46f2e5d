#include <cstdio>

#include "app/capture/capture_platform.h"
#include "capture/capture_commands.h"
#include "capture/capture_show.h"
#include "capture/frame_files.h"

// One frame per listed clock, as frame_NNNNN.png (and .rgb32).
int RunFrames(const CaptureOptions& options)
{
    if (!MakeOutputFolder(options.out)) {
        std::fprintf(stderr, "tarvel-capture: cannot make the folder %s\n", options.out.c_str());
        return 1;
    }
    bool failed = false;
    OpenShow();
    PlayAtClocks(options.clocks, [&](size_t i) {
        const std::string png = NumberedPath(options.out, "frame_", int64_t(i), ".png");
        const std::string raw = NumberedPath(options.out, "frame_", int64_t(i), ".rgb32");
        if (!WritePngFrame(png, CaptureFrame)) {
            std::fprintf(stderr, "tarvel-capture: cannot write %s\n", png.c_str());
            failed = true;
        } else if (options.raw && !WriteRawFrame(raw, CaptureFrame)) {
            std::fprintf(stderr, "tarvel-capture: cannot write %s\n", raw.c_str());
            failed = true;
        }
        return !failed;
    });
    CloseShow();
    return failed ? 1 : 0;
}
