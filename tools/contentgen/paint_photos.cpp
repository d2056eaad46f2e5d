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
    // Sun glitter: broken streaks on the waves under the sun.
    float depth = (fy - horizon) / (200.0f - horizon);
    float waves = ValueNoise(fx * 0.08f, fy * 0.9f, seed + 9);
    float glitter = std::exp(-std::abs(fx - look.sunX) / (6.0f + 40.0f * depth)) * SmoothStep(0.55f, 0.8f, waves);
    Colour sea = Mix(Hsv(Fract(look.hue + 0.5f), 0.6f, 0.6f), Hsv(Fract(look.hue + 0.55f), 0.8f, 0.25f), depth);
    return sea * (0.85f + 0.3f * waves) + Hex(0xFFF0D0) * glitter;
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
    // Day, dusk or night over the sand, by the photo's warmth.
    const float horizon = 60.0f + 50.0f * Fract(look.hue * 7.0f);
    const bool night = look.warmth < 0.35f;
    Colour col = night ? Mix(Hex(0x040A28), Hex(0x28305A), Clamp01(fy / horizon))
                       : Mix(Hsv(Fract(0.58f + look.hue * 0.1f), 0.7f, 0.9f), Hsv(Fract(0.08f + look.hue * 0.05f), 0.35f, 1.0f),
                             Clamp01(fy / horizon));
    col = col + (night ? Hex(0xE0E8FF) * Clamp01(9.0f - Length(fx - look.sunX, fy - look.sunY * 0.6f))
                       : Hex(0xFFFFE0) * Sun(look, fx, fy * 1.4f, 12.0f));
    if (night && ValueNoise(fx, fy, seed) > 0.985f)
        col = Hex(0xFFFFFF);
    float phase = float(seed % 100) * 0.1f;
    const float sandHue = 0.03f + 0.1f * Fract(look.hue * 3.0f);
    for (int layer = 0; layer < 3; ++layer) {
        float freq = 0.015f + 0.012f * float(layer) * (0.5f + look.hue);
        float crest = horizon + float(layer) * 35.0f - 20.0f * std::sin(fx * freq + phase + float(layer));
        if (fy > crest) {
            float side = std::cos(fx * freq + phase + float(layer));
            float light = 0.5f + 0.35f * side * (side > 0 ? 1.0f : 0.6f) + 0.1f * float(layer);
            col = Hsv(sandHue, 0.65f, night ? light * 0.35f : light);
        }
    }
    return col;
}

Colour Forest(PhotoLook& look, float fx, float fy, uint32_t seed)
{
    // Summer, autumn, blue mist or snow, chosen by the photo's hue.
    const int season = int(look.hue * 4.0f) % 4;
    const float leafHue[] = {0.30f, 0.06f, 0.50f, 0.38f};
    Colour col = SkyOf(look, fy, 150.0f) + Hex(0xFFF0C0) * (Sun(look, fx, fy, 10.0f) * 0.8f);
    const float scale = 0.7f + 0.8f * look.warmth;
    for (int layer = 0; layer < 4; ++layer) {
        float spacing = (16.0f + 8.0f * float(layer)) * scale;
        float shift = float((seed * 13u + uint32_t(layer) * 7u) % 50u);
        float local = std::fmod(fx + shift, spacing) - spacing * 0.5f;
        float height = (60.0f + 40.0f * ValueNoise(std::floor((fx + shift) / spacing), float(layer), seed)) * scale;
        float treeTop = 210.0f - height - float(3 - layer) * 22.0f;
        bool tree = fy > treeTop && std::abs(local) < (fy - treeTop) * 0.32f;
        bool ground = fy > 175.0f + float(layer) * 6.0f;
        if (tree || ground) {
            float fog = float(3 - layer) / 4.0f;
            Colour leaf = Hsv(leafHue[season], 0.75f, 0.22f + 0.12f * float(layer));
            if (season == 3) // snow on the ground and along the branches' edges
                leaf = ground && !tree ? Hex(0xEEF4FF) : Mix(leaf, Hex(0xEEF4FF), std::abs(local) > (fy - treeTop) * 0.32f - 2.5f ? 0.85f : 0.1f);
            col = Mix(leaf, col, fog * 0.7f);
        }
    }
    return col;
}

Colour Planet(PhotoLook& look, float fx, float fy, uint32_t seed)
{
    Colour col = Hex(0x04030C) + Hsv(look.hue, 0.8f, 0.4f) * (SmoothStep(0.55f, 0.85f, FractalNoise(fx * 0.02f, fy * 0.02f, seed, 4)) * 0.6f);
    if (ValueNoise(fx * 1.3f, fy * 1.3f, seed + 1) > 0.985f)
        col = Hex(0xFFFFFF);
    const float cx = look.sunX, cy = 60.0f + look.sunY, r = 40.0f + 45.0f * Fract(look.hue * 3.0f);
    const float tilt = (look.warmth - 0.5f) * 1.2f;
    float d = Length(fx - cx, fy - cy);
    if (d < r) {
        float nx = (fx - cx) / r, ny = (fy - cy) / r;
        float light = Clamp01(0.2f + nx * 0.7f - ny * 0.4f);
        float bands = 0.5f + 0.5f * std::sin((ny - nx * tilt * 0.3f) * (8.0f + 12.0f * look.warmth) + nx * 2.0f);
        col = Mix(Hsv(Fract(look.hue + 0.1f), 0.6f, 0.9f), Hsv(Fract(look.hue + 0.3f), 0.5f, 0.6f), bands) * light;
    }
    // A tilted ring, hidden behind the planet on its upper side.
    float ex = (fx - cx) / (r * 1.9f), ey = (fy - cy - (fx - cx) * tilt) / (r * 0.45f);
    float ring = Length(ex, ey);
    if (ring > 0.75f && ring < 1.0f && (fy - cy - (fx - cx) * tilt > 0.0f || d > r))
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
