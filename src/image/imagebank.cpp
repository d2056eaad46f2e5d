#include "image/imagebank.h"

#include <climits>

#include "core/fatal.h"
#include "image/tga.h"
#include "raster/rotate.h"
#include "raster/scale.h"

ImageState Images;

namespace {

// A slot number is taken as its low 16 bits; one that is still outside the
// table has no slot.
ImageSlot* SlotAt(int slot)
{
    const uint16_t number = uint16_t(slot);
    return number < ImageSlotCount ? &Images.ImageBank[number] : nullptr;
}

// The slot DrawSlot draws: none for a number outside the table, a place out
// of reach, or a size larger than a Screen can be.
const ImageSlot* DrawnSlot(int slot, int x, int y, int width, int height)
{
    const ImageSlot* s = SlotAt(slot);
    return s && WithinReach(x, y) && width <= 65535 && height <= 65535 ? s : nullptr;
}

bool DrawnUnscaled(const ImageSlot& s, int width, int height)
{
    return width == 0 || height == 0 || (width == s.image.width && height == s.image.height);
}

} // namespace

void LoadSlot(const char* file, int slot)
{
    ImageSlot* s = SlotAt(slot);
    if (!s)
        FatalError("numero de imagen fuera de rango en LoadSlot", file);
    int w = 0, h = 0;
    SizeTGA(file, &w, &h);
    // A picture loaded into the slot before is let go.
    FreeScreen(&s->image);
    s->image = Screen{};
    newscreen(&s->image, w, h);
    Screen* previous = CurrentTarget;
    SetTarget(&s->image);
    LoadTGA(file, 0, 0);
    SetTarget(previous);
    s->hotspotX = w / 2;
    s->hotspotY = h / 2;
}

void DrawSlotUnscaled(int slot, int x, int y, int mode, int mirror, int transformation, int angle)
{
    const ImageSlot* s = SlotAt(slot);
    if (!s || !WithinReach(x, y))
        return;
    BlitRotated(&s->image, CurrentTarget, 0, 0, s->image.width - 1, s->image.height - 1,
                x - s->hotspotX, y - s->hotspotY, mode, mirror, transformation, angle);
}

void DrawSlot(int slot, int x, int y, int mode, int mirror, int width, int height,
              int transformation, int angle)
{
    const ImageSlot* s = DrawnSlot(slot, x, y, width, height);
    if (!s)
        return;
    if (DrawnUnscaled(*s, width, height))
        DrawSlotUnscaled(slot, x, y, mode, mirror, transformation, angle);
    else
        BlitScaled(&s->image, x, y, width, height, mode, mirror, transformation, angle);
}

PixelBox DrawSlotBox(int slot, int x, int y, int width, int height, int transformation)
{
    const ImageSlot* s = DrawnSlot(slot, x, y, width, height);
    if (!s)
        return {}; // DrawSlot draws nothing
    if (transformation > 0)
        return {INT_MIN, INT_MIN, INT_MAX, INT_MAX};
    if (DrawnUnscaled(*s, width, height)) {
        const int left = x - s->hotspotX, top = y - s->hotspotY;
        return {left, top, left + s->image.width - 1, top + s->image.height - 1};
    }
    // BlitScaled's placement: sizes below 0 count as 1, centred on (x, y).
    const int w = width < 0 ? 1 : width, h = height < 0 ? 1 : height;
    return {x - w / 2, y - h / 2, x - w / 2 + w - 1, y - h / 2 + h - 1};
}

bool DrawSlotOpaque(int mode, int width, int height, int transformation)
{
    return mode == 0 && transformation <= 0 && width <= 65535 && height <= 65535;
}

int SlotsOverlap(int a, int b, int ax, int ay, int bx, int by)
{
    const ImageSlot* sa = SlotAt(a);
    const ImageSlot* sb = SlotAt(b);
    if (!sa || !sb)
        return 0;
    // In 64 bits: boxes placed anywhere are compared as they lie.
    const int64_t left1 = int64_t(ax) - sa->hotspotX, top1 = int64_t(ay) - sa->hotspotY;
    const int64_t left2 = int64_t(bx) - sb->hotspotX, top2 = int64_t(by) - sb->hotspotY;
    return left1 + sa->image.width > left2 && top1 + sa->image.height > top2 && left2 + sb->image.width > left1 &&
                   top2 + sb->image.height > top1
               ? 1
               : 0;
}

void ResetImages()
{
    for (ImageSlot& slot : Images.ImageBank)
        FreeScreen(&slot.image);
    for (NoiseLayer& layer : Images.NoiseLayers)
        FreeScreen(&layer.buffer);
    Images = ImageState{};
}
