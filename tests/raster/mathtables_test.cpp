#include "raster/mathtables.h"

#include <cmath>
#include <cstdlib>
#include <numbers>

#include <gtest/gtest.h>

namespace {

class MathTablesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { CalcMathTables(); }
};

TEST_F(MathTablesTest, SineAndCosineEntriesAreExact)
{
    EXPECT_EQ(SinTable[0], 0);
    EXPECT_EQ(CosTable[0], 10000);
    EXPECT_EQ(SinTable[1], 17);
    EXPECT_EQ(SinTable[300], 4999);
    EXPECT_EQ(SinTable[450], 7071);
    EXPECT_EQ(CosTable[450], 7071);
    EXPECT_EQ(SinTable[900], 10000);
    EXPECT_EQ(CosTable[1200], -4999);
    EXPECT_EQ(SinTable[1800], 0);
    EXPECT_EQ(CosTable[1800], -10000);
    EXPECT_EQ(SinTable[2700], -10000);
    EXPECT_EQ(SinTable[3600], 0);
    EXPECT_EQ(CosTable[3600], 10000);
    // Entries decided by the ten-decimal pi and the operation order: the
    // full-precision constant gives 4999, 5000 and -4999 here.
    EXPECT_EQ(SinTable[1500], 5000);
    EXPECT_EQ(CosTable[3000], 4999);
    EXPECT_EQ(SinTable[3300], -5000);
}

TEST_F(MathTablesTest, ArcsineEntriesAreExact)
{
    EXPECT_EQ(AsinTable[0], 0);
    EXPECT_EQ(AsinTable[1], 0);
    EXPECT_EQ(AsinTable[100], 57);
    EXPECT_EQ(AsinTable[5000], 3000);
    EXPECT_EQ(AsinTable[7071], 4499);
    EXPECT_EQ(AsinTable[9999], 8918);
    EXPECT_EQ(AsinTable[10000], 9000);
}

TEST_F(MathTablesTest, TablesKeepTheirSymmetriesWithinTruncation)
{
    for (int i = 0; i <= 3600; ++i) {
        EXPECT_LE(std::abs(SinTable[i] + SinTable[3600 - i]), 1) << i;
        EXPECT_LE(std::abs(CosTable[i] - CosTable[3600 - i]), 1) << i;
        if (i <= 900) {
            EXPECT_LE(std::abs(SinTable[i] - CosTable[900 - i]), 1) << i;
        }
        EXPECT_LE(std::abs(SinTable[i] - std::lround(std::sin(i * std::numbers::pi / 1800) * 10000)), 1) << i;
    }
    for (int i = 1; i <= 10000; ++i)
        EXPECT_LE(AsinTable[i - 1], AsinTable[i]) << i;
}

TEST_F(MathTablesTest, ToPolarFollowsTheQuadrantRules)
{
    struct Case { int x, y, angle, radius; };
    const Case cases[] = {
        {3, 4, 368, 5},    {5, 0, 900, 5},    {0, -5, 1800, 5}, {-5, 0, 2700, 5}, {0, 5, 3600, 5},
        {1, 1, 449, 1},    {-1, 1, 3150, 1},  {-1, -1, 2249, 1}, {0, 0, 1800, 0},
    };
    for (const Case& c : cases) {
        int angle = -1, radius = -1;
        ToPolar(c.x, c.y, &angle, &radius);
        EXPECT_EQ(angle, c.angle) << c.x << "," << c.y;
        EXPECT_EQ(radius, c.radius) << c.x << "," << c.y;
    }
}

TEST_F(MathTablesTest, ToPolarStaysInsideItsTableBeyondTheRadiusLimit)
{
    // x*x + y*y above 2^31 is outside the callers' contract; the result is
    // meaningless but the lookup must not leave the arcsine table.
    const int extremes[][2] = {{60000, 60000}, {-46341, 46341}, {65536, 0}, {2147483647, -2147483647 - 1}};
    for (const auto& p : extremes) {
        int angle = -1, radius = -1;
        ToPolar(p[0], p[1], &angle, &radius);
        EXPECT_GE(angle, 0);
        EXPECT_LE(angle, 3600);
        EXPECT_GE(radius, 0);
    }
}

TEST_F(MathTablesTest, PolarProjectionsTruncateTowardZero)
{
    EXPECT_EQ(PolarX(450, 100), 70);
    EXPECT_EQ(PolarX(300, 100), 49);
    EXPECT_EQ(PolarX(3900, 100), 49);
    EXPECT_EQ(PolarX(3000, 3), -2);
    EXPECT_EQ(PolarY(1800, 7), -7);
    EXPECT_EQ(PolarY(0, -7), -7);
    // The product is a 32-bit one and wraps like the machine's.
    EXPECT_EQ(PolarX(900, 300000), -129496);
}

TEST_F(MathTablesTest, NegativeAnglesReadInsideTheTables)
{
    EXPECT_EQ(PolarX(-900, 100), PolarX(2700, 100));
    EXPECT_EQ(PolarY(-1800, 100), PolarY(1800, 100));
    EXPECT_EQ(PolarX(-3600, 100), 0);
    EXPECT_EQ(PolarY(-1, 10000), CosTable[3599]);
}

TEST_F(MathTablesTest, StepTowardDividesTheMinorAxisByTheMajorLengthPlusOne)
{
    int sx = 0, sy = 0;
    StepToward(0, 0, 10, 5, 3, &sx, &sy);
    EXPECT_EQ(sx, 3);
    EXPECT_EQ(sy, 1);
    StepToward(5, 5, 0, 10, 4, &sx, &sy);
    EXPECT_EQ(sx, -3);
    EXPECT_EQ(sy, 4);
    StepToward(0, 0, 0, 0, 3, &sx, &sy);
    EXPECT_EQ(sx, 0);
    EXPECT_EQ(sy, -3);
    StepToward(10, 0, 0, 2, 5, &sx, &sy);
    EXPECT_EQ(sx, -5);
    EXPECT_EQ(sy, 0); // 2 * 5 / 11
}

TEST_F(MathTablesTest, RandomRepeatsItsSequenceAfterReseeding)
{
    SeedRandom(1);
    const int expected[] = {41, 18467, 6334, 26500, 19169, 15724};
    for (int value : expected)
        EXPECT_EQ(Random(), value);
    SeedRandom(1);
    EXPECT_EQ(Random(), 41);
    EXPECT_EQ(RandomState, 1u * 214013u + 2531011u);

    // The state wraps modulo 2^32 and only bits 16-30 are returned.
    SeedRandom(-1);
    EXPECT_EQ(Random(), int(((0xFFFFFFFFu * 214013u + 2531011u) >> 16) & 0x7FFF));
    for (int i = 0; i < 1000; ++i) {
        int v = Random();
        ASSERT_GE(v, 0);
        ASSERT_LE(v, 32767);
    }
    SeedRandom(1);
}

TEST_F(MathTablesTest, RandomStateStartsAtOne)
{
    // CTest runs every case in a process of its own; the other cases that
    // draw numbers seed the state back to 1 when they are done.
    EXPECT_EQ(RandomState, 1u);
}

} // namespace
