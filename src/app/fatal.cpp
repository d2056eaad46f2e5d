#include "app/fatal.h"

#include <cstdio>
#include <cstdlib>

#include "app/fatal_notice.h"

void FatalError(const char* caption, const char* text)
{
    // Captions that introduce a file name end in ':', so one line reads well.
    if (text[0] != '\0')
        std::fprintf(stderr, "%s %s\n", caption, text);
    else
        std::fprintf(stderr, "%s\n", caption);
    std::fflush(stderr);
    ShowFatalNotice(caption, text);
    std::exit(-1);
}
