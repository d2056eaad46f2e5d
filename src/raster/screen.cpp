#include "raster/screen.h"

#include <algorithm>
#include <cstdlib>

#include "core/fatal.h"

Screen* CurrentTarget = nullptr;

// Row tables are never allocated empty: a zero-row Screen still gets a valid
// table, so that a null result always means the heap is exhausted.
static uint32_t** AllocRowTable(uint16_t height)
{
    return static_cast<uint32_t**>(std::malloc(sizeof(uint32_t*) * (height ? height : 1)));
}

void newscreenwin(Screen* s, int width, int height)
{
    const uint16_t w = uint16_t(width), h = uint16_t(height);
    s->rows = AllocRowTable(h);
    if (!s->rows)
        FatalError("no hay memoria en newscreenwin", "");
    s->width = w;
    s->height = h;
}

void newscreen(Screen* s, int width, int height)
{
    const uint16_t w = uint16_t(width), h = uint16_t(height);
    s->rows = AllocRowTable(h);
    if (!s->rows)
        FatalError("no hay memoria en newscreen", "");
    s->width = w;
    s->height = h;
    for (uint16_t y = 0; y < h; y++) {
        s->rows[y] = static_cast<uint32_t*>(std::calloc(w ? w : 1, sizeof(uint32_t)));
        if (!s->rows[y])
            FatalError("no hay memoria en newscreen", "");
    }
}

void FreeScreen(Screen* s)
{
    if (!s->rows)
        return;
    for (uint16_t y = 0; y < s->height; y++)
        std::free(s->rows[y]);
    std::free(s->rows);
}

void SetTarget(Screen* s)
{
    CurrentTarget = s;
}

void FillRect(int x1, int y1, int x2, int y2, uint32_t colour)
{
    // Clipped to the target, so that no rectangle fills outside it; an empty
    // or inverted one fills nothing.
    if (!CurrentTarget)
        return;
    const int left = std::max(x1, 0), right = std::min(x2, CurrentTarget->width - 1);
    const int top = std::max(y1, 0), bottom = std::min(y2, CurrentTarget->height - 1);
    if (left > right)
        return;
    for (int y = top; y <= bottom; y++)
        std::fill(CurrentTarget->rows[y] + left, CurrentTarget->rows[y] + right + 1, colour);
}

int BitCount(int n)
{
    int count = 0;
    while (n > 0) {
        n /= 2;
        count++;
    }
    return count;
}
