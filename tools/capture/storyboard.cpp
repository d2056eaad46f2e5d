#include "capture/storyboard.h"

#include <cstdio>

#include "capture/label_font.h"

namespace {

constexpr uint32_t Background = 0x181818, NumberColour = 0xF0F0F0, ClockColour = 0xA8A8A8;
constexpr int LabelScale = 2;

int CellWidth() { return ThumbWidth + StoryboardMargin; }
int CellHeight() { return ThumbHeight + StoryboardLabelHeight + StoryboardMargin; }

// The rounded mean of one channel over a StoryboardScale-square block.
uint32_t BlockMean(const uint32_t* frame, int x, int y, int shift)
{
    uint32_t sum = 0;
    for (int dy = 0; dy < StoryboardScale; dy++)
        for (int dx = 0; dx < StoryboardScale; dx++)
            sum += (frame[(y + dy) * DisplayWidth + x + dx] >> shift) & 0xFF;
    constexpr uint32_t count = StoryboardScale * StoryboardScale;
    return (sum + count / 2) / count;
}

} // namespace

int32_t WindowMiddleClock(int window)
{
    const SceneWindow& w = SceneWindows[window - 1];
    const int64_t first = window == 1 ? 0 : w.after + 1, last = w.before - 1;
    return int32_t((first + last) / 2);
}

std::string ClockInSeconds(int32_t clock)
{
    char text[32];
    std::snprintf(text, sizeof text, "%d.%02d s", int(clock / 100), int(clock % 100));
    return text;
}

Storyboard MakeStoryboard(int columns)
{
    Storyboard board;
    board.columns = columns;
    board.rows = (SceneWindowCount + columns - 1) / columns;
    board.width = StoryboardMargin + columns * CellWidth();
    board.height = StoryboardMargin + board.rows * CellHeight();
    board.pixels.assign(size_t(board.width) * size_t(board.height), Background);
    return board;
}

void ThumbOrigin(const Storyboard& board, int window, int* left, int* top)
{
    *left = StoryboardMargin + (window - 1) % board.columns * CellWidth();
    *top = StoryboardMargin + (window - 1) / board.columns * CellHeight();
}

void PlaceThumb(Storyboard& board, int window, const uint32_t* frame, int32_t clock)
{
    int left = 0, top = 0;
    ThumbOrigin(board, window, &left, &top);
    for (int y = 0; y < ThumbHeight; y++) {
        uint32_t* row = &board.pixels[size_t(top + y) * size_t(board.width) + size_t(left)];
        for (int x = 0; x < ThumbWidth; x++) {
            const int fx = x * StoryboardScale, fy = y * StoryboardScale;
            row[x] = BlockMean(frame, fx, fy, 16) << 16 | BlockMean(frame, fx, fy, 8) << 8 | BlockMean(frame, fx, fy, 0);
        }
    }
    // The number at the left, the clock at the right, on one baseline.
    const int labelTop = top + ThumbHeight + (StoryboardLabelHeight - LabelGlyphHeight * LabelScale) / 2;
    const std::string seconds = ClockInSeconds(clock);
    DrawLabel(board.pixels.data(), board.width, left, labelTop, std::to_string(window), LabelScale, NumberColour);
    DrawLabel(board.pixels.data(), board.width, left + ThumbWidth - LabelWidth(seconds) * LabelScale, labelTop,
              seconds, LabelScale, ClockColour);
}
