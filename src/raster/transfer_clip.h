#pragma once

#include <algorithm>
#include <cstdint>

#include "raster/screen.h"

// Cuts a transfer between two Screens, the inclusive source rectangle
// (x1, y1)-(x2, y2) with its top-left pixel landing at (dx, dy) of `dst`, down
// to the pixels that both Screens have, moving each source edge and the
// destination edge it lands on together. False when nothing is left: an
// empty or inverted rectangle, or one outside either Screen. Worked in 64
// bits, so that no coordinate can overflow.
inline bool ClipTransfer(const Screen* src, const Screen* dst, int& x1, int& y1, int& x2, int& y2, int& dx, int& dy)
{
    if (x1 > x2 || y1 > y2)
        return false;
    const int64_t shiftX = std::max<int64_t>({0, -int64_t(x1), -int64_t(dx)});
    const int64_t shiftY = std::max<int64_t>({0, -int64_t(y1), -int64_t(dy)});
    const int64_t left = x1 + shiftX, top = y1 + shiftY, toX = dx + shiftX, toY = dy + shiftY;
    const int64_t columns = std::min<int64_t>({x2 - left + 1, src->width - left, dst->width - toX});
    const int64_t rows = std::min<int64_t>({y2 - top + 1, src->height - top, dst->height - toY});
    if (columns <= 0 || rows <= 0)
        return false;
    x1 = int(left);
    y1 = int(top);
    x2 = int(left + columns - 1);
    y2 = int(top + rows - 1);
    dx = int(toX);
    dy = int(toY);
    return true;
}
