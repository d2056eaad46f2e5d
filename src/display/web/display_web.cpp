// The display in the browser: the back buffer is memory of the program's
// own, and each shown frame is converted to the canvas's byte order and put
// onto the page's 800x600 canvas (display_web.js). Start-up steps return 0,
// or the number of the step that failed, which the start-up's message shows.
#include <cstdlib>
#include <cstring>

#include "display/display.h"
#include "display/display_seam.h"
#include "display/web/canvas_pixels.h"

extern "C" {
int tarvel_canvas_open(int width, int height);
void tarvel_canvas_put(const uint32_t* rgba, int width, int height);
void tarvel_canvas_close(void);
}

namespace {

constexpr std::size_t FramePixels = std::size_t(DisplayWidth) * DisplayHeight;
constexpr std::ptrdiff_t BackBufferPitch = DisplayWidth * 4;

// Step numbers, the codes that a failed start-up reports.
constexpr uint32_t StepDevice = 1;
constexpr uint32_t StepBackBuffer = 4;

uint32_t* BackBuffer;   // 0x00RRGGBB, what the engine draws into
uint32_t* CanvasBuffer; // the same frame in the canvas's byte order
bool CanvasOpen;

} // namespace

uint32_t DisplayCreate()
{
    CanvasOpen = tarvel_canvas_open(DisplayWidth, DisplayHeight) != 0;
    return CanvasOpen ? 0 : StepDevice;
}

uint32_t DisplayStart()
{
    BackBuffer = static_cast<uint32_t*>(std::calloc(FramePixels, sizeof(uint32_t)));
    CanvasBuffer = static_cast<uint32_t*>(std::calloc(FramePixels, sizeof(uint32_t)));
    if (!BackBuffer || !CanvasBuffer)
        return StepBackBuffer;
    // A first black frame, as the first lock and unlock leave it.
    ToCanvasPixels(BackBuffer, CanvasBuffer, FramePixels);
    tarvel_canvas_put(CanvasBuffer, DisplayWidth, DisplayHeight);
    return 0;
}

bool DisplayLock(void** pixels, std::ptrdiff_t* pitch)
{
    if (!BackBuffer)
        return false;
    *pixels = BackBuffer;
    *pitch = BackBufferPitch;
    return true;
}

bool DisplayUnlock(void*)
{
    return true;
}

bool DisplayShow()
{
    ToCanvasPixels(BackBuffer, CanvasBuffer, FramePixels);
    tarvel_canvas_put(CanvasBuffer, DisplayWidth, DisplayHeight);
    return true;
}

void DisplayRelease()
{
    std::free(BackBuffer);
    std::free(CanvasBuffer);
    BackBuffer = CanvasBuffer = nullptr;
    if (CanvasOpen)
        tarvel_canvas_close();
    CanvasOpen = false;
}
