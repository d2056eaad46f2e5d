#pragma once

#include <cstddef>
#include <cstdint>

#include "raster/screen.h"

// Frame presentation over the platform's display (display_seam.h): every
// frame is drawn straight into the locked back buffer through DisplayScreen,
// then faded while a fade runs and made visible.

constexpr int DisplayWidth = 800;
constexpr int DisplayHeight = 600;

inline constexpr int32_t FadeMax = 32;

struct DisplayState {
    // 800x600, made with newscreenwin: every frame its rows are pointed at the
    // locked back buffer. After start-up it is the CurrentTarget.
    Screen DisplayScreen{};
    // 800x600 with rows of its own, reserved for a frame whose back buffer
    // could not be locked; nothing else draws into it.
    Screen SpareScreen{};
    // 0: no fade; 1: fade in; 2: fade out (holds black once it reaches 0).
    int32_t FadeMode = 0;
    // Brightness in steps of 1/FadeMax; meaningful from 0 to FadeMax.
    int32_t FadeLevel = 0;
    // The back buffer of the frame being drawn, as locked by BeginFrame;
    // null when the frame goes to SpareScreen.
    void* FramePixels = nullptr;
    std::ptrdiff_t FramePitch = 0;
};
extern DisplayState Display;

// Locks the back buffer and maps DisplayScreen's rows onto it. When the lock
// fails, DisplayScreen is mapped onto SpareScreen's rows instead, so the
// frame is drawn somewhere harmless and then dropped.
void BeginFrame();

// Applies the fade while the pixels are addressable, unlocks and makes the
// whole frame visible. The fade advances once for every frame that reaches
// the screen; a frame whose lock, unlock or copy failed is dropped.
void PresentFrame();

// Row i of `screen` = memory + i x pitch bytes, for every row of the Screen.
// `pitch` is the real distance between rows of the memory, at least
// width x 4. Nothing is allocated; the row table must exist.
void MapScreenRows(Screen* screen, void* memory, std::ptrdiff_t pitch);

// Scales every channel of every pixel by FadeLevel / FadeMax, truncating:
// `width` pixels on each of `height` rows, rows `pitch` bytes apart.
void ApplyFade(void* memory, int width, int height, std::ptrdiff_t pitch);

// True while a fade runs (mode 1 or 2): only then is a frame scaled.
bool FadeRunning();

// One step of the running fade: in by one level up to FadeMax (then the
// fade ends), or out by one level down to 0 (then it holds black).
void AdvanceFade();

// Releases the two Screens and puts the record back as it was at the start.
void ResetDisplay();
