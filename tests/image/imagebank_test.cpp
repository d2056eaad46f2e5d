#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <numeric>

#include "image/image_test_util.h"
#include "image/imagebank.h"
#include "raster/blend.h"
#include "raster/mathtables.h"
#include "raster/rotate.h"
#include "raster/scale.h"

namespace {

constexpr std::array<int, 4> Nothing{-1, -1, -1, -1};

// Box {x1, y1, x2, y2} of the pixels unlike `background`, all -1 for none.
std::array<int, 4> ChangedBox(const Screen* s, uint32_t background)
{
    std::array<int, 4> box{INT_MAX, INT_MAX, -1, -1};
    for (int y = 0; y < s->height; y++)
        for (int x = 0; x < s->width; x++)
            if (s->rows[y][x] != background)
                box = {std::min(box[0], x), std::min(box[1], y), std::max(box[2], x), std::max(box[3], y)};
    return box[2] < 0 ? Nothing : box;
}

// The written loops: each source row and pixel lands on its own place and
// repeats up to the next one's.
void ReferenceResample(const Screen* src, Screen* copy)
{
    const int sw = src->width, sh = src->height, W = copy->width, H = copy->height;
    const auto c = [&](int j) { return (j * W) / sw; };
    const auto r = [&](int i) { return (i * H) / sh; };
    const auto rowCopy = [&](int i, int t) {
        for (int j = 0; j < sw; j++) {
            copy->rows[t][c(j)] = src->rows[i][j];
            if (c(j + 1) > c(j) + 1)
                for (int k = c(j); k < c(j + 1); k++)
                    copy->rows[t][k] = src->rows[i][j];
        }
    };
    for (int i = 0; i < sh; i++) {
        rowCopy(i, r(i));
        if (r(i + 1) > r(i) + 1)
            for (int t = r(i); t < r(i + 1); t++)
                rowCopy(i, t);
    }
}

// Frees the slots loaded by a test, whatever its end.
struct ImageSlots : ::testing::Test {
    void TearDown() override
    {
        ResetImages();
        SetTarget(nullptr);
    }
    TempDir dir;
};

// Slot numbers cut to 16 bits, the target kept, a slot reloaded (ASan sees the
// old one go), the hotspot rounded down to the position.
TEST_F(ImageSlots, LoadSlotSizesHotspotAndKeepsTheTarget)
{
    std::vector<uint32_t> pixels(64 * 32);
    std::iota(pixels.begin(), pixels.end(), 1u);
    dir.Write("graph/sprite00.TGA", Tga(64, 32, pixels));
    TargetScreen other(3, 3);
    LoadSlot((dir.path.string() + "/graph\\sprite00.TGA").c_str(), 65536 + 7);
    EXPECT_EQ(CurrentTarget, other.get());
    EXPECT_EQ(Pixels(other.get()), std::vector<uint32_t>(9, 0));
    const ImageSlot& slot = Images.ImageBank[7];
    EXPECT_EQ(Pixels(&slot.image), pixels);
    EXPECT_EQ((std::array{slot.hotspotX, slot.hotspotY}), (std::array{32, 16}));
    LoadSlot(dir.Write("b.tga", Tga(5, 3, std::vector<uint32_t>(15, 2))).c_str(), 7);
    EXPECT_EQ(Pixels(&slot.image), std::vector<uint32_t>(15, 2));
    TargetScreen frame(20, 20);
    DrawSlotUnscaled(7, 10, 10, 0, 0, 0, 0);
    EXPECT_EQ(ChangedBox(frame.get(), 0), (std::array{8, 9, 12, 11}));
}

// An empty slot draws black only when scaled; numbers naming no slot, places
// beyond reach and sizes beyond a Screen draw nothing.
TEST_F(ImageSlots, EmptySlotsAndPlacesNoScreenReaches)
{
    TargetScreen frame(30, 30, 0x00808080);
    DrawSlot(500, 15, 15, 0, 0, 0, 0, 0, 0);
    DrawSlot(500, 15, 15, 1, 0, 10, 10, 0, 0); // keyed: black is transparent
    EXPECT_EQ(ChangedBox(frame.get(), 0x00808080), Nothing);
    DrawSlot(500, 15, 15, 2, 0, 10, 10, 0, 0);
    EXPECT_EQ(ChangedBox(frame.get(), 0x00808080), (std::array{10, 10, 19, 19}));
    EXPECT_EQ(frame.at(10, 10), 0x00404040u); // black mixed half and half

    TestSlot picture(20, 4, 4);
    Fill(frame.get(), 0);
    const int calls[][5] = { // slot, x, y, width, height
        {1000, 8, 8, 6, 6}, {65536 + 1000, 8, 8, 0, 0}, {20, (1 << 30) + 1, 8, 0, 0},
        {20, 8, INT_MIN, 6, 6}, {20, 8, 8, 65536, 6}, {20, 8, 8, 6, INT_MAX},
    };
    for (const auto& [slot, x, y, width, height] : calls) {
        for (int type : {0, 1}) {
            DrawSlot(slot, x, y, 0, 0, width, height, type, 450);
            if (width <= 65535 && height <= 65535) // the size is DrawSlot's alone
                DrawSlotUnscaled(slot, x, y, 0, 1, type, 450);
        }
        EXPECT_EQ(ChangedBox(frame.get(), 0), Nothing) << slot << " at " << x << "," << y;
    }
}

TEST_F(ImageSlots, LoadingIntoASlotOutsideTheTableIsFatal)
{
    const std::string file = dir.Write("one.tga", Tga(1, 1, {5}));
    EXPECT_EXIT(LoadSlot(file.c_str(), -1), testing::ExitedWithCode(255),
                testing::HasSubstr("numero de imagen fuera de rango en LoadSlot " + file));
}

TEST_F(ImageSlots, OverlapOfPlacedBoxes)
{
    TestSlot a(30, 10, 10), b(31, 10, 10), tall(32, 3, 20); // tall spans x -1..1, y -10..9 at (0, 0)
    const int cases[][7] = { // slots, positions, overlap
        {30, 31, 0, 0, 10, 0, 0},  {30, 31, 0, 0, 9, 9, 1},  {30, 31, 0, 0, -10, 0, 0}, {30, 31, 0, 0, 0, -10, 0},
        {30, 32, 0, 0, 5, 0, 1},   {30, 32, 0, 0, 6, 0, 0},  {32, 30, 0, 14, 0, 0, 1},  {32, 30, 0, 15, 0, 0, 0},
        // Boxes at the ends of the int range; numbers outside the table.
        {30, 31, INT_MAX, 0, INT_MAX - 5, 0, 1}, {30, 31, INT_MAX, 0, INT_MIN, 0, 0},
        {30, 1000, 0, 0, 0, 0, 0}, {65535, 30, 0, 0, 0, 0, 0},
    };
    for (const auto& [s1, s2, x1, y1, x2, y2, overlap] : cases)
        EXPECT_EQ(SlotsOverlap(s1, s2, x1, y1, x2, y2), overlap) << s1 << "," << s2 << " " << x2 << "," << y2;
}

TEST(ScaleResample, MatchesTheWrittenLoopsForEverySize)
{
    std::mt19937 rng(11);
    const auto check = [&](int sw, int sh, int W, int H) {
        OwnedScreen src(sw, sh), fast(W, H), slow(W, H);
        FillRandom(src.get(), rng);
        ResampleNearest(src.get(), fast.get());
        ReferenceResample(src.get(), slow.get());
        ASSERT_EQ(Pixels(fast.get()), Pixels(slow.get())) << sw << "x" << sh << " to " << W << "x" << H;
    };
    for (int sw = 1; sw <= 9; sw++)
        for (int sh = 1; sh <= 4; sh++)
            for (int W = 1; W <= 19; W++)
                for (int H = 1; H <= 5; H++)
                    check(sw, sh, W, H);
    for (auto [sw, sh, W, H] : {std::array{200, 100, 400, 200}, {800, 400, 400, 200}, {37, 91, 333, 17},
                                {640, 3, 7, 650}})
        check(sw, sh, W, H);
}

// DrawSlot at a size draws the written loops' copy by BlitRotated at
// (x - W / 2, y - H / 2), sizes below 0 taken as 1, and at its own size when
// either is 0 (the hotspot is the centre), in every mode and clip.
TEST_F(ImageSlots, DrawSlotAtASizeMatchesTheCopyAndBlitReference)
{
    CalcMathTables();
    std::mt19937 rng(17);
    TestSlot picture(41, 13, 7, &rng);
    OwnedScreen fast(50, 40), slow(50, 40);
    FillRandom(fast.get(), rng);
    const auto both = [&](int x, int y, int W, int H, int mode, int mirror, int type, int angle) {
        CopyRect(fast.get(), slow.get(), 0, 0, 49, 39, 0, 0);
        SetTarget(fast.get());
        DrawSlot(41, x, y, mode, mirror, W, H, type, angle);
        const bool natural = W == 0 || H == 0;
        const int w = natural ? 13 : std::max(W, 1), h = natural ? 7 : std::max(H, 1);
        OwnedScreen copy(w, h);
        ReferenceResample(&picture.image(), copy.get());
        BlitRotated(copy.get(), slow.get(), 0, 0, w - 1, h - 1, x - w / 2, y - h / 2, mode, mirror, type, angle);
        ASSERT_EQ(Pixels(fast.get()), Pixels(slow.get()))
            << "at " << x << "," << y << " size " << W << "x" << H << " mode " << mode << " mirror " << mirror
            << " type " << type;
    };
    for (int mode = -1; mode <= 41; mode++)
        for (auto [x, y] : {std::pair{25, 20}, {2, 3}, {48, 38}, {-10, 20}, {60, 20}, {25, -12}, {25, 52}})
            for (auto [W, H] : {std::pair{26, 21}, {5, 3}, {13, 14}, {-3, 9}, {40, -2}, {0, 9}, {30, 0}})
                both(x, y, W, H, mode, 0, 0, 0);
    for (int mirror : {-1, 1, 2, 3, 4})
        both(20, 15, 20, 9, 1, mirror, 0, 0);
    for (auto [type, angle] : {std::pair{-1, 0}, {1, 300}, {2, 450}, {3, 2000}, {4, 0}})
        for (auto [W, H] : {std::pair{17, 11}, {0, 0}})
            both(20, 15, W, H, 2, 0, type, angle);
}

} // namespace
