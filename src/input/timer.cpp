#include "input/timer.h"

#include "input/ticks.h"

uint32_t TimerBase = 0;

void ResetTimer()
{
    TimerBase = TickCount();
}

int32_t ElapsedTime()
{
    return int32_t(TickCount() - TimerBase);
}

void AdvanceTimer(int32_t ms)
{
    TimerBase += uint32_t(ms);
}
