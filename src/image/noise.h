#pragma once

#include <cstdint>

#include "image/pixel_box.h"
#include "raster/screen.h"

// A procedural grey overlay that changes at every draw.
//   kind 0: vertical streaks; the buffer has a one-pixel border around the
//           shown area, and row 0 receives the new greys of each step.
//   kind 1: sparse light dots drifting one pixel to the left per draw; the
//           buffer has one spare column on the right, drawn too.
//   other kinds are inert: no buffer, nothing drawn.
struct NoiseLayer {
    Screen buffer;
    int32_t kind;
    int32_t bufferWidth;
    int32_t bufferHeight;
};

// Layers 0-99 (Images.NoiseLayers, imagebank.h). NoiseInit refuses any
// other number with a fatal error; NoiseDraw and NoiseFree leave it alone.
constexpr int NoiseLayerCount = 100;

// Creates the layer's buffer for a shown area of width x height, releasing
// the one it had, and, for kind 1, scatters ((width - 1) * (height - 1)) / 70
// dots, drawing three Random numbers for each. Kinds 0 and 1 need sizes of at
// least 1 whose buffer fits a Screen (up to 65533 x 65533 for kind 0, 65534 x
// 65535 for kind 1); others are refused with a fatal error.
void NoiseInit(int layer, int kind, int width, int height);

// Advances the layer by one step (kind 0 draws one Random number per shown
// column), then draws it into the CurrentTarget at (x, y) with blend mode 3.
// A layer without a buffer (never created, or freed) does nothing.
void NoiseDraw(int layer, int x, int y);

// NoiseDraw's step alone: the layer changes as if drawn, nothing is drawn.
void NoiseStep(int layer, int x, int y);

// How many Random numbers one step of the layer draws.
int NoiseStepRandoms(int layer, int x, int y);

// The pixels NoiseDraw(layer, x, y) may write, before clipping.
PixelBox NoiseBox(int layer, int x, int y);

// Releases the layer's buffer; drawing it afterwards does nothing.
void NoiseFree(int layer);
