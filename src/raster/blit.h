#pragma once

#include "raster/screen.h"

// Mirror codes: 0 or negative none, 1 horizontal, 2 vertical, 3 both; 4 and
// above act as 2.
enum : int { MirrorNone = 0, MirrorHorizontal = 1, MirrorVertical = 2, MirrorBoth = 3 };

// Draws the inclusive source rectangle (sx1, sy1)-(sx2, sy2) with its top-left
// pixel at (dx, dy), mirrored first, then clipped against both Screens, then
// transferred with CopyRect (mode 0) or BlendRect (any other mode).
void Blit(const Screen* src, Screen* dst, int sx1, int sy1, int sx2, int sy2, int dx, int dy,
          int mode, int mirror);
