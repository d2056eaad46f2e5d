#include <gtest/gtest.h>

#include "raster/blend.h"
#include "raster/blit.h"
#include "raster_test_util.h"

namespace {

// The blit as a literal sequence of steps: mirrored copy, rejection, the
// eight clipping steps in order, second rejection, transfer.
void ReferenceBlit(const Screen* src, Screen* dst, int sx1, int sy1, int sx2, int sy2, int dx, int dy,
                   int mode, int mirror)
{
    Screen t{};
    bool temp = false;
    if (mirror > 0) {
        const int w = sx2 - sx1 + 1, h = sy2 - sy1 + 1;
        newscreen(&t, w, h);
        for (int i = 0; i < h; i++)
            for (int j = 0; j < w; j++)
                t.rows[mirror > 1 ? h - 1 - i : i][mirror == 1 || mirror == 3 ? w - 1 - j : j] =
                    src->rows[sy1 + i][sx1 + j];
        src = &t;
        temp = true;
        sx1 = 0, sy1 = 0, sx2 = w - 1, sy2 = h - 1;
    }
    int dx2 = dx + (sx2 - sx1), dy2 = dy + (sy2 - sy1);
    const int sMaxX = src->width - 1, sMaxY = src->height - 1;
    const int dMaxX = dst->width - 1, dMaxY = dst->height - 1;
    auto misses = [&] {
        return sx1 > sMaxX || sy1 > sMaxY || sx2 < 0 || sy2 < 0 || dx > dMaxX || dy > dMaxY ||
               dx2 < 0 || dy2 < 0;
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
        if (!misses()) {
            if (mode == 0)
                CopyRect(src, dst, sx1, sy1, sx2, sy2, dx, dy);
            else
                BlendRect(src, dst, sx1, sy1, sx2, sy2, dx, dy, mode);
        }
    }
    if (temp)
        FreeScreen(&t);
}

// A one-row Screen holding the given pixels.
void SetRow(OwnedScreen& s, int y, std::initializer_list<uint32_t> pixels)
{
    int x = 0;
    for (uint32_t p : pixels)
        s.at(x++, y) = p;
}

std::vector<uint32_t> Row(OwnedScreen& s, int y, int x1, int x2)
{
    return {s->rows[y] + x1, s->rows[y] + x2 + 1};
}

} // namespace

TEST(Blit, ClipsAtTheDestinationEdges)
{
    OwnedScreen img(10, 10), screen(800, 600);
    for (int y = 0; y < 10; y++)
        for (int x = 0; x < 10; x++)
            img.at(x, y) = uint32_t(100 + x);

    Blit(img.get(), screen.get(), 0, 0, 9, 9, -5, 0, 0, 0);
    EXPECT_EQ(Row(screen, 0, 0, 5), (std::vector<uint32_t>{105, 106, 107, 108, 109, 0}));

    Blit(img.get(), screen.get(), 0, 0, 9, 9, 795, 0, 0, 0);
    EXPECT_EQ(Row(screen, 9, 794, 799), (std::vector<uint32_t>{0, 100, 101, 102, 103, 104}));
    EXPECT_EQ(screen.at(795, 10), 0u);

    OwnedScreen blank(800, 600);
    Blit(img.get(), blank.get(), 0, 0, 9, 9, 800, 0, 0, 0);
    Blit(img.get(), blank.get(), 0, 0, 9, 9, -10, 0, 0, 0);
    Blit(img.get(), blank.get(), 0, 0, 9, 9, 0, 600, 0, 0);
    Blit(img.get(), blank.get(), 0, 0, 9, 9, 0, -10, 0, 0);
    EXPECT_EQ(Pixels(blank.get()), std::vector<uint32_t>(800 * 600, 0));

    Blit(img.get(), blank.get(), 0, 0, 9, 9, -9, -9, 0, 0); // one pixel survives
    EXPECT_EQ(blank.at(0, 0), 109u);
    blank.at(0, 0) = 0;
    EXPECT_EQ(Pixels(blank.get()), std::vector<uint32_t>(800 * 600, 0));
}

TEST(Blit, ClipsTheSourceRectangle)
{
    OwnedScreen img(3, 1), screen(20, 1);
    SetRow(img, 0, {1, 2, 3});
    Blit(img.get(), screen.get(), -3, 0, 2, 0, 10, 0, 0, 0);
    EXPECT_EQ(Row(screen, 0, 10, 16), (std::vector<uint32_t>{0, 0, 0, 1, 2, 3, 0}));
}

TEST(Blit, MirrorsBeforeClipping)
{
    OwnedScreen row(4, 1), column(1, 3), screen(6, 3);
    SetRow(row, 0, {1, 2, 3, 4});
    for (int y = 0; y < 3; y++)
        column.at(0, y) = uint32_t(10 + y);

    Blit(row.get(), screen.get(), 0, 0, 3, 0, 0, 0, 0, MirrorHorizontal);
    EXPECT_EQ(Row(screen, 0, 0, 4), (std::vector<uint32_t>{4, 3, 2, 1, 0}));
    for (int mirror : {0, -1}) {
        Blit(row.get(), screen.get(), 0, 0, 3, 0, 0, 0, 0, mirror);
        EXPECT_EQ(Row(screen, 0, 0, 3), (std::vector<uint32_t>{1, 2, 3, 4}));
    }
    Blit(row.get(), screen.get(), 0, 0, 3, 0, -1, 1, 0, MirrorHorizontal);
    EXPECT_EQ(Row(screen, 1, 0, 3), (std::vector<uint32_t>{3, 2, 1, 0}));

    for (int mirror : {int(MirrorVertical), int(MirrorBoth), 4, 17}) {
        Blit(column.get(), screen.get(), 0, 0, 0, 2, 5, 0, 0, mirror);
        EXPECT_EQ(screen.at(5, 0), 12u);
        EXPECT_EQ(screen.at(5, 2), 10u);
    }
    OwnedScreen both(2, 2), out(2, 2);
    both.at(0, 0) = 1, both.at(1, 0) = 2, both.at(0, 1) = 3, both.at(1, 1) = 4;
    Blit(both.get(), out.get(), 0, 0, 1, 1, 0, 0, 0, MirrorBoth);
    EXPECT_EQ(Pixels(out.get()), (std::vector<uint32_t>{4, 3, 2, 1}));
}

TEST(Blit, KeyedModeKeepsDestinationUnderBlack)
{
    OwnedScreen img(2, 1), screen(2, 1);
    SetRow(img, 0, {0, 7});
    SetRow(screen, 0, {5, 5});
    Blit(img.get(), screen.get(), 0, 0, 1, 0, 0, 0, 1, 0);
    EXPECT_EQ(Row(screen, 0, 0, 1), (std::vector<uint32_t>{5, 7}));
    Blit(img.get(), screen.get(), 0, 0, 1, 0, 0, 0, 1, MirrorHorizontal);
    EXPECT_EQ(Row(screen, 0, 0, 1), (std::vector<uint32_t>{7, 7}));
    Blit(img.get(), screen.get(), 0, 0, 1, 0, 0, 0, 0, 0);
    EXPECT_EQ(Row(screen, 0, 0, 1), (std::vector<uint32_t>{0, 7}));
}

// Every edge and corner, every mirror, a spread of modes: the blit matches the
// literal sequence of steps. The rows of these Screens are separate heap
// blocks, so the sanitizer build also proves that nothing outside the source
// or destination is touched.
TEST(Blit, MatchesTheStepByStepBlitEverywhere)
{
    std::mt19937 rng(7);
    OwnedScreen src(13, 9), dst(17, 11), want(17, 11);
    FillRandom(src.get(), rng);
    const int modes[] = {0, 1, 2, 5, 9, 16, 27, 39, 40, -3};
    for (int trial = 0; trial < 20000; trial++) {
        const int mirror = int(rng() % 6) - 1;
        const int mode = modes[rng() % std::size(modes)];
        int sx1, sy1, sx2, sy2;
        if (mirror > 0) { // mirrored blits keep the rectangle inside the source
            sx1 = int(rng() % 13), sx2 = sx1 + int(rng() % (13 - sx1));
            sy1 = int(rng() % 9), sy2 = sy1 + int(rng() % (9 - sy1));
        } else {
            sx1 = int(rng() % 30) - 15, sx2 = sx1 + int(rng() % 30);
            sy1 = int(rng() % 20) - 10, sy2 = sy1 + int(rng() % 20);
        }
        const int dx = int(rng() % 50) - 25, dy = int(rng() % 36) - 18;
        FillRandom(dst.get(), rng);
        for (int y = 0; y < 11; y++)
            std::copy(dst->rows[y], dst->rows[y] + 17, want->rows[y]);
        Blit(src.get(), dst.get(), sx1, sy1, sx2, sy2, dx, dy, mode, mirror);
        ReferenceBlit(src.get(), want.get(), sx1, sy1, sx2, sy2, dx, dy, mode, mirror);
        ASSERT_EQ(Pixels(dst.get()), Pixels(want.get()))
            << "rect (" << sx1 << "," << sy1 << ")-(" << sx2 << "," << sy2 << ") at " << dx << ","
            << dy << " mode " << mode << " mirror " << mirror;
    }
}

// A mirrored blit of a Screen onto itself sees the picture as it was before
// the call, as the mirrored copy does.
TEST(Blit, MirroredOntoItselfUsesThePictureBeforeTheCall)
{
    std::mt19937 rng(3);
    for (int mirror : {1, 2, 3}) {
        OwnedScreen a(12, 12), b(12, 12);
        FillRandom(a.get(), rng);
        for (int y = 0; y < 12; y++)
            std::copy(a->rows[y], a->rows[y] + 12, b->rows[y]);
        Blit(a.get(), a.get(), 0, 0, 9, 9, 2, 1, 6, mirror);
        ReferenceBlit(b.get(), b.get(), 0, 0, 9, 9, 2, 1, 6, mirror);
        EXPECT_EQ(Pixels(a.get()), Pixels(b.get())) << mirror;
    }
}

// Outside the contract: a mirrored rectangle reaching outside the source, or
// an inverted rectangle, never reads outside the source.
TEST(Blit, OutOfContractRectanglesStayInsideTheSource)
{
    OwnedScreen src(4, 4), dst(10, 10);
    src.at(0, 0) = 1, src.at(3, 3) = 2;
    Blit(src.get(), dst.get(), -2, -2, 3, 3, 0, 0, 0, MirrorBoth);
    EXPECT_EQ(dst.at(3, 3), 1u); // (0,0) of the source, turned over in a 6x6 box
    EXPECT_EQ(dst.at(0, 0), 2u);
    EXPECT_EQ(dst.at(5, 5), 0u); // outside the source counts as black
    OwnedScreen untouched(10, 10);
    Blit(src.get(), untouched.get(), 3, 0, 0, 3, 0, 0, 0, 0);
    Blit(src.get(), untouched.get(), 0, 3, 3, 0, 0, 0, 0, MirrorHorizontal);
    EXPECT_EQ(Pixels(untouched.get()), std::vector<uint32_t>(100, 0));
}
