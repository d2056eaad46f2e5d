#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One frame of a bench run: the clock it was drawn at and its time.
struct FrameTiming {
    int32_t clock;
    double seconds;
};

// Writes an SVG picture of the run: each frame's draw time over the show's
// clock, the timeline's windows as bands with their numbers and median times,
// and the time of one full-frame memcpy with 3 and 5 times it. `title` heads
// the picture. False when the file cannot be written.
bool WriteBenchPlot(const std::string& path, const std::vector<FrameTiming>& frames, double memcpySeconds,
                    const std::string& title);
