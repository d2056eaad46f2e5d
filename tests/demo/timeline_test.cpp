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
    TestSlot::ClearSlot(slot);
    ImageSlot& s = Images.ImageBank[slot];
    newscreen(&s.image, width, height);
    Fill(&s.image, colour);
    s.hotspotX = width / 2;
    s.hotspotY = height / 2;
}

// The math tables, both noise layers as the show makes them, every slot a 10x10
// picture of its own colour and an 800x600 target; Render draws the scene at T over TestBackground.
struct TimelineTest : ::testing::Test {
    OwnedScreen target{DisplayWidth, DisplayHeight};

    void SetUp() override
    {
        CalcMathTables();
        SeedRandom(1);
        NoiseInit(0, 0, 400, 200);
        NoiseInit(1, 1, 800, 200);
        for (int slot = 1; slot <= 127; slot++)
            SolidSlot(slot, 10, 10, SlotColour(slot));
        SetTarget(target.get());
    }
    void TearDown() override
    {
        ResetImages();
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

// The clock values that lie in no window, the show's end aside.
const int Gaps[] = {1290, 1640, 6080, 6736, 11339};

// Exactly one window holds at every clock value up to 13345 (window 1 below 0) but in the gaps.
TEST(SceneWindows, TileTheShowButForItsGaps)
{
    EXPECT_EQ(SceneWindowAt(-100), 1);
    for (int T = -10; T < 13400; T++) {
        int holding = 0, window = 0;
        for (int n = 1; n <= SceneWindowCount; n++)
            if (SceneWindows[n - 1].after < T && T < SceneWindows[n - 1].before)
                holding++, window = n;
        ASSERT_EQ(holding, std::count(std::begin(Gaps), std::end(Gaps), T) || T > 13345 ? 0 : 1) << "T = " << T;
        ASSERT_EQ(SceneWindowAt(T), window) << "T = " << T;
    }
}

TEST_F(TimelineTest, EveryWindowDrawsFromItsFirstToItsLastValue)
{
    SolidSlot(16, 10, 2000, SlotColour(16)); // windows 7 and 9 move a tall picture down the screen
    for (const SceneWindow& w : SceneWindows)
        for (int32_t T : {w.after == INT64_MIN ? 0 : int32_t(w.after + 1), int32_t(w.before - 1)}) {
            Render(T);
            EXPECT_GT(Drawn(), 0) << "T = " << T;
        }
}

TEST_F(TimelineTest, WorkedExamplesPlaceEachPictureByTheClock)
{
    SolidSlot(1, 100, 10, SlotColour(1)); // the phrase marker, 100 wide
    const uint32_t star = ReferenceBlend(3, SlotColour(13), TestBackground), flash = SlotColour(45);
    const uint32_t marker = SlotColour(1), bg = TestBackground;
    const struct {
        int32_t T;
        int x, y;
        uint32_t colour;
        bool shown = true;
    } probes[] = {
        // Window 6 at u = 1: eight sprites; the 10x10 one at (2, 200) ends 5 pixels left, 4 right of it.
        {1291, 2, 1, star}, {1291, 798, 200, star}, {1291, 2, 399, star}, {1291, 400, 399, star},
        {1291, 798, 399, star}, {1291, 400, 1, star}, {1291, 6, 200, star}, {1291, 7, 200, bg},
        // Window 12 cycles its four frames along the row (k = 68, then 69);
        // T mod 20 < 10: slot 37 in mode 3, else slot 38 in mode 5.
        {2720, 100, 200, SlotColour(33)}, {2720, 700, 200, SlotColour(36)}, {2760, 100, 200, SlotColour(34)},
        {2760, 700, 200, SlotColour(33)}, {2760, 575, 200, ReferenceBlend(3, SlotColour(37), bg)},
        {2770, 575, 200, bg}, {2770, 125, 300, ReferenceBlend(5, SlotColour(38), bg)},
        // Window 14's flashes show only inside their open bounds.
        {3660, 200, 350, flash, false}, {3660, 600, 50, flash, false}, {3661, 600, 50, flash},
        {3682, 600, 50, flash, false}, {3682, 400, 200, flash, false}, {3683, 400, 200, flash},
        // Phrase markers start from their window's base: 5178 in window 20, 2319 in window 11.
        {5289, 111, 450, marker}, {2370, 51, 450, marker},
    };
    for (const auto& p : probes) {
        Render(p.T);
        EXPECT_EQ(at(p.x, p.y) == p.colour, p.shown)
            << "T = " << p.T << " at (" << p.x << ", " << p.y << "): " << std::hex << at(p.x, p.y);
    }
}

// The first n values of Random after SeedRandom(seed) and the state they leave; seeded again after.
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

TEST_F(TimelineTest, ScrollerLettersJitterByOneRandomValueEach)
{
    const int T = 7800;
    int letters = 0;
    for (uint8_t cell : LetterText)
        letters += cell != 0;
    const Draws r = Reseed(77, letters);
    Render(T); // window 24 also advances noise layer 1, which draws no Random value
    EXPECT_EQ(RandomState, r.stateAfter);
    // Each letter's 10x10 picture lies 498 + r mod 5 below its centre.
    for (int i = 0, letter = 0; i < 50; i++) {
        if (LetterText[size_t(i)] == 0)
            continue;
        const int x = 31406 - 4 * T + 40 * i, y = 498 + r.values[size_t(letter++)] % 5;
        if (x >= 0 && x < DisplayWidth) {
            EXPECT_EQ(at(x, y + 4), SlotColour(100 + LetterText[size_t(i)])) << "cell " << i;
        }
    }
}

TEST_F(TimelineTest, RandomModesAndGlitchesTakeTheirValuesInOrder)
{
    Draws r = Reseed(4242, 4);
    Render(8600); // window 25: slots 8, 12, 19, 46 about (200, 100), (200, 300), (600, 100), (600, 300)
    const int slots[4] = {8, 12, 19, 46};
    for (int i = 0; i < 4; i++) {
        const int mode = 8 + 8 * (r.values[size_t(i)] % 4);
        EXPECT_EQ(at(350 + 400 * (i / 2), 50 + 200 * (i % 2)),
                  ReferenceBlend(mode, SlotColour(slots[i]), TestBackground))
            << "picture " << i << ", mode " << mode;
    }
    r = Reseed(99, 6); // window 17: phrase, slot 46, two glitches of three values each
    Render(4400);
    EXPECT_EQ(at(200 + r.values[2] % 400, 100 + r.values[1] % 200), SlotColour(48))
        << "mirror " << 6 * (r.values[0] % 2);
    EXPECT_EQ(RandomState, r.stateAfter);
}

} // namespace
