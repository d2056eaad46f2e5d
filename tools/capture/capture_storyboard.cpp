#include <cstdio>

#include "app/capture/capture_platform.h"
#include "capture/capture_commands.h"
#include "capture/capture_show.h"
#include "capture/storyboard.h"
#include "common/png_write.h"

// One frame at the middle of each timeline window, played in window order
// as `frames` plays a clock list, each shrunk into its cell of the grid.
int RunStoryboard(const CaptureOptions& options)
{
    std::vector<int32_t> clocks;
    for (int window = 1; window <= SceneWindowCount; window++)
        clocks.push_back(WindowMiddleClock(window));
    Storyboard board = MakeStoryboard(options.columns);
    OpenShow();
    PlayAtClocks(clocks, [&](size_t i) {
        PlaceThumb(board, int(i) + 1, CaptureFrame, clocks[i]);
        return true;
    });
    CloseShow();
    const std::vector<uint8_t> png = EncodePng(board.pixels.data(), board.width, board.height, board.width);
    if (png.empty() || !WriteFileBytes(options.out.c_str(), png)) {
        std::fprintf(stderr, "tarvel-capture: cannot write %s\n", options.out.c_str());
        return 1;
    }
    return 0;
}
