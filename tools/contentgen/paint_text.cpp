// Lettering: captions, the logo, phrase banners, the falling banner and the
// scroller's letters, all from the bold sans face.
#include <cmath>

#include "contentgen/font.h"
#include "contentgen/paint.h"

namespace {

struct LetteringStyle {
    Colour top, bottom;  // fill gradient over the ink height
    Colour rim;          // outline
    float rimWidth;
    bool shadow;
    bool shine;          // a bright band across the upper half
};

// Paints the text mask with its top-left corner at (ox, oy): soft shadow,
// outline, then the gradient fill.
void PaintLettering(Canvas& c, const Mask& text, int ox, int oy, const LetteringStyle& style)
{
    const int margin = int(std::ceil(style.rimWidth)) + 1;
    Mask rim = DilateMask(text, style.rimWidth);
    if (style.shadow) {
        Mask soft = BlurMask(rim, 3);
        for (int y = 0; y < soft.height; ++y)
            for (int x = 0; x < soft.width; ++x)
                Blend(c, ox + x + 6, oy + y + 7, Hex(0x120A1E), MaskAt(soft, x, y) * 0.85f);
    }
    for (int y = 0; y < rim.height; ++y)
        for (int x = 0; x < rim.width; ++x)
            Blend(c, ox + x, oy + y, style.rim, MaskAt(rim, x, y));
    const float inkTop = float(margin), inkHeight = float(text.height - 2 * margin);
    for (int y = 0; y < text.height; ++y) {
        float t = Clamp01((float(y) - inkTop) / inkHeight);
        Colour fill = Mix(style.top, style.bottom, t);
        if (style.shine)
            fill = fill + Hex(0xFFFFFF) * (0.45f * std::exp(-std::abs(t - 0.3f) * 14.0f));
        for (int x = 0; x < text.width; ++x)
            Blend(c, ox + x, oy + y, fill, MaskAt(text, x, y));
    }
}

// Centres text fitted into maxWidth x maxHeight at (cx, cy).
void PaintCentredText(Canvas& c, const char* text, int cx, int cy, int maxWidth, int maxHeight,
                      const LetteringStyle& style)
{
    const int margin = int(std::ceil(style.rimWidth)) + 1;
    Mask mask = RenderTextToFit(text, maxWidth, maxHeight, margin);
    PaintLettering(c, mask, cx - mask.width / 2, cy - mask.height / 2, style);
}

} // namespace

void PaintCaption(Canvas& c, int slot)
{
    const char* text = slot == 2 ? "PURE SOFTWARE" : slot == 4 ? "NO PIXEL WASTED" : "IN STEP WITH THE BEAT";
    const LetteringStyle style{Hex(0xFFF6A0), Hex(0xFF5A20), Hex(0x1A0830), 4.0f, true, true};
    PaintCentredText(c, text, 400, 100, 740, 90, style);
}

void PaintLogo(Canvas& c, int)
{
    const LetteringStyle style{Hex(0xE8F8FF), Hex(0x3060C0), Hex(0xFF40A0), 3.5f, false, true};
    PaintCentredText(c, "TARVEL", 350, 50, 640, 86, style);
}

void PaintPhrase(Canvas& c, int slot)
{
    static const char* const Phrases[] = {"SOFTWARE RENDERED", "EVERY PIXEL BY HAND", "FRAMES IN MOTION",
                                          "SIXTEEN TILES",     "FEEL THE BEAT",       "NO LIMITS",
                                          "SHAPES AND COLOURS", "ROUND AND ROUND",    "SHEAR THE LINES"};
    const int i = slot - 20;
    const float hue = Fract(0.62f + float(i) * 0.137f);
    FillCanvas(c, [&](int x, int y) {
        Colour col = Mix(Hsv(hue, 0.75f, 0.55f), Hsv(Fract(hue + 0.1f), 0.85f, 0.18f), float(y) / 200.0f);
        if (((x + 2 * y) / 24) % 2 == 0)
            col = col * 0.82f;
        if (y < 4 || y > 195)
            col = Hsv(Fract(hue + 0.5f), 0.5f, 1.0f);
        return col;
    });
    const LetteringStyle style{Hex(0xFFFFFF), Hsv(Fract(hue + 0.5f), 0.6f, 1.0f), Hex(0x0C0618), 4.0f, true, false};
    PaintCentredText(c, Phrases[i], 400, 120, 740, 104, style);
}

void PaintDropBanner(Canvas& c, int)
{
    // Drawn flipped top to bottom by the show, so it is stored upside down.
    Canvas upright = NewCanvas(c.width, c.height);
    const LetteringStyle style{Hex(0xA0FFB0), Hex(0x10A0A0), Hex(0x081820), 4.0f, true, true};
    PaintCentredText(upright, "HEADS UP!", 400, 78, 700, 120, style);
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) {
            size_t from = size_t(c.height - 1 - y) * size_t(c.width) + size_t(x);
            size_t to = size_t(y) * size_t(c.width) + size_t(x);
            c.colour[to] = upright.colour[from];
            c.alpha[to] = upright.alpha[from];
        }
}

void PaintLetter(Canvas& c, int slot)
{
    static const char Letters[] = "aAbcdDeEiKlLmMnNoOpPrRsStuz";
    Mask mask = RenderGlyphCell(Letters[slot - 101], 38, c.width, c.height, 33);
    const LetteringStyle style{Hex(0xFFFFC0), Hex(0xFF8C00), Hex(0x301050), 1.8f, false, true};
    // The mask already spans the cell; paint its rim and fill in place.
    Mask rim = DilateMask(mask, style.rimWidth);
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x)
            Blend(c, x, y, style.rim, MaskAt(rim, x, y));
    for (int y = 0; y < c.height; ++y) {
        float t = Clamp01((float(y) - 6.0f) / 36.0f);
        Colour fill = Mix(style.top, style.bottom, t) + Hex(0xFFFFFF) * (0.4f * std::exp(-std::abs(t - 0.25f) * 12.0f));
        for (int x = 0; x < c.width; ++x)
            Blend(c, x, y, fill, MaskAt(mask, x, y));
    }
}
