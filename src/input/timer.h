#pragma once

#include <cstdint>

// Frame timer over the platform's millisecond tick counter (TickCount).
// Elapsed time is measured from TimerBase in unsigned 32-bit arithmetic, so it
// stays right when the counter wraps between a reset and a reading.
extern uint32_t TimerBase;

// TimerBase = the current tick count.
void ResetTimer();

// Milliseconds since TimerBase, as a signed value.
int32_t ElapsedTime();

// Moves TimerBase forward by `ms` (back for a negative amount).
void AdvanceTimer(int32_t ms);
