#pragma once

#include <algorithm>

// An inclusive rectangle of pixels of a target, (x1, y1) its top-left and
// (x2, y2) its bottom-right pixel; empty when x1 > x2 or y1 > y2.
struct PixelBox {
    int x1 = 0, y1 = 0, x2 = -1, y2 = -1;

    bool Empty() const { return x1 > x2 || y1 > y2; }
};

// The part of `box` that lies on a width x height target.
inline PixelBox ClipBox(PixelBox box, int width, int height)
{
    return {std::max(box.x1, 0), std::max(box.y1, 0), std::min(box.x2, width - 1), std::min(box.y2, height - 1)};
}
