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
    // {table, index, value}; 1500 and 3300 are decided by the ten-decimal pi
    // and the operation order (the full-precision constant gives +-4999).
    const struct { const int* table; int i, value; } entries[] = {
        {SinTable, 0, 0}, {SinTable, 1, 17}, {SinTable, 300, 4999}, {SinTable, 450, 7071}, {SinTable, 900, 10000},
        {SinTable, 1800, 0}, {SinTable, 2700, -10000}, {SinTable, 3600, 0}, {SinTable, 1500, 5000},
        {SinTable, 3300, -5000}, {CosTable, 0, 10000}, {CosTable, 450, 7071}, {CosTable, 1200, -4999},
        {CosTable, 1800, -10000}, {CosTable, 3000, 4999}, {CosTable, 3600, 10000}, {AsinTable, 0, 0},
        {AsinTable, 1, 0}, {AsinTable, 100, 57}, {AsinTable, 5000, 3000}, {AsinTable, 7071, 4499},
        {AsinTable, 9999, 8918}, {AsinTable, 10000, 9000},
    };
    for (const auto& e : entries)
        EXPECT_EQ(e.table[e.i], e.value) << (e.table == SinTable ? "sin " : e.table == CosTable ? "cos " : "asin ") << e.i;
}

// Beyond x*x + y*y = 2^31 (marked -1) the result is meaningless, but the
// lookup must not leave the arcsine table.
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

// Every point within the table's reach reads ToPolar's radius and angle from
// the entry of (|x|, |y|).
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
    const struct { bool x; int angle, length, value; } cases[] = {
        {true, 450, 100, 70},   {true, 300, 100, 49},     {true, 3900, 100, 49}, {true, 3000, 3, -2},
        {false, 1800, 7, -7},   {false, 0, -7, -7},       {true, -900, 100, -100}, {false, -1800, 100, -100},
        {true, -3600, 100, 0},  {false, -1, 10000, 9999}, {true, 900, 300000, -129496},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.x ? PolarX(c.angle, c.length) : PolarY(c.angle, c.length), c.value)
            << (c.x ? "PolarX(" : "PolarY(") << c.angle << ", " << c.length << ")";
}

// The minor axis divides by the major axis length plus one; a zero distance
// on the major axis steps in the negative direction.
TEST_F(MathTablesTest, StepToward)
{
    const int cases[][7] = {{0, 0, 10, 5, 3, 3, 1}, {5, 5, 0, 10, 4, -3, 4}, {0, 0, 0, 0, 3, 0, -3},
                            {10, 0, 0, 2, 5, -5, 0}}; // 2 * 5 / 11
    for (const auto& [x1, y1, x2, y2, speed, wantX, wantY] : cases) {
        int sx = 0, sy = 0;
        StepToward(x1, y1, x2, y2, speed, &sx, &sy);
        EXPECT_EQ((std::pair{sx, sy}), (std::pair{wantX, wantY})) << x2 << "," << y2;
    }
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

} // namespace
