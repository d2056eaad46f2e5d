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
