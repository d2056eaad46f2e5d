#pragma once

#include "contentgen/picture.h"

// One picture showing every picture of the show whose slot lies in
// firstSlot..lastSlot, as labelled thumbnails. Keyed (black) pixels show as
// a grey checkerboard so the shape of each sprite can be judged.
Picture ContactSheet(int firstSlot, int lastSlot);
