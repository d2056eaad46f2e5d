// Windows 1-12: the banded openings, the converging slot-13 sprites, the
// falling pictures and the first phrases.
#include "demo/timeline_layers.h"

namespace {

// Picture above, then the band with noise layer 1 streaming over it.
void BandedOpening(int picture)
{
    Layer(picture, 400, 200);
    Band(500);
    Noise(1, 0, 400);
}

} // namespace

void Window1(int32_t T)
{
    BandedOpening(11);
    Layer(14, 400, 500, {.mode = 1, .width = 700 + T / 5, .height = 100 + T / 5});
}

void Window2(int32_t)
{
    BandedOpening(3);
    Layer(2, 400, 500, {.mode = 1});
}

void Window3(int32_t)
{
    BandedOpening(5);
    Layer(4, 400, 500, {.mode = 1});
}

void Window4(int32_t)
{
    BandedOpening(7);
    Layer(6, 400, 500, {.mode = 1});
}

void Window5(int32_t T)
{
    BandedOpening(15);
    if (T % 40 < 20)
        Layer(9, 400, 500);
    else
        Layer(10, 400, 500);
}

void Window6(int32_t T)
{
    const int u = T - 1290;
    Layer(12, 400, 200);
    const int at[8][2] = {{2 * u, u},       {2 * u, 200},   {800 - 2 * u, u},       {800 - 2 * u, 200},
                          {2 * u, 400 - u}, {400, 400 - u}, {800 - 2 * u, 400 - u}, {400, u}};
    for (const auto& p : at)
        Layer(13, p[0], p[1], {.mode = 3});
    Band(500);
    Noise(1, 0, 400);
    AlternatingPair(1, T);
}

void Window7(int32_t T)
{
    Layer(16, 400, 6876 - 4 * T);
}

void Window8(int32_t T)
{
    Layer(19, 400, 200);
    const int at[8][2] = {{2 * T - 2880, T - 1440}, {3680 - 2 * T, T - 1440}, {2 * T - 2880, 1840 - T},
                          {3680 - 2 * T, 1840 - T}, {2 * T - 2880, 200},      {3680 - 2 * T, 200},
                          {400, 1840 - T},          {400, T - 1440}};
    for (const auto& p : at)
        Layer(13, p[0], p[1], {.mode = 3});
    Band(500);
    Noise(1, 0, 400);
    AlternatingPair(2, T);
}

void Window9(int32_t T)
{
    Layer(16, 400, 7664 - 4 * T);
}

void Window10(int32_t T)
{
    Layer(20, 400, 500);
    Layer(1, 50 + (T - 2025) / 2, 450);
    Layer(29, 200, 100);
    Layer(29, 600, 100);
    Layer(29, 200, 300);
    Layer(29, 600, 300);
    Layer(29, 400, 200, {.mode = 2, .width = T - 1825, .height = T - 1925});
}

void Window11(int32_t T)
{
    Phrase(21, 2319, T);
    Layer(30, 600, 100, {.width = 3169 - T, .height = 200});
    Layer(32, 200, 300, {.width = 3169 - T, .height = 200});
    Layer(32, 200, 100);
    Layer(30, 600, 300);
    Layer(31, 400, 200, {.mode = 1, .mirror = CyclingMirror(T)});
}

void Window12(int32_t T)
{
    Phrase(22, 2659, T);
    const int k = T / 40;
    for (int n = 0; n < 4; n++)
        Layer(33 + (k + n) % 4, 100 + 200 * n, 200);
    if (T % 20 < 10)
        Layer(37, 575, 200, {.mode = 3});
    else
        Layer(38, 125, 300, {.mode = 5});
    Layer(39, 400, (T - 2709) / 2 - 80, {.mode = 1, .mirror = 2});
}
