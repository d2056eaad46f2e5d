// Keyed sprites: shapes on a pure black background.
#include <cmath>

#include "contentgen/paint.h"
#include "contentgen/shapes.h"

namespace {

// Glossy ball: lit from the upper left with a white highlight.
void PaintBall(Canvas& c, float cx, float cy, float r, Colour base)
{
    PaintOutlined(c, [&](float x, float y) { return CircleDistance(x, y, cx, cy, r); }, 2.0f, base * 0.35f,
                  [&](int x, int y) {
                      float nx = (float(x) - cx) / r, ny = (float(y) - cy) / r;
                      float light = Clamp01(0.55f - nx * 0.45f - ny * 0.55f);
                      float spot = std::exp(-Length(nx + 0.35f, ny + 0.4f) * 9.0f);
                      return base * (0.35f + 0.9f * light) + Hex(0xFFFFFF) * spot;
                  });
}

} // namespace

void PaintMarker(Canvas& c, int)
{
    PaintOutlined(c, [](float x, float y) { return (std::abs(x - 16.0f) + std::abs(y - 16.0f) - 12.0f) * 0.7071f; },
                  1.5f, Hex(0x0A3050), [](int x, int y) {
                      return Mix(Hex(0xE0FFFF), Hex(0x20A0FF), Clamp01(float(x + y - 8) / 40.0f));
                  });
}

void PaintStarSprite(Canvas& c, int)
{
    PaintOutlined(c, [](float x, float y) { return StarDistance(x, y, 32, 33, 29, 13, 5, 0.0f); }, 2.0f,
                  Hex(0x803000), [](int x, int y) {
                      float d = Length(float(x) - 28.0f, float(y) - 26.0f) / 34.0f;
                      return Mix(Hex(0xFFFFA0), Hex(0xFF8A00), d);
                  });
}

void PaintDancer(Canvas& c, int slot)
{
    // Two poses: arms up and right leg out, or arms down and left leg out.
    const bool up = slot == 17;
    const Colour suit = up ? Hex(0xFF50A0) : Hex(0x40D0FF), skin = Hex(0xFFD0A0), rim = Hex(0x20102A);
    struct Limb {
        float ax, ay, bx, by, r;
    };
    const Limb limbs[] = {
        {88, 78, up ? 50.0f : 58.0f, up ? 30.0f : 118.0f, 8}, // left arm
        {112, 78, up ? 156.0f : 150.0f, up ? 44.0f : 112.0f, 8}, // right arm
        {92, 128, up ? 86.0f : 60.0f, 186, 10},                // left leg
        {108, 128, up ? 148.0f : 114.0f, up ? 178.0f : 186.0f, 10}, // right leg
    };
    for (const Limb& l : limbs)
        PaintOutlined(c, [&](float x, float y) { return CapsuleDistance(x, y, l.ax, l.ay, l.bx, l.by, l.r); }, 2.5f,
                      rim, [&](int, int) { return suit * 0.85f; });
    PaintOutlined(c, [](float x, float y) { return BoxDistance(x, y, 100, 102, 22, 32, 10); }, 2.5f, rim,
                  [&](int x, int) { return Mix(suit, suit * 0.6f, float(x - 78) / 44.0f); });
    PaintOutlined(c, [&](float x, float y) { return CircleDistance(x, y, up ? 100.0f : 104.0f, 50, 18); }, 2.5f, rim,
                  [&](int, int) { return skin; });
    // Eyes and a smile.
    for (float ex : {-6.0f, 6.0f})
        PaintShape(c, [&](float x, float y) { return CircleDistance(x, y, (up ? 100.0f : 104.0f) + ex, 46, 2.5f); },
                   [](int, int) { return Hex(0x201020); });
    PaintShape(c, [&](float x, float y) {
        float cx = up ? 100.0f : 104.0f;
        return std::max(std::abs(CircleDistance(x, y, cx, 52, 8)) - 1.5f, 52.0f - y);
    }, [](int, int) { return Hex(0x801030); });
}

void PaintRocket(Canvas& c, int)
{
    const Colour rim = Hex(0x1A1020);
    // Flame below, then fins, body, window.
    PaintShape(c, [](float x, float y) {
        return std::max(CircleDistance(x, y, 100, 300, 34), -(y - 300.0f)) + std::max(0.0f, y - 300.0f) * 0.0f;
    }, [](int, int) { return Hex(0xFF7A10); });
    const float flame[] = {66, 300, 134, 300, 100, 392};
    PaintShape(c, [&](float x, float y) { return PolygonDistance(x, y, flame, 3); }, [](int, int y) {
        return Mix(Hex(0xFFF4A0), Hex(0xFF3A00), Clamp01((float(y) - 300.0f) / 90.0f));
    });
    const float finLeft[] = {62, 200, 62, 300, 22, 320, 30, 250};
    const float finRight[] = {138, 200, 138, 300, 178, 320, 170, 250};
    for (const float* fin : {finLeft, finRight})
        PaintOutlined(c, [&](float x, float y) { return PolygonDistance(x, y, fin, 4); }, 3.0f, rim,
                      [](int, int) { return Hex(0xE02040); });
    PaintOutlined(c, [](float x, float y) {
        // Body: a rounded tube under a pointed nose cone.
        const float nose[] = {60, 146, 140, 146, 100, 36};
        float body = BoxDistance(x, y, 100, 222, 40, 78, 14);
        return std::min(body, PolygonDistance(x, y, nose, 3));
    }, 3.0f, rim, [](int x, int) {
        float t = float(x - 60) / 80.0f;
        return Mix(Hex(0xFFFFFF), Hex(0x8090B0), t * t);
    });
    // A stripe on one side only, so the mirrored copies are told apart.
    PaintShape(c, [](float x, float y) { return std::max(BoxDistance(x, y, 100, 240, 41, 8, 0), BoxDistance(x, y, 100, 200, 39, 99, 35)); },
               [](int, int) { return Hex(0x2050E0); });
    PaintShape(c, [](float x, float y) { return BoxDistance(x, y, 118, 252, 12, 28, 0) + 0.0f; },
               [](int, int) { return Hex(0xFFD020); });
    PaintOutlined(c, [](float x, float y) { return CircleDistance(x, y, 100, 170, 18); }, 4.0f, Hex(0x606880),
                  [](int x, int y) { return Mix(Hex(0xB0F0FF), Hex(0x2070C0), Clamp01(Length(float(x) - 94.0f, float(y) - 164.0f) / 22.0f)); });
}

void PaintRingedPlanet(Canvas& c, int)
{
    const float cx = 125, cy = 150, r = 80;
    auto ring = [&](float x, float y) {
        float ex = (x - cx) / 122.0f, ey = (y - cy + (x - cx) * 0.35f) / 34.0f;
        float d = Length(ex, ey);
        return std::max(0.72f - d, d - 1.0f) * 30.0f;
    };
    auto ringColour = [&](int x, int y) {
        float ex = (float(x) - cx) / 122.0f, ey = (float(y) - cy + (float(x) - cx) * 0.35f) / 34.0f;
        return Mix(Hex(0xF0C080), Hex(0xA06040), 0.5f + 0.5f * std::sin(Length(ex, ey) * 50.0f));
    };
    // Back half of the ring, the planet, then the front half.
    PaintShape(c, [&](float x, float y) { return std::max(ring(x, y), y - cy + (x - cx) * -0.35f); }, ringColour);
    PaintOutlined(c, [&](float x, float y) { return CircleDistance(x, y, cx, cy, r); }, 2.0f, Hex(0x301808), [&](int x, int y) {
        float nx = (float(x) - cx) / r, ny = (float(y) - cy) / r;
        float light = Clamp01(0.3f - nx * 0.5f - ny * 0.5f + 0.4f);
        float bands = 0.5f + 0.5f * std::sin(ny * 16.0f + nx * 3.0f);
        return Mix(Hex(0xFF9040), Hex(0xFFE0A0), bands) * (0.25f + light);
    });
    PaintShape(c, [&](float x, float y) { return std::max(ring(x, y), -(y - cy + (x - cx) * -0.35f)); }, ringColour);
}

void PaintGem(Canvas& c, int)
{
    const float outline[] = {125, 280, 30, 110, 70, 40, 180, 40, 220, 110};
    PaintOutlined(c, [&](float x, float y) { return PolygonDistance(x, y, outline, 5); }, 3.0f, Hex(0x102040),
                  [](int x, int y) {
                      // Facets: the colour depends on the sector around the upper centre.
                      float a = std::atan2(float(y) - 95.0f, float(x) - 125.0f);
                      int facet = int(std::floor((a + Pi) / (TwoPi / 10.0f)));
                      float light = 0.55f + 0.45f * std::sin(float(facet) * 2.3f);
                      Colour base = y < 110 ? Hex(0x70F0FF) : Hex(0x3080FF);
                      return base * (0.5f + 0.6f * light);
                  });
    const float table[] = {70, 40, 180, 40, 220, 110, 30, 110};
    PaintShape(c, [&](float x, float y) { return std::abs(PolygonDistance(x, y, table, 4)) - 1.2f; },
               [](int, int) { return Hex(0xE0FFFF); });
    PaintShape(c, [](float x, float y) { return StarDistance(x, y, 170, 70, 24, 5, 4, 0.0f); },
               [](int, int) { return Hex(0xFFFFFF); });
}

void PaintFlash(Canvas& c, int)
{
    PaintShape(c, [](float x, float y) {
        float dx = x - 100.0f, dy = y - 100.0f;
        float a = std::atan2(dy, dx);
        float rays = 56.0f + 30.0f * std::pow(std::abs(std::cos(a * 6.0f)), 6.0f) + 10.0f * std::abs(std::sin(a * 9.0f));
        return Length(dx, dy) - rays;
    }, [](int x, int y) {
        float d = Length(float(x) - 100.0f, float(y) - 100.0f) / 96.0f;
        return Mix(Hex(0xFFFFFF), Mix(Hex(0xFFF080), Hex(0xFF6000), d), SmoothStep(0.1f, 0.7f, d));
    });
}

void PaintBubble(Canvas& c, int)
{
    PaintBall(c, 50, 50, 44, Hex(0xFF40B0));
    PaintShape(c, [](float x, float y) { return std::abs(CircleDistance(x, y, 50, 50, 30)) - 2.0f + std::max(0.0f, 50.0f - y); },
               [](int, int) { return Hex(0xFFC0F0); });
}

void PaintGlitch(Canvas& c, int)
{
    // Torn scanline segments with the colour channels pulled apart.
    Rng rng{0x611C4};
    // One pixel of background is kept all round.
    for (int y = 1; y < c.height - 1; y += 3) {
        int x = int(NextRange(rng, 1.0f, 60.0f));
        while (x < c.width - 1) {
            int length = int(NextRange(rng, 12.0f, 90.0f));
            if (NextFloat(rng) < 0.7f) {
                float hue = NextFloat(rng);
                Colour col = Hsv(hue, 0.8f, 1.0f);
                int rows = NextFloat(rng) < 0.3f ? 2 : 3;
                for (int yy = y; yy < std::min(y + rows, c.height - 1); ++yy)
                    for (int xx = x; xx < std::min(x + length, c.width - 5); ++xx) {
                        float stripe = (xx / 3) % 2 ? 1.0f : 0.7f;
                        Blend(c, xx, yy, col * stripe, 1.0f);
                        Blend(c, xx + 4, yy, Colour{col.r, 0.1f, 0.1f}, 0.6f);
                    }
            }
            x += length + int(NextRange(rng, 4.0f, 40.0f));
        }
    }
}

void PaintBadge(Canvas& c, int)
{
    PaintBall(c, 32, 32, 27, Hex(0x30C060));
    PaintShape(c, [](float x, float y) { return StarDistance(x, y, 32, 33, 14, 6, 5, 0.0f); },
               [](int, int) { return Hex(0xFFF0A0); });
}
