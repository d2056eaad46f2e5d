#pragma once

#include <cstdint>

#include "image/imagebank.h"

// Building blocks of the timeline's windows. A layer names only the
// parameters of DrawSlot that are not 0.
struct LayerOptions {
    int mode = 0;
    int mirror = 0;
    int width = 0;
    int height = 0;
    int type = 0;
    int angle = 0;
};

// The slot drawn with DrawSlot, unless the frame's plan leaves it out.
void Layer(int slot, int x, int y, LayerOptions o = {});

// The noise layer drawn with NoiseDraw; one the frame's plan leaves out
// still steps.
void Noise(int layer, int x, int y);

// Recurring patterns, each drawing its layers in the written order and
// taking its Random values in that order.
void Band(int y);
void Phrase(int slot, int base, int32_t T);
int CyclingMirror(int32_t T);
void Glitch();
void TwoGlitches();
void Flash(int lo, int hi, int x, int y, int32_t T);
void RandomModePicture(int slot, int x, int y);
void SpriteGrid(int firstRowY, int rowStep);
void PhotoWall(int32_t T);
void PhotoStrip(int32_t T);
void ShrinkingGrid(int slot, int base, int32_t T);
void AlternatingPair(int variant, int32_t T);
void Grid4x4(int32_t T);
void RotatingSprites(int32_t T);
void FlickerBlock();
void LetterScroller(int32_t T);

// The windows, numbered as in the timeline.
void Window1(int32_t T);
void Window2(int32_t T);
void Window3(int32_t T);
void Window4(int32_t T);
void Window5(int32_t T);
void Window6(int32_t T);
void Window7(int32_t T);
void Window8(int32_t T);
void Window9(int32_t T);
void Window10(int32_t T);
void Window11(int32_t T);
void Window12(int32_t T);
void Window13(int32_t T);
void Window14(int32_t T);
void Window15(int32_t T);
void Window16(int32_t T);
void Window17(int32_t T);
void Window18(int32_t T);
void Window19(int32_t T);
void Window20(int32_t T);
void Window21(int32_t T);
void Window22(int32_t T);
void Window23(int32_t T);
void Window24(int32_t T);
void Window25(int32_t T);
void Window26(int32_t T);
void Window27(int32_t T);
void Window28(int32_t T);
void Window29(int32_t T);
void Window30(int32_t T);
void Window31(int32_t T);
void Window32(int32_t T);
void Window33(int32_t T);
void Window34(int32_t T);
void Window35(int32_t T);
void Window36(int32_t T);
void Window37(int32_t T);
