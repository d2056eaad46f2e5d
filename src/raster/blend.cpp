#include "raster/blend.h"

#include "raster/row_transfer.h"
#include "raster/transfer_clip.h"

void CopyRect(const Screen* src, Screen* dst, int x1, int y1, int x2, int y2, int dx, int dy)
{
    if (!ClipTransfer(src, dst, x1, y1, x2, y2, dx, dy))
        return;
    const RowTransfer copy = ForwardRowTransfer(0);
    const uint16_t rows = uint16_t(y2 - y1 + 1);
    const int columns = (x2 >= x1 ? x2 - x1 : x1 - x2) + 1;
    for (int i = 0; i < rows; i++)
        copy(src->rows[y1 + i] + x1, dst->rows[dy + i] + dx, columns);
}

void BlendRect(const Screen* src, Screen* dst, int x1, int y1, int x2, int y2, int dx, int dy, int mode)
{
    if (mode <= 0 || mode >= BlendModeCount)
        return;
    if (!ClipTransfer(src, dst, x1, y1, x2, y2, dx, dy))
        return;
    const RowTransfer blend = ForwardRowTransfer(mode);
    const uint16_t rows = uint16_t(y2 - y1 + 1);
    const int columns = (x2 >= x1 ? x2 - x1 : x1 - x2) + 1;
    for (int i = 0; i < rows; i++)
        blend(src->rows[y1 + i] + x1, dst->rows[dy + i] + dx, columns);
}
