#include <SDL.h>

#include <cstdio>
#include <cstring>

#include "app/sdl/app_sdl.h"
#include "demo/sequencer.h"

static const char Usage[] =
    "Usage: tarvel [--window]\n"
    "Plays the show full screen, with its soundtrack, from the pictures in graph/\n"
    "and the music in music/ under the current folder. Escape ends it early.\n"
    "\n"
    "  --window  play in a resizable 800x600 window instead of full screen\n"
    "  --help    show this text\n";

// Takes the next waiting event, if any. The queue is read directly: SDL's
// polling call stops at the end of each round of the queue, which would
// let a frame in before events that were posted during that round.
static bool NextEvent(SDL_Event* event)
{
    SDL_PumpEvents();
    return SDL_PeepEvents(event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0;
}

// Events always come before frames: a frame is drawn only on a turn that
// finds no event waiting, and only once the window has been activated.
static int RunEventLoop()
{
    for (;;) {
        SDL_Event event;
        if (NextEvent(&event)) {
            if (!WndProc(event))
                return event.user.code;
        } else if (AppActive) {
            DemoFrame(AppWindow);
        } else {
            SDL_WaitEvent(nullptr);
        }
    }
}

int main(int argc, char** argv)
{
    bool windowed = false;
    for (int i = 1; i < argc; i++) {
        if (std::strcmp(argv[i], "--window") == 0) {
            windowed = true;
        } else if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(Usage, stdout);
            return 0;
        } else {
            std::fprintf(stderr, "tarvel: unknown argument '%s'\n%s", argv[i], Usage);
            return 2;
        }
    }
    if (!InitApp(windowed))
        return StartupFailedExitCode;
    return RunEventLoop();
}
