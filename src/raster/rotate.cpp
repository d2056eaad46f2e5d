#include "raster/rotate.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include <utility>
#include <vector>

#include "raster/blit.h"
#include "raster/mathtables.h"
#include "raster/row_transfer.h"

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
// landing on the same target the later one wins; for pictures beyond the
// polar table's reach. PolarX and PolarY are
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

// True when every point of the picture lies within the polar table's reach.
bool WithinPolarTable(int w, int h, int cols, int rows)
{
    const int cx = (w - 1) / 2, cy = (h - 1) / 2;
    return cx <= PolarTableReach && cols - 1 - cx <= PolarTableReach && cy <= PolarTableReach &&
           rows - 1 - cy <= PolarTableReach;
}

// FillRotated for pictures within the polar table's reach, into T's pixels
// held as one block with a spare pixel after the last row: the kernel set
// finds where each point of a column lands, or the spare pixel when outside
// T, and the column's pixels are then placed in order without a test.
void FillRotatedFromTable(const Screen* src, uint32_t* pixels, int W, int H, int w, int h, int cols, int rows,
                          int angle)
{
    const int cx = (w - 1) / 2, cy = (h - 1) / 2;
    // The sine and cosine of each angle turned, modulo 3600, as FillRotated
    // turns it.
    uint32_t sinCos[3601];
    int a = (angle % 900 + 3600) % 3600;
    for (int theta = 0; theta <= 3600; theta++) {
        sinCos[theta] = uint32_t(uint16_t(SinTable[a])) | uint32_t(CosTable[a]) << 16;
        a = a == 3599 ? 0 : a + 1;
    }
    const RotatedOffsets place = ActiveRowKernels().rotatedOffsets;
    std::vector<uint32_t> offsets(static_cast<size_t>(rows));
    // Rows up to cy have y <= 0, |y| = cy - off; the rest y = off - cy > 0.
    const int upper = std::min(rows, cy + 1), ayMax = std::max(cy, rows - 1 - cy);
    for (int pos = 0; pos < cols; ++pos) {
        const int x = pos - cx;
        const uint32_t* column = PolarTableColumn(std::abs(x), ayMax);
        place(column + cy, -1, upper, PolarQuadrantOf(x > 0, false), sinCos, W, H, offsets.data());
        place(column + 1, 1, rows - upper, PolarQuadrantOf(x > 0, true), sinCos, W, H, offsets.data() + upper);
        for (int off = 0; off < rows; ++off)
            pixels[offsets[size_t(off)]] = src->rows[off][pos];
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

// The shears drawn straight onto the destination, without their temporary
// Screen. Each destination row that the transformed picture covers gets the
// row of the temporary that Blit would read for it, built in a line buffer
// from the source (0 where the temporary holds no picture pixel), and then
// the row kernel that Blit would use, mirrors included. Only the clipped
// part is built, so the pixels match the temporary-and-Blit path exactly.
struct ShearDraw {
    const Screen* src;
    int type, angle, cols, rows, W, H, lift; // lift: u + 1 or 0, as in the fills above
};

// Columns [lo, lo + count) of row r of the row-sheared picture. Returns the
// span of line indices that hold picture pixels; the rest are 0.
std::pair<int, int> BuildShearedRowsRow(const ShearDraw& d, int r, int lo, int count, uint32_t* line)
{
    std::memset(line, 0, size_t(count) * sizeof(uint32_t));
    if (r >= d.rows)
        return {0, 0};
    const int shift = PolarX(d.angle, r) + d.lift;
    // Source columns k land on shift + k; keep those inside the temporary and
    // inside the window.
    const int first = std::max({0, -shift, lo - shift});
    const int last = std::min({d.cols, d.W - shift, lo + count - shift}); // exclusive
    if (first >= last)
        return {0, 0};
    std::memcpy(line + (shift + first - lo), d.src->rows[r] + first, size_t(last - first) * sizeof(uint32_t));
    return {shift + first - lo, shift + last - lo};
}

// Draws line indices [a, b) of a built row whose index i lands on x0 + i, or
// on x0 + count - 1 - i when mirrored; `row` is the destination at x0.
void TransferSpan(RowTransfer transfer, const uint32_t* line, int a, int b, int count, bool flipX, uint32_t* row)
{
    if (a >= b)
        return;
    if (flipX)
        transfer(line + b - 1, row + (count - b), b - a);
    else
        transfer(line + a, row + a, b - a);
}

void DrawShearedDirect(const ShearDraw& d, Screen* dst, int64_t tx, int64_t ty, int mode, int mirror)
{
    const bool flipX = mirror == MirrorHorizontal || mirror == MirrorBoth;
    const bool flipY = mirror > MirrorHorizontal;
    const RowTransfer transfer = flipX ? ReverseRowTransfer(mode) : ForwardRowTransfer(mode);
    if (!transfer)
        return;
    const int64_t x0 = std::max<int64_t>(0, tx), x1 = std::min<int64_t>(dst->width, tx + d.W);
    const int64_t y0 = std::max<int64_t>(0, ty), y1 = std::min<int64_t>(dst->height, ty + d.H);
    if (x0 >= x1 || y0 >= y1)
        return;
    // Destination x takes picture column x - tx, or W - 1 - (x - tx) when
    // mirrored; [lo, lo + count) are the columns read.
    const int count = int(x1 - x0);
    const int lo = int(flipX ? d.W - (x1 - tx) : x0 - tx);
    // A colour-keyed mode leaves the destination alone under a 0 pixel, so
    // only the stretch of each row that holds picture pixels is drawn.
    const bool keyed = mode > 0 && mode < BlendModeCount && (mode & 1);

    if (d.type == TransformShearRows) {
        // Each row of the row shear is one span of one source row.
        std::vector<uint32_t> line(static_cast<size_t>(count));
        for (int64_t y = y0; y < y1; y++) {
            const int r = int(flipY ? d.H - 1 - (y - ty) : y - ty);
            const auto [a, b] = BuildShearedRowsRow(d, r, lo, count, line.data());
            if (keyed)
                TransferSpan(transfer, line.data(), a, b, count, flipX, dst->rows[y] + x0);
            else
                TransferSpan(transfer, line.data(), 0, count, count, flipX, dst->rows[y] + x0);
        }
        return;
    }

    // The column shear is built in blocks of a few destination rows at full
    // width, column by column: a column's pixels come from consecutive source
    // rows, and a block is small enough that the source and block rows it
    // touches stay in the cache from one column to the next.
    constexpr int BlockRows = 16;
    const int usable = std::max(0, std::min(count, d.cols - lo)); // columns that exist in the source
    std::vector<int> shift(static_cast<size_t>(usable));
    for (int c = 0; c < usable; c++)
        shift[size_t(c)] = PolarY(d.angle, lo + c) + d.lift;
    // The shift never falls along the row when rising and never rises
    // otherwise, so the columns that hold picture pixels on a row (those with
    // r - rows < shift <= r) are one stretch.
    const bool rising = usable == 0 || shift.front() <= shift.back();
    auto pictureColumns = [&](int r) {
        const auto lowPart = [&](int sc) { return rising ? sc <= r - d.rows : sc > r; };
        const auto inPart = [&](int sc) { return rising ? sc <= r : sc > r - d.rows; };
        const auto a = std::partition_point(shift.begin(), shift.end(), lowPart);
        const auto b = std::partition_point(a, shift.end(), inPart);
        return std::pair<int, int>(int(a - shift.begin()), int(b - shift.begin()));
    };
    std::vector<uint32_t> block(static_cast<size_t>(BlockRows) * size_t(count));
    for (int64_t yb = y0; yb < y1; yb += BlockRows) {
        const int nb = int(std::min<int64_t>(BlockRows, y1 - yb));
        // Keyed modes draw only the stretches written below; the others draw
        // whole rows, 0 where there is no picture.
        if (!keyed)
            std::memset(block.data(), 0, size_t(nb) * size_t(count) * sizeof(uint32_t));
        // Rows [rLo, rLo + nb) of the picture land in this block; row r goes
        // to block row r - rLo, or rLo + nb - 1 - r when mirrored.
        const int rLo = int(flipY ? d.H - (yb + nb - ty) : yb - ty);
        for (int c = 0; c < usable; c++) {
            const int sc = shift[size_t(c)];
            const int a = std::max(rLo, sc), b = std::min(rLo + nb, sc + d.rows);
            const int column = lo + c;
            for (int r = a; r < b; r++) {
                const int j = flipY ? rLo + nb - 1 - r : r - rLo;
                block[size_t(j) * size_t(count) + size_t(c)] = d.src->rows[r - sc][column];
            }
        }
        for (int j = 0; j < nb; j++) {
            const uint32_t* line = block.data() + size_t(j) * size_t(count);
            uint32_t* row = dst->rows[yb + j] + x0;
            if (keyed) {
                const auto [a, b] = pictureColumns(flipY ? rLo + nb - 1 - j : rLo + j);
                TransferSpan(transfer, line, a, b, count, flipX, row);
            } else {
                TransferSpan(transfer, line, 0, count, count, flipX, row);
            }
        }
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

    const int64_t tx = int64_t(dx) - layout.offX, ty = int64_t(dy) - layout.offY;
    // A shear onto another Screen is drawn row by row without the temporary;
    // one drawn onto its own source needs the whole picture read first.
    if (type != TransformRotate && src != dst) {
        const int u = type == TransformShearColumns ? layout.height - h : layout.width - w;
        const bool lifted = type == TransformShearColumns ? !(angle < 900 || angle > 2699) : !(angle < 1800);
        const ShearDraw d{src, type, angle, cols, rows, layout.width, layout.height, lifted ? u + 1 : 0};
        if (tx >= INT32_MIN && ty >= INT32_MIN && tx <= INT32_MAX && ty <= INT32_MAX)
            DrawShearedDirect(d, dst, tx, ty, mode, mirror);
        return;
    }

    // A position beyond the int range is off every Screen.
    const bool placed = tx >= INT32_MIN && ty >= INT32_MIN && tx <= INT32_MAX && ty <= INT32_MAX;
    if (type == TransformRotate && WithinPolarTable(w, h, cols, rows)) {
        const int W = layout.width, H = layout.height;
        std::vector<uint32_t> pixels(size_t(W) * size_t(H) + 1);
        std::vector<uint32_t*> rowStarts(static_cast<size_t>(H));
        for (int y = 0; y < H; y++)
            rowStarts[size_t(y)] = pixels.data() + size_t(y) * size_t(W);
        FillRotatedFromTable(src, pixels.data(), W, H, w, h, cols, rows, angle);
        const Screen t{uint16_t(W), uint16_t(H), rowStarts.data()};
        if (placed)
            Blit(&t, dst, 0, 0, W - 1, H - 1, int(tx), int(ty), mode, mirror);
        return;
    }

    Screen t;
    newscreen(&t, layout.width, layout.height);
    if (type == TransformRotate)
        FillRotated(src, &t, w, h, cols, rows, angle);
    else if (type == TransformShearColumns)
        FillShearedColumns(src, &t, cols, rows, angle, layout.height - h);
    else
        FillShearedRows(src, &t, cols, rows, angle, layout.width - w);

    if (placed)
        Blit(&t, dst, 0, 0, layout.width - 1, layout.height - 1, int(tx), int(ty), mode, mirror);
    FreeScreen(&t);
}
