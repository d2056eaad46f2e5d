// Windows 13-24: the grids and flashes, the rotating sprites, the photo wall
// and the letter scroller.
#include "demo/timeline_layers.h"

namespace {

// Slot 8 three times: widening in the middle, twice in mode 6 below.
void Slot8Trio(int32_t T)
{
    Layer(8, 400, 200, {.width = T - 2935, .height = 400});
    Layer(8, 200, 300, {.mode = 6});
    Layer(8, 600, 300, {.mode = 6});
}

} // namespace

void Window13(int32_t T)
{
    Phrase(23, 2947, T);
    Grid4x4(T);
    SpriteGrid(T - 3047, -100);
}

void Window14(int32_t T)
{
    Phrase(24, 3285, T);
    Slot8Trio(T);
    Flash(3625, 3660, 200, 350, T);
    Flash(3660, 3682, 600, 50, T);
    Flash(3682, 3711, 400, 200, T);
}

void Window15(int32_t T)
{
    Phrase(25, 3660, T);
    Slot8Trio(T);
    Flash(3888, 3928, 200, 50, T);
    Flash(3928, 3961, 400, 200, T);
    Flash(3961, 3998, 600, 350, T);
    TwoGlitches();
}

void Window16(int32_t T)
{
    Phrase(24, 3947, T);
    Layer(46, 400, 200);
    Flash(4282, 4307, 400, 350, T);
    Flash(4307, 4329, 200, 50, T);
    Flash(4329, 4354, 600, 200, T);
}

void Window17(int32_t T)
{
    Phrase(25, 4303, T);
    Layer(46, 400, 200);
    TwoGlitches();
}

void Window18(int32_t T)
{
    Phrase(26, 4600, T);
    Layer(30, 100, 100, {.width = 200, .height = 200});
    Layer(32, 100, 300, {.width = 200, .height = 200});
    Layer(31, 100, 200, {.mode = 1, .width = 200, .height = 300 + (T - 4650) / 2});
    Layer(49, 400, 200);
    FlickerBlock();
}

void Window19(int32_t T)
{
    Layer(27, 400, 500);
    Layer(1, 50 + (3 * (T - 4972)) / 2, 450);
    Band(100);
    Band(300);
    RotatingSprites(T);
}

void Window20(int32_t T)
{
    Phrase(28, 5178, T);
    Band(100);
    Band(300);
    const int angle = (100 * T) % 3600;
    Layer(41, 600, 100, {.mode = 3, .width = 400, .type = 2, .angle = angle});
    Layer(44, 600, 300, {.mode = 3, .width = 400, .type = 3, .angle = angle});
    Layer(49, 200, 200);
    Layer(49, 200, 5488 - T, {.mode = 2});
    SpriteGrid(5278 - T, 100);
}

void Window21(int32_t T)
{
    Phrase(28, 5578, T);
    Band(100);
    Band(300);
    const int angle = (100 * T) % 3600;
    Layer(42, 600, 100, {.mode = 3, .width = 400, .type = 3, .angle = angle});
    Layer(43, 600, 300, {.mode = 3, .width = 400, .type = 2, .angle = angle});
    Layer(49, 200, 200);
    Layer(49, 5828 - T, 200, {.mode = 2});
    SpriteGrid(5678 - T, 100);
}

void Window22(int32_t T)
{
    Band(100);
    Band(300);
    Band(500);
    AlternatingPair(3, T);
    const int mirror = CyclingMirror(T);
    Layer(31, 100, 300, {.mode = 1, .mirror = mirror});
    Layer(31, 700, 300, {.mode = 1, .mirror = mirror});
    const LayerOptions growing = {.mode = 3, .width = 700 + (T - 6080) / 5, .height = 100 + (T - 6080) / 5};
    Layer(14, 400, 100, growing);
    Layer(14, 400, 300, growing);
    Layer(14, 400, 500, growing);
}

void Window23(int32_t T)
{
    PhotoWall(T);
    const int tiles[6][2] = {{0, 0}, {400, 0}, {0, 200}, {400, 200}, {0, 400}, {400, 400}};
    for (const auto& t : tiles)
        Noise(0, t[0], t[1]);
}

void Window24(int32_t T)
{
    Band(500);
    Noise(1, 0, 400);
    LetterScroller(T);
}
