#include "display/fade.h"

int32_t FadeMode = 0;
int32_t FadeLevel = 0;

void MapScreenRows(Screen* screen, void* memory, std::ptrdiff_t pitch)
{
    auto* base = static_cast<uint8_t*>(memory);
    for (int i = 0; i < screen->height; i++)
        screen->rows[i] = reinterpret_cast<uint32_t*>(base + i * pitch);
}

namespace {

// Channel x level / FadeMax with 32-bit wrap and truncation toward zero; the
// product is taken in 64 bits so that no level can overflow it.
int32_t ScaleChannel(int32_t channel, int32_t level)
{
    return int32_t(int64_t(channel) * level / FadeMax);
}

// The pixel is split as a signed value, so a pixel whose top byte is not zero
// keeps that byte in its red part and is scaled along with it.
uint32_t FadePixel(uint32_t pixel, int32_t level)
{
    const int32_t p = int32_t(pixel);
    int32_t r = p >> 16;
    int32_t g = (p - r * 65536) >> 8;
    int32_t b = p - g * 256 - r * 65536;
    r = ScaleChannel(r, level);
    g = ScaleChannel(g, level);
    b = ScaleChannel(b, level);
    return uint32_t(r) * 65536u + uint32_t(g) * 256u + uint32_t(b);
}

} // namespace

void ApplyFade(void* memory, int width, int height, std::ptrdiff_t pitch)
{
    auto* base = static_cast<uint8_t*>(memory);
    const int32_t level = FadeLevel;
    for (int y = 0; y < height; y++) {
        auto* row = reinterpret_cast<uint32_t*>(base + y * pitch);
        for (int x = 0; x < width; x++)
            row[x] = FadePixel(row[x], level);
    }
}

void AdvanceFade()
{
    if (FadeMode == 1) {
        FadeLevel += 1;
        if (FadeLevel > FadeMax - 1) {
            FadeLevel = FadeMax;
            FadeMode = 0;
        }
    } else if (FadeMode == 2) {
        FadeLevel -= 1;
        if (FadeLevel < 1)
            FadeLevel = 0;
    }
}

bool FadeRunning()
{
    return FadeMode == 1 || FadeMode == 2;
}

void FadePresentedFrame(void* memory, int width, int height, std::ptrdiff_t pitch)
{
    if (!FadeRunning())
        return;
    ApplyFade(memory, width, height, pitch);
    AdvanceFade();
}
