#include "contentgen/picture.h"

#include <algorithm>
#include <cmath>

Canvas NewCanvas(int width, int height)
{
    Canvas c;
    c.width = width;
    c.height = height;
    c.colour.assign(size_t(width) * size_t(height), Colour{0, 0, 0});
    c.alpha.assign(size_t(width) * size_t(height), 0.0f);
    return c;
}

void Blend(Canvas& canvas, int x, int y, Colour c, float coverage)
{
    if (x < 0 || y < 0 || x >= canvas.width || y >= canvas.height || coverage <= 0.0f)
        return;
    coverage = std::min(coverage, 1.0f);
    size_t i = size_t(y) * size_t(canvas.width) + size_t(x);
    canvas.colour[i] = Mix(canvas.colour[i], c, coverage);
    canvas.alpha[i] += coverage * (1.0f - canvas.alpha[i]);
}

uint32_t PackColour(Colour c)
{
    auto channel = [](float v) { return uint32_t(Clamp01(v) * 255.0f + 0.5f); };
    return (channel(c.r) << 16) | (channel(c.g) << 8) | channel(c.b);
}

Picture FlattenOpaque(const Canvas& canvas)
{
    Picture p{canvas.width, canvas.height, std::vector<uint32_t>(canvas.colour.size())};
    for (size_t i = 0; i < canvas.colour.size(); ++i) {
        uint32_t v = PackColour(canvas.colour[i]);
        p.pixels[i] = v == 0 ? 0x010101u : v;
    }
    return p;
}

Picture FlattenKeyed(const Canvas& canvas)
{
    const int w = canvas.width, h = canvas.height;
    Picture p{w, h, std::vector<uint32_t>(canvas.colour.size())};
    auto covered = [&](int x, int y) { return canvas.alpha[size_t(y) * size_t(w) + size_t(x)] >= 0.5f; };
    // Edge pixels were mixed towards the black background; undo that so
    // outlines keep their colour instead of fading into dark fringes.
    auto colourAt = [&](int x, int y) {
        size_t i = size_t(y) * size_t(w) + size_t(x);
        return canvas.colour[i] * (1.0f / std::max(canvas.alpha[i], 1e-3f));
    };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            size_t i = size_t(y) * size_t(w) + size_t(x);
            Colour c;
            if (covered(x, y)) {
                c = colourAt(x, y);
            } else if (x > 0 && y > 0 && x < w - 1 && y < h - 1 && covered(x - 1, y) && covered(x + 1, y) &&
                       covered(x, y - 1) && covered(x, y + 1)) {
                // A lone uncovered pixel inside the shape would show the
                // background through: close it with its neighbours' colour.
                c = (colourAt(x - 1, y) + colourAt(x + 1, y) + colourAt(x, y - 1) + colourAt(x, y + 1)) * 0.25f;
            } else {
                p.pixels[i] = 0;
                continue;
            }
            uint32_t v = PackColour(c);
            p.pixels[i] = v == 0 ? 0x010101u : v;
        }
    return p;
}

Colour Mix(Colour a, Colour b, float t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Colour Hex(uint32_t rgb)
{
    return {float((rgb >> 16) & 255) / 255.0f, float((rgb >> 8) & 255) / 255.0f, float(rgb & 255) / 255.0f};
}

Colour Hsv(float hue, float saturation, float value)
{
    auto channel = [&](float n) {
        float k = std::fmod(n + hue * 6.0f, 6.0f);
        if (k < 0.0f)
            k += 6.0f;
        float m = std::clamp(std::min(k, 4.0f - k), 0.0f, 1.0f);
        return value - value * saturation * m;
    };
    return {channel(5.0f), channel(3.0f), channel(1.0f)};
}

Colour CosinePalette(float t, Colour a, Colour b, Colour c, Colour d)
{
    return {a.r + b.r * std::cos(TwoPi * (c.r * t + d.r)), a.g + b.g * std::cos(TwoPi * (c.g * t + d.g)),
            a.b + b.b * std::cos(TwoPi * (c.b * t + d.b))};
}

Colour Gradient(float t, const Colour* stops, int count)
{
    float pos = Clamp01(t) * float(count - 1);
    int i = std::min(int(pos), count - 2);
    return Mix(stops[i], stops[i + 1], pos - float(i));
}

float SmoothStep(float edge0, float edge1, float v)
{
    float t = Clamp01((v - edge0) / (edge1 - edge0));
    return t * t * (3.0f - 2.0f * t);
}

uint32_t NextU32(Rng& rng)
{
    uint64_t z = (rng.state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return uint32_t((z ^ (z >> 31)) >> 32);
}

float NextFloat(Rng& rng) { return float(NextU32(rng) >> 8) * (1.0f / 16777216.0f); }

float NextRange(Rng& rng, float lo, float hi) { return lo + (hi - lo) * NextFloat(rng); }

namespace {

float LatticeValue(int x, int y, uint32_t seed)
{
    uint32_t h = uint32_t(x) * 0x8DA6B343u ^ uint32_t(y) * 0xD8163841u ^ seed * 0xCB1AB31Fu;
    h ^= h >> 13;
    h *= 0x5BD1E995u;
    h ^= h >> 15;
    return float(h & 0xFFFFFF) * (1.0f / 16777215.0f);
}

} // namespace

float ValueNoise(float x, float y, uint32_t seed)
{
    float fx = std::floor(x), fy = std::floor(y);
    int ix = int(fx), iy = int(fy);
    float tx = x - fx, ty = y - fy;
    tx = tx * tx * (3.0f - 2.0f * tx);
    ty = ty * ty * (3.0f - 2.0f * ty);
    float a = LatticeValue(ix, iy, seed), b = LatticeValue(ix + 1, iy, seed);
    float c = LatticeValue(ix, iy + 1, seed), d = LatticeValue(ix + 1, iy + 1, seed);
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

float FractalNoise(float x, float y, uint32_t seed, int octaves)
{
    float sum = 0.0f, amplitude = 0.5f, total = 0.0f;
    for (int i = 0; i < octaves; ++i) {
        sum += ValueNoise(x, y, seed + uint32_t(i) * 101u) * amplitude;
        total += amplitude;
        x *= 2.03f;
        y *= 2.03f;
        amplitude *= 0.5f;
    }
    return sum / total;
}
