#include "core/fatal.h"

#include <cstdio>
#include <cstdlib>

#include "app/app_seam.h"
#include "core/debug_log.h"

void FatalError(const char* caption, const char* text)
{
    // Captions that introduce a file name end in ':', so one line reads well.
    if (text[0] != '\0')
        std::fprintf(stderr, "%s %s\n", caption, text);
    else
        std::fprintf(stderr, "%s\n", caption);
    std::fflush(stderr);
    DebugLog("FatalError \"%s\" \"%s\"", caption, text);
    ShowMessageBox(caption, text);
    std::exit(-1);
}
