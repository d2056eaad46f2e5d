#include "raster/rotate.h"

#include <malloc.h>

#include <cstdlib>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "raster/blend.h"
#include "raster/blit.h"
#include "raster/mathtables.h"
#include "raster_test_util.h"

namespace {

constexpr uint32_t Marker = 0x00ABCDEF;

// BlitRotated exactly as written: the whole w x h picture visited column by
// column with the forward mapping of each type, each pixel range-checked,
// then one Blit of the temporary Screen. Pixels of the picture outside the
// source Screen are skipped.
void ReferenceBlitRotated(const Screen* src, Screen* dst, int sx1, int sy1, int sx2, int sy2, int dx,
                          int dy, int mode, int mirror, int type, int angle)
{
    if (type <= 0) {
        Blit(src, dst, sx1, sy1, sx2, sy2, dx, dy, mode, mirror);
        return;
    }
    if (type >= 4)
        return;
    const int w = sx2 - sx1 + 1, h = sy2 - sy1 + 1;
    int W, H, offX, offY, u = 0;
    if (type == 1) {
        W = PolarX(angle, h) + PolarY(angle, w) + 1;
        H = PolarX(angle, w) + PolarY(angle, h) + 1;
        offX = (W - w) / 2;
        offY = (H - h) / 2;
    } else if (type == 2) {
        u = std::abs(PolarY(angle, w));
        W = w, H = h + u, offX = 0, offY = u / 2;
    } else {
        u = std::abs(PolarX(angle, h));
        W = w + u, H = h, offX = u / 2, offY = 0;
    }
    if (W <= 0 || H <= 0)
        return;
    Screen t;
    newscreen(&t, W, H);
    const int cx = (w - 1) / 2, cy = (h - 1) / 2, turn = angle % 900;
    for (int pos = 0; pos < w; pos++) {
        for (int off = 0; off < h; off++) {
            if (pos >= src->width || off >= src->height)
                continue;
            int tx, ty;
            if (type == 1) {
                int theta, r;
                ToPolar(pos - cx, off - cy, &theta, &r);
                tx = PolarX(theta + turn, r) + W / 2;
                ty = PolarY(theta + turn, r) + H / 2;
            } else if (type == 2) {
                tx = pos;
                ty = PolarY(angle, pos) + off;
                if (!(angle < 900 || angle > 2699))
                    ty += u + 1;
            } else {
                ty = off;
                tx = PolarX(angle, off) + pos;
                if (!(angle < 1800))
                    tx += u + 1;
            }
            if (tx >= 0 && tx < W && ty >= 0 && ty < H)
                t.rows[ty][tx] = src->rows[off][pos];
        }
    }
    Blit(&t, dst, 0, 0, W - 1, H - 1, dx - offX, dy - offY, mode, mirror);
    FreeScreen(&t);
}

void Fill(Screen* s, uint32_t colour)
{
    for (int y = 0; y < s->height; y++)
        for (int x = 0; x < s->width; x++)
            s->rows[y][x] = colour;
}

// The 3 x 2 picture (1 2 3) (4 5 6) of the worked examples.
void FillSmallPicture(OwnedScreen& s)
{
    for (int y = 0; y < 2; y++)
        for (int x = 0; x < 3; x++)
            s.at(x, y) = uint32_t(1 + x + 3 * y);
}

// Bytes of heap in use, to show that a call leaves nothing allocated.
size_t HeapInUse()
{
    return mallinfo2().uordblks;
}

class BlitRotatedTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { CalcMathTables(); }
};

struct WorkedExample {
    int type, angle, W, H, offX, offY;
    std::vector<uint32_t> t; // row by row
};

TEST_F(BlitRotatedTest, WorkedExamplesLandAtTheirOffsets)
{
    const WorkedExample examples[] = {
        {2, 0, 3, 5, 0, 1, {1, 0, 0, 4, 2, 0, 0, 5, 3, 0, 0, 6, 0, 0, 0}},
        {2, 900, 3, 2, 0, 0, {0, 0, 0, 1, 2, 3}},
        {2, 1800, 3, 5, 0, 1, {0, 0, 0, 0, 0, 0, 0, 0, 3, 0, 2, 6, 1, 5, 0}},
        {3, 0, 3, 2, 0, 0, {1, 2, 3, 4, 5, 6}},
        {3, 900, 5, 2, 1, 0, {1, 2, 3, 0, 0, 0, 4, 5, 6, 0}},
        {3, 1800, 3, 2, 0, 0, {0, 1, 2, 0, 4, 5}},
        {1, 0, 4, 3, 0, 0, {0, 0, 0, 0, 0, 1, 6, 3, 0, 0, 5, 0}},
    };
    OwnedScreen picture(3, 2);
    FillSmallPicture(picture);
    const int dx = 5, dy = 4;
    for (const WorkedExample& e : examples) {
        SCOPED_TRACE(testing::Message() << "type " << e.type << " angle " << e.angle);
        OwnedScreen dst(14, 12);
        Fill(dst.get(), Marker);
        BlitRotated(picture.get(), dst.get(), 0, 0, 2, 1, dx, dy, 0, 0, e.type, e.angle);
        const int left = dx - e.offX, top = dy - e.offY;
        for (int y = 0; y < 12; y++) {
            for (int x = 0; x < 14; x++) {
                const bool inside = x >= left && x < left + e.W && y >= top && y < top + e.H;
                const uint32_t want = inside ? e.t[size_t((y - top) * e.W + (x - left))] : Marker;
                ASSERT_EQ(dst.at(x, y), want) << "at " << x << "," << y;
            }
        }
    }
}

TEST_F(BlitRotatedTest, NoTransformationIsExactlyBlit)
{
    std::mt19937 rng(7);
    OwnedScreen src(20, 15);
    FillRandom(src.get(), rng);
    for (int type : {0, -1}) {
        for (int mirror : {0, 1, 3}) {
            for (int mode : {0, 1, 6}) {
                OwnedScreen a(16, 16), b(16, 16);
                FillRandom(a.get(), rng);
                CopyRect(a.get(), b.get(), 0, 0, 15, 15, 0, 0);
                BlitRotated(src.get(), a.get(), 3, 2, 12, 9, -2, 5, mode, mirror, type, 450);
                Blit(src.get(), b.get(), 3, 2, 12, 9, -2, 5, mode, mirror);
                EXPECT_EQ(Pixels(a.get()), Pixels(b.get())) << type << " " << mirror << " " << mode;
            }
        }
    }
}

TEST_F(BlitRotatedTest, OnlyTheRectangleSizeSelectsThePicture)
{
    std::mt19937 rng(8);
    OwnedScreen src(12, 10), a(30, 30), b(30, 30);
    FillRandom(src.get(), rng);
    for (int type = 1; type <= 3; type++) {
        BlitRotated(src.get(), a.get(), 2, 3, 8, 7, 10, 10, 0, 0, type, 300);
        BlitRotated(src.get(), b.get(), 0, 0, 6, 4, 10, 10, 0, 0, type, 300);
        EXPECT_EQ(Pixels(a.get()), Pixels(b.get())) << type;
    }
}

TEST_F(BlitRotatedTest, UnknownTypesAndEmptyPicturesDrawAndKeepNothing)
{
    OwnedScreen picture(3, 2), dst(10, 10);
    FillSmallPicture(picture);
    Fill(dst.get(), Marker);
    const auto before = Pixels(dst.get());
    const size_t heapBefore = HeapInUse();
    for (int type : {4, 5, 1000})
        BlitRotated(picture.get(), dst.get(), 0, 0, 2, 1, 3, 3, 0, 0, type, 0);
    // An inverted rectangle has no pixels; rotation by half a turn has no
    // bounding box; neither allocates anything.
    for (int type = 1; type <= 3; type++)
        BlitRotated(picture.get(), dst.get(), 2, 1, 0, 0, 3, 3, 0, 0, type, 0);
    BlitRotated(picture.get(), dst.get(), 0, 0, 2, 1, 3, 3, 0, 0, 1, 1800);
    EXPECT_EQ(HeapInUse(), heapBefore);
    EXPECT_EQ(Pixels(dst.get()), before);
}

TEST_F(BlitRotatedTest, ShearsAtAngleZero)
{
    std::mt19937 rng(9);
    const int w = 5, h = 3, dx = 6, dy = 7;
    OwnedScreen picture(w, h);
    FillRandom(picture.get(), rng, 1000);

    // Row shear: the picture unchanged at (dx, dy).
    OwnedScreen rows(20, 20), plain(20, 20);
    BlitRotated(picture.get(), rows.get(), 0, 0, w - 1, h - 1, dx, dy, 0, 0, 3, 0);
    Blit(picture.get(), plain.get(), 0, 0, w - 1, h - 1, dx, dy, 0, 0);
    EXPECT_EQ(Pixels(rows.get()), Pixels(plain.get()));

    // Column shear: each column one row lower than its left neighbour, the
    // whole placed w / 2 rows higher.
    OwnedScreen cols(20, 20);
    Fill(cols.get(), Marker);
    BlitRotated(picture.get(), cols.get(), 0, 0, w - 1, h - 1, dx, dy, 0, 0, 2, 0);
    for (int x = 0; x < w; x++) {
        const int top = dy - w / 2;
        for (int y = top; y < top + h + w; y++) {
            const int off = y - top - x;
            const uint32_t want = off >= 0 && off < h ? picture.at(x, off) : 0;
            EXPECT_EQ(cols.at(dx + x, y), want) << x << "," << y;
        }
    }
}

TEST_F(BlitRotatedTest, HalfTurnColumnShearOfOneRowDropsColumnZero)
{
    const int w = 6, dx = 4, dy = 8;
    OwnedScreen picture(w, 1), dst(20, 20);
    for (int x = 0; x < w; x++)
        picture.at(x, 0) = uint32_t(10 + x);
    Fill(dst.get(), Marker);
    BlitRotated(picture.get(), dst.get(), 0, 0, w - 1, 0, dx, dy, 0, 0, 2, 1800);
    const int top = dy - w / 2; // H = w + 1, offY = w / 2
    for (int x = 0; x < w; x++) {
        for (int y = 0; y < w + 1; y++) {
            const uint32_t want = x > 0 && y == w + 1 - x ? picture.at(x, 0) : 0;
            EXPECT_EQ(dst.at(dx + x, top + y), want) << x << "," << y;
        }
    }
    EXPECT_EQ(dst.at(dx, top - 1), Marker);
    EXPECT_EQ(dst.at(dx, top + w + 1), Marker);
}

TEST_F(BlitRotatedTest, KeyedModeLeavesUntouchedPixelsVisible)
{
    OwnedScreen picture(3, 2), keyed(12, 12), opaque(12, 12);
    FillSmallPicture(picture);
    for (OwnedScreen* d : {&keyed, &opaque})
        Fill(d->get(), Marker);
    BlitRotated(picture.get(), keyed.get(), 0, 0, 2, 1, 4, 4, 3, 0, 2, 0);
    BlitRotated(picture.get(), opaque.get(), 0, 0, 2, 1, 4, 4, 0, 0, 2, 0);
    // T is (1 0 0) (4 2 0) (0 5 3) (0 0 6) (0 0 0) with its corner at (4, 3).
    const int untouched[][2] = {{5, 3}, {6, 3}, {6, 4}, {4, 5}, {4, 6}, {5, 6}, {4, 7}, {5, 7}, {6, 7}};
    for (const auto& p : untouched) {
        EXPECT_EQ(keyed.at(p[0], p[1]), Marker);
        EXPECT_EQ(opaque.at(p[0], p[1]), 0u);
    }
    // Touched pixels are the half-and-half mix of mode 3.
    const uint32_t mixed = ((0xAB + 0) / 2 << 16) | ((0xCD + 0) / 2 << 8) | ((0xEF + 5) / 2);
    EXPECT_EQ(keyed.at(5, 5), mixed);
    EXPECT_EQ(opaque.at(5, 5), 5u);
}

TEST_F(BlitRotatedTest, MirrorAppliesToTheShearedPicture)
{
    OwnedScreen picture(3, 2), dst(12, 12);
    FillSmallPicture(picture);
    Fill(dst.get(), Marker);
    BlitRotated(picture.get(), dst.get(), 0, 0, 2, 1, 4, 4, 0, 1, 3, 900);
    // T (1 2 3 0 0) (0 4 5 6 0) turned left to right, corner at (3, 4).
    EXPECT_EQ(std::vector<uint32_t>(dst->rows[4] + 3, dst->rows[4] + 8), (std::vector<uint32_t>{0, 0, 3, 2, 1}));
    EXPECT_EQ(std::vector<uint32_t>(dst->rows[5] + 3, dst->rows[5] + 8), (std::vector<uint32_t>{0, 6, 5, 4, 0}));
    EXPECT_EQ(dst.at(2, 4), Marker);
    EXPECT_EQ(dst.at(8, 5), Marker);
}

TEST_F(BlitRotatedTest, RotationTurnsCounterClockwiseOnScreen)
{
    // A one-column picture 1..5 about its centre row: at 45 degrees the pixel
    // below the centre moves to the lower right, the one above to the upper
    // left. T is 4 x 4 with its centre at (2, 2) and its corner at (dx - 1, dy).
    OwnedScreen picture(1, 5), dst(20, 20);
    for (int y = 0; y < 5; y++)
        picture.at(0, y) = uint32_t(1 + y);
    const int dx = 8, dy = 8;
    BlitRotated(picture.get(), dst.get(), 0, 0, 0, 4, dx, dy, 0, 0, 1, 450);
    EXPECT_EQ(dst.at(dx - 1 + 3, dy + 3), 5u);
    EXPECT_EQ(dst.at(dx - 1 + 1, dy + 1), 1u);
    // The integer radius merges the pixel just below the centre into it, and
    // the later one wins.
    EXPECT_EQ(dst.at(dx - 1 + 2, dy + 2), 4u);
}

TEST_F(BlitRotatedTest, PictureBeyondTheSourceIsNeverRead)
{
    // A rectangle larger than its Screen: the missing columns stay 0.
    OwnedScreen picture(2, 2), dst(10, 10);
    picture.at(0, 0) = 1, picture.at(1, 0) = 2, picture.at(0, 1) = 3, picture.at(1, 1) = 4;
    Fill(dst.get(), Marker);
    BlitRotated(picture.get(), dst.get(), 0, 0, 3, 2, 2, 2, 0, 0, 3, 0);
    EXPECT_EQ(std::vector<uint32_t>(dst->rows[2] + 2, dst->rows[2] + 6), (std::vector<uint32_t>{1, 2, 0, 0}));
    EXPECT_EQ(std::vector<uint32_t>(dst->rows[4] + 2, dst->rows[4] + 6), (std::vector<uint32_t>{0, 0, 0, 0}));

    // A picture no Screen could hold draws nothing.
    Fill(dst.get(), Marker);
    const size_t heapBefore = HeapInUse();
    BlitRotated(picture.get(), dst.get(), 0, 0, 70000, 1, 0, 0, 0, 0, 2, 900);
    BlitRotated(picture.get(), dst.get(), 0, 0, 40000, 40000, 0, 0, 0, 0, 2, 0);
    EXPECT_EQ(HeapInUse(), heapBefore);
    EXPECT_EQ(dst.at(0, 0), Marker);
}

// The shears are drawn row by row without their temporary Screen; the result
// must match the pixel-by-pixel mapping everywhere, clipping, modes and
// mirrors included.
TEST_F(BlitRotatedTest, MatchesTheLiteralMappingOnRandomCalls)
{
    std::mt19937 rng(2024);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int round = 0; round < 3000; round++) {
        const int type = 1 + round % 3;
        const int srcW = pick(1, 40), srcH = pick(1, 40);
        OwnedScreen src(srcW, srcH);
        FillRandom(src.get(), rng);
        // Mostly inside the source; sometimes wider or taller than it.
        const int w = pick(1, srcW + (round % 7 == 0 ? 10 : 0));
        const int h = pick(1, srcH + (round % 11 == 0 ? 10 : 0));
        int angle = type == 1 ? pick(0, 899) : pick(0, 3599);
        if (round % 13 == 0)
            angle = pick(-4000, 8000); // beyond the documented ranges
        const int dstW = pick(1, 60), dstH = pick(1, 60);
        const int dx = pick(-60, dstW + 10), dy = pick(-60, dstH + 10);
        const int mode = round % 4 == 0 ? 0 : pick(-1, 41);
        const int mirror = pick(-1, 7);

        OwnedScreen a(dstW, dstH), b(dstW, dstH);
        FillRandom(a.get(), rng);
        CopyRect(a.get(), b.get(), 0, 0, dstW - 1, dstH - 1, 0, 0);
        BlitRotated(src.get(), a.get(), 0, 0, w - 1, h - 1, dx, dy, mode, mirror, type, angle);
        ReferenceBlitRotated(src.get(), b.get(), 0, 0, w - 1, h - 1, dx, dy, mode, mirror, type, angle);
        ASSERT_EQ(Pixels(a.get()), Pixels(b.get()))
            << "type " << type << " angle " << angle << " picture " << w << "x" << h << " at " << dx << ","
            << dy << " mode " << mode << " mirror " << mirror;
    }
}

} // namespace

namespace {

// Pictures wider than the tiles the column shear is built in, with every
// mirror, partly off the destination on each side.
TEST_F(BlitRotatedTest, WideShearsMatchTheLiteralMapping)
{
    std::mt19937 rng(77);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int round = 0; round < 300; round++) {
        const int type = 2 + round % 2;
        const int w = pick(60, 300), h = pick(1, 120);
        OwnedScreen src(w, h);
        FillRandom(src.get(), rng);
        const int angle = pick(0, 3599);
        const int dstW = pick(50, 260), dstH = pick(50, 200);
        const int dx = pick(-150, dstW + 20), dy = pick(-100, dstH + 20);
        const int mode = round % 3 == 0 ? 0 : pick(1, 39);
        const int mirror = pick(0, 6);
        OwnedScreen a(dstW, dstH), b(dstW, dstH);
        FillRandom(a.get(), rng);
        CopyRect(a.get(), b.get(), 0, 0, dstW - 1, dstH - 1, 0, 0);
        BlitRotated(src.get(), a.get(), 0, 0, w - 1, h - 1, dx, dy, mode, mirror, type, angle);
        ReferenceBlitRotated(src.get(), b.get(), 0, 0, w - 1, h - 1, dx, dy, mode, mirror, type, angle);
        ASSERT_EQ(Pixels(a.get()), Pixels(b.get()))
            << "type " << type << " angle " << angle << " picture " << w << "x" << h << " at " << dx << ","
            << dy << " mode " << mode << " mirror " << mirror;
    }
}

} // namespace
