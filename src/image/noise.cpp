#include "image/noise.h"

#include <cstring>

#include "core/fatal.h"
#include "image/imagebank.h"
#include "raster/blit.h"
#include "raster/mathtables.h"
#include "raster/rotate.h"

namespace {

constexpr int KindStreaks = 0;
constexpr int KindDots = 1;
constexpr int NoiseBlendMode = 3; // keyed half-and-half mix

constexpr uint32_t Grey(int level)
{
    return uint32_t(level) * 0x010101u;
}

void StepStreaks(NoiseLayer& n)
{
    const int W = n.bufferWidth, H = n.bufferHeight;
    uint32_t* fresh = n.buffer.rows[0];
    for (int c = 1; c <= W - 2; c++)
        fresh[c] = Grey(Random() % 255);
    // Each shown row copies the one above it once that one is updated, so
    // every shown row ends up equal to the fresh row 0.
    const size_t bytes = size_t(W - 2) * sizeof(uint32_t);
    for (int t = 1; t <= H - 2; t++)
        std::memcpy(n.buffer.rows[t] + 1, fresh + 1, bytes);
}

void StepDots(NoiseLayer& n)
{
    const int W = n.bufferWidth, H = n.bufferHeight;
    // The spare column takes column 0, then every row moves left by one.
    for (int t = 0; t < H; t++) {
        uint32_t* row = n.buffer.rows[t];
        row[W - 1] = row[0];
        std::memmove(row, row + 1, size_t(W - 1) * sizeof(uint32_t));
    }
}

// A layer number outside the table names no layer.
NoiseLayer* LayerAt(int layer)
{
    return layer >= 0 && layer < NoiseLayerCount ? &Images.NoiseLayers[layer] : nullptr;
}

// The layer NoiseDraw(layer, x, y) advances and shows: none for a number
// outside the table, a place out of reach, or a layer without a buffer
// (never created, or freed).
NoiseLayer* ShownLayer(int layer, int x, int y)
{
    NoiseLayer* n = LayerAt(layer);
    return n && WithinReach(x, y) && n->buffer.rows ? n : nullptr;
}

// Whether a buffer of the kind can hold the shown area: at least one pixel,
// and buffer sizes within the 16 bits of a Screen.
bool SizeFits(int kind, int width, int height)
{
    const int border = kind == KindStreaks ? 2 : 1;
    const int rows = kind == KindStreaks ? 2 : 0;
    return width >= 1 && height >= 1 && width <= 65535 - border && height <= 65535 - rows;
}

} // namespace

void NoiseInit(int layer, int kind, int width, int height)
{
    NoiseLayer* layerAt = LayerAt(layer);
    if (!layerAt)
        FatalError("capa de ruido fuera de rango en NoiseInit", "");
    if ((kind == KindStreaks || kind == KindDots) && !SizeFits(kind, width, height))
        FatalError("tamano de ruido fuera de rango en NoiseInit", "");
    NoiseLayer& n = *layerAt;
    // A buffer made for the layer before is let go.
    FreeScreen(&n.buffer);
    n = NoiseLayer{};
    n.kind = kind;
    if (kind == KindStreaks) {
        newscreen(&n.buffer, width + 2, height + 2);
        n.bufferWidth = width + 2;
        n.bufferHeight = height + 2;
    } else if (kind == KindDots) {
        newscreen(&n.buffer, width + 1, height);
        n.bufferWidth = width + 1;
        n.bufferHeight = height;
        const int64_t count = int64_t(width - 1) * (height - 1) / 70;
        for (int64_t i = 0; i < count; i++) {
            const int level = Random() % 128 + 127;
            const int row = Random() % height;
            const int column = Random() % (width - 1);
            n.buffer.rows[row][column] = Grey(level);
        }
    }
}

void NoiseStep(int layer, int x, int y)
{
    NoiseLayer* n = ShownLayer(layer, x, y);
    if (!n)
        return;
    if (n->kind == KindStreaks)
        StepStreaks(*n);
    else if (n->kind == KindDots)
        StepDots(*n);
}

int NoiseStepRandoms(int layer, int x, int y)
{
    const NoiseLayer* n = ShownLayer(layer, x, y);
    return n && n->kind == KindStreaks ? n->bufferWidth - 2 : 0;
}

PixelBox NoiseBox(int layer, int x, int y)
{
    const NoiseLayer* n = ShownLayer(layer, x, y);
    if (n && n->kind == KindStreaks)
        return {x, y, x + n->bufferWidth - 3, y + n->bufferHeight - 3};
    if (n && n->kind == KindDots)
        return {x, y, x + n->bufferWidth - 1, y + n->bufferHeight - 1};
    return {};
}

void NoiseDraw(int layer, int x, int y)
{
    NoiseStep(layer, x, y);
    const NoiseLayer* n = ShownLayer(layer, x, y);
    if (!n)
        return;
    const int W = n->bufferWidth, H = n->bufferHeight;
    if (n->kind == KindStreaks)
        BlitRotated(&n->buffer, CurrentTarget, 1, 1, W - 2, H - 2, x, y, NoiseBlendMode, MirrorNone,
                    TransformNone, 0);
    else if (n->kind == KindDots)
        BlitRotated(&n->buffer, CurrentTarget, 0, 0, W - 1, H - 1, x, y, NoiseBlendMode, MirrorNone,
                    TransformNone, 0);
}

void NoiseFree(int layer)
{
    // Emptied after release, so that freeing twice (a shutdown run twice) or
    // freeing a layer never created does nothing.
    NoiseLayer* n = LayerAt(layer);
    if (!n)
        return;
    FreeScreen(&n->buffer);
    n->buffer = Screen{};
}
