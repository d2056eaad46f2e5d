#include "demo/timeline.h"

#include <cstdint>

#include "demo/timeline_layers.h"

const SceneWindow SceneWindows[SceneWindowCount] = {
    {INT64_MIN, 475, Window1},  {474, 682, Window2},     {681, 882, Window3},     {881, 1086, Window4},
    {1085, 1290, Window5},      {1290, 1470, Window6},   {1469, 1640, Window7},   {1640, 1807, Window8},
    {1806, 2026, Window9},      {2025, 2370, Window10},  {2369, 2710, Window11},  {2709, 2998, Window12},
    {2997, 3336, Window13},     {3335, 3711, Window14},  {3710, 3998, Window15},  {3997, 4354, Window16},
    {4353, 4651, Window17},     {4650, 4973, Window18},  {4972, 5289, Window19},  {5288, 5629, Window20},
    {5628, 6080, Window21},     {6080, 6736, Window22},  {6736, 7640, Window23},  {7639, 8508, Window24},
    {8507, 8901, Window25},     {8900, 9292, Window26},  {9291, 9686, Window27},  {9685, 10011, Window28},
    {10010, 10389, Window29},   {10388, 10679, Window30}, {10678, 11045, Window31}, {11044, 11339, Window32},
    {11339, 11504, Window33},   {11503, 11669, Window34}, {11668, 11838, Window35}, {11837, 12010, Window36},
    {12009, 13346, Window37},
};

static bool Holds(const SceneWindow& w, int32_t T)
{
    return w.after < T && T < w.before;
}

void DrawScene(int32_t T)
{
    // Every window is tested by itself, in order, even after one has drawn.
    for (const SceneWindow& w : SceneWindows)
        if (Holds(w, T))
            w.draw(T);
}

int SceneWindowAt(int32_t T)
{
    for (int i = 0; i < SceneWindowCount; i++)
        if (Holds(SceneWindows[i], T))
            return i + 1;
    return 0;
}
