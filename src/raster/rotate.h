#pragma once

#include "raster/screen.h"

// Transformation types of BlitRotated: 0 or negative none, 1 rotation,
// 2 column shear, 3 row shear; 4 and above draw nothing.
enum : int { TransformNone = 0, TransformRotate = 1, TransformShearColumns = 2, TransformShearRows = 3 };

// Blit with an optional transformation: types 1-3 build the transformed
// picture in a temporary Screen and place it with Blit so that it stays
// centred where the untransformed picture would have been. The blend mode and
// mirror apply to the transformed picture. Angle in tenths of a degree.
void BlitRotated(const Screen* src, Screen* dst, int sx1, int sy1, int sx2, int sy2, int dx, int dy,
                 int mode, int mirror, int type, int angle);
