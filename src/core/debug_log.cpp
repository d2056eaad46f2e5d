#include "core/debug_log.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

static std::FILE* LogFile;

void DebugLogOpen()
{
    const char* path = std::getenv("TARVEL_DEBUG_LOG");
    if (LogFile || !path || !*path)
        return;
    LogFile = std::fopen(path, "w");
}

bool DebugLogOn()
{
    return LogFile != nullptr;
}

void DebugLog(const char* format, ...)
{
    if (!LogFile)
        return;
    va_list args;
    va_start(args, format);
    std::vfprintf(LogFile, format, args);
    va_end(args);
    std::fputc('\n', LogFile);
    std::fflush(LogFile);
}
