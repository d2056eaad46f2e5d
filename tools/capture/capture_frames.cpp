#include <cstdio>

#include "app/capture/capture_platform.h"
#include "capture/capture_commands.h"
#include "capture/capture_show.h"
#include "capture/frame_files.h"

// One frame per listed clock: the first is drawn at the listed value by
// setting the clock the show has just started, each later one through the
// music position that the frame before it reads.
int RunFrames(const CaptureOptions& options)
{
    if (!MakeOutputFolder(options.out)) {
        std::fprintf(stderr, "tarvel-capture: cannot make the folder %s\n", options.out.c_str());
        return 1;
    }
    OpenShow();
    Sequencer.SceneClock = options.clocks[0];
    const size_t count = options.clocks.size();
    for (size_t i = 0; i < count; i++) {
        PlayFrameThen(options.clocks[i + 1 < count ? i + 1 : i]);
        const std::string png = NumberedPath(options.out, "frame_", int64_t(i), ".png");
        if (!WritePngFrame(png, CaptureFrame)) {
            std::fprintf(stderr, "tarvel-capture: cannot write %s\n", png.c_str());
            return 1;
        }
        const std::string raw = NumberedPath(options.out, "frame_", int64_t(i), ".rgb32");
        if (options.raw && !WriteRawFrame(raw, CaptureFrame)) {
            std::fprintf(stderr, "tarvel-capture: cannot write %s\n", raw.c_str());
            return 1;
        }
    }
    CloseShow();
    return 0;
}
