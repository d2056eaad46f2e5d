#pragma once

#include <cstdint>

#include "image/image_test_util.h"
#include "image/imagebank.h"

// Colour of the synthetic picture of a slot: never 0, and the slot number
// can be read back from bits 8-15.
inline uint32_t SlotColour(int slot)
{
    return 0x00400000u | (uint32_t(slot) << 8) | 0x20u;
}

// Empties a slot, releasing what it held.
inline void ClearSlot(int slot)
{
    FreeScreen(&Images.ImageBank[slot].image);
    Images.ImageBank[slot] = ImageSlot{};
}

inline void ClearAllSlots()
{
    for (int slot = 0; slot < ImageSlotCount; slot++)
        ClearSlot(slot);
}
