#pragma once

#include <cstdint>

#include "image/noise.h"
#include "image/pixel_box.h"
#include "raster/screen.h"

// One numbered picture and its hotspot, the point a drawing position names:
// the centre of the picture, rounded down.
struct ImageSlot {
    Screen image;
    int32_t hotspotX;
    int32_t hotspotY;
};

// Slot numbers are taken as their low 16 bits; numbers that are then 1000
// or more name no slot: LoadSlot refuses them with a fatal error, the other
// calls draw nothing (SlotsOverlap gives 0). A slot never loaded is empty:
// size 0 x 0, no rows, hotspot (0, 0).
constexpr int ImageSlotCount = 1000;

struct ImageState {
    ImageSlot ImageBank[ImageSlotCount] = {};
    NoiseLayer NoiseLayers[NoiseLayerCount] = {};
};
extern ImageState Images;

// Loads the TGA file into the slot at the picture's own size and puts the
// hotspot at its centre, releasing the picture the slot held before. The
// CurrentTarget is left as it was found.
void LoadSlot(const char* file, int slot);

// Draws the slot into the CurrentTarget with its hotspot at (x, y). A width or
// height of 0, or the slot's own size, draws the picture as it is; any other
// size draws a resized copy centred on (x, y) (BlitScaled). Blend mode,
// mirror, transformation and angle are those of BlitRotated. Sizes above
// 65535, and positions more than 2^30 from the origin, which no Screen can
// show, draw nothing.
void DrawSlot(int slot, int x, int y, int mode, int mirror, int width, int height,
              int transformation, int angle);

// The pixels of the CurrentTarget that DrawSlot with these arguments may
// write, before clipping: the placed picture, or its resized copy. A
// transformed picture (types 1-3) is not placed here: its box is the whole
// plane. Mode and mirror change nothing: a blit writes only where it lands.
PixelBox DrawSlotBox(int slot, int x, int y, int width, int height, int transformation);

// True when DrawSlot with these arguments writes every pixel of its box that
// lies on the target, whatever was there: an opaque copy (mode 0, any
// mirror) without transformation, at a size a Screen can hold.
bool DrawSlotOpaque(int mode, int width, int height, int transformation);

// DrawSlot at the slot's own size.
void DrawSlotUnscaled(int slot, int x, int y, int mode, int mirror, int transformation, int angle);

// No picture (at most 65535 pixels a side, about 92700 once rotated) placed
// more than 2^30 from the origin can reach a Screen: the drawing calls of
// the slots and noise layers draw nothing there, which also keeps the blits'
// own arithmetic well inside 32 bits.
constexpr bool WithinReach(int x, int y)
{
    constexpr int64_t farthest = int64_t(1) << 30;
    return x >= -farthest && x <= farthest && y >= -farthest && y <= farthest;
}

// 1 when the bounding boxes of slot a placed at (ax, ay) and slot b placed at
// (bx, by) share a pixel, else 0. Boxes that only touch do not overlap.
int SlotsOverlap(int a, int b, int ax, int ay, int bx, int by);

// Releases every picture and noise buffer and puts the record back as it
// was at the start.
void ResetImages();
