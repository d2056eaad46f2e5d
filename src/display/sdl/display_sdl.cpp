// The display on SDL: a renderer for the program's window, a streaming
// texture of 800x600 32-bit pixels as the back buffer, and the window's
// full-screen mode. Start-up steps return 0, or the number of the step that
// failed, which the start-up's message shows.
#include <SDL.h>

#include <cstdio>
#include <cstring>

#include "app/sdl/app_sdl.h"
#include "app/sdl/frame_log_sdl.h"
#include "display/display.h"
#include "display/display_seam.h"

static SDL_Renderer* Renderer;
static SDL_Texture* BackBuffer;
static bool Exclusive;
static bool Locked;

// Step numbers, the codes that a failed start-up reports.
constexpr uint32_t StepDevice = 1;
constexpr uint32_t StepMode = 3;
constexpr uint32_t StepBackBuffer = 4;

static uint32_t StepFailed(uint32_t step)
{
    std::fprintf(stderr, "tarvel: display start-up step %u: %s\n", unsigned(step), SDL_GetError());
    return step;
}

uint32_t DisplayCreate()
{
    Renderer = SDL_CreateRenderer(AppWindow, -1, 0);
    return Renderer ? 0 : StepFailed(StepDevice);
}

// The display's own 800x600 mode with 4-byte pixels, if it has one.
static bool FindExclusiveMode(int display, SDL_DisplayMode* found)
{
    const int count = SDL_GetNumDisplayModes(display);
    for (int i = 0; i < count; i++) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(display, i, &mode) != 0)
            continue;
        if (mode.w == DisplayWidth && mode.h == DisplayHeight && SDL_BYTESPERPIXEL(mode.format) == 4) {
            *found = mode;
            return true;
        }
    }
    return false;
}

// 800x600 in exclusive full screen where the display has that mode, else
// full screen at the desktop's size with the picture scaled to fit.
static bool EnterFullScreen(SDL_Window* window)
{
    SDL_DisplayMode mode;
    const int display = SDL_GetWindowDisplayIndex(window);
    if (display >= 0 && FindExclusiveMode(display, &mode) && SDL_SetWindowDisplayMode(window, &mode) == 0
        && SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN) == 0) {
        Exclusive = true;
        return true;
    }
    Exclusive = false;
    return SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP) == 0;
}

// In a window (--window) the picture fits the window, which stays as it is.
uint32_t DisplayStart()
{
    if (!AppWindowed && !EnterFullScreen(AppWindow))
        return StepFailed(StepMode);
    // Scaled pictures are smoothed; at 1:1 every pixel is shown as drawn.
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
    if (SDL_RenderSetLogicalSize(Renderer, DisplayWidth, DisplayHeight) != 0)
        return StepFailed(StepMode);
    BackBuffer = SDL_CreateTexture(Renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                   DisplayWidth, DisplayHeight);
    if (!BackBuffer)
        return StepFailed(StepBackBuffer);
    void* pixels = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(BackBuffer, nullptr, &pixels, &pitch) == 0) {
        for (int y = 0; y < DisplayHeight; y++)
            std::memset(static_cast<uint8_t*>(pixels) + std::ptrdiff_t(y) * pitch, 0, DisplayWidth * 4);
        SDL_UnlockTexture(BackBuffer);
    }
    SDL_SetRenderDrawColor(Renderer, 0, 0, 0, 255);
    SDL_RenderClear(Renderer);
    SDL_RenderPresent(Renderer);
    return 0;
}

bool DisplayLock(void** pixels, std::ptrdiff_t* pitch)
{
    int rowBytes = 0;
    Locked = BackBuffer && SDL_LockTexture(BackBuffer, nullptr, pixels, &rowBytes) == 0;
    *pitch = rowBytes;
    FrameLogBegun();
    return Locked;
}

bool DisplayUnlock(void*)
{
    FrameLogDrawn();
    Locked = false;
    SDL_UnlockTexture(BackBuffer);
    return true;
}

// The bars beside a scaled picture stay black. A copy that fails drops the
// frame; it is never retried.
bool DisplayShow()
{
    SDL_RenderClear(Renderer);
    if (SDL_RenderCopy(Renderer, BackBuffer, nullptr, nullptr) != 0)
        return false;
    const uint64_t handedOver = SDL_GetPerformanceCounter();
    SDL_RenderPresent(Renderer);
    FrameLogPresented(handedOver);
    return true;
}

void DisplayRelease()
{
    if (Locked) {
        SDL_UnlockTexture(BackBuffer);
        Locked = false;
    }
    if (BackBuffer) {
        SDL_DestroyTexture(BackBuffer);
        BackBuffer = nullptr;
    }
    if (Renderer) {
        SDL_DestroyRenderer(Renderer);
        Renderer = nullptr;
    }
    // Leaving the exclusive mode gives the display back to the desktop.
    if (AppWindow && Exclusive)
        SDL_SetWindowFullscreen(AppWindow, 0);
    Exclusive = false;
}
