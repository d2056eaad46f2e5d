// Windows 25-37: the random-mode pictures, the photo strip, the shrinking
// grids and the closing scene.
#include "demo/timeline_layers.h"

namespace {

void RandomModeQuartet(int topLeft, int bottomLeft, int topRight, int bottomRight)
{
    RandomModePicture(topLeft, 200, 100);
    RandomModePicture(bottomLeft, 200, 300);
    RandomModePicture(topRight, 600, 100);
    RandomModePicture(bottomRight, 600, 300);
}

constexpr LayerOptions Wide = {.width = 400, .height = 200};

} // namespace

void Window25(int32_t T)
{
    Phrase(24, 8457, T);
    RandomModeQuartet(8, 12, 19, 46);
}

void Window26(int32_t T)
{
    Phrase(25, 8850, T);
    RandomModeQuartet(46, 19, 12, 8);
    TwoGlitches();
}

void Window27(int32_t T)
{
    Phrase(24, 9241, T);
    RandomModeQuartet(8, 12, 19, 46);
}

void Window28(int32_t T)
{
    Phrase(25, 9635, T);
    RandomModeQuartet(46, 19, 12, 8);
    TwoGlitches();
}

void Window29(int32_t T)
{
    Phrase(24, 9960, T);
    PhotoStrip(T);
    Layer(8, 600, 100);
    Layer(46, 600, 300, Wide);
}

void Window30(int32_t T)
{
    Phrase(25, 10338, T);
    PhotoStrip(T);
    Layer(8, 600, 100);
    Layer(12, 600, 300, Wide);
    TwoGlitches();
}

void Window31(int32_t T)
{
    Phrase(24, 10628, T);
    PhotoStrip(T);
    Layer(46, 600, 100, Wide);
    Layer(8, 600, 300, Wide);
}

void Window32(int32_t T)
{
    Phrase(25, 10994, T);
    PhotoStrip(T);
    Layer(46, 600, 100, Wide);
    Layer(19, 600, 300, Wide);
    TwoGlitches();
}

void Window33(int32_t T)
{
    ShrinkingGrid(81, 11339, T);
}

void Window34(int32_t T)
{
    ShrinkingGrid(82, 11503, T);
}

void Window35(int32_t T)
{
    ShrinkingGrid(83, 11668, T);
}

void Window36(int32_t T)
{
    ShrinkingGrid(84, 11837, T);
}

void Window37(int32_t T)
{
    const int u = T - 12009;
    Layer(11, 400, 200);
    Band(500);
    Layer(11, 400, 200 + u / 2, {.mode = 3, .type = 2, .angle = (10 * T) % 3600});
    Noise(1, 0, 400);
    Layer(14, 400, 500, {.mode = 1, .width = 700 + u / 5, .height = 100 + u / 5});
}
