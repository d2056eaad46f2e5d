#include "raster/blit.h"

#include <cstdint>

#include "raster/blend.h"
#include "raster/row_transfer.h"

namespace {

// A source rectangle and where it lands, clipped in place against a source of
// sMaxX+1 by sMaxY+1 pixels and the destination Screen. Returns false when
// nothing is left to draw. 64-bit, so that corners anywhere in the int range
// clip without overflowing; what survives clipping lies on both Screens.
struct Placement {
    int64_t sx1, sy1, sx2, sy2, dx, dy;
};

bool Misses(const Placement& p, int64_t dx2, int64_t dy2, int64_t sMaxX, int64_t sMaxY, int64_t dMaxX,
            int64_t dMaxY)
{
    return p.sx1 > sMaxX || p.sy1 > sMaxY || p.sx2 < 0 || p.sy2 < 0 ||
           p.dx > dMaxX || p.dy > dMaxY || dx2 < 0 || dy2 < 0;
}

bool Clip(Placement& p, int64_t sMaxX, int64_t sMaxY, const Screen* dst)
{
    const int64_t dMaxX = dst->width - 1, dMaxY = dst->height - 1;
    int64_t dx2 = p.dx + (p.sx2 - p.sx1);
    int64_t dy2 = p.dy + (p.sy2 - p.sy1);
    if (Misses(p, dx2, dy2, sMaxX, sMaxY, dMaxX, dMaxY))
        return false;
    // Each step moves a source edge and the matching destination edge by the
    // same amount, so both rectangles keep equal sizes.
    if (p.sx1 < 0) { p.dx -= p.sx1; p.sx1 = 0; }
    if (p.sx2 > sMaxX) { dx2 -= p.sx2 - sMaxX; p.sx2 = sMaxX; }
    if (p.sy1 < 0) { p.dy -= p.sy1; p.sy1 = 0; }
    if (p.sy2 > sMaxY) { dy2 -= p.sy2 - sMaxY; p.sy2 = sMaxY; }
    if (p.dx < 0) { p.sx1 -= p.dx; p.dx = 0; }
    if (dx2 > dMaxX) { p.sx2 -= dx2 - dMaxX; dx2 = dMaxX; }
    if (p.dy < 0) { p.sy1 -= p.dy; p.dy = 0; }
    if (dy2 > dMaxY) { p.sy2 -= dy2 - dMaxY; dy2 = dMaxY; }
    return !Misses(p, dx2, dy2, sMaxX, sMaxY, dMaxX, dMaxY);
}

void Transfer(const Screen* src, Screen* dst, const Placement& p, int mode)
{
    const int sx1 = int(p.sx1), sy1 = int(p.sy1), sx2 = int(p.sx2), sy2 = int(p.sy2);
    if (mode == 0)
        CopyRect(src, dst, sx1, sy1, sx2, sy2, int(p.dx), int(p.dy));
    else
        BlendRect(src, dst, sx1, sy1, sx2, sy2, int(p.dx), int(p.dy), mode);
}

// The mirrored picture is the w x h rectangle turned over; after clipping it,
// each destination row reads its source row directly, backwards when the
// mirror is horizontal, instead of going through a mirrored copy.
void BlitMirroredInPlace(const Screen* src, Screen* dst, const Placement& rect, int mode,
                         bool flipX, bool flipY)
{
    const int w = int(rect.sx2 - rect.sx1 + 1), h = int(rect.sy2 - rect.sy1 + 1); // inside the source
    Placement p{0, 0, w - 1, h - 1, rect.dx, rect.dy};
    const RowTransfer transfer = flipX ? ReverseRowTransfer(mode) : ForwardRowTransfer(mode);
    if (!transfer || !Clip(p, w - 1, h - 1, dst))
        return;
    const int columns = int(p.sx2 - p.sx1 + 1);
    const int64_t firstColumn = rect.sx1 + (flipX ? w - 1 - p.sx1 : p.sx1);
    for (int64_t ty = p.sy1; ty <= p.sy2; ty++) {
        const int64_t sy = rect.sy1 + (flipY ? h - 1 - ty : ty);
        transfer(src->rows[sy] + firstColumn, dst->rows[p.dy + ty - p.sy1] + p.dx, columns);
    }
}

// The written mirrored blit: a mirrored copy first, then an ordinary blit of
// the copy. Used when the in-place reading could differ from it: a picture
// drawn onto itself, or a rectangle reaching outside its Screen, whose
// outside pixels are left 0 in the copy instead of being read.
void BlitMirroredCopy(const Screen* src, Screen* dst, const Placement& rect, int mode, bool flipX,
                      bool flipY)
{
    if (rect.sx2 - rect.sx1 >= 65535 || rect.sy2 - rect.sy1 >= 65535) // larger than any Screen can be
        return;
    const int w = int(rect.sx2 - rect.sx1 + 1), h = int(rect.sy2 - rect.sy1 + 1);
    Screen t;
    newscreen(&t, w, h);
    for (int i = 0; i < h; i++) {
        const int64_t sy = rect.sy1 + i;
        if (sy < 0 || sy >= src->height)
            continue;
        uint32_t* row = t.rows[flipY ? h - 1 - i : i];
        for (int j = 0; j < w; j++) {
            const int64_t sx = rect.sx1 + j;
            if (sx >= 0 && sx < src->width)
                row[flipX ? w - 1 - j : j] = src->rows[sy][sx];
        }
    }
    Placement p{0, 0, w - 1, h - 1, rect.dx, rect.dy};
    if (Clip(p, w - 1, h - 1, dst))
        Transfer(&t, dst, p, mode);
    FreeScreen(&t);
}

} // namespace

void Blit(const Screen* src, Screen* dst, int sx1, int sy1, int sx2, int sy2, int dx, int dy,
          int mode, int mirror)
{
    // Inverted rectangles have no pixels; drawing them would read outside.
    if (sx1 > sx2 || sy1 > sy2)
        return;
    Placement p{sx1, sy1, sx2, sy2, dx, dy};
    if (mirror <= 0) {
        if (Clip(p, src->width - 1, src->height - 1, dst))
            Transfer(src, dst, p, mode);
        return;
    }
    const bool flipX = mirror == MirrorHorizontal || mirror == MirrorBoth;
    const bool flipY = mirror > MirrorHorizontal;
    const bool inside = sx1 >= 0 && sy1 >= 0 && sx2 < src->width && sy2 < src->height;
    if (inside && src != dst)
        BlitMirroredInPlace(src, dst, p, mode, flipX, flipY);
    else
        BlitMirroredCopy(src, dst, p, mode, flipX, flipY);
}
