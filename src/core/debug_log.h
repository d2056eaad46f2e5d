#pragma once

// The step log: with TARVEL_DEBUG_LOG=FILE in the environment, the start-up,
// every platform step, each frame and the shutdown write one line to FILE as
// they happen (flushed at once, so the log survives any end of the process).
// Without it every call returns at once.
void DebugLogOpen();
bool DebugLogOn();

[[gnu::format(printf, 1, 2)]] void DebugLog(const char* format, ...);
