#include <gtest/gtest.h>

#include "raster/blend.h"
#include "raster/row_transfer.h"
#include "raster_test_util.h"

namespace {

// The blend table written out channel by channel, one mode at a time.
uint32_t ReferenceBlend(int mode, uint32_t s, uint32_t d)
{
    if (mode < 0 || mode > 39 || ((mode & 1) && s == 0))
        return d;
    const int sR = int(s >> 16) & 255, sG = int(s >> 8) & 255, sB = int(s) & 255;
    const int dR = int(d >> 16) & 255, dG = int(d >> 8) & 255, dB = int(d) & 255;
    const int g = (sR + sG + sB) / 3;
    int r = 0, gr = 0, b = 0;
    switch (mode & ~1) {
    case 0: r = sR, gr = sG, b = sB; break;
    case 2: r = (dR + sR) / 2, gr = (dG + sG) / 2, b = (dB + sB) / 2; break;
    case 4: r = (2 * dR + sR) / 3, gr = (2 * dG + sG) / 3, b = (2 * dB + sB) / 3; break;
    case 6: r = (dR + 2 * sR) / 3, gr = (dG + 2 * sG) / 3, b = (dB + 2 * sB) / 3; break;
    case 8: r = gr = b = g; break;
    case 10: r = (dR + g) / 2, gr = (dG + g) / 2, b = (dB + g) / 2; break;
    case 12: r = (2 * dR + g) / 3, gr = (2 * dG + g) / 3, b = (2 * dB + g) / 3; break;
    case 14: r = (dR + 2 * g) / 3, gr = (dG + 2 * g) / 3, b = (dB + 2 * g) / 3; break;
    case 16: r = g; break;
    case 18: r = (dR + g) / 2; break;
    case 20: r = (2 * dR + g) / 3; break;
    case 22: r = (dR + 2 * g) / 3; break;
    case 24: gr = g; break;
    case 26: gr = (dG + g) / 2; break;
    case 28: gr = (2 * dG + g) / 3; break;
    case 30: gr = (dG + 2 * g) / 3; break;
    case 32: b = g; break;
    case 34: b = (dB + g) / 2; break;
    case 36: b = (2 * dB + g) / 3; break;
    case 38: b = (dB + 2 * g) / 3; break;
    }
    return uint32_t(r * 65536 + gr * 256 + b);
}

// Blends one source pixel onto one destination pixel through BlendRect (or
// CopyRect for mode 0).
uint32_t BlendOne(int mode, uint32_t s, uint32_t d)
{
    OwnedScreen src(1, 1), dst(1, 1);
    src.at(0, 0) = s;
    dst.at(0, 0) = d;
    if (mode == 0)
        CopyRect(src.get(), dst.get(), 0, 0, 0, 0, 0, 0);
    else
        BlendRect(src.get(), dst.get(), 0, 0, 0, 0, 0, 0, mode);
    return dst.at(0, 0);
}

} // namespace

TEST(Blend, WorkedExamples)
{
    const uint32_t s = 0x00123456, d = 0x00ABCDEF;
    EXPECT_EQ(BlendOne(2, s, d), 0x005E80A2u);
    EXPECT_EQ(BlendOne(4, s, d), 0x00789ABCu);
    EXPECT_EQ(BlendOne(6, s, d), 0x00456789u);
    for (uint32_t anyD : {0u, d, 0x00FFFFFFu}) {
        EXPECT_EQ(BlendOne(8, s, anyD), 0x00343434u);
        EXPECT_EQ(BlendOne(16, s, anyD), 0x00340000u);
        EXPECT_EQ(BlendOne(24, s, anyD), 0x00003400u);
        EXPECT_EQ(BlendOne(32, s, anyD), 0x00000034u);
    }
    EXPECT_EQ(BlendOne(18, s, d), 0x006F0000u);
    EXPECT_EQ(BlendOne(20, s, d), 0x00830000u);
    EXPECT_EQ(BlendOne(22, s, d), 0x005B0000u);
    EXPECT_EQ(BlendOne(26, s, d), 0x00008000u);
    EXPECT_EQ(BlendOne(28, s, d), 0x00009A00u);
    EXPECT_EQ(BlendOne(34, s, d), 0x00000091u);
    EXPECT_EQ(BlendOne(3, 0, d), d);
    EXPECT_EQ(BlendOne(2, 0, 0x00FFFFFF), 0x007F7F7Fu);
    EXPECT_EQ(BlendOne(16, 0, d), 0u);
    EXPECT_EQ(BlendOne(1, s, d), s);
    EXPECT_EQ(BlendOne(1, 0, d), d);
}

TEST(Blend, ModesThatDrawNothing)
{
    for (int mode : {40, 41, 1000, -1, -40})
        EXPECT_EQ(BlendOne(mode, 0x00123456, 0x00ABCDEF), 0x00ABCDEFu) << mode;
    OwnedScreen src(2, 2), dst(2, 2);
    src.at(0, 0) = 5;
    dst.at(0, 0) = 9;
    BlendRect(src.get(), dst.get(), 0, 0, 1, 1, 0, 0, 0);
    EXPECT_EQ(dst.at(0, 0), 9u);
}

// Every mode over whole rows of random pixel pairs, with rows of every length
// up to 67 so that vectorised loops and their remainders are both covered.
TEST(Blend, EveryModeMatchesTheTableOnRandomPixels)
{
    std::mt19937 rng(1234);
    OwnedScreen src(67, 8), dst(67, 8);
    for (int mode = 0; mode < 40; mode++) {
        for (int width = 1; width <= 67; width += 6) {
            FillRandom(src.get(), rng);
            FillRandom(dst.get(), rng);
            const auto before = Pixels(dst.get());
            // Source rectangle (1, 2)-(width-1, 7) lands at (0, 1).
            const int x2 = std::max(1, width - 1);
            if (mode == 0)
                CopyRect(src.get(), dst.get(), 1, 2, x2, 7, 0, 1);
            else
                BlendRect(src.get(), dst.get(), 1, 2, x2, 7, 0, 1, mode);
            for (int y = 0; y < 8; y++)
                for (int x = 0; x < 67; x++) {
                    const bool inside = y >= 1 && y <= 6 && x <= x2 - 1;
                    const uint32_t d = before[size_t(y * 67 + x)];
                    const uint32_t want = inside ? ReferenceBlend(mode, src.at(x + 1, y + 1), d) : d;
                    ASSERT_EQ(dst.at(x, y), want) << "mode " << mode << " at " << x << "," << y;
                }
        }
    }
}

TEST(Blend, ExtremeChannelValues)
{
    const uint32_t values[] = {0, 0x00010101, 0x00FEFEFE, 0x00FFFFFF, 0x00FF0000, 0x0000FF00,
                               0x000000FF, 0x00808080, 0x00020202};
    for (int mode = 0; mode < 40; mode++)
        for (uint32_t s : values)
            for (uint32_t d : values)
                ASSERT_EQ(BlendOne(mode, s, d), ReferenceBlend(mode, s, d)) << mode;
}

TEST(Blend, SingleAndOverlappingRectangles)
{
    OwnedScreen a(5, 3);
    for (int x = 0; x < 5; x++)
        a.at(x, 1) = uint32_t(x + 1);
    // A one-row copy onto itself shifted right by one column does not smear.
    CopyRect(a.get(), a.get(), 0, 1, 3, 1, 1, 1);
    EXPECT_EQ(Pixels(a.get()), (std::vector<uint32_t>{0, 0, 0, 0, 0, 1, 1, 2, 3, 4, 0, 0, 0, 0, 0}));
    // x1 = x2, y1 = y2 transfers exactly one pixel.
    BlendRect(a.get(), a.get(), 4, 1, 4, 1, 2, 2, 1);
    EXPECT_EQ(Pixels(a.get()), (std::vector<uint32_t>{0, 0, 0, 0, 0, 1, 1, 2, 3, 4, 0, 0, 4, 0, 0}));
}

// A blend onto its own Screen reads pixels it has just written, in row and
// column order, exactly as a pixel-by-pixel loop does.
TEST(Blend, InPlaceBlendFollowsPixelOrder)
{
    std::mt19937 rng(99);
    for (int mode : {1, 2, 5, 7, 15, 22, 39}) {
        OwnedScreen a(300, 4);
        FillRandom(a.get(), rng);
        auto expected = Pixels(a.get());
        for (int y = 0; y < 4; y++)
            for (int x = 0; x < 290; x++) {
                uint32_t& d = expected[size_t(y * 300 + x + 3)];
                d = ReferenceBlend(mode, expected[size_t(y * 300 + x)], d);
            }
        BlendRect(a.get(), a.get(), 0, 0, 289, 3, 3, 0, mode);
        EXPECT_EQ(Pixels(a.get()), expected) << mode;
    }
}

// Every kernel set this processor can run, every mode, both reading
// directions, rows long enough to cross the chunks of the vector paths.
TEST(Blend, EveryKernelSetMatchesTheTable)
{
    std::mt19937 rng(42);
    OwnedScreen src(700, 1), dst(700, 1);
    for (const RowKernelSet* set : UsableRowKernelSets()) {
        for (int mode = 0; mode < 40; mode++) {
            for (int count : {1, 7, 255, 256, 257, 600}) {
                for (int step : {1, -1}) {
                    FillRandom(src.get(), rng);
                    FillRandom(dst.get(), rng);
                    const auto before = Pixels(dst.get());
                    const uint32_t* first = src->rows[0] + (step > 0 ? 50 : 50 + count - 1);
                    (step > 0 ? set->forward : set->reverse)[size_t(mode)](first, dst->rows[0] + 20, count);
                    for (int x = 0; x < 700; x++) {
                        const bool inside = x >= 20 && x < 20 + count;
                        const uint32_t d = before[size_t(x)];
                        const uint32_t s = inside ? first[(x - 20) * step] : 0;
                        ASSERT_EQ(dst.at(x, 0), inside ? ReferenceBlend(mode, s, d) : d)
                            << set->name << " mode " << mode << " count " << count << " step " << step << " x " << x;
                    }
                }
            }
        }
    }
}
