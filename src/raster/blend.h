#pragma once

#include "raster/screen.h"

// Blend modes 0-39. Even modes combine source and destination; each odd mode
// is the colour-keyed twin of the even one below it and leaves the
// destination untouched wherever the source pixel is 0. Any other value
// draws nothing.
constexpr int BlendModeCount = 40;

// Opaque copy of the inclusive source rectangle (x1, y1)-(x2, y2) to (dx, dy).
// Row moves are overlap-safe. Both rectangles are clipped to their Screens;
// an empty or inverted rectangle copies nothing.
void CopyRect(const Screen* src, Screen* dst, int x1, int y1, int x2, int y2, int dx, int dy);

// Combines every source pixel of the rectangle with the destination pixel it
// lands on under `mode`, clipped like CopyRect. Mode 0 and modes outside
// 1-39 write nothing.
void BlendRect(const Screen* src, Screen* dst, int x1, int y1, int x2, int y2, int dx, int dy, int mode);
