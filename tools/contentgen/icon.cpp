#include "contentgen/icon.h"

#include <cmath>

#include "contentgen/picture.h"
#include "contentgen/shapes.h"

namespace {

constexpr float Centre = IconFullSize / 2.0f;

Canvas PaintFullIcon()
{
    Canvas c = NewCanvas(IconFullSize, IconFullSize);
    // The disc: violet and blue clouds over black, sparse stars, a lit rim.
    PaintOutlined(c, [](float x, float y) { return CircleDistance(x, y, Centre, Centre, 116); }, 6.0f, Hex(0x60C0FF),
                  [](int x, int y) {
                      const float fx = float(x), fy = float(y);
                      const float cloud = FractalNoise(fx * 0.018f, fy * 0.024f, 21, 5);
                      const float veil = FractalNoise(fx * 0.03f + 3.0f, fy * 0.03f, 37, 4);
                      const float star = Fract(ValueNoise(fx + 0.5f, fy + 0.5f, 5) * 977.0f);
                      return Hex(0x06031A) + Hex(0x7028B0) * (SmoothStep(0.4f, 0.8f, cloud) * 0.8f) +
                             Hex(0x1080C0) * (SmoothStep(0.5f, 0.85f, veil) * 0.6f) +
                             Hex(0xFFF4E0) * (star < 0.012f ? 1.0f - star / 0.012f : 0.0f);
                  });
    // The planet between the back and the front half of a tilted ring.
    const float cx = Centre, cy = Centre + 4, r = 62;
    auto ring = [&](float x, float y) {
        const float ex = (x - cx) / 112.0f, ey = (y - cy + (x - cx) * 0.35f) / 30.0f;
        const float d = Length(ex, ey);
        return std::max(0.74f - d, d - 1.0f) * 28.0f;
    };
    auto ringColour = [&](int x, int y) {
        const float ex = (float(x) - cx) / 112.0f, ey = (float(y) - cy + (float(x) - cx) * 0.35f) / 30.0f;
        return Mix(Hex(0xF0C080), Hex(0xA06040), 0.5f + 0.5f * std::sin(Length(ex, ey) * 40.0f));
    };
    auto behind = [&](float x, float y) { return y - cy + (x - cx) * 0.35f; };
    PaintShape(c, [&](float x, float y) { return std::max(ring(x, y), behind(x, y)); }, ringColour);
    PaintOutlined(c, [&](float x, float y) { return CircleDistance(x, y, cx, cy, r); }, 2.0f, Hex(0x301808),
                  [&](int x, int y) {
                      const float nx = (float(x) - cx) / r, ny = (float(y) - cy) / r;
                      const float light = Clamp01(0.7f - nx * 0.5f - ny * 0.5f);
                      const float bands = 0.5f + 0.5f * std::sin(ny * 14.0f + nx * 3.0f);
                      return Mix(Hex(0xFF9040), Hex(0xFFE0A0), bands) * (0.25f + light);
                  });
    PaintShape(c, [&](float x, float y) { return std::max(ring(x, y), -behind(x, y)); }, ringColour);
    return c;
}

uint32_t Channel(float v) { return uint32_t(Clamp01(v) * 255.0f + 0.5f); }

} // namespace

bool IsIconSize(int size)
{
    return size >= 16 && size <= IconFullSize && IconFullSize % size == 0 && (size & (size - 1)) == 0;
}

std::vector<uint32_t> PaintIcon(int size)
{
    const Canvas full = PaintFullIcon();
    const int step = IconFullSize / size;
    std::vector<uint32_t> pixels(size_t(size) * size_t(size));
    // Each pixel the mean of a step x step block. Canvas colours are already
    // weighted by their coverage, so they are averaged as they are and only
    // divided by the mean coverage at the end.
    for (int y = 0; y < size; y++)
        for (int x = 0; x < size; x++) {
            Colour sum{0, 0, 0};
            float alpha = 0;
            for (int sy = y * step; sy < (y + 1) * step; sy++)
                for (int sx = x * step; sx < (x + 1) * step; sx++) {
                    const size_t i = size_t(sy) * IconFullSize + size_t(sx);
                    sum = sum + full.colour[i];
                    alpha += full.alpha[i];
                }
            const float blocks = float(step * step), a = alpha / blocks;
            const Colour straight = a > 0 ? sum * (1.0f / alpha) : Colour{0, 0, 0};
            pixels[size_t(y) * size_t(size) + size_t(x)] = Channel(a) << 24 | PackColour(straight);
        }
    return pixels;
}
