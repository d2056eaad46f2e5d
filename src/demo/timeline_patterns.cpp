#include "demo/letter_text.h"
#include "demo/timeline_layers.h"
#include "image/noise.h"
#include "raster/mathtables.h"

void Band(int y)
{
    Layer(40, 400, y);
}

// The phrase on the bottom band, and the marker running right over it by one
// pixel per hundredth from x 0 at the base time.
void Phrase(int slot, int base, int32_t T)
{
    Layer(slot, 400, 500);
    Layer(1, T - base, 450);
}

int CyclingMirror(int32_t T)
{
    const int phase = T % 40;
    if (phase < 10)
        return 0;
    if (phase < 20)
        return 2;
    if (phase < 30)
        return 3;
    return 1;
}

void Glitch()
{
    const int r1 = Random();
    const int r2 = Random();
    const int r3 = Random();
    Layer(48, 200 + r3 % 400, 100 + r2 % 200, {.mode = 1, .mirror = 6 * (r1 % 2)});
}

void TwoGlitches()
{
    Glitch();
    Glitch();
}

void Flash(int lo, int hi, int x, int y, int32_t T)
{
    if (lo < T && T < hi)
        Layer(45, x, y, {.mode = 1});
}

void RandomModePicture(int slot, int x, int y)
{
    const int r = Random();
    Layer(slot, x, y, {.mode = 8 + 8 * (r % 4), .width = 400, .height = 200});
}

// Eight columns 100 apart; the rows of four lie rowStep apart from the first.
void SpriteGrid(int firstRowY, int rowStep)
{
    for (int i = 0; i < 32; i++)
        Layer(47, 50 + 100 * (i % 8), firstRowY + rowStep * (i / 8), {.mode = 1});
}

// Four stacked copies of a wall of 4 x 7 photographs, jumping up 200 pixels
// every 50 hundredths.
void PhotoWall(int32_t T)
{
    const int rise = 200 * ((T - 6736) / 50);
    for (int i = 0; i < 28; i++)
        for (int m = 0; m < 4; m++)
            Layer(51 + i, 100 + 200 * (i % 4), 100 + 1400 * m + 200 * (i / 4) - rise);
}

// Four side-by-side copies of a strip of 14 x 2 photographs, jumping left 200
// pixels every 25 hundredths, the phase counted from 10010.
void PhotoStrip(int32_t T)
{
    const int shift = 200 * ((T - 10010) / 25);
    for (int i = 0; i < 28; i++)
        for (int m = 0; m < 4; m++)
            Layer(51 + i, 100 + 2800 * m + 200 * (i % 14) - shift, 100 + 200 * (i / 14));
}

void ShrinkingGrid(int slot, int base, int32_t T)
{
    Band(100);
    Band(300);
    Band(500);
    const int width = 400 - (T - base);
    const int height = 200 - (T - base) / 2;
    for (int j = 0; j < 6; j++)
        Layer(slot, 200 + 400 * (j % 2), 100 + 200 * (j / 2), {.width = width, .height = height});
}

namespace {

// One layer of the alternating pair: `lead` takes slot 17 in the first half
// of each 30-hundredth period and slot 18 in the second; the others the
// opposite.
struct PairLayer {
    bool lead;
    int x;
    int y;
    int mirror;
};

constexpr PairLayer PairVariant1[] = {{true, 700, 500, 0}, {false, 100, 500, 1}, {false, 400, 500, 1}};
constexpr PairLayer PairVariant2[] = {{true, 700, 500, 0}, {true, 400, 500, 0}, {false, 100, 500, 1}};
constexpr PairLayer PairVariant3[] = {{true, 700, 500, 0}, {true, 400, 500, 0}, {false, 100, 500, 1},
                                      {true, 700, 100, 0}, {false, 100, 100, 1}, {false, 400, 100, 1}};

template <size_t N>
void DrawPair(const PairLayer (&layers)[N], int32_t T)
{
    const bool firstHalf = T % 30 < 15;
    for (const PairLayer& p : layers)
        Layer(p.lead == firstHalf ? 17 : 18, p.x, p.y, {.mode = 1, .mirror = p.mirror});
}

// Slots of the 4x4 grid, row by row from the top, each row from the left.
constexpr int GridFirstHalf[4][4] = {{41, 42, 43, 44}, {42, 43, 44, 41}, {43, 44, 41, 42}, {44, 43, 42, 41}};
constexpr int GridSecondHalf[4][4] = {{44, 43, 42, 41}, {43, 42, 41, 44}, {42, 41, 44, 43}, {41, 44, 43, 42}};

struct RotatingSprite {
    int slot;
    int x;
    int y;
    int mode;
    int type;
};

constexpr RotatingSprite RotatingSpriteLayers[] = {
    {41, 600, 100, 3, 2}, {42, 600, 300, 3, 3}, {42, 400, 100, 5, 3},
    {43, 400, 300, 5, 2}, {43, 200, 100, 3, 2}, {44, 200, 300, 3, 3},
};

} // namespace

void AlternatingPair(int variant, int32_t T)
{
    if (variant == 1)
        DrawPair(PairVariant1, T);
    else if (variant == 2)
        DrawPair(PairVariant2, T);
    else
        DrawPair(PairVariant3, T);
}

void Grid4x4(int32_t T)
{
    const auto& slots = T % 40 < 20 ? GridFirstHalf : GridSecondHalf;
    for (int row = 0; row < 4; row++)
        for (int column = 0; column < 4; column++)
            Layer(slots[row][column], 100 + 200 * column, 50 + 100 * row);
}

void RotatingSprites(int32_t T)
{
    const int u = T - 4972;
    const LayerOptions shape = {.width = 400 - u, .height = 200 - u / 2, .angle = (100 * T) % 3600};
    for (const RotatingSprite& s : RotatingSpriteLayers) {
        LayerOptions o = shape;
        o.mode = s.mode;
        o.type = s.type;
        Layer(s.slot, s.x, s.y, o);
    }
}

void FlickerBlock()
{
    Layer(85, 650, 50);
    Layer(86, 750, 50);
    Layer(87, 650, 150);
    Layer(88, 750, 150);
    int r = Random();
    Layer(85 + r % 2, 650, 250);
    r = Random();
    Layer(86 + r % 2, 750, 250);
    r = Random();
    Layer(87 + r % 2, 650, 350);
    r = Random();
    Layer(88 - r % 2, 750, 350);
}

// The letter line enters from the right at 4 pixels per hundredth; gaps are
// the marker on row 500, letters jitter by up to 4 pixels below row 498.
void LetterScroller(int32_t T)
{
    for (int i = 0; i < 50; i++) {
        const int x = 31406 - 4 * T + 40 * i;
        const int cell = LetterText[size_t(i)];
        if (cell == 0) {
            Layer(1, x, 500, {.mode = 1});
        } else {
            const int r = Random();
            Layer(100 + cell, x, 498 + r % 5, {.mode = 1});
        }
    }
}
