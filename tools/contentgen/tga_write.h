#pragma once

#include <cstdint>
#include <vector>

#include "contentgen/picture.h"

// How a picture is stored: 24 or 32 bits per pixel, rows from the top or from
// the bottom, and an optional image ID text placed after the header.
struct TgaFormat {
    int depth;
    bool topDown;
    const char* imageId;
};

// Uncompressed true-colour TGA bytes of the picture. A 32-bit file carries
// alpha 255 on every non-black pixel and 0 on black, matching the key colour.
std::vector<uint8_t> EncodeTga(const Picture& picture, TgaFormat format);
