// Full-area procedural pictures: plasma, fractals, tunnel, floor, blobs.
#include <cmath>

#include "contentgen/paint.h"

namespace {

// Average of a 2x2 grid of samples inside the pixel, against aliasing.
template <typename Shade>
Colour Supersample(int x, int y, Shade shade)
{
    Colour sum{0, 0, 0};
    for (int sy = 0; sy < 2; ++sy)
        for (int sx = 0; sx < 2; ++sx)
            sum = sum + shade(float(x) + 0.25f + 0.5f * float(sx), float(y) + 0.25f + 0.5f * float(sy));
    return sum * 0.25f;
}

// Escape count with the fractional part that removes colour banding;
// a negative result means the point stayed bounded.
float SmoothEscape(double zx, double zy, double cx, double cy, int limit)
{
    for (int n = 0; n < limit; ++n) {
        double x2 = zx * zx, y2 = zy * zy;
        if (x2 + y2 > 256.0)
            return float(n) + 1.0f - float(std::log2(std::log2(x2 + y2) * 0.5));
        zy = 2.0 * zx * zy + cy;
        zx = x2 - y2 + cx;
    }
    return -1.0f;
}

} // namespace

void PaintPlasma(Canvas& c, int)
{
    FillCanvas(c, [](int x, int y) {
        float fx = float(x), fy = float(y);
        float v = std::sin(fx / 37.0f) + std::sin(fy / 23.0f) + std::sin((fx + fy) / 41.0f) +
                  std::sin(Length(fx - 520.0f, fy - 150.0f) / 29.0f) +
                  std::sin(Length(fx - 130.0f, fy - 330.0f) / 47.0f);
        float t = v / 10.0f + 0.5f;
        return CosinePalette(t, {0.5f, 0.5f, 0.5f}, {0.5f, 0.5f, 0.5f}, {1.0f, 1.0f, 1.0f},
                             {0.0f, 0.33f, 0.67f});
    });
}

void PaintMandelbrot(Canvas& c, int)
{
    // Seahorse valley between the main cardioid and the period-2 bulb.
    const double cx = -0.7453, cy = 0.1127, step = 0.0130 / 800.0;
    FillCanvas(c, [&](int x, int y) {
        float mu = SmoothEscape(0, 0, cx + (x - 400) * step, cy + (y - 200) * step, 300);
        if (mu < 0.0f)
            return Hex(0x0A0420);
        float t = std::log(mu + 1.0f) * 0.9f;
        return CosinePalette(t, {0.5f, 0.5f, 0.5f}, {0.5f, 0.5f, 0.5f}, {1.0f, 1.0f, 1.0f},
                             {0.0f, 0.10f, 0.20f});
    });
}

void PaintJulia(Canvas& c, int)
{
    const double jx = -0.8, jy = 0.156, scale = 3.4 / 800.0;
    FillCanvas(c, [&](int x, int y) {
        float mu = SmoothEscape((x - 400) * scale, (y - 200) * scale, jx, jy, 220);
        if (mu < 0.0f)
            return Hex(0xFFF0C0);
        float t = mu * 0.045f;
        Colour deep = CosinePalette(t, {0.5f, 0.5f, 0.5f}, {0.5f, 0.5f, 0.5f}, {1.0f, 0.7f, 0.4f},
                                    {0.0f, 0.15f, 0.20f});
        // Points that escape at once fade into a deep blue backdrop.
        return Mix(Mix(Hex(0x060A28), Hex(0x142060), float(y) / 400.0f), deep, Clamp01(mu * 0.07f));
    });
}

void PaintTunnel(Canvas& c, int)
{
    FillCanvas(c, [](int x, int y) {
        return Supersample(x, y, [](float fx, float fy) {
            float dx = fx - 400.0f, dy = (fy - 200.0f) * 1.4f;
            float r = std::max(Length(dx, dy), 1.0f);
            float depth = 5200.0f / r;
            float angle = std::atan2(dy, dx) / Pi; // -1..1
            int u = int(std::floor(angle * 16.0f + depth * 0.05f));
            int v = int(std::floor(depth * 0.12f));
            bool light = ((u ^ v) & 1) != 0;
            Colour tile = light ? Hsv(Fract(0.55f + float(v % 12) / 36.0f), 0.65f, 1.0f)
                                : Hsv(Fract(0.80f + float(u & 7) / 40.0f), 0.8f, 0.45f);
            float fog = Clamp01(r / 260.0f);
            Colour glow = Hex(0xFFE8FF) * (0.6f * (1.0f - Clamp01(r / 60.0f)));
            return tile * (0.1f + 0.9f * fog) + glow;
        });
    });
}

void PaintCheckerPlane(Canvas& c, int)
{
    const float horizon = 170.0f;
    const Colour sky[] = {Hex(0x0B1C5A), Hex(0x3A62C8), Hex(0x9BD4FF), Hex(0xFFE6B0)};
    FillCanvas(c, [&](int x, int y) {
        return Supersample(x, y, [&](float fx, float fy) {
            if (fy < horizon) {
                Colour s = Gradient(fy / horizon, sky, 4);
                float sun = Length(fx - 560.0f, fy - 120.0f);
                return s + Hex(0xFFF2C0) * (Clamp01(1.2f - sun / 36.0f) + 0.35f * std::exp(-sun / 90.0f));
            }
            float z = 9000.0f / (fy - horizon + 0.5f);
            float wx = (fx - 400.0f) * z / 400.0f;
            bool odd = ((int(std::floor(wx / 40.0f)) + int(std::floor(z / 40.0f))) & 1) != 0;
            Colour floor = odd ? Hex(0xF04090) : Hex(0x30E0F0);
            float fog = Clamp01(z / 2400.0f);
            return Mix(floor, Hex(0xFFE6B0), fog * fog);
        });
    });
}

void PaintMetaballs(Canvas& c, int)
{
    struct Ball {
        float x, y, r;
    };
    const Ball balls[] = {{140, 120, 70}, {300, 260, 90}, {430, 120, 60}, {560, 250, 80},
                          {700, 140, 75}, {220, 330, 45}, {620, 360, 50}, {480, 300, 40}};
    FillCanvas(c, [&](int x, int y) {
        float field = 0.0f;
        for (const Ball& b : balls) {
            float dx = float(x) - b.x, dy = float(y) - b.y;
            field += b.r * b.r / (dx * dx + dy * dy + 1.0f);
        }
        Colour back = Mix(Hex(0x120A30), Hex(0x2A1050), float(y) / 400.0f);
        if (field < 0.8f)
            return Mix(back, Hex(0xFF2080), SmoothStep(0.55f, 0.8f, field) * 0.5f);
        // Contour bands inside the blobs, bright at the core.
        float band = Fract(field * 1.5f);
        Colour core = Mix(Hex(0xFF4E00), Hex(0xFFE060), Clamp01((field - 0.8f) * 0.6f));
        return core * (0.75f + 0.25f * SmoothStep(0.0f, 0.15f, band));
    });
}

void PaintRings(Canvas& c, int)
{
    FillCanvas(c, [](int x, int y) {
        return Supersample(x, y, [](float fx, float fy) {
            float d1 = Length(fx - 250.0f, fy - 160.0f), d2 = Length(fx - 560.0f, fy - 250.0f);
            float d3 = Length(fx - 420.0f, fy + 300.0f);
            float v = std::sin(d1 * 0.09f) + std::sin(d2 * 0.08f) + 0.6f * std::sin(d3 * 0.03f);
            float t = v * 0.18f + fx / 1600.0f;
            return CosinePalette(t, {0.5f, 0.5f, 0.5f}, {0.5f, 0.5f, 0.5f}, {2.0f, 1.0f, 0.0f},
                                 {0.5f, 0.2f, 0.25f});
        });
    });
}

void PaintMandala(Canvas& c, int)
{
    FillCanvas(c, [](int x, int y) {
        return Supersample(x, y, [](float fx, float fy) {
            float dx = fx - 200.0f, dy = fy - 200.0f;
            float r = Length(dx, dy);
            float a = std::atan2(dy, dx);
            const float sector = TwoPi / 12.0f;
            float fold = std::abs(std::fmod(a + Pi, sector) - sector * 0.5f);
            float petals = std::cos(fold * 12.0f) * 22.0f;
            float rings = std::sin((r + petals) * 0.11f);
            float lace = std::sin(fold * 40.0f + r * 0.05f);
            float t = r / 260.0f + rings * 0.12f + lace * 0.05f;
            Colour col = CosinePalette(t, {0.5f, 0.5f, 0.5f}, {0.5f, 0.5f, 0.5f}, {1.0f, 1.0f, 1.0f},
                                       {0.30f, 0.20f, 0.20f});
            float shade = 0.55f + 0.45f * SmoothStep(-0.2f, 0.6f, rings);
            return col * shade * (1.0f - 0.5f * SmoothStep(190.0f, 290.0f, r));
        });
    });
}
