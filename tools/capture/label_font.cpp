#include "capture/label_font.h"

#include <array>

namespace {

// One row a byte, top row first; bit 4 is the leftmost column.
using Glyph = std::array<uint8_t, LabelGlyphHeight>;

constexpr Glyph Digits[10] = {
    {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}, // 0
    {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}, // 1
    {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}, // 2
    {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}, // 3
    {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}, // 4
    {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}, // 5
    {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}, // 6
    {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}, // 7
    {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}, // 8
    {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}, // 9
};
constexpr Glyph Point = {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C};
constexpr Glyph LetterS = {0x00, 0x00, 0x0E, 0x10, 0x0E, 0x01, 0x1E};
constexpr Glyph Blank = {};

const Glyph& GlyphOf(char c)
{
    if (c >= '0' && c <= '9')
        return Digits[c - '0'];
    if (c == '.')
        return Point;
    if (c == 's')
        return LetterS;
    return Blank;
}

} // namespace

int LabelWidth(std::string_view text)
{
    return text.empty() ? 0 : int(text.size()) * LabelAdvance - (LabelAdvance - LabelGlyphWidth);
}

void DrawLabel(uint32_t* pixels, int pitch, int left, int top, std::string_view text, int scale, uint32_t colour)
{
    for (size_t i = 0; i < text.size(); i++) {
        const Glyph& glyph = GlyphOf(text[i]);
        const int glyphLeft = left + int(i) * LabelAdvance * scale;
        for (int row = 0; row < LabelGlyphHeight; row++)
            for (int column = 0; column < LabelGlyphWidth; column++) {
                if (!(glyph[size_t(row)] & (0x10 >> column)))
                    continue;
                for (int dy = 0; dy < scale; dy++)
                    for (int dx = 0; dx < scale; dx++)
                        pixels[(top + row * scale + dy) * pitch + glyphLeft + column * scale + dx] = colour;
            }
    }
}
