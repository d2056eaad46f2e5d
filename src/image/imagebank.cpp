#include "image/imagebank.h"

#include "image/tga.h"
#include "raster/rotate.h"
#include "raster/scale.h"

ImageState Images;

static ImageSlot& SlotAt(int slot)
{
    return Images.ImageBank[uint16_t(slot)];
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
    if (width == 0 || height == 0 || (width == s.image.width && height == s.image.height))
        DrawSlotUnscaled(slot, x, y, mode, mirror, transformation, angle);
    else
        BlitScaled(&s.image, x, y, width, height, mode, mirror, transformation, angle);
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
