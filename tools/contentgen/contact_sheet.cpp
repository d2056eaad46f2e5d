#include "contentgen/contact_sheet.h"

#include <algorithm>
#include <string>

#include "contentgen/assets.h"
#include "contentgen/font.h"

namespace {

constexpr int CellWidth = 220, CellHeight = 190, ThumbWidth = 200, ThumbHeight = 150, Columns = 8;

uint32_t Checker(int x, int y) { return ((x / 6 + y / 6) % 2) ? 0x505050u : 0x383838u; }

void Place(Picture& sheet, const Picture& p, int left, int top)
{
    // Shrink to fit the thumbnail box; small pictures grow up to 3 times.
    float scale = std::min({float(ThumbWidth) / float(p.width), float(ThumbHeight) / float(p.height), 3.0f});
    int w = std::max(1, int(float(p.width) * scale)), h = std::max(1, int(float(p.height) * scale));
    int ox = left + (ThumbWidth - w) / 2, oy = top + (ThumbHeight - h) / 2;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int sx0 = int(float(x) / scale), sx1 = std::max(sx0 + 1, int(float(x + 1) / scale));
            int sy0 = int(float(y) / scale), sy1 = std::max(sy0 + 1, int(float(y + 1) / scale));
            uint32_t r = 0, g = 0, b = 0, n = 0;
            for (int sy = sy0; sy < std::min(sy1, p.height); ++sy)
                for (int sx = sx0; sx < std::min(sx1, p.width); ++sx) {
                    uint32_t v = p.pixels[size_t(sy) * size_t(p.width) + size_t(sx)];
                    if (v == 0)
                        v = Checker(x, y);
                    r += v >> 16;
                    g += (v >> 8) & 255;
                    b += v & 255;
                    ++n;
                }
            n = std::max(n, 1u);
            sheet.pixels[size_t(oy + y) * size_t(sheet.width) + size_t(ox + x)] = ((r / n) << 16) | ((g / n) << 8) | (b / n);
        }
}

void Label(Picture& sheet, const std::string& text, int left, int top)
{
    Mask mask = RenderText(text.c_str(), 13, 0);
    for (int y = 0; y < mask.height; ++y)
        for (int x = 0; x < mask.width && left + x < sheet.width; ++x) {
            uint32_t v = uint32_t(MaskAt(mask, x, y) * 255.0f);
            uint32_t& px = sheet.pixels[size_t(top + y) * size_t(sheet.width) + size_t(left + x)];
            px = std::max(px & 255, v) * 0x010101u;
        }
}

} // namespace

Picture ContactSheet(int firstSlot, int lastSlot)
{
    std::vector<const PictureAsset*> chosen;
    for (const PictureAsset& a : PictureAssets())
        if (a.slot >= firstSlot && a.slot <= lastSlot)
            chosen.push_back(&a);
    const int rows = std::max(1, (int(chosen.size()) + Columns - 1) / Columns);
    Picture sheet{Columns * CellWidth, rows * CellHeight, {}};
    sheet.pixels.assign(size_t(sheet.width) * size_t(sheet.height), 0x181818u);
    OpenFont();
    for (size_t i = 0; i < chosen.size(); ++i) {
        const PictureAsset& a = *chosen[i];
        int left = int(i % Columns) * CellWidth + 10, top = int(i / Columns) * CellHeight + 8;
        Place(sheet, PaintPicture(a), left, top);
        std::string name = a.file;
        Label(sheet, std::to_string(a.slot) + "  " + name.substr(name.find('/') + 1) + "  " + std::to_string(a.width) +
                         "x" + std::to_string(a.height), left, top + ThumbHeight + 8);
    }
    CloseFont();
    return sheet;
}
