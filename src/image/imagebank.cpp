#include "image/imagebank.h"

#include <climits>

#include "image/tga.h"
#include "raster/rotate.h"
#include "raster/scale.h"

ImageState Images;

static ImageSlot& SlotAt(int slot)
{
    return Images.ImageBank[uint16_t(slot)];
}

static bool DrawnUnscaled(const ImageSlot& s, int width, int height)
{
    return width == 0 || height == 0 || (width == s.image.width && height == s.image.height);
}

void LoadSlot(const char* file, int slot)
{
    ImageSlot& s = SlotAt(slot);
    int w = 0, h = 0;
    SizeTGA(file, &w, &h);
    newscreen(&s.image, w, h);
    Screen* previous = CurrentTarget;
    SetTarget(&s.image);
    LoadTGA(file, 0, 0);
    SetTarget(previous);
    s.hotspotX = w / 2;
    s.hotspotY = h / 2;
}

void DrawSlotUnscaled(int slot, int x, int y, int mode, int mirror, int transformation, int angle)
{
    const ImageSlot& s = SlotAt(slot);
    BlitRotated(&s.image, CurrentTarget, 0, 0, s.image.width - 1, s.image.height - 1,
                x - s.hotspotX, y - s.hotspotY, mode, mirror, transformation, angle);
}

void DrawSlot(int slot, int x, int y, int mode, int mirror, int width, int height,
              int transformation, int angle)
{
    const ImageSlot& s = SlotAt(slot);
    if (DrawnUnscaled(s, width, height))
        DrawSlotUnscaled(slot, x, y, mode, mirror, transformation, angle);
    else
        BlitScaled(&s.image, x, y, width, height, mode, mirror, transformation, angle);
}

PixelBox DrawSlotBox(int slot, int x, int y, int width, int height, int transformation)
{
    if (transformation > 0)
        return {INT_MIN, INT_MIN, INT_MAX, INT_MAX};
    const ImageSlot& s = SlotAt(slot);
    if (DrawnUnscaled(s, width, height)) {
        const int left = x - s.hotspotX, top = y - s.hotspotY;
        return {left, top, left + s.image.width - 1, top + s.image.height - 1};
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
    const ImageSlot& sa = SlotAt(a);
    const ImageSlot& sb = SlotAt(b);
    ax -= sa.hotspotX;
    ay -= sa.hotspotY;
    bx -= sb.hotspotX;
    by -= sb.hotspotY;
    return ax + sa.image.width > bx && ay + sa.image.height > by && bx + sb.image.width > ax &&
                   by + sb.image.height > ay
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
