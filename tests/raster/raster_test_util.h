#pragma once

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "raster/screen.h"

// A Screen made with newscreen and released at the end of the scope.
struct OwnedScreen {
    Screen s{};
    OwnedScreen(int w, int h) { newscreen(&s, w, h); }
    ~OwnedScreen() { FreeScreen(&s); }
    OwnedScreen(const OwnedScreen&) = delete;
    OwnedScreen& operator=(const OwnedScreen&) = delete;
    Screen* operator->() { return &s; }
    Screen* get() { return &s; }
    uint32_t& at(int x, int y) { return s.rows[y][x]; }
};

// Pixels of a Screen, row by row.
inline std::vector<uint32_t> Pixels(const Screen* s)
{
    std::vector<uint32_t> out;
    for (int y = 0; y < s->height; y++)
        out.insert(out.end(), s->rows[y], s->rows[y] + s->width);
    return out;
}

inline void Fill(Screen* s, uint32_t colour)
{
    for (int y = 0; y < s->height; y++)
        std::fill_n(s->rows[y], s->width, colour);
}

// A Screen filled with `colour` and made the drawing target for the scope.
struct TargetScreen : OwnedScreen {
    TargetScreen(int w, int h, uint32_t colour = 0) : OwnedScreen(w, h)
    {
        Fill(get(), colour);
        SetTarget(get());
    }
    ~TargetScreen() { SetTarget(nullptr); }
};

// Random pixels, about one in five black so that keyed paths see transparency.
inline void FillRandom(Screen* s, std::mt19937& rng)
{
    for (int y = 0; y < s->height; y++)
        for (int x = 0; x < s->width; x++)
            s->rows[y][x] = rng() % 5 == 0 ? 0 : rng() & 0xFFFFFF;
}

// The blend rules in plain integer arithmetic: modes 0-7 mix in the source
// colour, 8-15 its grey (R + G + B) / 3, 16-39 its grey into red, green or
// blue alone, the other two cleared; mode / 2 % 4 picks v, (d + v) / 2,
// (2d + v) / 3 or (d + 2v) / 3. Odd modes keep d under black.
inline uint32_t ReferenceBlend(int mode, uint32_t s, uint32_t d)
{
    if (mode < 0 || mode > 39 || ((mode & 1) && s == 0))
        return d;
    const int grey = int((s >> 16 & 255) + (s >> 8 & 255) + (s & 255)) / 3;
    uint32_t out = 0;
    for (int shift : {16, 8, 0}) {
        if (mode >= 16 && shift != 16 - 8 * ((mode - 16) / 8))
            continue;
        const int dc = int(d >> shift & 255), v = mode < 8 ? int(s >> shift & 255) : grey;
        const int mixed[] = {v, (dc + v) / 2, (2 * dc + v) / 3, (dc + 2 * v) / 3};
        out |= uint32_t(mixed[mode / 2 % 4]) << shift;
    }
    return out;
}

// Blit pixel by pixel: each destination pixel takes the (mirrored) rectangle's
// pixel landing on it, as the source was before the call, if in the source;
// mirrored rectangles read black outside it.
inline void ReferenceBlit(const Screen* src, Screen* dst, int sx1, int sy1, int sx2, int sy2, int dx, int dy,
                          int mode, int mirror)
{
    const std::vector<uint32_t> from = Pixels(src);
    const int64_t w = int64_t(sx2) - sx1 + 1, h = int64_t(sy2) - sy1 + 1;
    for (int y = 0; y < dst->height; y++)
        for (int x = 0; x < dst->width; x++) {
            const int64_t j = int64_t(x) - dx, i = int64_t(y) - dy;
            const int64_t sx = sx1 + (mirror == 1 || mirror == 3 ? w - 1 - j : j);
            const int64_t sy = sy1 + (mirror > 1 ? h - 1 - i : i);
            const bool inside = sx >= 0 && sx < src->width && sy >= 0 && sy < src->height;
            uint32_t& d = dst->rows[y][x];
            if (j >= 0 && j < w && i >= 0 && i < h && (inside || mirror > 0))
                d = ReferenceBlend(mode, inside ? from[size_t(sy * src->width + sx)] : 0, d);
        }
}
