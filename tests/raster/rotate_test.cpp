#include "raster/rotate.h"

#include <cstdlib>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "raster/blend.h"
#include "raster/blit.h"
#include "raster/mathtables.h"
#include "raster/row_transfer.h"
#include "raster_test_util.h"

namespace {

constexpr uint32_t Marker = 0x00ABCDEF;

// BlitRotated as written: the w x h picture from the source's top-left corner
// mapped pixel by pixel into a temporary Screen, which is then blitted.
void ReferenceBlitRotated(const Screen* src, Screen* dst, int sx1, int sy1, int sx2, int sy2, int dx,
                          int dy, int mode, int mirror, int type, int angle)
{
    if (type <= 0)
        return ReferenceBlit(src, dst, sx1, sy1, sx2, sy2, dx, dy, mode, mirror);
    if (type >= 4 || sx2 < sx1 || sy2 < sy1)
        return;
    const int w = sx2 - sx1 + 1, h = sy2 - sy1 + 1;
    const int u = type == 2 ? std::abs(PolarY(angle, w)) : type == 3 ? std::abs(PolarX(angle, h)) : 0;
    const int W = type == 1 ? PolarX(angle, h) + PolarY(angle, w) + 1 : w + (type == 3 ? u : 0);
    const int H = type == 1 ? PolarX(angle, w) + PolarY(angle, h) + 1 : h + (type == 2 ? u : 0);
    const int offX = (W - w) / 2, offY = (H - h) / 2;
    if (W <= 0 || H <= 0)
        return;
    Screen t;
    newscreen(&t, W, H);
    const int cx = (w - 1) / 2, cy = (h - 1) / 2, turn = angle % 900;
    for (int pos = 0; pos < w && pos < src->width; pos++) {
        for (int off = 0; off < h && off < src->height; off++) {
            int tx = pos, ty = off;
            if (type == 1) {
                int theta, r;
                ToPolar(pos - cx, off - cy, &theta, &r);
                tx = PolarX(theta + turn, r) + W / 2;
                ty = PolarY(theta + turn, r) + H / 2;
            } else if (type == 2) {
                ty += PolarY(angle, pos) + (angle < 900 || angle > 2699 ? 0 : u + 1);
            } else {
                tx += PolarX(angle, off) + (angle < 1800 ? 0 : u + 1);
            }
            if (tx >= 0 && tx < W && ty >= 0 && ty < H)
                t.rows[ty][tx] = src->rows[off][pos];
        }
    }
    ReferenceBlit(&t, dst, 0, 0, W - 1, H - 1, dx - offX, dy - offY, mode, mirror);
    FreeScreen(&t);
}

class MathTablesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { CalcMathTables(); }
};
using BlitRotatedTest = MathTablesTest;

// Sine 1500 and 3300 follow the ten-decimal pi and operation order (not +-4999).
TEST_F(MathTablesTest, TableEntriesAreExact)
{
    const struct { const int* table; std::vector<std::pair<int, int>> entries; } tables[] = {
        {SinTable, {{1, 17}, {300, 4999}, {450, 7071}, {1500, 5000}, {2700, -10000}, {3300, -5000}}},
        {CosTable, {{0, 10000}, {1200, -4999}, {1800, -10000}, {3000, 4999}}},
        {AsinTable, {{1, 0}, {100, 57}, {5000, 3000}, {7071, 4499}, {9999, 8918}, {10000, 9000}}},
    };
    for (const auto& [table, entries] : tables)
        for (auto [i, value] : entries)
            EXPECT_EQ(table[i], value) << i;
}

// Beyond x*x + y*y = 2^31 (marked -1) the lookup still stays in the arcsine table.
TEST_F(MathTablesTest, ToPolarFollowsTheQuadrantRules)
{
    const int cases[][4] = {
        {3, 4, 368, 5},  {5, 0, 900, 5},     {0, -5, 1800, 5},    {-5, 0, 2700, 5},  {0, 5, 3600, 5},
        {1, 1, 449, 1},  {-1, 1, 3150, 1},   {-1, -1, 2249, 1},   {0, 0, 1800, 0},   {60000, 60000, -1, -1},
        {65536, 0, -1, -1}, {-46341, 46341, -1, -1}, {2147483647, -2147483647 - 1, -1, -1},
    };
    for (const auto& [x, y, wantAngle, wantRadius] : cases) {
        int angle = -1, radius = -1;
        ToPolar(x, y, &angle, &radius);
        EXPECT_TRUE(wantAngle < 0 ? angle >= 0 && angle <= 3600 && radius >= 0
                                  : angle == wantAngle && radius == wantRadius)
            << x << "," << y << " gives " << angle << ", " << radius;
    }
}

// Projections truncate toward zero, take negative angles and wrap in 32 bits.
TEST_F(MathTablesTest, PolarProjections)
{
    const struct { bool x; int angle, length, value; } cases[] = {
        {true, 450, 100, 70},   {true, 300, 100, 49},     {true, 3900, 100, 49}, {true, 3000, 3, -2},
        {false, 1800, 7, -7},   {false, 0, -7, -7},       {true, -900, 100, -100}, {false, -1800, 100, -100},
        {true, -3600, 100, 0},  {false, -1, 10000, 9999}, {true, 900, 300000, -129496},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.x ? PolarX(c.angle, c.length) : PolarY(c.angle, c.length), c.value)
            << (c.x ? "PolarX(" : "PolarY(") << c.angle << ", " << c.length << ")";
}

// CTest runs every case in a process of its own: the state starts at 1 here.
TEST_F(MathTablesTest, RandomStartsAtOneAndRepeatsAfterReseeding)
{
    for (int round = 0; round < 2; round++, SeedRandom(1))
        for (int value : {41, 18467, 6334, 26500, 19169, 15724})
            EXPECT_EQ(Random(), value);
    SeedRandom(-1); // the state wraps modulo 2^32; bits 16-30 are returned
    EXPECT_EQ(Random(), 35);
}

// Pictures no Screen could hold draw nothing.
TEST_F(BlitRotatedTest, OversizedPicturesDrawNothing)
{
    OwnedScreen picture(3, 2), dst(10, 10);
    Fill(dst.get(), Marker);
    BlitRotated(picture.get(), dst.get(), 0, 0, 70000, 1, 0, 0, 0, 0, 2, 900);
    BlitRotated(picture.get(), dst.get(), 0, 0, 40000, 40000, 0, 0, 0, 0, 2, 0);
    EXPECT_EQ(Pixels(dst.get()), std::vector<uint32_t>(100, Marker));
}

// Random calls of every type, mode and mirror, some inverted or onto their own
// source, then pictures wider than the blocks of the shears, match the reference.
TEST_F(BlitRotatedTest, MatchesTheLiteralMappingOnRandomCalls)
{
    std::mt19937 rng(2024);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int round = 0; round < 3300; round++) {
        const bool wide = round >= 3000;
        const int type = wide ? 2 + round % 2 : round % 7 < 6 ? 1 + round % 3 : pick(-1, 5);
        const bool onto = round % 5 == 4 && type > 0; // a plain Blit onto itself is Blit's own case
        const int srcW = wide ? pick(60, 300) : pick(1, 40), srcH = wide ? pick(1, 120) : pick(1, 40);
        OwnedScreen src(srcW, srcH);
        FillRandom(src.get(), rng);
        const int w = wide ? srcW : pick(round % 17 ? 1 : -1, srcW + (round % 7 == 0 ? 10 : 0));
        const int h = wide ? srcH : pick(round % 19 ? 1 : -1, srcH + (round % 11 == 0 ? 10 : 0));
        const int sx = wide ? 0 : pick(0, 3), sy = wide ? 0 : pick(0, 3);
        const int angle = round % 13 == 0 && !wide ? pick(-4000, 8000) : pick(0, type == 1 ? 899 : 3599);
        const int dstW = wide ? pick(50, 260) : pick(1, 60), dstH = wide ? pick(50, 200) : pick(1, 60);
        const int dx = pick(wide ? -150 : -60, dstW + 10), dy = pick(wide ? -100 : -60, dstH + 10);
        const int mode = round % 4 == 0 ? 0 : pick(-1, 41), mirror = pick(-1, 7);
        OwnedScreen a(dstW, dstH), b(dstW, dstH);
        FillRandom(a.get(), rng);
        CopyRect(a.get(), b.get(), 0, 0, dstW - 1, dstH - 1, 0, 0);
        const int sx2 = sx + w - 1, sy2 = sy + h - 1;
        BlitRotated(onto ? a.get() : src.get(), a.get(), sx, sy, sx2, sy2, dx, dy, mode, mirror, type, angle);
        ReferenceBlitRotated(onto ? b.get() : src.get(), b.get(), sx, sy, sx2, sy2, dx, dy, mode, mirror, type,
                             angle);
        ASSERT_EQ(Pixels(a.get()), Pixels(b.get())) << "round " << round;
    }
}

// Every point within the polar table's reach: its entry is ToPolar's, and
// every kernel set places it by ToPolar and the tables, many points outside.
TEST_F(BlitRotatedTest, PolarTableAndEveryKernelSetPlaceEveryPoint)
{
    constexpr int reach = PolarTableReach, W = 1501, H = 1100;
    for (int turn : {-899, 0, 451}) {
        uint32_t sinCos[3601];
        for (int theta = 0; theta <= 3600; theta++) {
            const int a = ((theta + turn) % 3600 + 3600) % 3600;
            sinCos[theta] = uint32_t(uint16_t(SinTable[a])) | uint32_t(CosTable[a]) << 16;
        }
        std::vector<uint32_t> want(2 * reach + 1), got(2 * reach + 1);
        for (int x = -reach; x <= reach; x++) {
            const uint32_t* column = PolarTableColumn(std::abs(x), PolarTableReach);
            for (int y = -reach; y <= reach; y++) {
                int theta, r;
                ToPolar(x, y, &theta, &r);
                const uint32_t entry = column[std::abs(y)];
                ASSERT_EQ(PolarEntryRadius(entry), r) << x << "," << y;
                ASSERT_EQ(PolarEntryAngle(entry, PolarQuadrantOf(x > 0, y > 0)), theta) << x << "," << y;
                const int a = ((theta + turn) % 3600 + 3600) % 3600;
                const int tx = r * SinTable[a] / 10000 + W / 2, ty = r * CosTable[a] / 10000 + H / 2;
                const bool inside = tx >= 0 && tx < W && ty >= 0 && ty < H;
                want[size_t(y + reach)] = inside ? uint32_t(ty * W + tx) : W * H;
            }
            for (const RowKernelSet* set : UsableRowKernelSets()) {
                set->rotatedOffsets(column + reach, -1, reach + 1, PolarQuadrantOf(x > 0, false), sinCos, W, H,
                                    got.data());
                set->rotatedOffsets(column + 1, 1, reach, PolarQuadrantOf(x > 0, true), sinCos, W, H,
                                    got.data() + reach + 1);
                ASSERT_EQ(got, want) << set->name << " x " << x << " turn " << turn;
            }
        }
    }
}

// Pictures reaching just as far as the polar table, and one point further.
TEST_F(BlitRotatedTest, RotationAtAndBeyondThePolarTableReach)
{
    std::mt19937 rng(7);
    const int side = 2 * PolarTableReach + 1, centre = 1050;
    OwnedScreen a(2 * centre, 2 * centre), b(2 * centre, 2 * centre);
    const int cases[][3] = {{side, 3, 7},  {side, 4, 450}, {side + 1, 3, 7}, {side + 1, 4, 899}, {4, side, 7},
                            {3, side, 450}, {3, side + 1, 7}, {4, side + 1, 899}, {side, side, 899}};
    for (auto [w, h, angle] : cases) {
        OwnedScreen src(w, h);
        FillRandom(src.get(), rng);
        Fill(a.get(), Marker);
        Fill(b.get(), Marker);
        const int mode = angle & 1, dx = centre - w / 2, dy = centre - h / 2;
        BlitRotated(src.get(), a.get(), 0, 0, w - 1, h - 1, dx, dy, mode, 0, 1, angle);
        ReferenceBlitRotated(src.get(), b.get(), 0, 0, w - 1, h - 1, dx, dy, mode, 0, 1, angle);
        ASSERT_EQ(Pixels(a.get()), Pixels(b.get())) << w << "x" << h << " angle " << angle;
    }
}

} // namespace
