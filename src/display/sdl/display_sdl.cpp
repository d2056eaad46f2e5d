#include "display/sdl/display_sdl.h"

#include <cstring>

#include "app/app.h"
#include "display/display.h"
#include "display/fade.h"
#include "app/sdl/frame_log_sdl.h"

static SDL_Window* DisplayWindow;
static SDL_Renderer* Renderer;
static SDL_Texture* BackBuffer;
static bool Exclusive;

// When the last frame was handed to the window system (SDL performance
// counter), 0 before the first.
static uint64_t LastPresented;

// The back buffer as locked by BeginFrame: null when the lock failed.
static uint8_t* LockedPixels;
static int LockedPitch;

// Step numbers, the codes that a failed start-up reports.
constexpr uint64_t MinimumFrameMs = 31;

constexpr uint32_t StepDevice = 1;
constexpr uint32_t StepMode = 3;
constexpr uint32_t StepBackBuffer = 4;

uint32_t DisplayCreate(SDL_Window* window)
{
    DisplayWindow = window;
    Renderer = SDL_CreateRenderer(window, -1, 0);
    return Renderer ? 0 : StepDevice;
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

uint32_t DisplayStart(SDL_Window* window, bool windowed)
{
    if (!windowed && !EnterFullScreen(window))
        return StepMode;
    // Scaled pictures are smoothed; at 1:1 every pixel is shown as drawn.
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
    if (SDL_RenderSetLogicalSize(Renderer, DisplayWidth, DisplayHeight) != 0)
        return StepMode;
    BackBuffer = SDL_CreateTexture(Renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                   DisplayWidth, DisplayHeight);
    if (!BackBuffer)
        return StepBackBuffer;
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

void BeginFrame()
{
    void* pixels = nullptr;
    int pitch = 0;
    if (BackBuffer && SDL_LockTexture(BackBuffer, nullptr, &pixels, &pitch) == 0) {
        LockedPixels = static_cast<uint8_t*>(pixels);
        LockedPitch = pitch;
        MapScreenRows(&DisplayScreen, pixels, pitch);
    } else {
        // Drawn where it harms nothing, and never shown.
        LockedPixels = nullptr;
        std::memcpy(DisplayScreen.rows, SpareScreen.rows, sizeof(uint32_t*) * DisplayHeight);
    }
    FrameLogBegun();
}

// Frames start at least 31 ms apart, but a frame that draws faster than the
// one before would reach the screen sooner after it; it waits here, so that
// frames are presented at least 31 ms apart too.
static void HoldUntilFrameTimeHasPassed()
{
    if (LastPresented == 0)
        return;
    const uint64_t gap = SDL_GetPerformanceFrequency() * MinimumFrameMs / 1000;
    while (SDL_GetPerformanceCounter() - LastPresented < gap) {
    }
}

void PresentFrame()
{
    FrameLogDrawn();
    if (!LockedPixels)
        return;
    FadePresentedFrame(LockedPixels, DisplayWidth, DisplayHeight, LockedPitch);
    LockedPixels = nullptr;
    SDL_UnlockTexture(BackBuffer);
    // The bars beside a scaled picture stay black. A copy that fails drops
    // the frame; it is never retried.
    SDL_RenderClear(Renderer);
    if (SDL_RenderCopy(Renderer, BackBuffer, nullptr, nullptr) != 0)
        return;
    HoldUntilFrameTimeHasPassed();
    LastPresented = SDL_GetPerformanceCounter();
    SDL_RenderPresent(Renderer);
    FrameLogPresented(LastPresented);
}

void DisplayRelease()
{
    if (LockedPixels) {
        SDL_UnlockTexture(BackBuffer);
        LockedPixels = nullptr;
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
    if (DisplayWindow && Exclusive)
        SDL_SetWindowFullscreen(DisplayWindow, 0);
    Exclusive = false;
    DisplayWindow = nullptr;
}
