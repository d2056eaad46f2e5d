#include <gtest/gtest.h>

#include <string>

#include "raster/blend.h"
#include "raster/blit.h"
#include "raster_test_util.h"

namespace {

// The blit as a literal sequence of steps: mirrored copy, rejection, the
// eight clipping steps in order, second rejection, transfer pixel by pixel.
void ReferenceBlit(const Screen* src, Screen* dst, int sx1, int sy1, int sx2, int sy2, int dx, int dy,
                   int mode, int mirror)
{
    Screen t{};
    if (mirror > 0) {
        const int w = sx2 - sx1 + 1, h = sy2 - sy1 + 1;
        newscreen(&t, w, h);
        for (int i = 0; i < h; i++)
            for (int j = 0; j < w; j++)
                t.rows[mirror > 1 ? h - 1 - i : i][mirror == 1 || mirror == 3 ? w - 1 - j : j] =
                    src->rows[sy1 + i][sx1 + j];
        src = &t;
        sx1 = 0, sy1 = 0, sx2 = w - 1, sy2 = h - 1;
    }
    int dx2 = dx + (sx2 - sx1), dy2 = dy + (sy2 - sy1);
    const int sMaxX = src->width - 1, sMaxY = src->height - 1, dMaxX = dst->width - 1, dMaxY = dst->height - 1;
    auto misses = [&] {
        return sx1 > sMaxX || sy1 > sMaxY || sx2 < 0 || sy2 < 0 || dx > dMaxX || dy > dMaxY || dx2 < 0 || dy2 < 0;
    };
    if (!misses()) {
        if (sx1 < 0) dx += -sx1, sx1 = 0;
        if (sx2 > sMaxX) dx2 -= sx2 - sMaxX, sx2 = sMaxX;
        if (sy1 < 0) dy += -sy1, sy1 = 0;
        if (sy2 > sMaxY) dy2 -= sy2 - sMaxY, sy2 = sMaxY;
        if (dx < 0) sx1 += -dx, dx = 0;
        if (dx2 > dMaxX) sx2 -= dx2 - dMaxX, dx2 = dMaxX;
        if (dy < 0) sy1 += -dy, dy = 0;
        if (dy2 > dMaxY) sy2 -= dy2 - dMaxY, dy2 = dMaxY;
        for (int y = 0; !misses() && y <= sy2 - sy1; y++)
            for (int x = 0; x <= sx2 - sx1; x++) {
                uint32_t& d = dst->rows[dy + y][dx + x];
                d = ReferenceBlend(mode, src->rows[sy1 + y][sx1 + x], d);
            }
    }
    FreeScreen(&t);
}

// The 4 x 2 picture (1 2 3 4) (0 6 0 8) blitted onto a 6 x 3 destination of
// 9s, whose rows are written as digits.
TEST(Blit, MirrorsThenClipsThenTransfers)
{
    OwnedScreen picture(4, 2);
    const uint32_t pixels[] = {1, 2, 3, 4, 0, 6, 0, 8};
    for (int i = 0; i < 8; i++)
        picture.at(i % 4, i / 4) = pixels[i];
    const struct { int sx1, sy1, sx2, sy2, dx, dy, mode, mirror; const char* rows; } cases[] = {
        {0, 0, 3, 1, 0, 0, 0, -1, "123499 060899 999999"},
        {0, 0, 3, 1, 0, 0, 0, MirrorHorizontal, "432199 806099 999999"},
        {0, 0, 3, 1, 0, 0, 0, MirrorVertical, "060899 123499 999999"},
        {0, 0, 3, 1, 0, 0, 0, 17, "060899 123499 999999"}, // 4 and above act as 2
        {0, 0, 3, 1, 0, 0, 0, MirrorBoth, "806099 432199 999999"},
        {0, 0, 3, 1, 0, 0, 1, MirrorHorizontal, "432199 896999 999999"}, // keyed: 0 keeps the destination
        {0, 0, 3, 1, -2, 1, 0, 0, "999999 349999 089999"},            // clipped on each side
        {0, 0, 3, 1, 4, 0, 0, 0, "999912 999906 999999"},
        {0, 0, 3, 1, -1, 0, 0, MirrorHorizontal, "321999 060999 999999"}, // mirrored first
        {0, 0, 3, 1, 0, -1, 0, MirrorVertical, "123499 999999 999999"},
        {-3, -1, 1, 0, 0, 0, 0, 0, "999999 999129 999999"}, // source rectangle clipped
        {2, 1, 7, 5, 0, 0, 0, 0, "089999 999999 999999"},
        {0, 0, 3, 1, -3, -1, 0, 0, "899999 999999 999999"}, // one pixel survives
        {0, 0, 3, 1, 6, 0, 0, 0, "999999 999999 999999"},   // wholly outside
        {0, 0, 3, 1, 0, -2, 0, 0, "999999 999999 999999"},
        // Outside the contract: an inverted rectangle draws nothing, and a
        // mirrored one reaching outside the source reads black there.
        {3, 0, 0, 1, 0, 0, 0, 0, "999999 999999 999999"},
        {0, 1, 3, 0, 0, 0, 0, MirrorHorizontal, "999999 999999 999999"},
        {-1, 0, 3, 1, 0, 0, 0, MirrorHorizontal, "432109 806009 999999"},
        {0, -1, 3, 1, 0, 0, 0, MirrorBoth, "806099 432199 000099"},
    };
    for (const auto& c : cases) {
        OwnedScreen dst(6, 3);
        Fill(dst.get(), 9);
        Blit(picture.get(), dst.get(), c.sx1, c.sy1, c.sx2, c.sy2, c.dx, c.dy, c.mode, c.mirror);
        std::string rows;
        for (int y = 0; y < 3; y++)
            for (int x = 0; x < 6; x++)
                rows += std::string(y > 0 && x == 0 ? " " : "") + char('0' + dst.at(x, y));
        EXPECT_EQ(rows, c.rows) << "(" << c.sx1 << "," << c.sy1 << ")-(" << c.sx2 << "," << c.sy2 << ") at "
                                << c.dx << "," << c.dy << " mode " << c.mode << " mirror " << c.mirror;
    }
}

// Every edge and corner, mirror and mode: the blit matches the literal steps.
// Rows are separate heap blocks, so the sanitizer build also proves nothing
// outside either Screen is touched. Some mirrored calls draw a Screen onto
// itself: they see the picture as it was before the call.
TEST(Blit, MatchesTheStepByStepBlitEverywhere)
{
    std::mt19937 rng(7);
    OwnedScreen src(13, 9), dst(17, 11), want(17, 11), self(13, 9), selfWant(13, 9);
    FillRandom(src.get(), rng);
    for (int trial = 0; trial < 20000; trial++) {
        const int mirror = int(rng() % 6) - 1, mode = int(rng() % 44) - 2;
        int sx1, sy1, sx2, sy2;
        if (mirror > 0) { // mirrored blits keep the rectangle inside the source
            sx1 = int(rng() % 13), sx2 = sx1 + int(rng() % (13 - sx1));
            sy1 = int(rng() % 9), sy2 = sy1 + int(rng() % (9 - sy1));
        } else {
            sx1 = int(rng() % 30) - 15, sx2 = sx1 + int(rng() % 30);
            sy1 = int(rng() % 20) - 10, sy2 = sy1 + int(rng() % 20);
        }
        const int dx = int(rng() % 50) - 25, dy = int(rng() % 36) - 18;
        const bool onto = mirror > 0 && trial % 4 == 0;
        Screen *from = onto ? self.get() : src.get(), *to = onto ? self.get() : dst.get();
        Screen* reference = onto ? selfWant.get() : want.get();
        FillRandom(to, rng);
        CopyRect(to, reference, 0, 0, to->width - 1, to->height - 1, 0, 0);
        Blit(from, to, sx1, sy1, sx2, sy2, dx, dy, mode, mirror);
        ReferenceBlit(onto ? reference : from, reference, sx1, sy1, sx2, sy2, dx, dy, mode, mirror);
        ASSERT_EQ(Pixels(to), Pixels(reference)) << "rect (" << sx1 << "," << sy1 << ")-(" << sx2 << "," << sy2
                                                 << ") at " << dx << "," << dy << " mode " << mode << " mirror "
                                                 << mirror << (onto ? " onto itself" : "");
    }
}

} // namespace
