#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "demo/timeline.h"
#include "display/display.h"

// The storyboard: one thumbnail per window of the scene timeline, a quarter
// of the frame's size each way, in a grid of cells read row by row, each
// with its window's number and clock (in seconds) beneath it.

constexpr int StoryboardScale = 4; // frame pixels per thumbnail pixel, each way
constexpr int ThumbWidth = DisplayWidth / StoryboardScale, ThumbHeight = DisplayHeight / StoryboardScale;
constexpr int StoryboardMargin = 8;      // around and between the cells
constexpr int StoryboardLabelHeight = 22; // below each thumbnail

// The clock at the middle of window n (1-37): halfway between its first and
// its last clock value, rounded down. Window 1 begins at clock 0.
int32_t WindowMiddleClock(int window);

// "28.54 s": a clock value in seconds.
std::string ClockInSeconds(int32_t clock);

struct Storyboard {
    int columns = 0, rows = 0;
    int width = 0, height = 0;
    std::vector<uint32_t> pixels; // 0x00RRGGBB, rows `width` apart
};

// An empty storyboard of `columns` columns (1 to SceneWindowCount) and as
// many rows as the windows need.
Storyboard MakeStoryboard(int columns);

// Top-left corner of the thumbnail of window n (1-37).
void ThumbOrigin(const Storyboard& board, int window, int* left, int* top);

// Puts the 800x600 frame (rows DisplayWidth apart) of window n into its cell: every thumbnail pixel
// the rounded mean of a 4x4 block of frame pixels, channel by channel; then
// the window's number and the clock beneath.
void PlaceThumb(Storyboard& board, int window, const uint32_t* frame, int32_t clock);
