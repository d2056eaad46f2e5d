#include "raster/scale.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "image/imagebank.h"
#include "raster/row_transfer.h"
#include "raster/rotate.h"

namespace {

// Last source index (of srcLen) whose place (i * dstLen / srcLen) is at or
// before `place`: the source pixel that ends up there.
inline int SourceIndex(int64_t place, int srcLen, int dstLen)
{
    return int(std::min<int64_t>(srcLen - 1, ((place + 1) * srcLen - 1) / dstLen));
}

// Source column for each of the copy columns first ... first + count - 1.
std::vector<uint16_t> ColumnMap(int64_t first, int64_t count, int srcWidth, int dstWidth)
{
    std::vector<uint16_t> map(static_cast<size_t>(count));
    for (int64_t i = 0; i < count; i++)
        map[size_t(i)] = uint16_t(SourceIndex(first + i, srcWidth, dstWidth));
    return map;
}

void GatherRow(const uint32_t* srcRow, const std::vector<uint16_t>& columns, uint32_t* dst)
{
    const size_t n = columns.size();
    for (size_t i = 0; i < n; i++)
        dst[i] = srcRow[columns[i]];
}

// BlitScaled without mirror or transformation: the resized rows are made
// for the visible part only and go straight to the target, with the pixels
// the full copy and Blit would give.
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

    // Each resized row is made once and reused while the source row repeats.
    // The opaque copy makes it in the target itself, the blends in a line.
    std::vector<uint32_t> line(mode == 0 ? 0 : count, 0);
    const uint32_t* made = nullptr;
    int madeFrom = -1;
    for (int64_t t = t0; t < t1; t++) {
        uint32_t* dst = target->rows[top + t] + (left + c0);
        const int sourceRow = empty ? 0 : SourceIndex(t, src->height, H);
        if (mode == 0) {
            if (made && sourceRow == madeFrom)
                std::memcpy(dst, made, count * sizeof(uint32_t));
            else if (empty)
                std::memset(dst, 0, count * sizeof(uint32_t));
            else
                GatherRow(src->rows[sourceRow], columns, dst);
            made = dst;
        } else {
            if (!empty && sourceRow != madeFrom)
                GatherRow(src->rows[sourceRow], columns, line.data());
            transfer(line.data(), dst, int(count));
        }
        madeFrom = sourceRow;
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
    for (int t = 0; t < H; t++) {
        const int sourceRow = SourceIndex(t, sh, H);
        if (sourceRow == lastRow)
            std::memcpy(copy->rows[t], copy->rows[t - 1], size_t(W) * sizeof(uint32_t));
        else
            GatherRow(src->rows[sourceRow], columns, copy->rows[t]);
        lastRow = sourceRow;
    }
}

void BlitScaled(int slot, int x, int y, int W, int H, int mode, int mirror, int transformation, int angle)
{
    if (W < 0)
        W = 1;
    if (H < 0)
        H = 1;
    x -= W / 2;
    y -= H / 2;
    const Screen* src = &ImageBank[uint16_t(slot)].image;
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
