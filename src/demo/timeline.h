#pragma once

#include <cstdint>

// The scene timeline: a chain of 37 time windows over the clock T (the
// SceneClock, hundredths of a second). Each window whose strict test
// `after < T < before` holds draws its layers onto the CurrentTarget, in
// order; neighbouring windows share no clock value, so at most one draws.
void DrawScene(int32_t T);

constexpr int SceneWindowCount = 37;

struct SceneWindow {
    int64_t after;  // exclusive lower bound; window 1 has none
    int64_t before; // exclusive upper bound
    void (*draw)(int32_t T);
};

// The windows in the order they are tested; window n is SceneWindows[n - 1].
extern const SceneWindow SceneWindows[SceneWindowCount];

// Number (1-37) of the window that holds at T, or 0 when none does.
int SceneWindowAt(int32_t T);
