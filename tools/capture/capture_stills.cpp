#include <cstdio>

#include "app/capture/capture_platform.h"
#include "capture/capture_commands.h"
#include "capture/capture_show.h"
#include "capture/frame_files.h"

// Plays the show at the chosen rate and keeps, for each requested clock, the
// first frame drawn at that clock or later, as still_TTTTT.png.
int RunStills(const CaptureOptions& options)
{
    if (!MakeOutputFolder(options.out)) {
        std::fprintf(stderr, "tarvel-capture: cannot make the folder %s\n", options.out.c_str());
        return 1;
    }
    std::vector<bool> saved(options.clocks.size(), false);
    size_t left = options.clocks.size();
    bool failed = false;
    OpenShow();
    PlayAtRate(options.fps, ShowEndClock, [&](int64_t, int32_t drawn) {
        for (size_t i = 0; i < options.clocks.size(); i++) {
            if (saved[i] || drawn < options.clocks[i])
                continue;
            const std::string path = NumberedPath(options.out, "still_", options.clocks[i], ".png");
            if (!WritePngFrame(path, CaptureFrame)) {
                std::fprintf(stderr, "tarvel-capture: cannot write %s\n", path.c_str());
                failed = true;
                return false;
            }
            saved[i] = true;
            left--;
        }
        return left > 0;
    });
    CloseShow();
    if (failed)
        return 1;
    for (size_t i = 0; i < options.clocks.size(); i++)
        if (!saved[i]) {
            std::fprintf(stderr, "tarvel-capture: at %d frames per second no frame is drawn at clock %d or later\n",
                         options.fps, int(options.clocks[i]));
            failed = true;
        }
    return failed ? 1 : 0;
}
