// Quarter pictures, band images, tiles and animation frames.
#include <algorithm>
#include <cmath>
#include <vector>

#include "contentgen/paint.h"
#include "contentgen/shapes.h"

void PaintCopperBars(Canvas& c, int)
{
    FillCanvas(c, [](int x, int y) {
        Colour col = Mix(Hex(0x140828), Hex(0x2A0E40), float(y) / 200.0f);
        // Seven shaded bars, later ones in front.
        for (int i = 0; i < 7; ++i) {
            float centre = 100.0f + 72.0f * std::sin(float(i) * 0.9f + float(x) * 0.012f);
            float d = std::abs(float(y) - centre) / 13.0f;
            if (d < 1.0f) {
                float light = std::sqrt(1.0f - d * d);
                col = Hsv(Fract(float(i) / 7.0f + 0.02f), 0.75f - 0.5f * light * light, 0.25f + 0.75f * light);
            }
        }
        return col;
    });
}

void PaintFire(Canvas& c, int)
{
    // The classic spreading fire, run long enough to settle.
    const int w = c.width, h = c.height + 2;
    std::vector<float> heat(size_t(w) * size_t(h), 0.0f);
    Rng rng{0xF12E};
    for (int step = 0; step < 260; ++step) {
        for (int x = 0; x < w; ++x)
            heat[size_t(h - 1) * size_t(w) + size_t(x)] = NextFloat(rng) < 0.55f ? 1.0f : 0.1f;
        for (int y = 0; y < h - 1; ++y)
            for (int x = 0; x < w; ++x) {
                auto at = [&](int xx, int yy) { return heat[size_t(yy) * size_t(w) + size_t((xx + w) % w)]; };
                float v = (at(x - 1, y + 1) + at(x, y + 1) + at(x + 1, y + 1) + at(x, std::min(y + 2, h - 1))) * 0.25f;
                heat[size_t(y) * size_t(w) + size_t(x)] = std::max(0.0f, v - 0.0032f);
            }
    }
    const Colour ramp[] = {Hex(0x1A0606), Hex(0x8A1004), Hex(0xF05A08), Hex(0xFFC030), Hex(0xFFF8D0)};
    FillCanvas(c, [&](int x, int y) { return Gradient(heat[size_t(y) * size_t(w) + size_t(x)] * 1.15f, ramp, 5); });
}

void PaintWaves(Canvas& c, int)
{
    FillCanvas(c, [](int x, int y) {
        float fx = float(x), fy = float(y);
        float caustic = 0.0f;
        for (int i = 0; i < 4; ++i) {
            float a = float(i) * 1.7f;
            float u = fx * std::cos(a) + fy * std::sin(a);
            caustic += std::pow(std::abs(std::sin(u * 0.045f + std::sin(fy * 0.03f + float(i)) * 1.6f)), 8.0f);
        }
        Colour water = Mix(Hex(0x0E6E8A), Hex(0x0A2E5C), fy / 200.0f);
        return water + Hex(0xC0FFF4) * (caustic * 0.45f);
    });
}

void PaintCarpet(Canvas& c, int)
{
    FillCanvas(c, [](int x, int y) {
        int u = (x % 200) * 243 / 200, v = y * 243 / 200;
        int level = 0;
        for (int k = 0; k < 5; ++k, u /= 3, v /= 3)
            if (u % 3 == 1 && v % 3 == 1) {
                level = 5 - k;
                break;
            }
        float hue = Fract(float(x) / 400.0f + float(y) / 900.0f);
        if (level == 0)
            return Hsv(hue, 0.7f, 0.95f);
        return Hsv(Fract(hue + 0.5f), 0.6f, 0.15f + 0.12f * float(level));
    });
}

void PaintSpiral(Canvas& c, int)
{
    FillCanvas(c, [](int x, int y) {
        float dx = float(x) - 200.0f, dy = float(y) - 100.0f;
        float r = Length(dx, dy) + 0.5f;
        float a = std::atan2(dy, dx);
        float arms = std::sin(a * 5.0f + std::log(r) * 7.0f);
        Colour col = Hsv(Fract(a / TwoPi + std::log(r) * 0.15f), 0.85f, 0.55f + 0.45f * arms * arms);
        return Mix(Hex(0xFFFFFF), col, SmoothStep(0.0f, 18.0f, r));
    });
}

void PaintCrystals(Canvas& c, int)
{
    constexpr int Count = 26;
    float sx[Count], sy[Count];
    Rng rng{0xC4157A1};
    for (int i = 0; i < Count; ++i) {
        sx[i] = NextRange(rng, 0, 400);
        sy[i] = NextRange(rng, 0, 200);
    }
    FillCanvas(c, [&](int x, int y) {
        float best = 1e9f, second = 1e9f;
        int owner = 0;
        for (int i = 0; i < Count; ++i) {
            float d = Length(float(x) - sx[i], float(y) - sy[i]);
            if (d < best) {
                second = best;
                best = d;
                owner = i;
            } else if (d < second) {
                second = d;
            }
        }
        float edge = SmoothStep(0.0f, 5.0f, second - best);
        Colour cell = Hsv(0.48f + 0.25f * Fract(float(owner) * 0.618f), 0.55f, 0.55f + 0.45f * (1.0f - best / 80.0f));
        return Mix(Hex(0xE8FFFF), cell, edge);
    });
}

void PaintAurora(Canvas& c, int)
{
    FillCanvas(c, [](int x, int y) {
        float fx = float(x), fy = float(y);
        Colour col = Mix(Hex(0x020A1E), Hex(0x0C2840), fy / 200.0f);
        // Curtains of light above a snow line.
        float curtain = 70.0f + 30.0f * std::sin(fx * 0.015f) + 12.0f * std::sin(fx * 0.05f + 1.0f);
        float rays = 0.6f + 0.4f * std::sin(fx * 0.21f + std::sin(fx * 0.03f) * 3.0f);
        float glow = std::exp(-std::abs(fy - curtain) / 26.0f) * rays;
        col = col + Mix(Hex(0x30FF90), Hex(0xB040FF), Clamp01((curtain - fy) / 60.0f)) * glow;
        if (ValueNoise(fx * 0.9f, fy * 0.9f, 7) > 0.985f)
            col = col + Hex(0xFFFFFF) * 0.7f;
        float snow = 165.0f + 10.0f * std::sin(fx * 0.02f) + 6.0f * std::sin(fx * 0.07f);
        if (fy > snow)
            col = Mix(Hex(0xA8C8E8), Hex(0xE8F4FF), Clamp01((fy - snow) / 30.0f));
        return col;
    });
}

void PaintEqualiser(Canvas& c, int slot)
{
    const bool warm = slot == 9;
    const int barWidth = 32; // 25 bars across
    FillCanvas(c, [&](int x, int y) {
        Colour back = Mix(Hex(warm ? 0x1C0818 : 0x06122A), Hex(0x000000), float(y) / 260.0f);
        int bar = x / barWidth, segment = (199 - y) / 10;
        if (x % barWidth < 4 || (199 - y) % 10 >= 7 || y < 6)
            return back;
        // Bar heights: a smooth curve with a second beat on top, the two
        // pictures out of phase so that alternating them makes the bars jump.
        float phase = warm ? 0.0f : 2.1f;
        float level = 0.55f + 0.3f * std::sin(float(bar) * 0.55f + phase) + 0.15f * std::sin(float(bar) * 1.7f + phase * 2.0f);
        int lit = int(level * 19.0f);
        if (segment > lit)
            return back + Hex(warm ? 0x301010 : 0x102030);
        float t = float(segment) / 19.0f;
        return warm ? Mix(Mix(Hex(0x30F050), Hex(0xFFE020), Clamp01(t * 2.0f)), Hex(0xFF3020), Clamp01(t * 2.0f - 1.0f))
                    : Mix(Mix(Hex(0x20E0FF), Hex(0x4060FF), Clamp01(t * 2.0f)), Hex(0xFF40E0), Clamp01(t * 2.0f - 1.0f));
    });
}

void PaintBand(Canvas& c, int)
{
    const Colour metal[] = {Hex(0x5A6AB0), Hex(0x1C2050), Hex(0x101436), Hex(0x1A1E48), Hex(0x3A4690)};
    FillCanvas(c, [&](int x, int y) {
        Colour col = Gradient(float(y) / 199.0f, metal, 5);
        if (y % 4 == 0)
            col = col * 0.85f;
        // Bright rims and a faint diagonal sheen.
        if (y < 3 || y > 196)
            col = Hex(0x9FF0FF);
        float sheen = std::exp(-std::abs(float(x) - float(y) * 0.6f - 520.0f) / 60.0f);
        return col + Hex(0x304080) * (0.35f * sheen);
    });
}

namespace {

struct Vec3 {
    float x, y, z;
};

Vec3 Rotate(Vec3 p, float yaw, float pitch)
{
    float cy = std::cos(yaw), sy = std::sin(yaw), cp = std::cos(pitch), sp = std::sin(pitch);
    Vec3 q{p.x * cy + p.z * sy, p.y, -p.x * sy + p.z * cy};
    return {q.x, q.y * cp - q.z * sp, q.y * sp + q.z * cp};
}

} // namespace

void PaintCubeFrame(Canvas& c, int slot)
{
    const int frame = slot - 33;
    FillCanvas(c, [&](int x, int y) {
        float glow = std::exp(-Length(float(x) - 100.0f, float(y) - 200.0f) / 120.0f);
        Colour col = Mix(Hex(0x10204A), Hex(0x401050), float(y) / 400.0f) + Hex(0x4050A0) * (0.5f * glow);
        if ((y / 8) % 2 == 0 && (x + y) % 16 < 2)
            col = col + Hex(0x202040);
        return col;
    });
    // A cube turned a further quarter of its symmetry each frame, so the four
    // frames cycle without a jump.
    const float yaw = float(frame) * (Pi / 8.0f), pitch = 0.45f;
    const Vec3 corners[8] = {{-1, -1, -1}, {1, -1, -1}, {1, 1, -1}, {-1, 1, -1},
                             {-1, -1, 1},  {1, -1, 1},  {1, 1, 1},  {-1, 1, 1}};
    const int faces[6][4] = {{0, 1, 2, 3}, {5, 4, 7, 6}, {4, 0, 3, 7}, {1, 5, 6, 2}, {4, 5, 1, 0}, {3, 2, 6, 7}};
    const Colour faceColour[6] = {Hex(0xFF4070), Hex(0x40C0FF), Hex(0xFFD040), Hex(0x60FF80), Hex(0xC060FF), Hex(0xFF9030)};
    Vec3 p[8];
    for (int i = 0; i < 8; ++i)
        p[i] = Rotate(corners[i], yaw, pitch);
    for (int f = 0; f < 6; ++f) {
        // The face centre of a cube about the origin is also its normal.
        Vec3 n{0, 0, 0};
        for (int k = 0; k < 4; ++k) {
            n.x += p[faces[f][k]].x * 0.25f;
            n.y += p[faces[f][k]].y * 0.25f;
            n.z += p[faces[f][k]].z * 0.25f;
        }
        if (n.z >= 0.0f) // faces away from the viewer
            continue;
        float light = Clamp01(-n.z * 0.7f - n.y * 0.5f - n.x * 0.3f);
        float xy[8];
        for (int k = 0; k < 4; ++k) {
            Vec3 q = p[faces[f][k]];
            float persp = 4.0f / (q.z + 5.5f);
            xy[2 * k] = 100.0f + q.x * 80.0f * persp;
            xy[2 * k + 1] = 200.0f + q.y * 80.0f * persp;
        }
        Colour fill = faceColour[f] * (0.35f + 0.65f * light);
        PaintOutlined(c, [&](float px, float py) { return PolygonDistance(px, py, xy, 4); }, 1.5f, Hex(0xFFFFFF),
                      [&](int, int) { return fill; });
    }
}

void PaintTile(Canvas& c, int slot)
{
    const int i = slot - 41;
    const float hue = float(i) * 0.25f + 0.98f;
    FillCanvas(c, [&](int x, int y) {
        Colour col = Mix(Hsv(Fract(hue), 0.8f, 0.95f), Hsv(Fract(hue + 0.08f), 0.9f, 0.45f), float(x + y) / 300.0f);
        if (x < 4 || y < 4)
            col = col + Hex(0x404040);
        if (x > 195 || y > 95)
            col = col * 0.6f;
        return col;
    });
    const Colour ink = Hsv(Fract(hue + 0.5f), 0.25f, 1.0f);
    auto paint = [&](auto distance) {
        PaintOutlined(c, distance, 3.0f, Hsv(Fract(hue), 0.9f, 0.25f), [&](int, int) { return ink; });
    };
    switch (i) {
    case 0:
        paint([](float x, float y) { return CircleDistance(x, y, 100, 50, 32); });
        break;
    case 1: {
        const float tri[] = {100, 14, 140, 84, 60, 84};
        paint([&](float x, float y) { return PolygonDistance(x, y, tri, 3); });
        break;
    }
    case 2:
        paint([](float x, float y) { return BoxDistance(x, y, 100, 50, 30, 30, 6); });
        break;
    default:
        paint([](float x, float y) {
            return std::min(BoxDistance(x, y, 100, 50, 36, 10, 3), BoxDistance(x, y, 100, 50, 10, 36, 3));
        });
        break;
    }
}

void PaintPatternTile(Canvas& c, int slot)
{
    const int i = slot - 85;
    const Colour a = Hsv(0.08f + 0.22f * float(i), 0.85f, 1.0f), b = Hsv(0.62f + 0.1f * float(i), 0.7f, 0.35f);
    FillCanvas(c, [&](int x, int y) {
        float fx = float(x) - 49.5f, fy = float(y) - 49.5f;
        bool on = false;
        switch (i) {
        case 0: on = (int(std::max(std::abs(fx), std::abs(fy))) / 8) % 2 == 0; break;
        case 1: on = ((x + y) / 10) % 2 == 0; break;
        case 2: on = Length(float(x % 25) - 12.0f, float(y % 25) - 12.0f) < 8.0f; break;
        default: on = ((x / 20) + (y / 20)) % 2 == 0; break;
        }
        Colour col = on ? a : b;
        if (x < 3 || y < 3 || x > 96 || y > 96)
            col = Hex(0xF0F0F0);
        return col;
    });
}
