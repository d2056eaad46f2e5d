#pragma once

#include <cstdint>

// 1: load the pictures; 2: start the soundtrack; 3: play. Only ever 1 -> 2 -> 3.
extern int32_t DemoStage;

// The demo time in hundredths of a second: the music position x 100,
// truncated, recomputed at the end of every played frame.
extern int32_t SceneClock;

// One call per idle turn of the main loop: loads everything, then starts the
// soundtrack, then draws and presents one frame per call. `window` is handed
// to PostCloseRequest when the show reaches its end.
void DemoFrame(void* window);
