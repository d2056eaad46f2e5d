#pragma once

// The start-up, frame and shutdown log of the Windows program: with
// TARVEL_DEBUG_LOG=FILE in the environment, each platform step writes one
// line to FILE as it happens (flushed at once, so the log survives any end of
// the process). Without it every call returns at once.
void DebugLogOpen();
bool DebugLogOn();

[[gnu::format(printf, 1, 2)]] void DebugLog(const char* format, ...);
