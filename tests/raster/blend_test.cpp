#include <gtest/gtest.h>

#include <climits>

#include "raster/blend.h"
#include "raster/row_transfer.h"
#include "raster_test_util.h"

namespace {

// CopyRect for mode 0, BlendRect otherwise, or BlendRect in mode 0 (`copy` false).
void Transfer(Screen* src, Screen* dst, int x1, int y1, int x2, int y2, int dx, int dy, int mode, bool copy = true)
{
    if (mode == 0 && copy)
        CopyRect(src, dst, x1, y1, x2, y2, dx, dy);
    else
        BlendRect(src, dst, x1, y1, x2, y2, dx, dy, mode);
}

TEST(Blend, WorkedExamples)
{
    const uint32_t s = 0x00123456, d = 0x00ABCDEF, white = 0x00FFFFFF; // grey of s: 0x34
    const struct { int mode; uint32_t s, d, want; bool copy = true; } examples[] = {
        {2, s, d, 0x005E80A2}, {4, s, d, 0x00789ABC}, {6, s, d, 0x00456789}, {8, s, d, 0x00343434},
        {8, s, 0, 0x00343434}, {16, s, white, 0x00340000}, {24, s, d, 0x00003400}, {32, s, 0, 0x00000034},
        {18, s, d, 0x006F0000}, {20, s, d, 0x00830000}, {22, s, d, 0x005B0000}, {26, s, d, 0x00008000},
        {28, s, d, 0x00009A00}, {34, s, d, 0x00000091}, {2, 0, white, 0x007F7F7F}, {16, 0, d, 0},
        {1, s, d, s}, {1, 0, d, d}, {3, 0, d, d}, {0, s, d, s},
        // Modes that draw nothing, and BlendRect in mode 0.
        {40, s, d, d}, {1000, s, d, d}, {-1, s, d, d}, {0, s, d, d, false},
    };
    for (const auto& e : examples) {
        OwnedScreen src(1, 1), dst(1, 1);
        src.at(0, 0) = e.s;
        dst.at(0, 0) = e.d;
        Transfer(src.get(), dst.get(), 0, 0, 0, 0, 0, 0, e.mode, e.copy);
        EXPECT_EQ(dst.at(0, 0), e.want) << e.mode;
    }
}

// Onto its own Screen: a shifted copy does not smear; a blend reads the
// pixels it has just written, as a pixel-by-pixel loop does.
TEST(Blend, OntoItsOwnScreen)
{
    OwnedScreen a(5, 1);
    for (int x = 0; x < 5; x++)
        a.at(x, 0) = uint32_t(x + 1);
    CopyRect(a.get(), a.get(), 0, 0, 3, 0, 1, 0);
    EXPECT_EQ(Pixels(a.get()), (std::vector<uint32_t>{1, 1, 2, 3, 4}));
    CopyRect(a.get(), a.get(), 2, 0, 4, 0, 1, 0);
    EXPECT_EQ(Pixels(a.get()), (std::vector<uint32_t>{1, 2, 3, 4, 4}));

    std::mt19937 rng(99);
    for (int mode : {1, 2, 5, 7, 15, 22, 39}) {
        OwnedScreen b(300, 4);
        FillRandom(b.get(), rng);
        auto want = Pixels(b.get());
        for (size_t y = 0; y < 4; y++)
            for (size_t x = 0; x < 290; x++)
                want[y * 300 + x + 3] = ReferenceBlend(mode, want[y * 300 + x], want[y * 300 + x + 3]);
        BlendRect(b.get(), b.get(), 0, 0, 289, 3, 3, 0, mode);
        EXPECT_EQ(Pixels(b.get()), want) << mode;
    }
}

// Any rectangle and position: each destination pixel takes the source pixel
// that lands on it when that one lies in the rectangle and in the source;
// nothing else is written. Inverted rectangles draw nothing.
TEST(Blend, RectanglesReachingOutsideEitherScreenAreClipped)
{
    const int cases[][6] = {
        {1, 1, 4, 3, 2, 1},  {-3, -2, 4, 3, 0, 0},  {2, 1, 20, 9, 3, 2},    {0, 0, 6, 4, -4, -1},
        {0, 0, 6, 4, 5, 3},  {4, 0, 1, 4, 0, 0},    {0, 3, 6, 0, 0, 0},     {0, 65535, 6, 4, 0, 0},
        {0, 0, 6, 4, 9, 0},  {-9, 0, -1, 4, 0, 0},  {INT_MIN, INT_MIN, INT_MAX, INT_MAX, 1, 2},
        {0, 0, 6, 4, INT_MAX, INT_MAX}, {0, 0, INT_MAX, 4, INT_MIN, 0}, {3, 2, 3, 2, INT_MIN, INT_MIN},
    };
    std::mt19937 rng(5);
    for (int mode : {0, 5})
        for (const auto& [x1, y1, x2, y2, dx, dy] : cases) {
            OwnedScreen src(7, 5), dst(8, 4);
            FillRandom(src.get(), rng);
            FillRandom(dst.get(), rng);
            std::vector<uint32_t> want = Pixels(dst.get());
            for (int64_t y = 0; y < 4; y++)
                for (int64_t x = 0; x < 8; x++) {
                    const int64_t sx = x - dx + x1, sy = y - dy + y1;
                    if (sx >= x1 && sx <= x2 && sy >= y1 && sy <= y2 && sx >= 0 && sx < 7 && sy >= 0 && sy < 5)
                        want[size_t(y * 8 + x)] = ReferenceBlend(mode, src.at(int(sx), int(sy)), want[size_t(y * 8 + x)]);
                }
            Transfer(src.get(), dst.get(), x1, y1, x2, y2, dx, dy, mode);
            EXPECT_EQ(Pixels(dst.get()), want) << "mode " << mode << ": " << x1 << "," << y1 << " " << x2 << ","
                                               << y2 << " at " << dx << "," << dy;
        }
}

// Every kernel set this processor runs, every mode, both reading directions:
// random rows of lengths around the vector chunks, then grey rows in which
// every source channel value meets every destination one; every third source
// pixel has its blue off by one, so that some pixels turn grey 0 unblack.
TEST(Blend, EveryKernelSetMatchesTheRules)
{
    std::mt19937 rng(42);
    OwnedScreen src(700, 1), dst(700, 1);
    const int randomCounts[] = {1, 7, 255, 256, 257, 600};
    for (const RowKernelSet* set : UsableRowKernelSets())
        for (int mode = 0; mode < 40; mode++)
            for (int step : {1, -1})
                for (int round = 0; round < 6 + 256; round++) {
                    const int count = round < 6 ? randomCounts[round] : 256;
                    if (round < 6) {
                        FillRandom(src.get(), rng);
                        FillRandom(dst.get(), rng);
                    } else {
                        for (int x = 0; x < 700; x++) {
                            src.at(x, 0) = uint32_t((round + x) & 255) * 0x010101u ^ uint32_t(x % 3 == 0);
                            dst.at(x, 0) = uint32_t(x & 255) * 0x010101u;
                        }
                    }
                    const auto before = Pixels(dst.get());
                    const uint32_t* first = src->rows[0] + (step > 0 ? 50 : 50 + count - 1);
                    (step > 0 ? set->forward : set->reverse)[size_t(mode)](first, dst->rows[0] + 20, count);
                    for (int x = 0; x < 700; x++) {
                        const uint32_t d = before[size_t(x)];
                        ASSERT_EQ(dst.at(x, 0), x >= 20 && x < 20 + count ? ReferenceBlend(mode, first[(x - 20) * step], d) : d)
                            << set->name << " mode " << mode << " count " << count << " step " << step << " x " << x;
                    }
                }
}

// A row blended onto itself, shifted and read either way: every kernel set
// reads the pixels it has just written; only the forward copy moves the row
// as it was.
TEST(Blend, EveryKernelSetReadsItsOwnWritesWhereARowOverlapsItself)
{
    std::mt19937 rng(7);
    OwnedScreen row(400, 1);
    const int first = 50, count = 300;
    for (const RowKernelSet* set : UsableRowKernelSets())
        for (int mode = 0; mode < 40; mode++)
            for (int step : {1, -1})
                for (int shift : {-9, -1, 1, 3, 9}) {
                    FillRandom(row.get(), rng);
                    const auto before = Pixels(row.get());
                    auto want = before;
                    const int from = first + shift + (step > 0 ? 0 : count - 1);
                    for (int i = 0; i < count; i++) {
                        const size_t s = size_t(from + i * step);
                        uint32_t& d = want[size_t(first + i)];
                        d = ReferenceBlend(mode, mode == 0 && step > 0 ? before[s] : want[s], d);
                    }
                    (step > 0 ? set->forward : set->reverse)[size_t(mode)](row->rows[0] + from, row->rows[0] + first, count);
                    ASSERT_EQ(Pixels(row.get()), want) << set->name << " mode " << mode << " step " << step << " shift " << shift;
                }
}

} // namespace
