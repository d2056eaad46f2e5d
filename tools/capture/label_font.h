#pragma once

#include <cstdint>
#include <string_view>

// A 5x7 pixel font for short labels: digits, '.', 's' and the blank; any
// other character draws as a blank. Each glyph advances 6 pixels.
constexpr int LabelGlyphWidth = 5, LabelGlyphHeight = 7, LabelAdvance = 6;

// Width in font pixels of `text` (no space after its last glyph).
int LabelWidth(std::string_view text);

// Draws `text` in `colour` into the 0x00RRGGBB pixels of an image `pitch`
// pixels wide, its top-left corner at (left, top), every font pixel a
// `scale` x `scale` square. The text must lie inside the image.
void DrawLabel(uint32_t* pixels, int pitch, int left, int top, std::string_view text, int scale, uint32_t colour);
