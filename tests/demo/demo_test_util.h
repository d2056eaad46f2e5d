#pragma once

#include <cstdint>

#include "image/image_test_util.h"

// Colour of a slot's synthetic picture: never 0, the slot number in bits 8-15.
inline uint32_t SlotColour(int slot)
{
    return 0x00400000u | (uint32_t(slot) << 8) | 0x20u;
}
