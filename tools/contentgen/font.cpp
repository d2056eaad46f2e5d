#include "contentgen/font.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

#include "contentgen/fail.h"
#include "contentgen/picture.h"

#ifndef TARVEL_FONT_FILE
#error "TARVEL_FONT_FILE must name the bold sans font file"
#endif

namespace {

FT_Library FontLibrary = nullptr;
FT_Face FontFace = nullptr;

// Glyph bitmap placed on a common baseline: pen position plus bearing.
struct PlacedGlyph {
    int left, top, width, rows;
    std::vector<unsigned char> coverage;
};

void SetSize(int pixelSize)
{
    if (FT_Set_Pixel_Sizes(FontFace, 0, FT_UInt(pixelSize)) != 0)
        Fail("cannot size the font to", TARVEL_FONT_FILE);
}

PlacedGlyph LoadGlyph(unsigned char c, int penX)
{
    if (FT_Load_Char(FontFace, c, FT_LOAD_RENDER) != 0)
        Fail("cannot render a glyph of", TARVEL_FONT_FILE);
    const FT_GlyphSlot g = FontFace->glyph;
    PlacedGlyph p{penX + g->bitmap_left, -g->bitmap_top, int(g->bitmap.width), int(g->bitmap.rows), {}};
    p.coverage.resize(size_t(p.width) * size_t(p.rows));
    for (int y = 0; y < p.rows; ++y)
        std::memcpy(&p.coverage[size_t(y) * size_t(p.width)], g->bitmap.buffer + y * g->bitmap.pitch,
                    size_t(p.width));
    return p;
}

// Lays out the text from pen 0 on baseline 0.
std::vector<PlacedGlyph> LayOut(const char* text)
{
    std::vector<PlacedGlyph> glyphs;
    int pen = 0;
    for (const char* s = text; *s; ++s) {
        glyphs.push_back(LoadGlyph(static_cast<unsigned char>(*s), pen));
        pen += int(FontFace->glyph->advance.x >> 6);
    }
    return glyphs;
}

struct InkBox {
    int x0 = INT_MAX, y0 = INT_MAX, x1 = INT_MIN, y1 = INT_MIN;
};

InkBox InkOf(const std::vector<PlacedGlyph>& glyphs)
{
    InkBox box;
    for (const PlacedGlyph& g : glyphs) {
        if (g.width == 0 || g.rows == 0)
            continue;
        box.x0 = std::min(box.x0, g.left);
        box.y0 = std::min(box.y0, g.top);
        box.x1 = std::max(box.x1, g.left + g.width);
        box.y1 = std::max(box.y1, g.top + g.rows);
    }
    if (box.x0 > box.x1)
        box = {0, 0, 0, 0};
    return box;
}

// Draws the glyphs into `mask`, glyph origin (0, 0) landing at (dx, dy).
void Stamp(Mask& mask, const std::vector<PlacedGlyph>& glyphs, int dx, int dy)
{
    for (const PlacedGlyph& g : glyphs)
        for (int y = 0; y < g.rows; ++y)
            for (int x = 0; x < g.width; ++x) {
                int mx = g.left + x + dx, my = g.top + y + dy;
                if (mx < 0 || my < 0 || mx >= mask.width || my >= mask.height)
                    continue;
                float& v = mask.value[size_t(my) * size_t(mask.width) + size_t(mx)];
                v = std::max(v, float(g.coverage[size_t(y) * size_t(g.width) + size_t(x)]) / 255.0f);
            }
}

Mask EmptyMask(int width, int height)
{
    return Mask{width, height, std::vector<float>(size_t(width) * size_t(height), 0.0f)};
}

} // namespace

void OpenFont()
{
    if (FontFace)
        return;
    if (FT_Init_FreeType(&FontLibrary) != 0)
        Fail("cannot start the font library for", TARVEL_FONT_FILE);
    if (FT_New_Face(FontLibrary, TARVEL_FONT_FILE, 0, &FontFace) != 0)
        Fail("cannot open the font", TARVEL_FONT_FILE);
}

void CloseFont()
{
    if (FontFace)
        FT_Done_Face(FontFace);
    if (FontLibrary)
        FT_Done_FreeType(FontLibrary);
    FontFace = nullptr;
    FontLibrary = nullptr;
}

Mask RenderText(const char* text, int pixelSize, int margin)
{
    SetSize(pixelSize);
    std::vector<PlacedGlyph> glyphs = LayOut(text);
    InkBox ink = InkOf(glyphs);
    Mask mask = EmptyMask(ink.x1 - ink.x0 + 2 * margin, ink.y1 - ink.y0 + 2 * margin);
    Stamp(mask, glyphs, margin - ink.x0, margin - ink.y0);
    return mask;
}

Mask RenderTextToFit(const char* text, int maxWidth, int maxHeight, int margin)
{
    // Ink grows with the size, so search the largest size that still fits.
    int lo = 4, hi = 400;
    while (lo < hi) {
        int mid = (lo + hi + 1) / 2;
        SetSize(mid);
        InkBox ink = InkOf(LayOut(text));
        if (ink.x1 - ink.x0 <= maxWidth && ink.y1 - ink.y0 <= maxHeight)
            lo = mid;
        else
            hi = mid - 1;
    }
    return RenderText(text, lo, margin);
}

Mask RenderGlyphCell(char c, int pixelSize, int cellWidth, int cellHeight, int baseline)
{
    const char text[2] = {c, 0};
    int size = pixelSize;
    SetSize(size);
    InkBox ink = InkOf(LayOut(text));
    while (size > 4 && ink.x1 - ink.x0 > cellWidth - 6) {
        SetSize(--size);
        ink = InkOf(LayOut(text));
    }
    std::vector<PlacedGlyph> glyphs = LayOut(text);
    Mask mask = EmptyMask(cellWidth, cellHeight);
    int dx = (cellWidth - (ink.x1 - ink.x0)) / 2 - ink.x0;
    Stamp(mask, glyphs, dx, baseline);
    return mask;
}

Mask DilateMask(const Mask& mask, float radius)
{
    Mask out = EmptyMask(mask.width, mask.height);
    int r = int(std::ceil(radius));
    for (int y = 0; y < mask.height; ++y)
        for (int x = 0; x < mask.width; ++x) {
            float best = 0.0f;
            for (int dy = -r; dy <= r && best < 1.0f; ++dy)
                for (int dx = -r; dx <= r; ++dx) {
                    // Coverage of the brush edge fades over one pixel.
                    float weight = Clamp01(radius + 0.5f - Length(float(dx), float(dy)));
                    if (weight > 0.0f)
                        best = std::max(best, MaskAt(mask, x + dx, y + dy) * weight);
                }
            out.value[size_t(y) * size_t(mask.width) + size_t(x)] = best;
        }
    return out;
}

Mask BlurMask(const Mask& mask, int radius)
{
    Mask a = mask, b = EmptyMask(mask.width, mask.height);
    const float scale = 1.0f / float(2 * radius + 1);
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < a.height; ++y)
            for (int x = 0; x < a.width; ++x) {
                float sum = 0.0f;
                for (int d = -radius; d <= radius; ++d)
                    sum += MaskAt(a, x + d, y);
                b.value[size_t(y) * size_t(a.width) + size_t(x)] = sum * scale;
            }
        for (int y = 0; y < a.height; ++y)
            for (int x = 0; x < a.width; ++x) {
                float sum = 0.0f;
                for (int d = -radius; d <= radius; ++d)
                    sum += MaskAt(b, x, y + d);
                a.value[size_t(y) * size_t(a.width) + size_t(x)] = sum * scale;
            }
    }
    return a;
}
