#include "contentgen/shapes.h"

float CircleDistance(float px, float py, float cx, float cy, float radius)
{
    return Length(px - cx, py - cy) - radius;
}

float BoxDistance(float px, float py, float cx, float cy, float hw, float hh, float corner)
{
    float qx = std::abs(px - cx) - hw + corner;
    float qy = std::abs(py - cy) - hh + corner;
    float outside = Length(std::max(qx, 0.0f), std::max(qy, 0.0f));
    return outside + std::min(std::max(qx, qy), 0.0f) - corner;
}

float CapsuleDistance(float px, float py, float ax, float ay, float bx, float by, float radius)
{
    float dx = bx - ax, dy = by - ay;
    float len2 = dx * dx + dy * dy;
    float t = len2 > 0.0f ? Clamp01(((px - ax) * dx + (py - ay) * dy) / len2) : 0.0f;
    return Length(px - ax - dx * t, py - ay - dy * t) - radius;
}

float PolygonDistance(float px, float py, const float* xy, int n)
{
    float best = 1e30f;
    bool inside = false;
    for (int i = 0, j = n - 1; i < n; j = i++) {
        float xi = xy[2 * i], yi = xy[2 * i + 1], xj = xy[2 * j], yj = xy[2 * j + 1];
        float ex = xj - xi, ey = yj - yi;
        float len2 = ex * ex + ey * ey;
        float t = len2 > 0.0f ? Clamp01(((px - xi) * ex + (py - yi) * ey) / len2) : 0.0f;
        best = std::min(best, Length(px - xi - ex * t, py - yi - ey * t));
        if ((yi > py) != (yj > py) && px < xi + (py - yi) * ex / ey)
            inside = !inside;
    }
    return inside ? -best : best;
}

float StarDistance(float px, float py, float cx, float cy, float outer, float inner, int points, float turn)
{
    float xy[64];
    int n = std::min(points, 16) * 2;
    for (int i = 0; i < n; ++i) {
        float a = (turn + float(i) / float(n)) * TwoPi;
        float r = (i % 2 == 0) ? outer : inner;
        xy[2 * i] = cx + std::sin(a) * r;
        xy[2 * i + 1] = cy - std::cos(a) * r;
    }
    return PolygonDistance(px, py, xy, n);
}
