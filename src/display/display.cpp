#include "display/display.h"

#include <cstdlib>
#include <cstring>

#include "display/display_seam.h"

DisplayState Display;

void MapScreenRows(Screen* screen, void* memory, std::ptrdiff_t pitch)
{
    auto* base = static_cast<uint8_t*>(memory);
    for (int i = 0; i < screen->height; i++)
        screen->rows[i] = reinterpret_cast<uint32_t*>(base + i * pitch);
}

void BeginFrame()
{
    void* pixels = nullptr;
    std::ptrdiff_t pitch = 0;
    if (DisplayLock(&pixels, &pitch)) {
        Display.FramePixels = pixels;
        Display.FramePitch = pitch;
        MapScreenRows(&Display.DisplayScreen, pixels, pitch);
        return;
    }
    // Drawn where it harms nothing and never shown: the rows of an earlier
    // lock are no longer the program's, and on the first frame there are none.
    Display.FramePixels = nullptr;
    std::memcpy(Display.DisplayScreen.rows, Display.SpareScreen.rows, sizeof(uint32_t*) * DisplayHeight);
}

void PresentFrame()
{
    void* pixels = Display.FramePixels;
    if (!pixels)
        return; // the lock failed: the frame went into SpareScreen
    Display.FramePixels = nullptr;
    // The fade runs while the pixels are still the program's; it moves on
    // only for a frame that reaches the screen.
    if (FadeRunning())
        ApplyFade(pixels, DisplayWidth, DisplayHeight, Display.FramePitch);
    if (DisplayUnlock(pixels) && DisplayShow())
        AdvanceFade();
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
    const int32_t level = Display.FadeLevel;
    for (int y = 0; y < height; y++) {
        auto* row = reinterpret_cast<uint32_t*>(base + y * pitch);
        for (int x = 0; x < width; x++)
            row[x] = FadePixel(row[x], level);
    }
}

void AdvanceFade()
{
    if (Display.FadeMode == 1) {
        Display.FadeLevel += 1;
        if (Display.FadeLevel > FadeMax - 1) {
            Display.FadeLevel = FadeMax;
            Display.FadeMode = 0;
        }
    } else if (Display.FadeMode == 2) {
        Display.FadeLevel -= 1;
        if (Display.FadeLevel < 1)
            Display.FadeLevel = 0;
    }
}

bool FadeRunning()
{
    return Display.FadeMode == 1 || Display.FadeMode == 2;
}

void ResetDisplay()
{
    if (CurrentTarget == &Display.DisplayScreen)
        SetTarget(nullptr);
    std::free(Display.DisplayScreen.rows); // the row table is all it owns
    FreeScreen(&Display.SpareScreen);
    Display = DisplayState{};
}
