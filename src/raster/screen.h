#pragma once

#include <cstdint>

// A software framebuffer of 0x00RRGGBB pixels reached through a table of row
// pointers. Rows need not be contiguous and the distance between them is not
// stored, so one record describes either rows of its own (newscreen) or a view
// onto foreign memory such as a locked display surface (newscreenwin).
struct Screen {
    uint16_t width;
    uint16_t height;
    uint32_t** rows;
};

// Target of PutPixel, GetPixel, FillRect and of the drawing calls built on
// the blits. Null until start-up sets it.
extern Screen* CurrentTarget;

// Allocates the row table only; the caller points every entry at a row of at
// least `width` pixels. Width and height wrap to 16 bits.
void newscreenwin(Screen* s, int width, int height);

// Allocates the row table and `height` zeroed rows of `width` pixels.
void newscreen(Screen* s, int width, int height);

// Releases every non-null row, then the row table. Only for newscreen Screens.
void FreeScreen(Screen* s);

void SetTarget(Screen* s);

// Direct access to the CurrentTarget with no clipping: coordinates must lie
// inside it. GetPixel reduces its coordinates to 16 bits first.
inline void PutPixel(int x, int y, uint32_t colour) { CurrentTarget->rows[y][x] = colour; }
inline uint32_t GetPixel(int x, int y) { return CurrentTarget->rows[uint16_t(y)][uint16_t(x)]; }

// Fills the inclusive rectangle (x1, y1)-(x2, y2) of the CurrentTarget,
// clipped to it; x1 > x2 or y1 > y2 fills nothing, and so does a null target.
void FillRect(int x1, int y1, int x2, int y2, uint32_t colour);

// Number of binary digits of n; 0 for n <= 0.
int BitCount(int n);
