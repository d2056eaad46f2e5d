#include <gtest/gtest.h>

#include "demo/letter_text.h"
#include "demo/timeline.h"
#include "demo_test_util.h"

namespace {

// Pixels of the target that are not TestBackground.
int Drawn(TimelineStage& stage)
{
    int n = 0;
    for (int y = 0; y < DisplayHeight; y++)
        for (int x = 0; x < DisplayWidth; x++)
            n += stage.at(x, y) != TestBackground;
    return n;
}

void Render(TimelineStage& stage, int32_t T)
{
    stage.Clear();
    DrawScene(T);
}

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

TEST(Timeline, ClocksInNoWindowShowTheBackgroundAlone)
{
    TimelineStage stage;
    for (int T : {1290, 1640, 6080, 6736, 11339, 13346}) {
        const uint32_t before = RandomState;
        Render(stage, T);
        EXPECT_EQ(Drawn(stage), 0) << "T = " << T;
        EXPECT_EQ(RandomState, before) << "T = " << T;
    }
}

TEST(Timeline, EveryWindowDrawsFromItsFirstToItsLastValue)
{
    TimelineStage stage;
    // The picture that windows 7 and 9 move down the screen is tall.
    SolidSlot(16, 10, 2000, SlotColour(16));
    for (const SceneWindow& w : SceneWindows) {
        const int32_t first = w.after == INT64_MIN ? 0 : int32_t(w.after + 1);
        for (int32_t T : {first, int32_t(w.before - 1)}) {
            Render(stage, T);
            EXPECT_GT(Drawn(stage), 0) << "T = " << T;
        }
    }
}

TEST(Timeline, Window6PlacesTheEightSpritesByTheClock)
{
    TimelineStage stage;
    Render(stage, 1291); // u = 1
    const uint32_t sprite = Blended(3, TestBackground, SlotColour(13));
    const int at[8][2] = {{2, 1}, {2, 200}, {798, 1}, {798, 200}, {2, 399}, {400, 399}, {798, 399}, {400, 1}};
    for (const auto& p : at)
        EXPECT_EQ(stage.at(p[0], p[1]), sprite) << p[0] << ", " << p[1];
    // Its 10x10 picture ends 5 pixels left of (2, 200) and 4 to the right.
    EXPECT_EQ(stage.at(6, 200), sprite);
    EXPECT_EQ(stage.at(7, 200), TestBackground);
}

TEST(Timeline, Window12CyclesItsFourFramesAlongTheRow)
{
    TimelineStage stage;
    Render(stage, 2720); // k = 68
    for (int n = 0; n < 4; n++)
        EXPECT_EQ(stage.at(100 + 200 * n, 200), SlotColour(33 + n)) << n;
    Render(stage, 2760); // k = 69
    const int slots[4] = {34, 35, 36, 33};
    for (int n = 0; n < 4; n++)
        EXPECT_EQ(stage.at(100 + 200 * n, 200), SlotColour(slots[n])) << n;
    // T mod 20 < 10: slot 37 in mode 3; else slot 38 in mode 5.
    EXPECT_EQ(stage.at(575, 200), Blended(3, TestBackground, SlotColour(37)));
    Render(stage, 2770);
    EXPECT_EQ(stage.at(575, 200), TestBackground);
    EXPECT_EQ(stage.at(125, 300), Blended(5, TestBackground, SlotColour(38)));
}

TEST(Timeline, Window14FlashesOnlyInsideTheirOpenBounds)
{
    TimelineStage stage;
    const uint32_t flash = SlotColour(45);
    Render(stage, 3660);
    EXPECT_NE(stage.at(200, 350), flash);
    EXPECT_NE(stage.at(600, 50), flash);
    Render(stage, 3661);
    EXPECT_EQ(stage.at(600, 50), flash);
    Render(stage, 3682);
    EXPECT_NE(stage.at(600, 50), flash);
    EXPECT_NE(stage.at(400, 200), flash);
    Render(stage, 3683);
    EXPECT_EQ(stage.at(400, 200), flash);
}

TEST(Timeline, PhraseMarkerStartsFromItsBase)
{
    TimelineStage stage;
    Render(stage, 5289); // window 20, base 5178
    EXPECT_EQ(stage.at(111, 450), SlotColour(1));
    Render(stage, 2370); // window 11, base 2319
    EXPECT_EQ(stage.at(51, 450), SlotColour(1));
}

TEST(Timeline, ScrollerEntersAtTheRightEdgeAndLeavesAtTheLeft)
{
    TimelineStage stage;
    ASSERT_EQ(LetterText[0], 0);
    ASSERT_EQ(LetterText[49], 0);
    // The gap marker 100 wide: at T = 7640 the first cell stands at x 846,
    // so its left 4 columns (796-799) show.
    SolidSlot(1, 100, 10, SlotColour(1));
    Render(stage, 7640);
    EXPECT_EQ(stage.at(796, 500), SlotColour(1));
    EXPECT_EQ(stage.at(799, 500), SlotColour(1));
    EXPECT_NE(stage.at(795, 500), SlotColour(1));
    // At T = 8200 the last cell stands at x 566 and ends at 615.
    Render(stage, 8200);
    EXPECT_EQ(stage.at(615, 500), SlotColour(1));
    EXPECT_NE(stage.at(616, 500), SlotColour(1));
}

TEST(Timeline, ScrollerLettersJitterByOneRandomValueEach)
{
    TimelineStage stage;
    const int T = 7800;
    int letters = 0;
    for (uint8_t cell : LetterText)
        letters += cell != 0;
    SeedRandom(77);
    uint32_t expected = 77;
    for (int i = 0; i < letters; i++)
        expected = expected * 214013u + 2531011u;
    // Window 24 also advances noise layer 1, which draws no Random value.
    Render(stage, T);
    EXPECT_EQ(RandomState, expected);

    // Each letter's 10x10 picture lies 498 + r mod 5 below its centre.
    SeedRandom(77);
    int rs[50];
    for (int i = 0; i < letters; i++)
        rs[i] = Random();
    SeedRandom(77);
    Render(stage, T);
    int letter = 0;
    for (int i = 0; i < 50; i++) {
        if (LetterText[size_t(i)] == 0)
            continue;
        const int x = 31406 - 4 * T + 40 * i;
        const int y = 498 + rs[letter++] % 5;
        if (x >= 0 && x < DisplayWidth) {
            EXPECT_EQ(stage.at(x, y + 4), SlotColour(100 + LetterText[size_t(i)])) << "cell " << i;
        }
    }
}

TEST(Timeline, RandomModePicturesTakeTheirModesInOrder)
{
    TimelineStage stage;
    SeedRandom(4242);
    int modes[4];
    for (int& m : modes)
        m = 8 + 8 * (Random() % 4);
    SeedRandom(4242);
    Render(stage, 8600); // window 25: slots 8, 12, 19, 46
    const int slots[4] = {8, 12, 19, 46};
    const int at[4][2] = {{200, 100}, {200, 300}, {600, 100}, {600, 300}};
    for (int i = 0; i < 4; i++)
        EXPECT_EQ(stage.at(at[i][0] + 150, at[i][1] - 50), Blended(modes[i], TestBackground, SlotColour(slots[i])))
            << "picture " << i << ", mode " << modes[i];
}

TEST(Timeline, GlitchesDrawThreeRandomValuesEach)
{
    TimelineStage stage;
    SeedRandom(99);
    const int r1 = Random(), r2 = Random(), r3 = Random();
    SeedRandom(99);
    Render(stage, 4400); // window 17: phrase, slot 46, two glitches
    EXPECT_EQ(stage.at(200 + r3 % 400, 100 + r2 % 200), SlotColour(48)) << "mirror " << 6 * (r1 % 2);
    uint32_t expected = 99;
    for (int i = 0; i < 6; i++)
        expected = expected * 214013u + 2531011u;
    EXPECT_EQ(RandomState, expected);
}

} // namespace
