#pragma once

#include <cstdint>
#include <string>

// The capture's music: nothing is heard; the position that MusicPosition
// reports is whatever the capture's schedule puts here.
extern double CaptureMusicPosition;

// The soundtrack file that MusicPlay was given ("" before it is called), as
// the show names it, with '\' between folders.
extern std::string CaptureMusicFile;

// A music position whose clock (ClockFromPosition) is exactly `clock`: half
// a hundredth past the clock's own instant, so that no rounding of the
// product can reach the neighbouring value.
double PositionForClock(int32_t clock);
