#include "raster/mathtables.h"

#include <algorithm>
#include <cmath>
#include <vector>

int32_t SinTable[3601];
int32_t CosTable[3601];
int32_t AsinTable[10001];

uint32_t RandomState = FirstRandomState;

namespace {

// The shortened constant is part of the tables' exact values.
constexpr double Pi = 3.1415926535;

// 32-bit products and sums with two's-complement wrap-around, so extreme
// arguments give the machine result instead of undefined behaviour.
int32_t WrapMul(int32_t a, int32_t b) { return int32_t(uint32_t(a) * uint32_t(b)); }
int32_t WrapSub(int32_t a, int32_t b) { return int32_t(uint32_t(a) - uint32_t(b)); }
int32_t WrapNeg(int32_t a) { return int32_t(0u - uint32_t(a)); }
int32_t WrapAbs(int32_t a) { return a < 0 ? WrapNeg(a) : a; }

// Table index of an angle: the remainder by 3600, taken non-negative so a
// negative angle still reads inside the tables.
int AngleIndex(int angle)
{
    int i = angle % 3600;
    return i < 0 ? i + 3600 : i;
}

// PolarTableColumn's entries, column after column, and how many entries of
// each column are worked out.
constexpr size_t PolarSide = PolarTableReach + 1;
std::vector<uint32_t> PolarEntries;
std::vector<uint16_t> PolarColumnLength;

} // namespace

void CalcMathTables()
{
    // Operation order and truncation are fixed: they decide the last digit.
    for (int i = 0; i <= 3600; ++i) {
        SinTable[i] = int32_t(std::sin(i * Pi / 1800.0) * 10000.0);
        CosTable[i] = int32_t(std::cos(i * Pi / 1800.0) * 10000.0);
    }
    for (int i = 0; i <= 10000; ++i)
        AsinTable[i] = int32_t(std::asin(i / 10000.0) * 1800.0 / Pi * 10.0);
    // Entries worked out from earlier tables are worked out again.
    PolarColumnLength.assign(PolarSide, 0);
}

void ToPolar(int x, int y, int* angle, int* radius)
{
    // The squared length is formed in 32 bits; unsigned, it is exact up to
    // 2^32 and never negative, so the square root is always defined.
    uint32_t s = uint32_t(x) * uint32_t(x) + uint32_t(y) * uint32_t(y);
    double r = std::sqrt(double(s));
    *radius = int(r);

    int k = 0;
    if (r != 0.0) {
        // |x| <= r whenever s did not wrap; the clamp only guards that case.
        double q = std::fabs(double(x) / r * 10000.0);
        k = q >= 10000.0 ? 10000 : int(q);
    }
    int a = AsinTable[k];

    if (x > 0)
        *angle = y > 0 ? a / 10 : (18000 - a) / 10;
    else
        *angle = y > 0 ? (36000 - a) / 10 : (a + 18000) / 10;
}

const uint32_t* PolarTableColumn(int ax, int ayMax)
{
    if (PolarEntries.empty()) {
        PolarEntries.resize(PolarSide * PolarSide);
        PolarColumnLength.assign(PolarSide, 0);
    }
    uint32_t* column = PolarEntries.data() + size_t(ax) * PolarSide;
    // Each entry is read back from ToPolar itself, so that it holds just what
    // ToPolar gives on this machine: a / 10 from the quadrant x <= 0, y <= 0,
    // a / 10 rounded up from a quadrant where x > 0 or y > 0. The origin lies
    // only in the first, so its entry holds a / 10 twice.
    for (int ay = PolarColumnLength[size_t(ax)]; ay <= ayMax; ay++) {
        int angle, radius;
        ToPolar(-ax, -ay, &angle, &radius);
        const int down = angle - 1800;
        int up = down;
        if (ax > 0) {
            ToPolar(ax, -ay, &angle, &radius);
            up = 1800 - angle;
        } else if (ay > 0) {
            ToPolar(0, ay, &angle, &radius);
            up = 3600 - angle;
        }
        column[ay] = uint32_t(radius) | uint32_t(down + up) << 16;
    }
    PolarColumnLength[size_t(ax)] = uint16_t(std::max<int>(PolarColumnLength[size_t(ax)], ayMax + 1));
    return column;
}

int PolarX(int angle, int length)
{
    return WrapMul(length, SinTable[AngleIndex(angle)]) / 10000;
}

int PolarY(int angle, int length)
{
    return WrapMul(length, CosTable[AngleIndex(angle)]) / 10000;
}

int Random()
{
    RandomState = RandomState * 214013u + 2531011u;
    return int((RandomState >> 16) & 0x7FFF);
}

void SeedRandom(int seed)
{
    RandomState = uint32_t(seed);
}

void ResetRandom()
{
    RandomState = FirstRandomState;
}

void StepToward(int x1, int y1, int x2, int y2, int speed, int* stepX, int* stepY)
{
    int32_t ddx = WrapSub(x2, x1);
    int32_t ddy = WrapSub(y2, y1);
    int32_t ax = WrapSub(WrapAbs(ddx), -1);
    int32_t ay = WrapSub(WrapAbs(ddy), -1);
    // The minor axis divides by its major axis length plus one; a zero
    // distance on the major axis steps in the negative direction.
    if (ax > ay) {
        *stepX = ddx > 0 ? speed : WrapNeg(speed);
        *stepY = WrapMul(ddy, speed) / ax;
    } else {
        *stepY = ddy > 0 ? speed : WrapNeg(speed);
        *stepX = WrapMul(ddx, speed) / ay;
    }
}
