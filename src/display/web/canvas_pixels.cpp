#include "display/web/canvas_pixels.h"

#include <cstring>

void ToCanvasPixels(const uint32_t* pixels, uint32_t* canvas, std::size_t count)
{
    // Read as one little-endian word, the bytes R, G, B, A are
    // 0xAABBGGRR: red and blue change places, alpha is set.
    for (std::size_t i = 0; i < count; i++) {
        const uint32_t p = pixels[i];
        canvas[i] = 0xFF000000u | (p & 0x0000FF00u) | ((p >> 16) & 0xFFu) | ((p & 0xFFu) << 16);
    }
}
