#pragma once

#include <cstddef>
#include <cstdint>

#include "raster/screen.h"

// The platform-free half of frame presentation: pointing a Screen's rows at
// frame memory, and the screen fade that runs over the finished frame.

// Row i of `screen` = memory + i x pitch bytes, for every row of the Screen.
// `pitch` is the real distance between rows of the memory, at least
// width x 4. Nothing is allocated; the row table must exist.
void MapScreenRows(Screen* screen, void* memory, std::ptrdiff_t pitch);

// 0: no fade; 1: fade in; 2: fade out (holds black once it reaches 0).
extern int32_t FadeMode;

// Brightness in steps of 1/FadeMax; meaningful from 0 to FadeMax.
extern int32_t FadeLevel;

inline constexpr int32_t FadeMax = 32;

// Scales every channel of every pixel by FadeLevel / FadeMax, truncating:
// `width` pixels on each of `height` rows, rows `pitch` bytes apart.
void ApplyFade(void* memory, int width, int height, std::ptrdiff_t pitch);

// True while a fade runs (mode 1 or 2): only then is a frame scaled.
bool FadeRunning();

// One step of the running fade: in by one level up to FadeMax (then the
// fade ends), or out by one level down to 0 (then it holds black).
void AdvanceFade();

// What a platform does to each frame it presents, while the pixels are still
// addressable: the fade pass and its step when a fade runs, else nothing.
void FadePresentedFrame(void* memory, int width, int height, std::ptrdiff_t pitch);
