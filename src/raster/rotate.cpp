#include "raster/rotate.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "raster/blit.h"
#include "raster/mathtables.h"

namespace {

// Largest picture or temporary Screen: width and height are 16-bit.
constexpr int64_t MaxSide = 65535;

// Size of the temporary Screen T and how far its top-left corner lies left of
// and above the destination position.
struct TransformLayout {
    int width;
    int height;
    int offX;
    int offY;
};

TransformLayout LayoutOf(int type, int angle, int w, int h)
{
    if (type == TransformRotate) {
        int W = PolarX(angle, h) + PolarY(angle, w) + 1;
        int H = PolarX(angle, w) + PolarY(angle, h) + 1;
        return {W, H, (W - w) / 2, (H - h) / 2};
    }
    if (type == TransformShearColumns) {
        int u = std::abs(PolarY(angle, w));
        return {w, h + u, 0, u / 2};
    }
    int u = std::abs(PolarX(angle, h));
    return {w + u, h, u / 2, 0};
}

// Forward mapping about the centre, column by column so that among pixels
// landing on the same target the later one wins. PolarX and PolarY are
// written out to share one table index; ToPolar's radius is below 65536, so
// the products cannot overflow.
void FillRotated(const Screen* src, Screen* t, int w, int h, int cols, int rows, int angle)
{
    const int W = t->width, H = t->height;
    const int cx = (w - 1) / 2, cy = (h - 1) / 2;
    const int turn = angle % 900;
    for (int pos = 0; pos < cols; ++pos) {
        const int x = pos - cx;
        for (int off = 0; off < rows; ++off) {
            int theta, r;
            ToPolar(x, off - cy, &theta, &r);
            int a = (theta + turn) % 3600;
            if (a < 0)
                a += 3600;
            int tx = r * SinTable[a] / 10000 + W / 2;
            int ty = r * CosTable[a] / 10000 + H / 2;
            if (unsigned(tx) < unsigned(W) && unsigned(ty) < unsigned(H))
                t->rows[ty][tx] = src->rows[off][pos];
        }
    }
}

// Column x moves down by PolarY(angle, x); with a negative cosine the picture
// is lifted to the bottom of T by u + 1 rows. A column moves as a whole, so
// its rows inside T are found once and copied without per-pixel tests.
void FillShearedColumns(const Screen* src, Screen* t, int cols, int rows, int angle, int u)
{
    const int H = t->height;
    const int lift = (angle < 900 || angle > 2699) ? 0 : u + 1;
    for (int pos = 0; pos < cols; ++pos) {
        const int shift = PolarY(angle, pos) + lift;
        const int first = std::max(0, -shift);
        const int last = std::min(rows, H - shift); // exclusive
        for (int off = first; off < last; ++off)
            t->rows[shift + off][pos] = src->rows[off][pos];
    }
}

// Row y moves right by PolarX(angle, y); with a negative sine the picture is
// pushed to the right of T by u + 1 columns. Each row is one span copy.
void FillShearedRows(const Screen* src, Screen* t, int cols, int rows, int angle, int u)
{
    const int W = t->width;
    const int push = angle < 1800 ? 0 : u + 1;
    for (int off = 0; off < rows; ++off) {
        int shift = PolarX(angle, off) + push;
        int first = std::max(0, -shift);
        int last = std::min(cols, W - shift); // exclusive
        if (first < last)
            std::memcpy(t->rows[off] + shift + first, src->rows[off] + first,
                        size_t(last - first) * sizeof(uint32_t));
    }
}

} // namespace

void BlitRotated(const Screen* src, Screen* dst, int sx1, int sy1, int sx2, int sy2, int dx, int dy,
                 int mode, int mirror, int type, int angle)
{
    if (type <= TransformNone) {
        Blit(src, dst, sx1, sy1, sx2, sy2, dx, dy, mode, mirror);
        return;
    }
    if (type > TransformShearRows)
        return;

    // Only the size of the rectangle matters: the picture is its w x h block
    // at the source's top-left corner. Pictures no Screen could hold, and
    // empty ones, draw nothing.
    const int64_t w64 = int64_t(sx2) - sx1 + 1, h64 = int64_t(sy2) - sy1 + 1;
    if (w64 <= 0 || h64 <= 0 || w64 > MaxSide || h64 > MaxSide)
        return;
    const int w = int(w64), h = int(h64);

    const TransformLayout layout = LayoutOf(type, angle, w, h);
    if (layout.width <= 0 || layout.height <= 0 || layout.width > MaxSide || layout.height > MaxSide)
        return;

    // Pixels of the picture beyond the source Screen do not exist: they are
    // skipped, never read.
    const int cols = std::min(w, int(src->width));
    const int rows = std::min(h, int(src->height));

    Screen t;
    newscreen(&t, layout.width, layout.height);
    if (type == TransformRotate)
        FillRotated(src, &t, w, h, cols, rows, angle);
    else if (type == TransformShearColumns)
        FillShearedColumns(src, &t, cols, rows, angle, layout.height - h);
    else
        FillShearedRows(src, &t, cols, rows, angle, layout.width - w);

    const int64_t tx = int64_t(dx) - layout.offX, ty = int64_t(dy) - layout.offY;
    // A position beyond the int range is off every Screen.
    if (tx >= INT32_MIN && ty >= INT32_MIN && tx <= INT32_MAX && ty <= INT32_MAX)
        Blit(&t, dst, 0, 0, layout.width - 1, layout.height - 1, int(tx), int(ty), mode, mirror);
    FreeScreen(&t);
}
