#include "raster/mathtables.h"

#include <cstdlib>

#include <gtest/gtest.h>

namespace {

class MathTablesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { CalcMathTables(); }
};

TEST_F(MathTablesTest, TableEntriesAreExact)
{
    const std::pair<int, int> sines[] = {{0, 0}, {1, 17}, {300, 4999}, {450, 7071}, {900, 10000},
                                         {1800, 0}, {2700, -10000}, {3600, 0},
                                         // decided by the ten-decimal pi and the operation order:
                                         // the full-precision constant gives 4999 and -4999
                                         {1500, 5000}, {3300, -5000}};
    const std::pair<int, int> cosines[] = {{0, 10000}, {450, 7071}, {1200, -4999}, {1800, -10000},
                                           {3000, 4999}, {3600, 10000}};
    const std::pair<int, int> arcsines[] = {{0, 0}, {1, 0}, {100, 57}, {5000, 3000}, {7071, 4499},
                                            {9999, 8918}, {10000, 9000}};
    for (auto [i, value] : sines)
        EXPECT_EQ(SinTable[i], value) << i;
    for (auto [i, value] : cosines)
        EXPECT_EQ(CosTable[i], value) << i;
    for (auto [i, value] : arcsines)
        EXPECT_EQ(AsinTable[i], value) << i;
}

// Beyond x*x + y*y = 2^31 (outside the callers' contract, marked -1 here)
// the result is meaningless, but the lookup must not leave the arcsine table.
TEST_F(MathTablesTest, ToPolarFollowsTheQuadrantRules)
{
    struct Case { int x, y, angle, radius; };
    const Case cases[] = {
        {3, 4, 368, 5},  {5, 0, 900, 5},     {0, -5, 1800, 5},    {-5, 0, 2700, 5},  {0, 5, 3600, 5},
        {1, 1, 449, 1},  {-1, 1, 3150, 1},   {-1, -1, 2249, 1},   {0, 0, 1800, 0},   {60000, 60000, -1, -1},
        {65536, 0, -1, -1}, {-46341, 46341, -1, -1}, {2147483647, -2147483647 - 1, -1, -1},
    };
    for (const Case& c : cases) {
        int angle = -1, radius = -1;
        ToPolar(c.x, c.y, &angle, &radius);
        EXPECT_TRUE(c.angle < 0 ? angle >= 0 && angle <= 3600 && radius >= 0
                                : angle == c.angle && radius == c.radius)
            << c.x << "," << c.y << " gives " << angle << ", " << radius;
    }
}

// Every point within the table's reach, in all four quadrants and on the
// axes, reads ToPolar's radius and angle from the entry of (|x|, |y|).
TEST_F(MathTablesTest, PolarTableMatchesToPolarOverItsWholeReach)
{
    for (int x = -PolarTableReach; x <= PolarTableReach; x++) {
        const uint32_t* column = PolarTableColumn(std::abs(x), PolarTableReach);
        for (int y = -PolarTableReach; y <= PolarTableReach; y++) {
            int angle, radius;
            ToPolar(x, y, &angle, &radius);
            const uint32_t entry = column[std::abs(y)];
            ASSERT_EQ(PolarEntryRadius(entry), radius) << x << "," << y;
            ASSERT_EQ(PolarEntryAngle(entry, PolarQuadrantOf(x > 0, y > 0)), angle) << x << "," << y;
        }
    }
}

// Projections truncate toward zero, read negative angles inside the tables
// and wrap their 32-bit product like the machine's.
TEST_F(MathTablesTest, PolarProjections)
{
    struct Case { bool x; int angle, length, value; };
    const Case cases[] = {
        {true, 450, 100, 70},   {true, 300, 100, 49},     {true, 3900, 100, 49}, {true, 3000, 3, -2},
        {false, 1800, 7, -7},   {false, 0, -7, -7},       {true, -900, 100, -100}, {false, -1800, 100, -100},
        {true, -3600, 100, 0},  {false, -1, 10000, 9999}, {true, 900, 300000, -129496},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.x ? PolarX(c.angle, c.length) : PolarY(c.angle, c.length), c.value)
            << (c.x ? "PolarX(" : "PolarY(") << c.angle << ", " << c.length << ")";
}

// The minor axis divides by the major axis length plus one; a zero distance
// on the major axis steps in the negative direction.
TEST_F(MathTablesTest, StepToward)
{
    struct Case { int x1, y1, x2, y2, speed, sx, sy; };
    const Case cases[] = {{0, 0, 10, 5, 3, 3, 1}, {5, 5, 0, 10, 4, -3, 4}, {0, 0, 0, 0, 3, 0, -3},
                          {10, 0, 0, 2, 5, -5, 0}}; // 2 * 5 / 11
    for (const Case& c : cases) {
        int sx = 0, sy = 0;
        StepToward(c.x1, c.y1, c.x2, c.y2, c.speed, &sx, &sy);
        EXPECT_EQ((std::pair{sx, sy}), (std::pair{c.sx, c.sy})) << c.x2 << "," << c.y2;
    }
}

// CTest runs every case in a process of its own: the state starts at 1 here.
TEST_F(MathTablesTest, RandomStartsAtOneAndRepeatsAfterReseeding)
{
    for (int round = 0; round < 2; round++) {
        for (int value : {41, 18467, 6334, 26500, 19169, 15724})
            EXPECT_EQ(Random(), value);
        SeedRandom(1);
    }
    SeedRandom(-1); // the state wraps modulo 2^32; bits 16-30 are returned
    EXPECT_EQ(Random(), 35);
}

} // namespace
