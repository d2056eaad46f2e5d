#pragma once

#include <cstdint>

#include "app/app.h"
#include "image/imagebank.h"
#include "image/noise.h"
#include "raster/blend.h"
#include "raster/mathtables.h"
#include "raster/raster_test_util.h"

// Colour of the synthetic picture of a slot: never 0, and the slot number
// can be read back from bits 8-15.
inline uint32_t SlotColour(int slot)
{
    return 0x00400000u | (uint32_t(slot) << 8) | 0x20u;
}

// Empties a slot, releasing what it held.
inline void ClearSlot(int slot)
{
    FreeScreen(&ImageBank[slot].image);
    ImageBank[slot] = ImageSlot{};
}

inline void ClearAllSlots()
{
    for (int slot = 0; slot < ImageSlotCount; slot++)
        ClearSlot(slot);
}

// A slot holding a width x height picture of one colour, hotspot at its centre.
inline void SolidSlot(int slot, int width, int height, uint32_t colour)
{
    ClearSlot(slot);
    ImageSlot& s = ImageBank[slot];
    newscreen(&s.image, width, height);
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++)
            s.image.rows[y][x] = colour;
    s.hotspotX = width / 2;
    s.hotspotY = height / 2;
}

// What blend mode `mode` makes of `src` over `dst`, through the engine itself.
inline uint32_t Blended(int mode, uint32_t dst, uint32_t src)
{
    OwnedScreen from(1, 1), to(1, 1);
    from.at(0, 0) = src;
    to.at(0, 0) = dst;
    if (mode == 0)
        CopyRect(from.get(), to.get(), 0, 0, 0, 0, 0, 0);
    else
        BlendRect(from.get(), to.get(), 0, 0, 0, 0, 0, 0, mode);
    return to.at(0, 0);
}

constexpr uint32_t TestBackground = 0x00102030;

// A stage for the timeline: the math tables, both noise layers as the show
// makes them, every slot the timeline draws as a 10x10 picture of its own
// colour, and an 800x600 target filled with TestBackground.
struct TimelineStage {
    OwnedScreen target{DisplayWidth, DisplayHeight};

    TimelineStage()
    {
        CalcMathTables();
        SeedRandom(1);
        NoiseInit(0, 0, 400, 200);
        NoiseInit(1, 1, 800, 200);
        for (int slot = 1; slot <= 127; slot++)
            SolidSlot(slot, 10, 10, SlotColour(slot));
        SetTarget(target.get());
        Clear();
    }
    ~TimelineStage()
    {
        NoiseFree(0);
        NoiseFree(1);
        ClearAllSlots();
        SetTarget(nullptr);
    }
    TimelineStage(const TimelineStage&) = delete;
    TimelineStage& operator=(const TimelineStage&) = delete;

    void Clear() { Fill(target.get(), TestBackground); }
    uint32_t at(int x, int y) { return target.at(x, y); }

    static void Fill(Screen* s, uint32_t colour)
    {
        for (int y = 0; y < s->height; y++)
            for (int x = 0; x < s->width; x++)
                s->rows[y][x] = colour;
    }
};
