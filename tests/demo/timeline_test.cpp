#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "demo/letter_text.h"
#include "demo/timeline.h"
#include "demo_test_util.h"
#include "display/display.h"
#include "image/noise.h"
#include "raster/blend.h"
#include "raster/mathtables.h"

namespace {

constexpr uint32_t TestBackground = 0x00102030;

// A slot holding a width x height picture of one colour, hotspot at its centre.
void SolidSlot(int slot, int width, int height, uint32_t colour)
{
    ClearSlot(slot);
    ImageSlot& s = Images.ImageBank[slot];
    newscreen(&s.image, width, height);
    Fill(&s.image, colour);
    s.hotspotX = width / 2;
    s.hotspotY = height / 2;
}

// What blend mode `mode` makes of `src` over `dst`, through the engine itself.
uint32_t Blended(int mode, uint32_t dst, uint32_t src)
{
    OwnedScreen from(1, 1), to(1, 1);
    from.at(0, 0) = src;
    to.at(0, 0) = dst;
    BlendRect(from.get(), to.get(), 0, 0, 0, 0, 0, 0, mode);
    return to.at(0, 0);
}

// A stage for the timeline: the math tables, both noise layers as the show
// makes them, every slot the timeline draws as a 10x10 picture of its own
// colour, and an 800x600 target. Render clears it to TestBackground and
// draws the scene at T.
struct TimelineStage {
    OwnedScreen target{DisplayWidth, DisplayHeight};

    TimelineStage()
    {
        CalcMathTables();
        SeedRandom(1);
        NoiseInit(0, 0, 400, 200);
        NoiseInit(1, 1, 800, 200);
        for (int slot = 1; slot <= 127; slot++)
            SolidSlot(slot, 10, 10, SlotColour(slot));
        SetTarget(target.get());
    }
    ~TimelineStage()
    {
        NoiseFree(0);
        NoiseFree(1);
        ClearAllSlots();
        SetTarget(nullptr);
    }
    void Render(int32_t T)
    {
        Fill(target.get(), TestBackground);
        DrawScene(T);
    }
    uint32_t at(int x, int y) { return target.at(x, y); }
    // Pixels that are not TestBackground.
    long Drawn()
    {
        const std::vector<uint32_t> p = Pixels(target.get());
        return long(p.size()) - std::count(p.begin(), p.end(), TestBackground);
    }
};

TEST(SceneWindows, FollowTheWrittenBoundsStrictly)
{
    // Pairs of (T, window): each window's first and last clock value.
    const int bounds[][2] = {
        {-5, 1},     {474, 1},    {475, 2},    {681, 2},    {682, 3},    {881, 3},    {882, 4},
        {1085, 4},   {1086, 5},   {1289, 5},   {1291, 6},   {1469, 6},   {1470, 7},   {1639, 7},
        {1641, 8},   {1806, 8},   {1807, 9},   {2025, 9},   {2026, 10},  {2369, 10},  {2370, 11},
        {2709, 11},  {2710, 12},  {2997, 12},  {2998, 13},  {3335, 13},  {3336, 14},  {3710, 14},
        {3711, 15},  {3997, 15},  {3998, 16},  {4353, 16},  {4354, 17},  {4650, 17},  {4651, 18},
        {4972, 18},  {4973, 19},  {5288, 19},  {5289, 20},  {5628, 20},  {5629, 21},  {6079, 21},
        {6081, 22},  {6735, 22},  {6737, 23},  {7639, 23},  {7640, 24},  {8507, 24},  {8508, 25},
        {8900, 25},  {8901, 26},  {9291, 26},  {9292, 27},  {9685, 27},  {9686, 28},  {10010, 28},
        {10011, 29}, {10388, 29}, {10389, 30}, {10678, 30}, {10679, 31}, {11044, 31}, {11045, 32},
        {11338, 32}, {11340, 33}, {11503, 33}, {11504, 34}, {11668, 34}, {11669, 35}, {11837, 35},
        {11838, 36}, {12009, 36}, {12010, 37}, {13345, 37},
    };
    for (const auto& b : bounds)
        EXPECT_EQ(SceneWindowAt(b[0]), b[1]) << "T = " << b[0];
    for (int T : {1290, 1640, 6080, 6736, 11339, 13346, 20000})
        EXPECT_EQ(SceneWindowAt(T), 0) << "T = " << T;
    // Neighbours share no clock value: at most one window holds anywhere.
    for (int T = -10; T < 13400; T++) {
        int holding = 0;
        for (const SceneWindow& w : SceneWindows)
            holding += w.after < T && T < w.before;
        ASSERT_LE(holding, 1) << "T = " << T;
    }
}

TEST(Timeline, EveryWindowDrawsFromItsFirstToItsLastValueAndGapsShowTheBackgroundAlone)
{
    TimelineStage stage;
    // The picture that windows 7 and 9 move down the screen is tall.
    SolidSlot(16, 10, 2000, SlotColour(16));
    for (const SceneWindow& w : SceneWindows) {
        const int32_t first = w.after == INT64_MIN ? 0 : int32_t(w.after + 1);
        for (int32_t T : {first, int32_t(w.before - 1)}) {
            stage.Render(T);
            EXPECT_GT(stage.Drawn(), 0) << "T = " << T;
        }
    }
    for (int T : {1290, 1640, 6080, 6736, 11339, 13346}) {
        const uint32_t before = RandomState;
        stage.Render(T);
        EXPECT_EQ(stage.Drawn(), 0) << "T = " << T;
        EXPECT_EQ(RandomState, before) << "T = " << T;
    }
}

TEST(Timeline, WorkedExamplesPlaceEachPictureByTheClock)
{
    TimelineStage stage;
    SolidSlot(1, 100, 10, SlotColour(1)); // the marker, also the scroller's first and last cell, 100 wide
    ASSERT_EQ(LetterText[0], 0);
    ASSERT_EQ(LetterText[49], 0);
    const uint32_t star = Blended(3, TestBackground, SlotColour(13)), flash = SlotColour(45), marker = SlotColour(1);
    const struct {
        int32_t T;
        int x, y;
        uint32_t colour;
        bool shown = true;
    } probes[] = {
        // Window 6 at u = 1: eight sprites; the 10x10 picture at (2, 200)
        // ends 5 pixels to its left and 4 to its right.
        {1291, 2, 1, star}, {1291, 2, 200, star}, {1291, 798, 1, star}, {1291, 798, 200, star}, {1291, 2, 399, star},
        {1291, 400, 399, star}, {1291, 798, 399, star}, {1291, 400, 1, star}, {1291, 6, 200, star},
        {1291, 7, 200, TestBackground},
        // Window 12 cycles its four frames along the row (k = 68, then 69);
        // T mod 20 < 10: slot 37 in mode 3, else slot 38 in mode 5.
        {2720, 100, 200, SlotColour(33)}, {2720, 300, 200, SlotColour(34)}, {2720, 500, 200, SlotColour(35)},
        {2720, 700, 200, SlotColour(36)}, {2760, 100, 200, SlotColour(34)}, {2760, 300, 200, SlotColour(35)},
        {2760, 500, 200, SlotColour(36)}, {2760, 700, 200, SlotColour(33)},
        {2760, 575, 200, Blended(3, TestBackground, SlotColour(37))}, {2770, 575, 200, TestBackground},
        {2770, 125, 300, Blended(5, TestBackground, SlotColour(38))},
        // Window 14's flashes show only inside their open bounds.
        {3660, 200, 350, flash, false}, {3660, 600, 50, flash, false}, {3661, 600, 50, flash},
        {3682, 600, 50, flash, false}, {3682, 400, 200, flash, false}, {3683, 400, 200, flash},
        // Phrase markers start from their window's base: 5178 in window 20,
        // 2319 in window 11.
        {5289, 111, 450, marker}, {2370, 51, 450, marker},
        // The scroller's first cell stands at x 846 at T = 7640, so the
        // marker's left 4 columns (796-799) show; at T = 8200 the last cell
        // stands at x 566 and ends at 615.
        {7640, 796, 500, marker}, {7640, 799, 500, marker}, {7640, 795, 500, marker, false},
        {8200, 615, 500, marker}, {8200, 616, 500, marker, false},
    };
    for (const auto& p : probes) {
        stage.Render(p.T);
        EXPECT_EQ(stage.at(p.x, p.y) == p.colour, p.shown)
            << "T = " << p.T << " at (" << p.x << ", " << p.y << "): " << std::hex << stage.at(p.x, p.y);
    }
}

// The first n values of Random after SeedRandom(seed) and the state they
// leave; the generator is seeded again, so that the scene draws the same.
struct Draws {
    std::vector<int> values;
    uint32_t stateAfter;
};
Draws Reseed(int seed, int n)
{
    SeedRandom(seed);
    Draws d{std::vector<int>(size_t(n)), 0};
    for (int& v : d.values)
        v = Random();
    d.stateAfter = RandomState;
    SeedRandom(seed);
    return d;
}

TEST(Timeline, ScrollerLettersJitterByOneRandomValueEach)
{
    TimelineStage stage;
    int letters = 0;
    for (uint8_t cell : LetterText)
        letters += cell != 0;
    const int T = 7800;
    const Draws r = Reseed(77, letters);
    // Window 24 also advances noise layer 1, which draws no Random value.
    stage.Render(T);
    EXPECT_EQ(RandomState, r.stateAfter);
    // Each letter's 10x10 picture lies 498 + r mod 5 below its centre.
    for (int i = 0, letter = 0; i < 50; i++) {
        if (LetterText[size_t(i)] == 0)
            continue;
        const int x = 31406 - 4 * T + 40 * i, y = 498 + r.values[size_t(letter++)] % 5;
        if (x >= 0 && x < DisplayWidth) {
            EXPECT_EQ(stage.at(x, y + 4), SlotColour(100 + LetterText[size_t(i)])) << "cell " << i;
        }
    }
}

TEST(Timeline, RandomModesAndGlitchesTakeTheirValuesInOrder)
{
    TimelineStage stage;
    Draws r = Reseed(4242, 4);
    stage.Render(8600); // window 25: slots 8, 12, 19, 46
    const int slots[4] = {8, 12, 19, 46};
    const int at[4][2] = {{200, 100}, {200, 300}, {600, 100}, {600, 300}};
    for (int i = 0; i < 4; i++) {
        const int mode = 8 + 8 * (r.values[size_t(i)] % 4);
        EXPECT_EQ(stage.at(at[i][0] + 150, at[i][1] - 50), Blended(mode, TestBackground, SlotColour(slots[i])))
            << "picture " << i << ", mode " << mode;
    }
    // Two glitches of three values each.
    r = Reseed(99, 6);
    stage.Render(4400); // window 17: phrase, slot 46, two glitches
    EXPECT_EQ(stage.at(200 + r.values[2] % 400, 100 + r.values[1] % 200), SlotColour(48))
        << "mirror " << 6 * (r.values[0] % 2);
    EXPECT_EQ(RandomState, r.stateAfter);
}

} // namespace
