#include <cstdio>
#include <cstring>

#include "app/app.h"
#include "app/sdl/app_sdl.h"

static const char Usage[] =
    "Usage: tarvel [--window]\n"
    "Plays the show full screen, with its soundtrack, from the pictures in graph/\n"
    "and the music in music/ under the current folder. Escape ends it early.\n"
    "\n"
    "  --window  play in a resizable 800x600 window instead of full screen\n"
    "  --help    show this text\n";

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; i++) {
        if (std::strcmp(argv[i], "--window") == 0) {
            AppWindowed = true;
        } else if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(Usage, stdout);
            return 0;
        } else {
            std::fprintf(stderr, "tarvel: unknown argument '%s'\n%s", argv[i], Usage);
            return 2;
        }
    }
    return RunApp();
}
