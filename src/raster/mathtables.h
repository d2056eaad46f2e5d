#pragma once

#include <cstdint>

// Angles are in tenths of a degree, (x, y) = (r sin a, r cos a) in screen
// coordinates: 0 points down, 900 right, 1800 up, 2700 left. Table values are
// scaled by 10000.
extern int32_t SinTable[3601];
extern int32_t CosTable[3601];
extern int32_t AsinTable[10001]; // arcsine of i/10000 in hundredths of a degree

// The generator's state; FirstRandomState before anything is drawn from it.
inline constexpr uint32_t FirstRandomState = 1;
extern uint32_t RandomState;

// Fills the three tables; called once at start-up before any drawing.
void CalcMathTables();

// Angle (0-3600) and integer radius of the vector (x, y).
void ToPolar(int x, int y, int* angle, int* radius);

// ToPolar read from a table, for |x| and |y| up to PolarTableReach. The
// radius and the arcsine a of |x| / r behind the angle depend on |x| and |y|
// alone; the signs only choose how the angle follows from a:
//   x > 0, y > 0: a / 10                x > 0, y <= 0: (18000 - a) / 10
//   x <= 0, y > 0: (36000 - a) / 10     x <= 0, y <= 0: (18000 + a) / 10
// that is a / 10, or a / 10 rounded up, added to or taken from 0, 1800 or
// 3600. An entry holds the radius in its low 16 bits and above them
// 2 * (a / 10) + (a % 10 != 0), from which both roundings follow.
constexpr int PolarTableReach = 1024;

struct PolarQuadrant {
    int base;
    int sign;
    bool roundUp;
};

constexpr PolarQuadrant PolarQuadrantOf(bool xPositive, bool yPositive)
{
    if (xPositive)
        return yPositive ? PolarQuadrant{0, 1, false} : PolarQuadrant{1800, -1, true};
    return yPositive ? PolarQuadrant{3600, -1, true} : PolarQuadrant{1800, 1, false};
}

// The entries of column |x| = ax, indexed by |y|, of which those up to
// ayMax are worked out on first use; 0 <= ax, ayMax <= PolarTableReach.
// Like the drawing, not for use by two threads at once.
const uint32_t* PolarTableColumn(int ax, int ayMax);

constexpr int PolarEntryRadius(uint32_t entry) { return int(entry & 0xFFFF); }

constexpr int PolarEntryAngle(uint32_t entry, PolarQuadrant q)
{
    return q.base + q.sign * int(((entry >> 16) + (q.roundUp ? 1 : 0)) >> 1);
}

// length * sin(angle) and length * cos(angle), truncated; angle >= 0.
int PolarX(int angle, int length);
int PolarY(int angle, int length);

// Linear congruential generator: next value 0-32767.
int Random();
void SeedRandom(int seed);
// RandomState = FirstRandomState, as at the start of the process.
void ResetRandom();

// Per-axis step of `speed` from (x1, y1) toward (x2, y2).
void StepToward(int x1, int y1, int x2, int y2, int speed, int* stepX, int* stepY);
