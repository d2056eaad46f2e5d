#include <SDL.h>

#include "app/sdl/frame_log_sdl.h"
#include "input/ticks.h"

// SDL's tick counter runs on the monotonic clock, so wall-clock changes do
// not move it; the low 32 bits wrap as the frame timer expects.
uint32_t TickCount()
{
    if (FrameLogOn)
        FrameLogTickRead();
    return uint32_t(SDL_GetTicks64());
}
