#pragma once

#include <cstddef>
#include <vector>

// A coverage mask: one value 0..1 per pixel, row-major, top row first.
struct Mask {
    int width = 0;
    int height = 0;
    std::vector<float> value;
};

// Opens the bold sans face the generator letters with; CloseFont releases it.
// Both belong to the thread that paints.
void OpenFont();
void CloseFont();

// One line of text at the given pixel size, cropped to its ink with `margin`
// empty pixels on every side.
Mask RenderText(const char* text, int pixelSize, int margin);

// The largest size at which the text's ink fits maxWidth x maxHeight.
Mask RenderTextToFit(const char* text, int maxWidth, int maxHeight, int margin);

// One character in a cell of a fixed size: its baseline on row `baseline`,
// its ink centred across the cell, made smaller if it would not leave three
// pixels on each side for an outline.
Mask RenderGlyphCell(char c, int pixelSize, int cellWidth, int cellHeight, int baseline);

// Grows the mask by `radius` pixels (round brush), for outlines.
Mask DilateMask(const Mask& mask, float radius);

// Box blur of the given radius, three passes, for glows and soft shadows.
Mask BlurMask(const Mask& mask, int radius);

inline float MaskAt(const Mask& m, int x, int y)
{
    if (x < 0 || y < 0 || x >= m.width || y >= m.height)
        return 0.0f;
    return m.value[size_t(y) * size_t(m.width) + size_t(x)];
}
