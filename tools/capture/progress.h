#pragma once

#include <chrono>
#include <cstdint>

// A one-line progress bar on stderr: frames done, percent, speed against
// real time and the time left. Redrawn at most a few times per second.
struct Progress {
    int64_t total;
    int fps;
    std::chrono::steady_clock::time_point started;
    std::chrono::steady_clock::time_point drawn;
};

Progress StartProgress(int64_t totalFrames, int fps);
void ShowProgress(Progress* progress, int64_t framesDone);
// Draws the final state and ends the line.
void EndProgress(Progress* progress, int64_t framesDone);
