// Large scenes: the background, the space backdrop, the lake panorama and
// the tall city picture.
#include <cmath>

#include "contentgen/paint.h"
#include "contentgen/shapes.h"

namespace {

// Sparse stars from a hash of the pixel: about `density` of all pixels.
Colour Stars(int x, int y, uint32_t seed, float density)
{
    float v = ValueNoise(float(x) * 1.0f + 0.5f, float(y) * 1.0f + 0.5f, seed);
    float h = Fract(v * 977.0f);
    if (h > density)
        return {0, 0, 0};
    float bright = 1.0f - h / density;
    return Hex(0xFFF4E0) * (bright * bright);
}

// Height of a mountain ridge across the picture, in pixels from the top.
float Ridge(float x, float base, float amplitude, float scale, uint32_t seed)
{
    float n = FractalNoise(x * scale, 0.5f, seed, 5);
    return base - amplitude * (n - 0.3f) * 2.0f;
}

} // namespace

void PaintBackdrop(Canvas& c, int)
{
    const Colour sky[] = {Hex(0x0A0320), Hex(0x2A0850), Hex(0x7A1470), Hex(0xE04870), Hex(0xFFA050)};
    const float horizon = 330.0f;
    FillCanvas(c, [&](int x, int y) {
        float fx = float(x) + 0.5f, fy = float(y) + 0.5f;
        if (fy < horizon) {
            Colour col = Gradient(fy / horizon, sky, 5) + Stars(x, y, 11, 0.004f) * Clamp01(1.0f - fy / 200.0f);
            // A striped sun sinking behind the mountains.
            float sun = Length(fx - 400.0f, fy - 250.0f);
            bool gap = fy > 220.0f && std::fmod(fy, 14.0f) < (fy - 210.0f) / 12.0f;
            if (sun < 120.0f && !gap)
                col = Mix(Hex(0xFFF070), Hex(0xFF3C78), Clamp01((fy - 140.0f) / 200.0f));
            col = col + Hex(0xFF6090) * (0.25f * std::exp(-std::abs(sun - 120.0f) / 30.0f));
            float far = Ridge(fx, 300.0f, 40.0f, 0.012f, 3);
            float near = Ridge(fx, 322.0f, 30.0f, 0.02f, 5);
            if (fy > far)
                col = Mix(Hex(0x301048), Hex(0x501860), Clamp01((fy - far) / 60.0f));
            if (fy > near)
                col = Hex(0x1C0A30);
            return col;
        }
        // Perspective grid floor below the horizon: lines every `Spacing`
        // world units across and along, their distance measured in pixels.
        constexpr float Spacing = 1.6f;
        float z = 4000.0f / (fy - horizon + 2.0f);
        float wx = (fx - 400.0f) * z / 400.0f;
        float acrossPixels = std::abs(Fract(wx / Spacing + 0.5f) - 0.5f) * Spacing * 400.0f / z;
        float alongPixels = std::abs(Fract(z / Spacing + 0.5f) - 0.5f) * Spacing * 4000.0f / (z * z);
        float glow = std::max(Clamp01(1.3f - acrossPixels * 0.7f), Clamp01(1.3f - alongPixels * 0.7f));
        float haze = Clamp01((fy - horizon) / 120.0f);
        Colour floor = Mix(Hex(0x1A0630), Hex(0x0A0218), Clamp01((fy - horizon) / 270.0f));
        return floor + Hex(0xFF40C0) * (glow * (0.25f + 0.75f * haze)) + Hex(0xFF6090) * (0.3f * (1.0f - haze));
    });
}

void PaintSpace(Canvas& c, int)
{
    FillCanvas(c, [](int x, int y) {
        float fx = float(x), fy = float(y);
        float cloud = FractalNoise(fx * 0.006f, fy * 0.009f, 21, 6);
        float veil = FractalNoise(fx * 0.011f + 3.0f, fy * 0.011f, 37, 5);
        Colour col = Hex(0x04020E) + Hex(0x6020A0) * (SmoothStep(0.45f, 0.8f, cloud) * 0.8f) +
                     Hex(0x1080C0) * (SmoothStep(0.5f, 0.85f, veil) * 0.7f) + Stars(x, y, 5, 0.006f);
        // A planet on the right with a lit rim and a thin atmosphere.
        float d = Length(fx - 650.0f, fy - 300.0f);
        if (d < 190.0f) {
            float nx = (fx - 650.0f) / 190.0f, ny = (fy - 300.0f) / 190.0f;
            float nz = std::sqrt(std::max(0.0f, 1.0f - nx * nx - ny * ny));
            float light = Clamp01(-nx * 0.6f - ny * 0.5f + nz * 0.6f);
            float bands = 0.5f + 0.5f * std::sin(ny * 18.0f + FractalNoise(fx * 0.02f, fy * 0.05f, 9, 3) * 4.0f);
            Colour ground = Mix(Hex(0x2A5CB0), Hex(0x70D0E0), bands);
            col = ground * (0.08f + 0.92f * light);
        }
        col = col + Hex(0x60C0FF) * (0.5f * std::exp(-std::abs(d - 190.0f) / 8.0f));
        return col;
    });
}

void PaintLakeland(Canvas& c, int)
{
    const Colour sky[] = {Hex(0x2C64C0), Hex(0x7EB0E8), Hex(0xF4D8B0)};
    const float shore = 270.0f;
    auto land = [&](float fx, float fy) {
        float peak = Ridge(fx, 200.0f, 110.0f, 0.006f, 13);
        float hill = Ridge(fx, 250.0f, 35.0f, 0.015f, 17);
        if (fy > hill)
            return Mix(Hex(0x1E4A28), Hex(0x2E6A30), FractalNoise(fx * 0.08f, fy * 0.08f, 4, 3));
        if (fy > peak) {
            float rock = FractalNoise(fx * 0.03f, fy * 0.05f, 8, 4);
            Colour stone = Mix(Hex(0x4A4E68), Hex(0x8A8CA8), rock);
            float snowLine = peak + 18.0f + 20.0f * rock;
            return fy < snowLine ? Mix(Hex(0xF8FAFF), stone, SmoothStep(snowLine - 6.0f, snowLine, fy)) : stone;
        }
        Colour s = Gradient(fy / shore, sky, 3);
        float cloud = FractalNoise(fx * 0.008f, fy * 0.03f, 31, 5);
        return Mix(s, Hex(0xFFFFFF), SmoothStep(0.55f, 0.75f, cloud) * 0.8f);
    };
    FillCanvas(c, [&](int x, int y) {
        float fx = float(x) + 0.5f, fy = float(y) + 0.5f;
        if (fy < shore)
            return land(fx, fy);
        // The lake mirrors the land, rippled and darkened with depth.
        float depth = fy - shore;
        float ripple = std::sin(depth * 0.9f + std::sin(fx * 0.05f) * 2.0f) * depth * 0.04f;
        Colour mirror = land(fx + ripple, shore - depth * 1.2f - 2.0f);
        return Mix(mirror * 0.8f, Hex(0x10305A), Clamp01(depth / 180.0f) * 0.6f);
    });
}

void PaintTallCity(Canvas& c, int)
{
    const Colour sky[] = {Hex(0x02030C), Hex(0x0A1440), Hex(0x3A2A80), Hex(0xC05090), Hex(0xFFB070)};
    const float skyline = 560.0f, waterline = 620.0f;
    // Building tops and window seeds across the width.
    auto building = [](float fx, int& index) {
        index = int(fx / 46.0f);
        float h = 0.5f + 0.5f * ValueNoise(float(index) * 0.77f, 3.3f, 41);
        return 560.0f - 60.0f - h * 190.0f;
    };
    auto city = [&](float fx, float fy) -> Colour {
        int index = 0;
        float top = building(fx, index);
        float local = std::fmod(fx, 46.0f);
        if (fy < top || local < 3.0f || fy > waterline)
            return Gradient(fy / skyline, sky, 5) * 0.9f;
        bool window = std::fmod(local - 3.0f, 9.0f) < 5.0f && std::fmod(fy - top, 12.0f) > 5.0f && local < 42.0f;
        bool lit = ValueNoise(float(int(local / 9.0f)) + float(index) * 7.0f, float(int((fy - top) / 12.0f)), 77) > 0.5f;
        if (window && lit)
            return Mix(Hex(0xFFD870), Hex(0x70E0FF), float(index % 3) * 0.4f);
        return Mix(Hex(0x161A34), Hex(0x242A50), float(index % 4) / 3.0f);
    };
    FillCanvas(c, [&](int x, int y) {
        float fx = float(x) + 0.5f, fy = float(y) + 0.5f;
        if (fy < waterline) {
            int index = 0;
            if (fy < building(fx, index)) {
                Colour col = Gradient(fy / skyline, sky, 5) + Stars(x, y, 19, 0.005f) * Clamp01(1.0f - fy / 350.0f);
                float moon = Length(fx - 560.0f, fy - 160.0f);
                if (moon < 60.0f && Length(fx - 585.0f, fy - 145.0f) > 55.0f)
                    col = Hex(0xFFF4D0);
                return col + Hex(0xA0B0FF) * (0.3f * std::exp(-std::abs(moon - 60.0f) / 25.0f));
            }
            return city(fx, fy);
        }
        float depth = fy - waterline;
        float ripple = std::sin(depth * 0.5f + fx * 0.02f) * (2.0f + depth * 0.05f);
        Colour mirror = city(fx + ripple, waterline - depth * 1.3f - 1.0f);
        return Mix(mirror * 0.75f, Hex(0x0A1030), Clamp01(depth / 220.0f));
    });
}
