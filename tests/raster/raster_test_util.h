#pragma once

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

// Pixels of a Screen, row by row, for whole-picture comparisons.
inline std::vector<uint32_t> Pixels(const Screen* s)
{
    std::vector<uint32_t> out;
    for (int y = 0; y < s->height; y++)
        out.insert(out.end(), s->rows[y], s->rows[y] + s->width);
    return out;
}

// Fills a Screen with random pixels; about one in `blackEvery` is 0 so that
// the colour-keyed paths see transparent pixels too.
inline void FillRandom(Screen* s, std::mt19937& rng, int blackEvery = 5)
{
    for (int y = 0; y < s->height; y++)
        for (int x = 0; x < s->width; x++)
            s->rows[y][x] = rng() % blackEvery == 0 ? 0 : rng() & 0xFFFFFF;
}
