#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

// A colour being painted: channels in 0..1, clamped only when packed.
struct Colour {
    float r, g, b;
};

// A painting surface: colours plus a coverage value per pixel, so sprites can
// tell their shape from the empty background. Row-major, top row first.
struct Canvas {
    int width = 0;
    int height = 0;
    std::vector<Colour> colour;
    std::vector<float> alpha;
};

// A finished picture: 0x00RRGGBB pixels, row-major, top row first.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
};

// Black, fully uncovered canvas.
Canvas NewCanvas(int width, int height);

// Mixes `c` over the pixel with the given coverage (0..1). Coordinates outside
// the canvas are ignored.
void Blend(Canvas& canvas, int x, int y, Colour c, float coverage);

// Opaque pictures: every pixel covered. Pure black never survives, so the
// picture stays whole wherever it is drawn colour-keyed.
Picture FlattenOpaque(const Canvas& canvas);

// Keyed sprites: a pixel less than half covered becomes pure black (the
// transparent colour), every other pixel keeps its colour and is never black.
Picture FlattenKeyed(const Canvas& canvas);

// Packs a colour to 0x00RRGGBB with rounding and clamping.
uint32_t PackColour(Colour c);

// Paints every pixel of the canvas opaquely from `shade(x, y)`.
template <typename Shade>
void FillCanvas(Canvas& canvas, Shade shade)
{
    for (int y = 0; y < canvas.height; ++y)
        for (int x = 0; x < canvas.width; ++x) {
            size_t i = size_t(y) * size_t(canvas.width) + size_t(x);
            canvas.colour[i] = shade(x, y);
            canvas.alpha[i] = 1.0f;
        }
}

// Colour arithmetic.
inline Colour operator+(Colour a, Colour b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
inline Colour operator*(Colour a, float k) { return {a.r * k, a.g * k, a.b * k}; }
inline Colour operator*(Colour a, Colour b) { return {a.r * b.r, a.g * b.g, a.b * b.b}; }
Colour Mix(Colour a, Colour b, float t);
Colour Hex(uint32_t rgb);
// Hue in turns (0..1), saturation and value in 0..1.
Colour Hsv(float hue, float saturation, float value);
// Cosine palette: a + b * cos(2 pi (c * t + d)) per channel.
Colour CosinePalette(float t, Colour a, Colour b, Colour c, Colour d);
// Vertical gradient through colour stops evenly spaced over 0..1.
Colour Gradient(float t, const Colour* stops, int count);

inline float Clamp01(float v) { return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v); }
float SmoothStep(float edge0, float edge1, float v);
// Fractional part, v - floor(v), for |v| well inside the int range.
inline float Fract(float v) { return v - float(int(v) - (v < float(int(v)))); }
// Length of the vector (x, y); plain square root, no overflow care needed.
inline float Length(float x, float y) { return std::sqrt(x * x + y * y); }

constexpr float Pi = 3.14159265358979f;
constexpr float TwoPi = 6.28318530717959f;

// Deterministic pseudo-random numbers (SplitMix64).
struct Rng {
    uint64_t state;
};
uint32_t NextU32(Rng& rng);
float NextFloat(Rng& rng);                       // 0 <= v < 1
float NextRange(Rng& rng, float lo, float hi);   // lo <= v < hi

// Smooth value noise in 0..1 on an integer lattice, and its fractal sum.
float ValueNoise(float x, float y, uint32_t seed);
float FractalNoise(float x, float y, uint32_t seed, int octaves);
