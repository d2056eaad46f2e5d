#pragma once

#include <algorithm>
#include <cmath>

#include "contentgen/picture.h"

// Signed distances in pixels from a point to a shape: negative inside, so the
// coverage of a pixel is about 0.5 - distance.
float CircleDistance(float px, float py, float cx, float cy, float radius);
// Box centred at (cx, cy) with half sizes hw, hh and rounded corners.
float BoxDistance(float px, float py, float cx, float cy, float hw, float hh, float corner);
// Capsule around the segment a-b.
float CapsuleDistance(float px, float py, float ax, float ay, float bx, float by, float radius);
// Polygon given as n points x0, y0, x1, y1, ... (any winding).
float PolygonDistance(float px, float py, const float* xy, int n);
// Star of `points` tips between radii outer and inner, first tip at `turn`
// (in turns from straight up).
float StarDistance(float px, float py, float cx, float cy, float outer, float inner, int points, float turn);

// Paints the shape `distance(x, y)` over the pixel box x0..x1, y0..y1 with the
// colour `fill(x, y)`, antialiased over one pixel.
template <typename Distance, typename Fill>
void PaintShape(Canvas& canvas, int x0, int y0, int x1, int y1, Distance distance, Fill fill)
{
    x0 = std::max(x0, 0);
    y0 = std::max(y0, 0);
    x1 = std::min(x1, canvas.width - 1);
    y1 = std::min(y1, canvas.height - 1);
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            float d = distance(float(x) + 0.5f, float(y) + 0.5f);
            if (d < 0.5f)
                Blend(canvas, x, y, fill(x, y), Clamp01(0.5f - d));
        }
}

// Same over the whole canvas.
template <typename Distance, typename Fill>
void PaintShape(Canvas& canvas, Distance distance, Fill fill)
{
    PaintShape(canvas, 0, 0, canvas.width - 1, canvas.height - 1, distance, fill);
}

// A shape with an outline of the given width in `rim` around its fill.
template <typename Distance, typename Fill>
void PaintOutlined(Canvas& canvas, Distance distance, float width, Colour rim, Fill fill)
{
    PaintShape(canvas, [&](float x, float y) { return distance(x, y) - width; },
               [&](int, int) { return rim; });
    PaintShape(canvas, distance, fill);
}
