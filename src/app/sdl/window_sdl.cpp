#include "app/sdl/app_sdl.h"

#include <cstdio>
#include <cstdlib>

#include "app/app.h"
#include "app/close_request.h"
#include "app/sdl/frame_log_sdl.h"
#include "audio/sound.h"
#include "display/sdl/display_sdl.h"
#include "raster/mathtables.h"

SDL_Window* AppWindow;
int32_t AppActive;

// Events of the program's own: a request to close the window (Escape, the
// end of the show) and the quit that follows the window's end.
static uint32_t CloseRequestEvent;
static uint32_t QuitEvent;

void PostCloseRequest(void* window)
{
    SDL_Event event{};
    event.type = CloseRequestEvent;
    event.user.data1 = window;
    SDL_PushEvent(&event);
}

static void PostQuit(int exitCode)
{
    SDL_Event event{};
    event.type = QuitEvent;
    event.user.code = exitCode;
    SDL_PushEvent(&event);
}

// The window's end: everything is released, then the quit event ends the
// loop. Later close requests find no window and change nothing.
static void DestroyAppWindow()
{
    if (!AppWindow)
        return;
    ShutdownApp();
    SDL_DestroyWindow(AppWindow);
    AppWindow = nullptr;
    FrameLogClose();
    PostQuit(0);
}

static SDL_Window* CreateAppWindow(bool windowed)
{
    if (windowed)
        return SDL_CreateWindow("TARVEL", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, DisplayWidth,
                                DisplayHeight, SDL_WINDOW_RESIZABLE | SDL_WINDOW_HIDDEN);
    // Borderless, topmost, covering the screen as it is at start-up.
    SDL_DisplayMode desktop;
    if (SDL_GetDesktopDisplayMode(0, &desktop) != 0)
        return nullptr;
    return SDL_CreateWindow("TARVEL", 0, 0, desktop.w, desktop.h,
                            SDL_WINDOW_BORDERLESS | SDL_WINDOW_ALWAYS_ON_TOP | SDL_WINDOW_HIDDEN);
}

static int DisplayStartupFailed(uint32_t code)
{
    char text[256];
    std::snprintf(text, sizeof text, "Fallo al inicializar Direct-Draw (%08lx)\n", static_cast<unsigned long>(code));
    std::fprintf(stderr, "ERROR: %s%s\n", text, SDL_GetError());
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "ERROR", text, AppWindow);
    ShutdownApp();
    DestroyAppWindow();
    return 0;
}

int InitApp(bool windowed)
{
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        std::fprintf(stderr, "tarvel: the window cannot be created: %s\n", SDL_GetError());
        return 0;
    }
    // The exit handlers give the desktop its display mode back, also after
    // a fatal error, which ends the program without the shutdown.
    std::atexit(SDL_Quit);
    CloseRequestEvent = SDL_RegisterEvents(2);
    QuitEvent = CloseRequestEvent + 1;

    AppWindow = CreateAppWindow(windowed);
    if (!AppWindow) {
        std::fprintf(stderr, "tarvel: the window cannot be created: %s\n", SDL_GetError());
        return 0;
    }
    SDL_ShowWindow(AppWindow);
    SDL_ShowCursor(SDL_DISABLE);

    const uint32_t created = DisplayCreate(AppWindow);
    CalcMathTables();
    if (created != 0)
        return DisplayStartupFailed(created);
    if (const uint32_t started = DisplayStart(AppWindow, windowed); started != 0)
        return DisplayStartupFailed(started);
    FrameLogOpen();

    InitSubsystems();
    InitSound(AppWindow);
    return 1;
}

static bool IsActivation(uint8_t windowEvent)
{
    return windowEvent == SDL_WINDOWEVENT_SHOWN || windowEvent == SDL_WINDOWEVENT_FOCUS_GAINED
        || windowEvent == SDL_WINDOWEVENT_FOCUS_LOST || windowEvent == SDL_WINDOWEVENT_TAKE_FOCUS;
}

bool WndProc(const SDL_Event& event)
{
    if (event.type == QuitEvent)
        return false;
    if (event.type == CloseRequestEvent) {
        if (AppWindow && event.user.data1 == AppWindow)
            DestroyAppWindow();
        return true;
    }
    switch (event.type) {
    case SDL_WINDOWEVENT:
        // Any change of activation, either way, sets the flag.
        if (IsActivation(event.window.event))
            AppActive = 1;
        else if (event.window.event == SDL_WINDOWEVENT_CLOSE)
            PostCloseRequest(AppWindow);
        break;
    case SDL_KEYDOWN:
        if (event.key.keysym.scancode == SDL_SCANCODE_ESCAPE)
            PostCloseRequest(AppWindow);
        break;
    case SDL_QUIT:
        // The desktop or a signal asks the program to end: as a close.
        PostCloseRequest(AppWindow);
        break;
    default:
        break;
    }
    return true;
}
