#include <windows.h>

#include "input/ticks.h"

// Milliseconds since the machine started, wrapping every 49.7 days as the
// frame timer expects.
uint32_t TickCount()
{
    return GetTickCount();
}
