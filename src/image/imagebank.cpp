#include "image/imagebank.h"

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
    const ImageSlot* s = SlotAt(slot);
    if (!s || !WithinReach(x, y) || width > 65535 || height > 65535)
        return; // no slot, out of reach, or larger than a Screen can be
    if (width == 0 || height == 0 || (width == s->image.width && height == s->image.height))
        DrawSlotUnscaled(slot, x, y, mode, mirror, transformation, angle);
    else
        BlitScaled(&s->image, x, y, width, height, mode, mirror, transformation, angle);
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
