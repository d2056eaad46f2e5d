#pragma once

#include "raster/screen.h"

// Nearest-neighbour resampling of the whole of `src` into the whole of
// `copy`. Source column j maps to copy column c(j) = j * W / sw (W the copy's
// width, sw the source's), rows alike; copy pixel (c, t) becomes source pixel
// (J, I), J the last source column with c(J) <= c and I the last source row
// with r(I) <= t. Enlarging repeats each source pixel up to the next one's
// place; shrinking keeps the last of the source pixels that meet on one
// place. An empty source leaves the copy as it is. Requires sw * W and
// sh * H below 2^31.
void ResampleNearest(const Screen* src, Screen* copy);

// Draws the picture `src` resized to W x H, centred on (x, y) of the
// CurrentTarget (its top-left pixel at (x - W / 2, y - H / 2)), through
// BlitRotated with the given blend mode, mirror, transformation and angle,
// which act on the resized picture. W or H below 0 count as 1; 0 is never
// passed. W and H at most 65535.
void BlitScaled(const Screen* src, int x, int y, int W, int H, int mode, int mirror, int transformation, int angle);
