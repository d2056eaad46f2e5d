#include "raster/scale.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "raster/rotate.h"
#include "raster/row_transfer.h"

namespace {

// Source index of consecutive places: the last of srcLen source indices
// whose place (i * dstLen / srcLen) is at or before the current one, that is
// min(srcLen - 1, ((place + 1) * srcLen - 1) / dstLen), stepped without a
// division per place.
struct SourceIndexWalk {
    int64_t quotient, remainder, stepQuotient, stepRemainder, dstLen, lastIndex;

    SourceIndexWalk(int64_t place, int srcLen, int dstLength)
        : quotient(((place + 1) * srcLen - 1) / dstLength), remainder(((place + 1) * srcLen - 1) % dstLength),
          stepQuotient(srcLen / dstLength), stepRemainder(srcLen % dstLength), dstLen(dstLength),
          lastIndex(srcLen - 1)
    {
    }
    int Index() const { return int(std::min(quotient, lastIndex)); }
    void Next()
    {
        quotient += stepQuotient;
        remainder += stepRemainder;
        if (remainder >= dstLen) {
            remainder -= dstLen;
            quotient++;
        }
    }
};

// Source column for each of the copy columns first ... first + count - 1.
std::vector<uint16_t> ColumnMap(int64_t first, int64_t count, int srcWidth, int dstWidth)
{
    std::vector<uint16_t> map(static_cast<size_t>(count));
    SourceIndexWalk walk(first, srcWidth, dstWidth);
    for (uint16_t& column : map) {
        column = uint16_t(walk.Index());
        walk.Next();
    }
    return map;
}

void GatherRow(const uint32_t* srcRow, const uint16_t* columns, size_t count, uint32_t* dst)
{
    size_t i = 0;
    for (; i + 4 <= count; i += 4) {
        const uint32_t a = srcRow[columns[i]], b = srcRow[columns[i + 1]];
        const uint32_t c = srcRow[columns[i + 2]], d = srcRow[columns[i + 3]];
        dst[i] = a, dst[i + 1] = b, dst[i + 2] = c, dst[i + 3] = d;
    }
    for (; i < count; i++)
        dst[i] = srcRow[columns[i]];
}

// Asks for the source pixels first ... last of a row ahead of their use:
// rows are read in steps the hardware does not foresee when shrinking.
void PrefetchRun(const uint32_t* row, int first, int last)
{
    for (int x = first; x <= last; x += 16)
        __builtin_prefetch(row + x);
    __builtin_prefetch(row + last);
}

// BlitScaled without mirror or transformation: only the visible part of the
// resized picture is made, row by row, and goes straight to the target with
// the pixels the whole copy and Blit would give.
void BlitScaledDirect(const Screen* src, int left, int top, int W, int H, int mode)
{
    const RowTransfer transfer = ForwardRowTransfer(mode);
    if (!transfer)
        return; // a mode with no rule writes nothing
    Screen* target = CurrentTarget;
    const int64_t c0 = std::max<int64_t>(0, -int64_t(left));
    const int64_t c1 = std::min<int64_t>(W, int64_t(target->width) - left);
    const int64_t t0 = std::max<int64_t>(0, -int64_t(top));
    const int64_t t1 = std::min<int64_t>(H, int64_t(target->height) - top);
    if (c0 >= c1 || t0 >= t1)
        return;
    const size_t count = size_t(c1 - c0);
    const bool empty = src->width == 0 || src->height == 0; // resizes to black
    const std::vector<uint16_t> columns =
        empty ? std::vector<uint16_t>() : ColumnMap(c0, int64_t(count), src->width, W);

    // Each resized row is made once in a line buffer and reused while its
    // source row repeats.
    std::vector<uint32_t> line(count, 0);
    int lineFrom = -1;
    SourceIndexWalk rows(t0, empty ? 1 : src->height, H);
    for (int64_t t = t0; t < t1; t++, rows.Next()) {
        const int sourceRow = rows.Index();
        if (!empty && t + 1 < t1) {
            SourceIndexWalk next = rows;
            next.Next();
            if (next.Index() != sourceRow)
                PrefetchRun(src->rows[next.Index()], columns.front(), columns.back());
        }
        if (!empty && sourceRow != lineFrom)
            GatherRow(src->rows[sourceRow], columns.data(), count, line.data());
        lineFrom = sourceRow;
        transfer(line.data(), target->rows[top + t] + (left + c0), int(count));
    }
}

} // namespace

void ResampleNearest(const Screen* src, Screen* copy)
{
    const int sw = src->width, sh = src->height, W = copy->width, H = copy->height;
    if (sw == 0 || sh == 0 || W == 0 || H == 0)
        return;
    const std::vector<uint16_t> columns = ColumnMap(0, W, sw, W);
    int lastRow = -1;
    SourceIndexWalk rows(0, sh, H);
    for (int t = 0; t < H; t++, rows.Next()) {
        const int sourceRow = rows.Index();
        if (sourceRow == lastRow)
            std::memcpy(copy->rows[t], copy->rows[t - 1], size_t(W) * sizeof(uint32_t));
        else
            GatherRow(src->rows[sourceRow], columns.data(), size_t(W), copy->rows[t]);
        lastRow = sourceRow;
    }
}

void BlitScaled(const Screen* src, int x, int y, int W, int H, int mode, int mirror, int transformation, int angle)
{
    if (W < 0)
        W = 1;
    if (H < 0)
        H = 1;
    x -= W / 2;
    y -= H / 2;
    if (mirror <= 0 && transformation <= 0 && W >= 1 && W <= 65535 && H >= 1 && H <= 65535) {
        BlitScaledDirect(src, x, y, W, H, mode);
        return;
    }
    Screen copy;
    newscreen(&copy, W, H);
    ResampleNearest(src, &copy);
    BlitRotated(&copy, CurrentTarget, 0, 0, W - 1, H - 1, x, y, mode, mirror, transformation, angle);
    FreeScreen(&copy);
}
