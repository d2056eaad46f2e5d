// The SDL shell: the window, its events as the window's procedure, message
// boxes and the event queue that the main loop reads.
#include <pthread.h>
#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "app/app.h"
#include "app/app_seam.h"
#include "app/sdl/app_sdl.h"
#include "app/sdl/frame_log_sdl.h"
#include "input/sdl/joystick_sdl.h"

SDL_Window* AppWindow;
bool AppWindowed;

// Events of the program's own: a request to close the window (Escape, the
// end of the show) and the quit that follows the window's end.
static uint32_t CloseRequestEvent;
static uint32_t QuitEvent;

void PostCloseRequest()
{
    SDL_Event event{};
    event.type = CloseRequestEvent;
    event.user.data1 = AppWindow;
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
void DestroyAppWindow()
{
    if (!AppWindow)
        return;
    ShutdownApp();
    CloseJoysticks();
    SDL_DestroyWindow(AppWindow);
    AppWindow = nullptr;
    FrameLogClose();
    PostQuit(0);
}

// While a message box waits for the user, nothing reads the quit event that
// SDL's own handlers make of Ctrl+C or a termination request. They are taken
// by a thread of their own instead, which ends the program as a fatal error
// does (the exit handlers give the desktop its display mode back).
static void EndOnTerminationRequest(sigset_t requests)
{
    int received = 0;
    if (sigwait(&requests, &received) == 0)
        std::exit(-1);
}

// A message box owned by the window, and the user closes it. The window
// stops being topmost first, so that the box is seen above it.
void ShowMessageBox(const char* caption, const char* text)
{
    sigset_t requests, previous;
    sigemptyset(&requests);
    for (const int request : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&requests, request);
    pthread_sigmask(SIG_BLOCK, &requests, &previous);
    std::thread(EndOnTerminationRequest, requests).detach();
    if (AppWindow)
        SDL_SetWindowAlwaysOnTop(AppWindow, SDL_FALSE);
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption, text, AppWindow);
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
}

static SDL_Window* MakeWindow()
{
    if (AppWindowed)
        return SDL_CreateWindow("TARVEL", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 800, 600,
                                SDL_WINDOW_RESIZABLE | SDL_WINDOW_HIDDEN);
    // Borderless, topmost, covering the screen as it is at start-up.
    SDL_DisplayMode desktop;
    if (SDL_GetDesktopDisplayMode(0, &desktop) != 0)
        return nullptr;
    return SDL_CreateWindow("TARVEL", 0, 0, desktop.w, desktop.h,
                            SDL_WINDOW_BORDERLESS | SDL_WINDOW_ALWAYS_ON_TOP | SDL_WINDOW_HIDDEN);
}

// The program's two event numbers. SDL hands each number out once per
// process, so they are asked for once, whatever number of start-ups follow.
static bool RegisterAppEvents()
{
    static const uint32_t first = SDL_RegisterEvents(2);
    if (first == uint32_t(-1)) {
        std::fprintf(stderr, "tarvel: the window cannot be created: SDL has no event numbers left\n");
        return false;
    }
    CloseRequestEvent = first;
    QuitEvent = first + 1;
    return true;
}

bool CreateAppWindow()
{
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        std::fprintf(stderr, "tarvel: the window cannot be created: %s\n", SDL_GetError());
        return false;
    }
    // The exit handlers give the desktop its display mode back, also after
    // a fatal error, which ends the program without the shutdown. One
    // handler serves every start-up of the process.
    static const bool quitAtExit = std::atexit(SDL_Quit) == 0;
    (void)quitAtExit;
    // Without a display SDL falls back on a driver that shows nothing; the
    // show would then play unseen and end as if watched. Such a driver is
    // taken only when the user chose it (SDL_VIDEODRIVER).
    const char* driver = SDL_GetCurrentVideoDriver();
    const char* chosen = SDL_getenv("SDL_VIDEODRIVER");
    const bool showsNothing = driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
    if (showsNothing && (!chosen || !*chosen)) {
        std::fprintf(stderr, "tarvel: the window cannot be created: no display (SDL found only its %s driver)\n",
                     driver);
        return false;
    }
    if (!RegisterAppEvents())
        return false;

    AppWindow = MakeWindow();
    if (!AppWindow) {
        std::fprintf(stderr, "tarvel: the window cannot be created: %s\n", SDL_GetError());
        return false;
    }
    SDL_ShowWindow(AppWindow);
    SDL_ShowCursor(SDL_DISABLE);
    FrameLogOpen();
    return true;
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
            App.AppActive = 1;
        else if (event.window.event == SDL_WINDOWEVENT_CLOSE)
            PostCloseRequest();
        break;
    case SDL_KEYDOWN:
        if (event.key.keysym.scancode == SDL_SCANCODE_ESCAPE)
            PostCloseRequest();
        break;
    case SDL_QUIT:
        // The desktop or a signal asks the program to end: as a close.
        PostCloseRequest();
        break;
    default:
        break;
    }
    return true;
}

// The queue is read directly: SDL's polling call stops at the end of each
// round of the queue, which would let a frame in before events that were
// posted during that round.
MessageTurn HandleNextMessage(int* exitCode)
{
    SDL_Event event;
    SDL_PumpEvents();
    if (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) <= 0)
        return MessageTurn::Empty;
    if (WndProc(event))
        return MessageTurn::Handled;
    *exitCode = event.user.code;
    return MessageTurn::Quit;
}

void WaitForMessage()
{
    SDL_WaitEvent(nullptr);
}
