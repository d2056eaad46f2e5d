#include "raster/mathtables.h"

#include <cstdlib>
#include <vector>

#include <gtest/gtest.h>

namespace {

class MathTablesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { CalcMathTables(); }
};

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

// The minor axis divides by the major length plus one; zero steps negative.
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
