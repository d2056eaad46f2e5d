#include "input/input.h"

void ResetTimer()
{
    Input.TimerBase = TickCount();
}

int32_t ElapsedTime()
{
    return int32_t(TickCount() - Input.TimerBase);
}

void AdvanceTimer(int32_t ms)
{
    Input.TimerBase += uint32_t(ms);
}

uint32_t FrameSleepMs(int32_t elapsed, int32_t limit)
{
    // A reading of `elapsed` means at least that much has passed, so the
    // wait ends at most limit + 1 - elapsed ms later.
    const int64_t left = int64_t(limit) + 1 - elapsed;
    return left > SleepMarginMs ? uint32_t(left - SleepMarginMs) : 0;
}

void WaitUntilElapsedAbove(int32_t limit)
{
    for (;;) {
        const int32_t elapsed = ElapsedTime();
        if (elapsed > limit)
            return;
        if (const uint32_t sleep = FrameSleepMs(elapsed, limit))
            SleepMilliseconds(sleep);
    }
}
