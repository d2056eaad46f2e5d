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
