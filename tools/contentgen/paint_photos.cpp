// The 28 photographs: seven kinds of scene, each kind four times with its own
// random light, colours and shapes, finished like a print.
#include <cmath>

#include "contentgen/paint.h"
#include "contentgen/shapes.h"

namespace {

struct PhotoLook {
    Rng rng;
    float hue;     // main hue of the light
    float warmth;  // 0 cold .. 1 warm
    float sunX, sunY;
};

Colour SkyOf(const PhotoLook& look, float fy, float horizon)
{
    Colour top = Hsv(Fract(look.hue + 0.55f), 0.7f, 0.35f + 0.3f * look.warmth);
    Colour low = Hsv(Fract(look.hue), 0.55f, 0.95f);
    return Mix(top, low, Clamp01(fy / horizon));
}

float Sun(const PhotoLook& look, float fx, float fy, float radius)
{
    float d = Length(fx - look.sunX, fy - look.sunY);
    return Clamp01(radius - d + 0.5f) + 0.5f * std::exp(-d / (radius * 2.5f));
}

Colour Mountains(PhotoLook& look, float fx, float fy, uint32_t seed)
{
    const float horizon = 120.0f + 40.0f * look.warmth;
    Colour col = SkyOf(look, fy, horizon) + Hsv(Fract(look.hue + 0.05f), 0.3f, 1.0f) * Sun(look, fx, fy, 14.0f);
    for (int layer = 0; layer < 4; ++layer) {
        float base = horizon - 50.0f + float(layer) * 28.0f;
        float ridge = base - 40.0f * FractalNoise(fx * (0.012f + 0.006f * float(layer)), float(layer), seed + uint32_t(layer), 5);
        if (fy > ridge) {
            float fade = float(3 - layer) / 4.0f;
            col = Mix(Hsv(Fract(look.hue + 0.6f), 0.45f, 0.18f + 0.1f * float(layer)), SkyOf(look, horizon, horizon), fade * 0.7f);
        }
    }
    return col;
}

Colour Seascape(PhotoLook& look, float fx, float fy, uint32_t seed)
{
    const float horizon = 90.0f + 30.0f * look.warmth;
    if (fy < horizon) {
        float cloud = FractalNoise(fx * 0.02f, fy * 0.06f, seed, 4);
        return Mix(SkyOf(look, fy, horizon), Hex(0xFFFFFF), SmoothStep(0.6f, 0.8f, cloud) * 0.7f) +
               Hex(0xFFF0C0) * Sun(look, fx, fy, 16.0f);
    }
    float depth = (fy - horizon) / (200.0f - horizon);
    float glitter = std::exp(-std::abs(fx - look.sunX) / (8.0f + 40.0f * depth)) *
                    (0.5f + 0.5f * std::sin(fy * 2.0f + std::sin(fx * 0.3f) * 3.0f));
    Colour sea = Mix(Hsv(Fract(look.hue + 0.5f), 0.6f, 0.6f), Hsv(Fract(look.hue + 0.55f), 0.8f, 0.25f), depth);
    return sea + Hex(0xFFF0D0) * (glitter * 0.8f);
}

Colour NightCity(PhotoLook& look, float fx, float fy, uint32_t seed)
{
    Colour col = Mix(Hex(0x050818), Hsv(Fract(look.hue + 0.7f), 0.6f, 0.45f), fy / 200.0f);
    if (ValueNoise(fx, fy, seed) > 0.992f)
        col = Hex(0xFFFFFF);
    col = col + Hex(0xFFF8E0) * Clamp01(12.0f - Length(fx - look.sunX, fy - look.sunY * 0.5f));
    int index = int((fx + float(seed % 17)) / 22.0f);
    float top = 80.0f + 90.0f * ValueNoise(float(index) * 0.9f, 1.0f, seed);
    if (fy > top) {
        float lx = std::fmod(fx + float(seed % 17), 22.0f);
        bool window = std::fmod(lx, 6.0f) < 3.0f && std::fmod(fy - top, 7.0f) < 3.5f && lx > 2.0f;
        bool lit = ValueNoise(float(int(lx / 6.0f)) * 3.0f + float(index) * 11.0f, float(int((fy - top) / 7.0f)), seed + 3) > 0.45f;
        col = window && lit ? Hsv(Fract(look.hue + 0.1f), 0.5f, 1.0f) : Hex(0x0C0E1C) + Hex(0x101830) * float(index % 3);
    }
    return col;
}

Colour Dunes(PhotoLook& look, float fx, float fy, uint32_t seed)
{
    const float horizon = 80.0f;
    Colour col = Mix(Hex(0x3A8CE0), Hex(0xF8E0B0), Clamp01(fy / horizon)) + Hex(0xFFFFE0) * Sun(look, fx, fy * 1.4f, 12.0f);
    float phase = float(seed % 100) * 0.1f;
    for (int layer = 0; layer < 3; ++layer) {
        float crest = horizon + float(layer) * 40.0f - 20.0f * std::sin(fx * (0.02f + 0.01f * float(layer)) + phase + float(layer));
        if (fy > crest) {
            float side = std::cos(fx * (0.02f + 0.01f * float(layer)) + phase + float(layer));
            col = Hsv(0.07f + 0.03f * look.warmth, 0.65f, 0.55f + 0.35f * side * (side > 0 ? 1.0f : 0.6f) + 0.1f * float(layer));
        }
    }
    return col;
}

Colour Forest(PhotoLook& look, float fx, float fy, uint32_t seed)
{
    Colour col = Mix(Hsv(Fract(look.hue * 0.3f + 0.5f), 0.3f, 0.85f), Hex(0xE0F0E0), fy / 200.0f);
    for (int layer = 0; layer < 4; ++layer) {
        float spacing = 18.0f + 8.0f * float(layer);
        float shift = float((seed * 13u + uint32_t(layer) * 7u) % 50u);
        float local = std::fmod(fx + shift, spacing) - spacing * 0.5f;
        float height = 80.0f + 30.0f * ValueNoise(std::floor((fx + shift) / spacing), float(layer), seed);
        float treeTop = 200.0f - height - float(3 - layer) * 18.0f + 40.0f;
        float halfWidth = (fy - treeTop) * 0.3f;
        bool tree = fy > treeTop && std::abs(local) < halfWidth;
        bool ground = fy > 170.0f + float(layer) * 8.0f;
        if (tree || ground) {
            float fog = float(3 - layer) / 4.0f;
            col = Mix(Hsv(0.3f + 0.05f * look.warmth, 0.7f, 0.2f + 0.1f * float(layer)), col, fog * 0.75f);
        }
    }
    return col;
}

Colour Planet(PhotoLook& look, float fx, float fy, uint32_t seed)
{
    Colour col = Hex(0x04030C) + Hsv(look.hue, 0.8f, 0.4f) * (SmoothStep(0.55f, 0.85f, FractalNoise(fx * 0.02f, fy * 0.02f, seed, 4)) * 0.6f);
    if (ValueNoise(fx * 1.3f, fy * 1.3f, seed + 1) > 0.985f)
        col = Hex(0xFFFFFF);
    float cx = 70.0f + 60.0f * look.warmth, cy = 110.0f, r = 55.0f + 20.0f * Fract(look.hue * 3.0f);
    float d = Length(fx - cx, fy - cy);
    if (d < r) {
        float nx = (fx - cx) / r, ny = (fy - cy) / r;
        float light = Clamp01(0.2f + nx * 0.7f - ny * 0.4f);
        float bands = 0.5f + 0.5f * std::sin(ny * 14.0f + nx * 2.0f);
        col = Mix(Hsv(Fract(look.hue + 0.1f), 0.6f, 0.9f), Hsv(Fract(look.hue + 0.3f), 0.5f, 0.6f), bands) * light;
    }
    // A tilted ring in front of the lower half.
    float ex = (fx - cx) / (r * 1.9f), ey = (fy - cy - (fx - cx) * 0.25f) / (r * 0.45f);
    float ring = Length(ex, ey);
    if (ring > 0.75f && ring < 1.0f && (fy > cy || d > r))
        col = Hsv(Fract(look.hue + 0.08f), 0.3f, 0.9f) * (0.6f + 0.4f * std::sin(ring * 60.0f));
    return col;
}

Colour Flower(PhotoLook& look, float fx, float fy, uint32_t seed)
{
    float blurry = FractalNoise(fx * 0.015f, fy * 0.015f, seed, 3);
    Colour col = Mix(Hsv(0.28f, 0.6f, 0.25f), Hsv(0.2f, 0.5f, 0.6f), blurry);
    float dx = fx - 100.0f - 20.0f * (look.warmth - 0.5f), dy = fy - 100.0f;
    float r = Length(dx, dy), a = std::atan2(dy, dx);
    int petals = 5 + int(seed % 4);
    float edge = 70.0f * (0.6f + 0.4f * std::abs(std::cos(a * float(petals) * 0.5f)));
    if (r < edge) {
        float vein = 0.85f + 0.15f * std::cos(a * float(petals) * 6.0f);
        col = Mix(Hsv(look.hue, 0.9f, 1.0f), Hsv(Fract(look.hue + 0.05f), 0.5f, 1.0f), r / edge) * vein;
    }
    if (r < 16.0f)
        col = Hsv(0.13f, 0.9f, 0.6f + 0.4f * ValueNoise(fx * 0.8f, fy * 0.8f, seed + 5));
    return col;
}

using SceneFn = Colour (*)(PhotoLook&, float, float, uint32_t);
constexpr SceneFn Scenes[] = {Mountains, Seascape, NightCity, Dunes, Forest, Planet, Flower};

} // namespace

void PaintPhoto(Canvas& c, int slot)
{
    const int n = slot - 51;
    const SceneFn scene = Scenes[n % 7];
    const uint32_t seed = uint32_t(n) * 7919u + 17u;
    PhotoLook look{Rng{seed}, 0, 0, 0, 0};
    look.hue = NextFloat(look.rng);
    look.warmth = NextFloat(look.rng);
    look.sunX = NextRange(look.rng, 30.0f, 170.0f);
    look.sunY = NextRange(look.rng, 30.0f, 90.0f);
    Rng grain{seed ^ 0xA5A5u};
    FillCanvas(c, [&](int x, int y) {
        float fx = float(x) + 0.5f, fy = float(y) + 0.5f;
        if (x < 4 || y < 4 || x > 195 || y > 195)
            return Hex(0xF4F0E8); // the white edge of the print
        Colour col = scene(look, fx, fy, seed);
        float vignette = 1.0f - 0.35f * std::pow(Length(fx - 100.0f, fy - 100.0f) / 141.0f, 2.0f);
        float noise = (NextFloat(grain) - 0.5f) * 0.05f;
        return col * vignette + Colour{noise, noise, noise};
    });
}
